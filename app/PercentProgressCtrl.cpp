#include "app/PercentProgressCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QPainter>
#include <QPalette>

CPercentProgressCtrl::CPercentProgressCtrl(QWidget* parent) : QProgressBar(parent) {
    m_clrBkgnd = palette().color(QPalette::Button);
    setTextVisible(false);
    QProgressBar::setRange(m_nLower, m_nUpper);
    QProgressBar::setValue(m_nPos);
    // The whole control is painted here: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CPercentProgressCtrl::~CPercentProgressCtrl() = default;

void CPercentProgressCtrl::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = upper;
    m_nPos = lower;
    QProgressBar::setRange(lower, upper);
    QProgressBar::setValue(lower);
    update();
}

void CPercentProgressCtrl::SetColors(const QColor& start, const QColor& end, const QColor& background,
                                     const QColor& text) {
    m_clrStart = start;
    m_clrEnd = end;
    m_clrBkgnd = background;
    m_clrText = text;
    update();
}

void CPercentProgressCtrl::SetShowPercent(bool show) {
    m_bShowPercent = show;
    update();
}

void CPercentProgressCtrl::SetPos(int position) {
    m_nPos = position;
    QProgressBar::setValue(position);
    update();
}

QString CPercentProgressCtrl::PercentText() const {
    const double percent = m_nUpper != 0 ? m_nPos * 100.0 / m_nUpper : 0.0;
    return QString::number(percent, 'f', 0) + QLatin1Char('%');
}

void CPercentProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A thin border around the client area, as a bordered control has.
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect client = rect().adjusted(1, 1, -1, -1);
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    // An empty and a full gauge look alike: plain button face, no text.
    if (m_nPos <= m_nLower || m_nPos >= m_nUpper) {
        painter.fillRect(QRect(QPoint(0, 0), client.size()), palette().color(QPalette::Button));
        return;
    }
    const int filled = static_cast<int>(static_cast<double>(m_nPos) / m_nUpper * client.width());
    const int dRed = m_clrEnd.red() - m_clrStart.red();
    const int dGreen = m_clrEnd.green() - m_clrStart.green();
    const int dBlue = m_clrEnd.blue() - m_clrStart.blue();
    const int steps = std::max({std::abs(dRed), std::abs(dGreen), std::abs(dBlue)});
    if (steps > 0) {
        const double band = static_cast<double>(client.width()) / steps;
        const double sRed = static_cast<double>(dRed) / steps;
        const double sGreen = static_cast<double>(dGreen) / steps;
        const double sBlue = static_cast<double>(dBlue) / steps;
        // The gradient is laid across the whole control; the band that
        // crosses the filled width is drawn whole, the rest is background.
        for (int i = 0; i < steps; ++i) {
            const int left = static_cast<int>(i * band);
            const int right = static_cast<int>((i + 1) * band);
            const QColor color(static_cast<int>(m_clrStart.red() + i * sRed),
                               static_cast<int>(m_clrStart.green() + i * sGreen),
                               static_cast<int>(m_clrStart.blue() + i * sBlue));
            painter.fillRect(QRect(left, 0, right - left, client.height()), color);
            if (right > filled) {
                painter.fillRect(QRect(right, 0, client.width() - right, client.height()), m_clrBkgnd);
                break;
            }
        }
    }
    if (m_bShowPercent) {
        painter.setPen(m_clrText);
        painter.drawText(QRect(QPoint(0, 0), client.size()), Qt::AlignCenter | Qt::TextSingleLine, PercentText());
    }
}
