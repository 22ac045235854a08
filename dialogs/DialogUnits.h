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
    /// Narrows the horizontal unit so that a width of units dialog units is at
    /// most pixels wide, in the same way.
    void NarrowTo(int units, int pixels);

    /// The horizontal base, rounded: the font's unless widened or narrowed.
    int BaseX() const { return (m_nBaseX + m_nBaseXDivisor / 2) / m_nBaseXDivisor; }
    int BaseY() const { return m_nBaseY; }

private:
    void SetWidth(int units, int pixels);

    // The horizontal base is the fraction m_nBaseX / m_nBaseXDivisor, so that a
    // widened or narrowed dialog gets the exact width it asks for.
    int m_nBaseX;
    int m_nBaseXDivisor = 1;
    int m_nBaseY;
};
