#include "pictures/ChordDrawing.h"

#include <QFont>
#include <QPainter>

#include "pictures/GifWriter.h"

namespace {

// The pictures: the diagram's area with a small margin around it and a
// caption line under it.
constexpr int kMargin = 4;
constexpr int kCaptionHeight = 20;
const QColor kPictureBackground(238, 238, 238);

// The grid and the marks, without the label, the nut on the right.
void DrawFretboard(QPainter& painter, const QPoint& origin, const CChord* chord) {
    using D = CChordDrawing;
    const int x = origin.x();
    const int y = origin.y();

    // The grid: a white box, the fret lines and the string lines. The box's
    // outline covers x .. x + width - 1 and y .. y + height - 1.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(x, y, D::kWidth - 1, D::kHeight - 1));
    for (int lx = x; lx < x + D::kWidth; lx += D::kColumnStep)
        painter.fillRect(QRect(lx, y, 1, D::kHeight), Qt::black);
    for (int ly = y; ly < y + D::kHeight; ly += D::kRowStep)
        painter.fillRect(QRect(x, ly, D::kWidth, 1), Qt::black);

    if (!chord)
        return;
    for (int i = 0; i < 6; ++i) {
        const int fret = chord->frets[static_cast<std::size_t>(i)];
        const int column = fret == -1 ? 0 : fret;
        // String i is centred on the line y + height - i * row step; fret f
        // in the f-th column left of the nut; open and muted strings six
        // pixels right of the grid.
        const int left = x + D::kWidth + D::kMarkSize / 2 - column * D::kColumnStep;
        const int top = y + D::kHeight - D::kMarkSize / 2 - i * D::kRowStep;
        const int right = left + D::kMarkSize;
        const int bottom = top + D::kMarkSize;
        painter.setPen(QPen(Qt::black, 1));
        if (fret == -1) {
            painter.drawLine(left, top, right, bottom);
            painter.drawLine(right, top, left, bottom);
        } else {
            painter.setBrush(fret == 0 ? QBrush(Qt::NoBrush) : QBrush(Qt::black));
            painter.drawEllipse(QRect(left, top, D::kMarkSize, D::kMarkSize));
        }
    }
}

} // namespace

QRect CChordDrawing::AreaAt(const QPoint& origin) {
    // From (x - width / 5, y - 2 * height / 4) to (x + 6 * width / 5, y + 5 * height / 4), right and bottom excluded.
    const QPoint topLeft(origin.x() - kWidth / 5, origin.y() - 2 * kHeight / 4);
    const QPoint end(origin.x() + 6 * kWidth / 5, origin.y() + 5 * kHeight / 4);
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

void CChordDrawing::Draw(QPainter& painter, const QPoint& origin, const CChord* chord, const QColor& background,
                         bool mirrored) {
    const int x = origin.x();
    const int y = origin.y();
    const QRect area = AreaAt(origin);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (background.isValid())
        painter.fillRect(area, background);

    if (!mirrored) {
        DrawFretboard(painter, origin, chord);
    } else {
        // Drawn as usual, then turned over pixel for pixel: the area is
        // symmetric about the grid, so the grid stays where it is and the
        // marks come out exactly as they are, only on the other side.
        QImage board(area.size(), QImage::Format_ARGB32_Premultiplied);
        board.fill(Qt::transparent);
        QPainter boardPainter(&board);
        boardPainter.setRenderHint(QPainter::Antialiasing, false);
        DrawFretboard(boardPainter, origin - area.topLeft(), chord);
        boardPainter.end();
        painter.drawImage(area.topLeft(), board.mirrored(true, false));
    }

    if (chord) {
        // The position label above the column of fret 1.
        const QString label = QString::fromStdString(chord->position);
        const QRect labelRect = painter.fontMetrics().boundingRect(label);
        const QSize labelSize(labelRect.width() + 2, painter.fontMetrics().height());
        QPoint labelAt(x + kMarkSize / 2 - kColumnStep + kWidth, y + kHeight - 6 * kRowStep - 3 * kMarkSize / 2);
        if (mirrored)
            labelAt.setX(area.left() + area.right() - labelAt.x() - labelSize.width() + 1);
        if (background.isValid()) {
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(background);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(labelAt, labelSize), Qt::AlignLeft | Qt::AlignTop, label);
    }
    painter.restore();
}

QImage CChordDrawing::Picture(const CChord* chord, const QString& caption, bool mirrored) {
    // The diagram's area begins 14 pixels left of and 20 pixels above the grid.
    const QPoint origin(kMargin + kWidth / 5, kMargin + 2 * kHeight / 4);
    const QRect area = AreaAt(origin);
    QImage image(area.width() + 2 * kMargin, area.bottom() + 1 + kCaptionHeight + kMargin, QImage::Format_RGB32);
    image.fill(kPictureBackground);

    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    Draw(painter, origin, chord, kPictureBackground, mirrored);

    QFont captionFont = font;
    captionFont.setPixelSize(14);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, area.bottom() + 1, image.width(), kCaptionHeight), Qt::AlignCenter, caption);
    return image;
}

bool CChordDrawing::WritePicture(const CChord* chord, const QString& caption, bool mirrored, const QString& path,
                                 QString& error) {
    return WriteGreyGif(Picture(chord, caption, mirrored), path, error);
}
