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
    return (units * m_nBaseX + 2 * m_nBaseXDivisor) / (4 * m_nBaseXDivisor);
}

int CDialogUnits::Y(int units) const {
    return (units * m_nBaseY + 4) / 8;
}

void CDialogUnits::WidenTo(int units, int pixels) {
    if (units > 0 && X(units) < pixels)
        SetWidth(units, pixels);
}

void CDialogUnits::NarrowTo(int units, int pixels) {
    if (units > 0 && pixels > 0 && X(units) > pixels)
        SetWidth(units, pixels);
}

void CDialogUnits::SetWidth(int units, int pixels) {
    // With a base of 4 * pixels / units, X(units) is pixels exactly.
    m_nBaseX = 4 * pixels;
    m_nBaseXDivisor = units;
}
