#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>

/// Converts the dialog units the program's windows are laid out in to
/// pixels, from the average character width and the height of the font:
/// four units to the average character width, eight to its height.
class CDialogUnits final {
public:
    explicit CDialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        m_nBaseWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
        m_nBaseHeight = metrics.height();
    }

    int X(int units) const { return units * m_nBaseWidth / 4; }
    int Y(int units) const { return units * m_nBaseHeight / 8; }
    QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }

private:
    int m_nBaseWidth = 6;
    int m_nBaseHeight = 13;
};
