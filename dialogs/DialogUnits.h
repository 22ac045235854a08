#pragma once

#include <QRect>

class QFont;

/// Converts dialog units to pixels from a font's average character width and
/// height, so the dialogs keep their arrangement with any font: x * width / 4,
/// y * height / 8, rounded.
class CDialogUnits final {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QPoint Point(int x, int y) const { return QPoint(X(x), Y(y)); }
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }
    QRect Rect(int x, int y, int width, int height) const { return QRect(Point(x, y), Size(width, height)); }

    /// Widens the horizontal unit so that a width of units dialog units is at
    /// least pixels wide; everything placed afterwards keeps its proportions.
    void WidenTo(int units, int pixels);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

private:
    int m_nBaseX;
    int m_nBaseY;
};
