// The transposition commands, the slider and the gauges, driven through the
// real frame and view with pages loaded by the browser.
#include <memory>

#include <QSlider>
#include <QTest>

#include "app/MainFrame.h"
#include "app/PercentProgressCtrl.h"
#include "app/TranspositionBar.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"

class TestTransposition final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void upAndDownWrapAround_data();
    void upAndDownWrapAround();
    void twelveUpsReturnToTheSong();
    void secondUpBeforeThePageLoadedIsIgnored();
    void easiestSetsSliderAndDisplay();
    void sliderReleaseAppliesItsPosition();
    void gaugesFollowTheAverageLevel_data();
    void gaugesFollowTheAverageLevel();
    void scrollPositionSurvivesAReload();

private:
    static QSlider* Slider(const CProgramFixture& program) { return program.Frame()->GetTranspositionBar()->Slider(); }

    // One program for all cases: each case opens a song of its own.
    std::unique_ptr<CProgramFixture> m_program;
};

void TestTransposition::initTestCase() {
    m_program = std::make_unique<CProgramFixture>();
    QVERIFY(m_program->Start());
}

void TestTransposition::cleanupTestCase() {
    m_program.reset();
}

void TestTransposition::upAndDownWrapAround_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("expectedShift");
    QTest::addColumn<QByteArray>("expectedChord");
    QTest::newRow("up once") << ID_TRANSPOSE_UP << 1 << 1 << QByteArray("A#m");
    QTest::newRow("up to +6") << ID_TRANSPOSE_UP << 6 << 6 << QByteArray("D#m");
    QTest::newRow("up from +6 gives -5") << ID_TRANSPOSE_UP << 7 << -5 << QByteArray("Em");
    QTest::newRow("down to -6") << ID_TRANSPOSE_DOWN << 6 << -6 << QByteArray("D#m");
    QTest::newRow("down from -6 gives +5") << ID_TRANSPOSE_DOWN << 7 << 5 << QByteArray("Dm");
}

void TestTransposition::upAndDownWrapAround() {
    QFETCH(int, command);
    QFETCH(int, steps);
    QFETCH(int, expectedShift);
    QFETCH(QByteArray, expectedChord);
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "Am\nla la\n")));
    for (int i = 0; i < steps; ++i)
        QVERIFY(program.Run(command));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->Shift(), expectedShift);
    QCOMPARE(Slider(program)->value(), expectedShift);
    // The display file and the browser both show the moved chord.
    const std::string& working = program.Document()->Working().text;
    QVERIFY(working.find("<pre>" + expectedChord.toStdString() + "\n") != std::string::npos);
    QCOMPARE(ReadFileBytes(view->GetDocument()->DisplayPath()), QByteArray::fromStdString(working));
    QVERIFY(ShownText(view).startsWith(QString::fromLatin1(expectedChord) + QLatin1Char('\n')));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestTransposition::twelveUpsReturnToTheSong() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    const QByteArray song = "F Bb C\nGm7 C#maj7\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), song)));
    const std::string loaded = program.Document()->Working().text;
    for (int i = 0; i < 12; ++i)
        QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(program.Document()->Shift(), 0);
    QCOMPARE(program.Document()->Working().text, loaded);
}

void TestTransposition::secondUpBeforeThePageLoadedIsIgnored() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "C G\n")));
    CQuavernView* view = program.View();
    QVERIFY(view->IsReady());
    program.Action(ID_TRANSPOSE_UP)->trigger();
    QVERIFY(!view->IsReady());
    program.Action(ID_TRANSPOSE_UP)->trigger();
    program.Action(ID_FIND_EASIEST)->trigger();
    view->SetShift(4);
    QCOMPARE(view->GetDocument()->Shift(), 1);
    QVERIFY(program.WaitReady());
    QCOMPARE(view->GetDocument()->Shift(), 1);
    QVERIFY(program.Document()->Working().text.find("C# G#\n") != std::string::npos);
    // Once the page has loaded, the next Up is taken.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(view->GetDocument()->Shift(), 2);
}

