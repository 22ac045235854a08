// quavern-chordpics FOLDER: draws every chord of the chord table as the chord
// diagram shows it, with the chord's name as a caption, and writes
// FOLDER/<name>.gif for each.

#include <cstdio>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "chords/ChordCatalog.h"
#include "dialogs/ChordDiagram.h"
#include "tools/chordpics/GifWriter.h"

namespace {

// The diagram's area begins 14 pixels left of and 20 pixels above the grid;
// a small margin around it and a caption line under it.
constexpr int kMargin = 4;
constexpr int kCaptionHeight = 20;
const QColor kBackground(238, 238, 238);

QImage DrawPicture(const CChord& chord) {
    const QPoint origin(kMargin + CChordDiagram::kWidth / 5, kMargin + 2 * CChordDiagram::kHeight / 4);
    const QRect area = CChordDiagram::AreaAt(origin);
    QImage image(area.width() + 2 * kMargin, area.bottom() + 1 + kCaptionHeight + kMargin, QImage::Format_RGB32);
    image.fill(kBackground);

    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    CChordDiagram::Draw(painter, origin, &chord, kBackground);

    QFont captionFont = font;
    captionFont.setPixelSize(14);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, area.bottom() + 1, image.width(), kCaptionHeight), Qt::AlignCenter,
                     QString::fromStdString(chord.GetName()));
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quavern-chordpics FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "quavern-chordpics: cannot create %s\n", argv[1]);
        return 1;
    }

    const CChordCatalog catalog;
    for (int i = 0; i < CChordCatalog::kSize; ++i) {
        const CChord& chord = catalog.GetAt(i);
        const QString path = QDir(folder).filePath(QString::fromStdString(chord.GetName()) + QStringLiteral(".gif"));
        QString error;
        if (!WriteGreyGif(DrawPicture(chord), path, error)) {
            std::fprintf(stderr, "quavern-chordpics: %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
    }
    return 0;
}
