#include <QImage>
#include <QPainter>
#include <QTest>

#include "chords/ChordCatalog.h"
#include "dialogs/ChordComboBox.h"
#include "dialogs/ChordDiagram.h"
#include "dialogs/ChordDiagramHost.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

const QColor kBackground(200, 200, 200);

bool IsBlack(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::black);
}

QImage Draw(const QPoint& origin, const CChord* chord) {
    QImage image(200, 160, QImage::Format_RGB32);
    image.fill(Qt::green);
    QPainter painter(&image);
    CChordDiagram::Draw(painter, origin, chord, kBackground);
    return image;
}

// A window with a diagram, as the dialogs hold one.
class CHostWindow final : public QWidget, public IChordDiagramHost {
public:
    CHostWindow() : m_diagram(30, 40) { resize(200, 140); }
    CChordDiagram& Diagram() override { return m_diagram; }
    QWidget* DiagramWindow() override { return this; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_diagram.Paint(painter, kBackground);
    }

private:
    CChordDiagram m_diagram;
};

} // namespace

class ChordDiagramTests final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cMajorMarksStandAtTheirPixelCentres();
    void emptyGridHasNoMarks();
    void areaLeavesRoomForLabelAndMarks();
    void enharmonicNamesKeepThePicture_data();
    void enharmonicNamesKeepThePicture();
    void emptyGridAlwaysRedraws();
    void hostPaintsTheShownChord();
    void comboShowsItsSelectedChord();
    void comboReportsUnknownNames();
};

void ChordDiagramTests::cMajorMarksStandAtTheirPixelCentres() {
    const CChord& c = theChordCatalog.GetAt(0);
    QCOMPARE(QString::fromStdString(c.GetName()), QStringLiteral("C"));
    const int x = 40;
    const int y = 60;
    const QImage image = Draw(QPoint(x, y), &c);

    // Filled discs: black at the centre and two pixels above and below it,
    // the grid's white four pixels above and below.
    const QPoint discs[] = {{x + 59, y + 32}, {x + 42, y + 16}, {x + 25, y + 8}};
    for (const QPoint& centre : discs) {
        QVERIFY2(IsBlack(image, centre.x(), centre.y()), qPrintable(QStringLiteral("disc at %1").arg(centre.x() - x)));
        QVERIFY(IsBlack(image, centre.x(), centre.y() - 2));
        QVERIFY(IsBlack(image, centre.x(), centre.y() + 2));
        QCOMPARE(image.pixelColor(centre.x(), centre.y() - 4), QColor(Qt::white));
        QCOMPARE(image.pixelColor(centre.x(), centre.y() + 4), QColor(Qt::white));
    }

    // Hollow circles: the background at the centre, a black ring three pixels out.
    const QPoint circles[] = {{x + 76, y + 40}, {x + 76, y + 24}};
    for (const QPoint& centre : circles) {
        QCOMPARE(image.pixelColor(centre), kBackground);
        QVERIFY(IsBlack(image, centre.x() - 3, centre.y()));
        QVERIFY(IsBlack(image, centre.x() + 3, centre.y()));
        QVERIFY(IsBlack(image, centre.x(), centre.y() - 3));
        QVERIFY(IsBlack(image, centre.x(), centre.y() + 3));
    }

    // The cross of the sixth string: both diagonals through (x + 76, y).
    QVERIFY(IsBlack(image, x + 76, y));
    for (int d : {-3, -2, 2, 3}) {
        QVERIFY(IsBlack(image, x + 76 + d, y + d));
        QVERIFY(IsBlack(image, x + 76 + d, y - d));
    }
    QCOMPARE(image.pixelColor(x + 76, y - 2), kBackground);
    QCOMPARE(image.pixelColor(x + 76, y + 2), kBackground);

    // The position label "1" begins at (x + 56, y - 17): all its ink lies
    // right of and below that corner, above the grid.
    QRect ink;
    for (int py = y - 20; py < y; ++py) {
        for (int px = x - 14; px < x + 84; ++px) {
            if (qGray(image.pixel(px, py)) < 128)
                ink |= QRect(px, py, 1, 1);
        }
    }
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.left() >= x + 56 && ink.left() <= x + 60, qPrintable(QString::number(ink.left() - x)));
    QVERIFY(ink.top() >= y - 17);
    QVERIFY(ink.bottom() < y);
}

void ChordDiagramTests::emptyGridHasNoMarks() {
    const int x = 40;
    const int y = 60;
    const QImage image = Draw(QPoint(x, y), nullptr);
    // Grid corners and lines are there; the marks' places right of the grid
    // and the label's place are background.
    QVERIFY(IsBlack(image, x, y));
    QVERIFY(IsBlack(image, x + 68, y + 20));
    QVERIFY(IsBlack(image, x + 30, y + 32));
    for (int py = y - 20; py < y + 50; ++py) {
        for (int px = x + 70; px < x + 84; ++px)
            QCOMPARE(image.pixelColor(px, py), kBackground);
    }
    for (int py = y - 20; py < y; ++py) {
        for (int px = x - 14; px < x + 84; ++px)
            QCOMPARE(image.pixelColor(px, py), kBackground);
    }
    QCOMPARE(image.pixelColor(x + 59, y + 28), QColor(Qt::white));
}

