#pragma once

#include <QColor>
#include <QProgressBar>

/// A progress bar drawn as a colour gradient from the start colour to the
/// end colour, cut at the position, with the percentage written over it.
class CPercentProgressCtrl final : public QProgressBar {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPercentProgressCtrl)

public:
    explicit CPercentProgressCtrl(QWidget* parent = nullptr);
    ~CPercentProgressCtrl() override;

    /// Stores both bounds and moves the position to the lower one.
    void SetRange(int lower, int upper);
    void SetPos(int position);

    int GetLower() const { return m_nLower; }
    int GetUpper() const { return m_nUpper; }
    int GetPos() const { return m_nPos; }
    /// The percentage text as drawn, e.g. "100%".
    QString PercentText() const;

    /// The gradient runs from start to end up to the position; the rest is
    /// background, and the percentage is written in text.
    void SetColors(const QColor& start, const QColor& end, const QColor& background, const QColor& text);
    /// Whether the percentage is written over the bar.
    void SetShowPercent(bool show);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_clrStart{255, 0, 0};
    QColor m_clrEnd{0, 0, 255};
    QColor m_clrBkgnd;
    QColor m_clrText{255, 255, 255};
    bool m_bShowPercent = false;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};
