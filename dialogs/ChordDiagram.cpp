#include "dialogs/ChordDiagram.h"

#include <QPainter>
#include <QWidget>

CChordDiagram::CChordDiagram(int x, int y) : m_nX(x), m_nY(y) {}

void CChordDiagram::DrawGrid(QWidget* host) {
    m_bBlank = true;
    Repaint(host);
}

void CChordDiagram::ClearChord(QWidget* host) {
    if (!m_bBlank)
        DrawGrid(host);
}

void CChordDiagram::ShowChord(QWidget* host, const CChord& chord) {
    // C# and Db have the same root number and the same fingering: moving from
    // one name to the other keeps the picture.
    if (chord.root == m_chord.root && chord.suffix == m_chord.suffix && !m_bBlank)
        return;
    m_chord = chord;
    m_bBlank = false;
    ++m_nShowCount;
    Repaint(host);
}

void CChordDiagram::Paint(QPainter& painter, const QColor& background) const {
    Draw(painter, Origin(), m_bBlank ? nullptr : &m_chord, background);
}

void CChordDiagram::Repaint(QWidget* host) const {
    if (host)
        host->update(Area());
}

QRect CChordDiagram::AreaAt(const QPoint& origin) {
    // From (x - width / 5, y - 2 * height / 4) to (x + 6 * width / 5, y + 5 * height / 4), right and bottom excluded.
    const QPoint topLeft(origin.x() - kWidth / 5, origin.y() - 2 * kHeight / 4);
    const QPoint end(origin.x() + 6 * kWidth / 5, origin.y() + 5 * kHeight / 4);
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

void CChordDiagram::Draw(QPainter& painter, const QPoint& origin, const CChord* chord, const QColor& background) {
    const int x = origin.x();
    const int y = origin.y();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (background.isValid())
        painter.fillRect(AreaAt(origin), background);

    // The grid: a white box, the fret lines and the string lines. The box's
    // outline covers x .. x + width - 1 and y .. y + height - 1.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(x, y, kWidth - 1, kHeight - 1));
    for (int lx = x; lx < x + kWidth; lx += kColumnStep)
        painter.fillRect(QRect(lx, y, 1, kHeight), Qt::black);
    for (int ly = y; ly < y + kHeight; ly += kRowStep)
        painter.fillRect(QRect(x, ly, kWidth, 1), Qt::black);

    if (chord) {
        for (int i = 0; i < 6; ++i) {
            const int fret = chord->frets[static_cast<std::size_t>(i)];
            const int column = fret == -1 ? 0 : fret;
            // String i is centred on the line y + height - i * row step; fret f
            // in the f-th column left of the nut; open and muted strings six
            // pixels right of the grid.
            const int left = x + kWidth + kMarkSize / 2 - column * kColumnStep;
            const int top = y + kHeight - kMarkSize / 2 - i * kRowStep;
            const int right = left + kMarkSize;
            const int bottom = top + kMarkSize;
            painter.setPen(QPen(Qt::black, 1));
            if (fret == -1) {
                painter.drawLine(left, top, right, bottom);
                painter.drawLine(right, top, left, bottom);
            } else {
                painter.setBrush(fret == 0 ? QBrush(Qt::NoBrush) : QBrush(Qt::black));
                painter.drawEllipse(QRect(left, top, kMarkSize, kMarkSize));
            }
        }

        // The position label above the column of fret 1.
        const QPoint labelAt(x + kMarkSize / 2 - kColumnStep + kWidth, y + kHeight - 6 * kRowStep - 3 * kMarkSize / 2);
        const QString label = QString::fromStdString(chord->position);
        const QRect labelRect = painter.fontMetrics().boundingRect(label);
        if (background.isValid()) {
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(background);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(labelAt, QSize(labelRect.width() + 2, painter.fontMetrics().height())),
                         Qt::AlignLeft | Qt::AlignTop, label);
    }
    painter.restore();
}