void ChordDiagramTests::areaLeavesRoomForLabelAndMarks() {
    const QRect area = CChordDiagram::AreaAt(QPoint(358, 230));
    QCOMPARE(area, QRect(QPoint(344, 210), QPoint(441, 279)));
    // Drawing touches nothing outside the area.
    const QImage image = Draw(QPoint(40, 60), &theChordCatalog.GetAt(84));
    const QRect drawn = CChordDiagram::AreaAt(QPoint(40, 60));
    for (int py = 0; py < image.height(); ++py) {
        for (int px = 0; px < image.width(); ++px) {
            if (!drawn.contains(px, py))
                QCOMPARE(image.pixelColor(px, py), QColor(Qt::green));
        }
    }
}

void ChordDiagramTests::enharmonicNamesKeepThePicture_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("redraws");
    QTest::addColumn<QString>("shown");
    QTest::newRow("C# then Db") << "C#"
                                << "Db" << false << "C#";
    QTest::newRow("Ebm7 then D#m7") << "Ebm7"
                                    << "D#m7" << false << "Ebm7";
    QTest::newRow("C# then C#m") << "C#"
                                 << "C#m" << true << "C#m";
    QTest::newRow("C# then D") << "C#"
                               << "D" << true << "D";
    QTest::newRow("same chord") << "Am"
                                << "Am" << false << "Am";
}

void ChordDiagramTests::enharmonicNamesKeepThePicture() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, redraws);
    QFETCH(QString, shown);
    CChordDiagram diagram(10, 20);
    diagram.ShowChord(nullptr, *theChordCatalog.Find(first.toStdString()));
    const int before = diagram.ShowCount();
    diagram.ShowChord(nullptr, *theChordCatalog.Find(second.toStdString()));
    QCOMPARE(diagram.ShowCount() != before, redraws);
    QCOMPARE(QString::fromStdString(diagram.CurrentChord().GetName()), shown);
    QVERIFY(!diagram.IsBlank());
}

void ChordDiagramTests::emptyGridAlwaysRedraws() {
    CChordDiagram diagram(10, 20);
    const CChord& am = *theChordCatalog.Find("Am");
    diagram.ShowChord(nullptr, am);
    diagram.DrawGrid(nullptr);
    QVERIFY(diagram.IsBlank());
    const int before = diagram.ShowCount();
    diagram.ShowChord(nullptr, am);
    QCOMPARE(diagram.ShowCount(), before + 1);
    QVERIFY(!diagram.IsBlank());
    diagram.ClearChord(nullptr);
    QVERIFY(diagram.IsBlank());
    diagram.ClearChord(nullptr);
    QVERIFY(diagram.IsBlank());
}

void ChordDiagramTests::hostPaintsTheShownChord() {
    CHostWindow host;
    host.Diagram().DrawGrid(&host);
    const QPoint origin = host.Diagram().Origin();
    // Am: second string at fret 1, its disc centred at (x + 59, y + 32).
    const QPoint disc = origin + QPoint(59, 32 - 4);
    QCOMPARE(host.grab().toImage().pixelColor(disc), QColor(Qt::white));
    host.Diagram().ShowChord(&host, *theChordCatalog.Find("Am"));
    QCOMPARE(host.grab().toImage().pixelColor(origin + QPoint(59, 32)), QColor(Qt::black));
    QCOMPARE(host.grab().toImage().pixelColor(origin + QPoint(59, 30)), QColor(Qt::black));
    host.Diagram().ClearChord(&host);
    QCOMPARE(host.grab().toImage().pixelColor(origin + QPoint(59, 30)), QColor(Qt::white));
}

void ChordDiagramTests::comboShowsItsSelectedChord() {
    CHostWindow host;
    auto* combo = new CChordComboBox(&host);
    combo->addItems({QStringLiteral(" "), QStringLiteral("Am"), QStringLiteral("Dbmaj7")});
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    CMessageRecorder messages;

    combo->setCurrentIndex(2);
    MoveMouse(combo, QPoint(5, 5));
    QVERIFY(!host.Diagram().IsBlank());
    QCOMPARE(host.Diagram().CurrentChord().GetName(), std::string("Dbmaj7"));

    // The blank entry empties the grid. (The pointer moves on: one that stays
    // where it is sends no move.)
    combo->setCurrentIndex(0);
    MoveMouse(combo, QPoint(6, 5));
    QVERIFY(host.Diagram().IsBlank());
    QVERIFY(messages.Messages().empty());
}

void ChordDiagramTests::comboReportsUnknownNames() {
    CHostWindow host;
    auto* combo = new CChordComboBox(&host);
    combo->addItems({QStringLiteral(" "), QStringLiteral("Am"), QStringLiteral("H7")});
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    CMessageRecorder messages;
    combo->setCurrentIndex(1);
    MoveMouse(combo, QPoint(5, 5));
    combo->setCurrentIndex(2);
    MoveMouse(combo, QPoint(6, 5));
    QCOMPARE(messages.Messages(), std::vector<std::string>{"Error retrieving chord from name H7"});
    // The diagram stays as it was.
    QCOMPARE(host.Diagram().CurrentChord().GetName(), std::string("Am"));
    QVERIFY(!host.Diagram().IsBlank());
}

QTEST_MAIN(ChordDiagramTests)
#include "ChordDiagramTests.moc"
