#pragma once

#include <QWidget>

class CPercentProgressCtrl;
class QLabel;
class QSlider;

/// The bar under the menu: the "Hardness" and "Easiness" gauges, the "-"
/// button, the half-tone slider with its 13 labels, the "+" button and the
/// "&Easiest" and "&Manual" buttons. Every control carries its id as its
/// objectName. The frame shows the song's shift and hardness on it and
/// hears by signals what the user did with it.
class CTranspositionBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTranspositionBar)

public:
    explicit CTranspositionBar(QWidget* parent = nullptr);
    ~CTranspositionBar() override;

    /// The shift under the slider's thumb, -6..+6.
    int ChosenShift() const;
    /// Whether the user holds the thumb: the shift is not chosen yet.
    bool IsChoosing() const;

    /// Moves the slider's thumb to the shift, -6..+6, without telling ShiftChosen.
    void ShowShift(int shift);
    /// Sets both gauges from how hard the song's chords are, 0 (easiest) to 200.
    void ShowHardness(int level);
    /// Notes the capo the song's shapes are for, with the whole story
    /// ("Capo 3: play in G shapes, sounds in Bb") as its tip; 0 takes the
    /// note away.
    void ShowCapo(int capo, const QString& text = QString());

    QSize sizeHint() const override;

Q_SIGNALS:
    /// The user let go of the slider at this shift: after a drag of the
    /// thumb, and at once for a click on the groove, the wheel or the keyboard.
    void ShiftChosen(int shift);
    /// A button that sends the command id was clicked.
    void CommandClicked(int id);

private:
    QSlider* m_slider = nullptr;
    CPercentProgressCtrl* m_easiness = nullptr;
    CPercentProgressCtrl* m_hardness = nullptr;
    QLabel* m_capoNote = nullptr;
    QSize m_size;
};
