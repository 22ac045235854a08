#pragma once

#include <array>
#include <vector>

#include <QDialog>

#include "dialogs/ChordDiagram.h"
#include "dialogs/ChordDiagramHost.h"

class CChordComboBox;
class QPushButton;
class QSlider;

/// "Enter Chords Manually": up to twelve chords picked from lists are shown
/// transposed by a shift that the user sets with the slider, the "+" and "-"
/// buttons or by choosing the wanted result for one chord, or by the easiest
/// transposition found from the difficulty levels of the program's chord
/// table. Reads the program's table and writes nothing.
class CManualChordsDlg final : public QDialog, public IChordDiagramHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CManualChordsDlg)

public:
    static constexpr int kColumns = 12;

    explicit CManualChordsDlg(QWidget* parent = nullptr);
    ~CManualChordsDlg() override;

    CChordDiagram& Diagram() override { return m_diagram; }
    QWidget* DiagramWindow() override { return this; }

    int Shift() const { return m_nShift; }
    /// Song-chord box S(k) and transposed-chord box T(k), column 1 to 12.
    CChordComboBox* SongBox(int column) const { return m_song[static_cast<std::size_t>(column - 1)]; }
    CChordComboBox* TransposedBox(int column) const { return m_transposed[static_cast<std::size_t>(column - 1)]; }

    /// The handlers of the dialog's controls.
    void OnSongChordChanged(int column);
    void OnReferenceChosen(int column);
    void OnStepUp();
    void OnStepDown();
    void OnSliderMoved(int position);
    void OnFindEasiest();
    void OnClear();
    void OnHelp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    /// The entries of the song boxes, column 1 to 12 (0 for a blank box).
    std::vector<int> SongEntries() const;
    /// Shows the column's song chord moved by shift (-11..+11) and keeps the
    /// shift, wrapped to -6..+6; a blank column stays as it is.
    void TransposeColumn(int column, int shift, int refAccidental);
    void TransposeAll(int shift, int refAccidental);
    bool AnySongChord() const;
    void SetSliderPosition(int position);
    void EnableStepping(bool enable);

    CChordDiagram m_diagram;
    int m_nShift = 0;
    std::array<CChordComboBox*, kColumns> m_song{};
    std::array<CChordComboBox*, kColumns> m_transposed{};
    QSlider* m_slider = nullptr;
    QPushButton* m_quit = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