void TestTransposition::easiestSetsSliderAndDisplay() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "F Bb C")));
    QVERIFY(program.Run(ID_TRANSPOSE_DOWN));
    QVERIFY(program.Run(ID_FIND_EASIEST));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->Shift(), 4);
    QCOMPARE(Slider(program)->value(), 4);
    QCOMPARE(QString::fromStdString(StripAddedText(program.Document()->Working().text, view->GetDocument()->Added())),
             QStringLiteral("A D E"));
    QVERIFY(ShownText(view).startsWith(QStringLiteral("A D E")));

    // A song that is easiest as written comes back to 0 from any shift.
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("easy.txt"), "E Am")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_FIND_EASIEST));
    QCOMPARE(view->GetDocument()->Shift(), 0);
    QCOMPARE(Slider(program)->value(), 0);
    QVERIFY(ShownText(view).startsWith(QStringLiteral("E Am")));
}

void TestTransposition::sliderReleaseAppliesItsPosition() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "G D\n")));
    QSlider* slider = Slider(program);
    // A keyboard move changes the thumb alone.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(slider->value(), 1);
    QCOMPARE(program.Document()->Shift(), 0);
    // Releasing the mouse applies the position.
    slider->setValue(-3);
    Q_EMIT slider->sliderReleased();
    QVERIFY(program.WaitReady());
    QCOMPARE(program.Document()->Shift(), -3);
    QVERIFY(program.Document()->Working().text.find("E B\n") != std::string::npos);
}

void TestTransposition::gaugesFollowTheAverageLevel_data() {
    QTest::addColumn<QByteArray>("song");
    QTest::addColumn<int>("easiness");
    QTest::addColumn<int>("hardness");
    QTest::addColumn<QString>("easinessText");
    // Default levels: E 1, Am 1, F 4, Bb 5, C 1.
    QTest::newRow("level-1 chords") << QByteArray("E Am E") << 201 << 1 << QStringLiteral("100%");
    QTest::newRow("no chords") << QByteArray("la la la") << 201 << 1 << QStringLiteral("100%");
    // (10 / 3 - 1) x 50 = 116.67, truncated to 116.
    QTest::newRow("F Bb C") << QByteArray("F Bb C") << 85 << 117 << QStringLiteral("42%");
}

void TestTransposition::gaugesFollowTheAverageLevel() {
    QFETCH(QByteArray, song);
    QFETCH(int, easiness);
    QFETCH(int, hardness);
    QFETCH(QString, easinessText);
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), song)));
    CTranspositionBar* bar = program.Frame()->GetTranspositionBar();
    CPercentProgressCtrl* easinessGauge = bar->Gauge(IDC_EASINESS_GAUGE);
    CPercentProgressCtrl* hardnessGauge = bar->Gauge(IDC_HARDNESS_GAUGE);
    QCOMPARE(program.Frame()->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_EASINESS_GAUGE)), easinessGauge);
    QCOMPARE(easinessGauge->GetUpper(), 202);
    QCOMPARE(easinessGauge->GetPos(), easiness);
    QCOMPARE(hardnessGauge->GetPos(), hardness);
    QCOMPARE(easinessGauge->PercentText(), easinessText);
}

void TestTransposition::scrollPositionSurvivesAReload() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QByteArray song;
    for (int i = 0; i < 300; ++i)
        song += "G   D   Em   C\nla la la la\n";
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("long.txt"), song)));
    CQuavernView* view = program.View();
    program.Frame()->resize(800, 600);
    view->page()->runJavaScript(QStringLiteral("window.scrollTo(0, 1500);"));
    QVERIFY(WaitUntil([view] { return view->page()->scrollPosition().y() > 1400; }, 10000));
    const int before = qRound(view->page()->scrollPosition().y());
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(WaitUntil([view, before] { return qAbs(view->page()->scrollPosition().y() - before) < 2; }, 10000));
    // Opening a song shows it from the top.
    QVERIFY(program.OpenSong(program.PathOf(QStringLiteral("long.txt"))));
    QVERIFY(WaitUntil([view] { return view->page()->scrollPosition().y() < 1; }, 10000));
}

QTEST_MAIN(TestTransposition)
#include "TestTransposition.moc"
