#include "dialogs/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = metrics.horizontalAdvance(letters);
    m_nBaseX = (width / 26 + 1) / 2;
    m_nBaseY = metrics.height();
}

int CDialogUnits::X(int units) const {
    return (units * m_nBaseX + 2) / 4;
}

int CDialogUnits::Y(int units) const {
    return (units * m_nBaseY + 4) / 8;
}

void CDialogUnits::WidenTo(int units, int pixels) {
    if (units > 0 && X(units) < pixels)
        m_nBaseX = (4 * pixels - 2 + units - 1) / units;
}
