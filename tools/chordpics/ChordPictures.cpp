// quavern-chordpics FOLDER: draws every chord of the chord table as the chord
// diagram shows it, with the chord's name as a caption, and writes
// FOLDER/<name>.gif for each.

#include <cstdio>

#include <QDir>
#include <QGuiApplication>

#include "chords/ChordCatalog.h"
#include "pictures/ChordDrawing.h"

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
        if (!CChordDrawing::WritePicture(&chord, QString::fromStdString(chord.GetName()), false, path, error)) {
            std::fprintf(stderr, "quavern-chordpics: %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
    }
    return 0;
}
