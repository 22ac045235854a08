#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTest>

#include <set>

#include "chords/ChordCatalog.h"

namespace {

QString PicturesDir() {
    return QStringLiteral(QUAVERN_PICTURES_DIR);
}

// The logical screen size of a GIF header: "GIF87a" or "GIF89a", then width
// and height as little-endian 16-bit numbers.
bool ReadGifHeader(const QByteArray& bytes, QSize& size) {
    if (bytes.size() < 13)
        return false;
    const QByteArray magic = bytes.left(6);
    if (magic != "GIF89a" && magic != "GIF87a")
        return false;
    const auto byte = [&bytes](int i) { return static_cast<unsigned char>(bytes.at(i)); };
    size = QSize(byte(6) | (byte(7) << 8), byte(8) | (byte(9) << 8));
    // The file ends with the trailer byte.
    return bytes.endsWith(char(0x3b));
}

} // namespace

class ChordPicturesTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyChordHasItsPictureAndNothingElse();
    void everyPictureIsAValidGif();
    void picturesShowTheDiagram();
};

void ChordPicturesTests::everyChordHasItsPictureAndNothingElse() {
    const QDir folder(PicturesDir());
    QVERIFY2(folder.exists(), qPrintable(PicturesDir()));
    const QStringList files = folder.entryList(QDir::Files);
    QCOMPARE(files.size(), CChordCatalog::kSize);
    const CChordCatalog catalog;
    std::set<QString> expected;
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        expected.insert(QString::fromStdString(catalog.GetAt(i).GetName()) + QStringLiteral(".gif"));
    QCOMPARE(std::set<QString>(files.begin(), files.end()), expected);
}

void ChordPicturesTests::everyPictureIsAValidGif() {
    const bool canDecode = QImageReader::supportedImageFormats().contains("gif");
    const QDir folder(PicturesDir());
    for (const QString& name : folder.entryList(QDir::Files)) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSize size;
        QVERIFY2(ReadGifHeader(file.readAll(), size), qPrintable(name));
        QVERIFY(size.width() >= 98 && size.height() >= 70);
        if (canDecode) {
            const QImage image(folder.filePath(name), "GIF");
            QVERIFY2(!image.isNull(), qPrintable(name));
            QCOMPARE(image.size(), size);
        }
    }
}

void ChordPicturesTests::picturesShowTheDiagram() {
    if (!QImageReader::supportedImageFormats().contains("gif"))
        QSKIP("Qt has no GIF reader here");
    // Find the grid of C in its picture: the top-left corner of the box is
    // the first black pixel whose right and lower neighbours are black too.
    const QImage image =
        QImage(QDir(PicturesDir()).filePath(QStringLiteral("C.gif")), "GIF").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!image.isNull());
    const auto black = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 40; };
    QPoint origin(-1, -1);
    for (int y = 0; y < image.height() - 40 && origin.x() < 0; ++y) {
        for (int x = 0; x < image.width() - 70 && origin.x() < 0; ++x) {
            if (black(x, y) && black(x + 69, y) && black(x, y + 39) && black(x + 69, y + 39))
                origin = QPoint(x, y);
        }
    }
    QVERIFY(origin.x() >= 0);
    const int x = origin.x();
    const int y = origin.y();
    // C major: discs at (x + 59, y + 32), (x + 42, y + 16), (x + 25, y + 8);
    // open strings have a light centre at (x + 76, y + 40) and (x + 76, y + 24);
    // the muted sixth string a cross through (x + 76, y).
    for (const QPoint& disc : {QPoint(59, 30), QPoint(42, 14), QPoint(25, 6)})
        QVERIFY(black(x + disc.x(), y + disc.y()));
    QVERIFY(!black(x + 76, y + 40));
    QVERIFY(black(x + 73, y + 40));
    QVERIFY(!black(x + 76, y + 24));
    QVERIFY(black(x + 76, y));
    QVERIFY(black(x + 74, y - 2));
    QVERIFY(!black(x + 76, y - 2));
}

QTEST_MAIN(ChordPicturesTests)
#include "ChordPicturesTests.moc"
