// The transposition commands, the slider and the gauges, driven through the
// real frame and view with pages loaded by the browser.
#include <memory>

#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWindow>

#include "app/MainFrame.h"
#include "app/PercentProgressCtrl.h"
#include "app/TranspositionBar.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

class TestTransposition final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void upAndDownWrapAround_data();
    void upAndDownWrapAround();
    void twelveUpsReturnToTheSong();
    void secondUpBeforeThePageLoadedIsCounted();
    void easiestSetsSliderAndDisplay();
    void sliderMovesTheSongWheneverItIsLetGo();
    void barButtonsSendTheMenuCommands();
    void gaugesFollowTheAverageLevel_data();
    void gaugesFollowTheAverageLevel();
    void scrollPositionSurvivesAReload();

private:
    static QSlider* Slider(const CProgramFixture& program) {
        return program.Frame()->findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER));
    }

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
    QVERIFY(WaitForShownText(view, [&](const QString& shown) {
        return shown.startsWith(QString::fromLatin1(expectedChord) + QLatin1Char('\n'));
    }));
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

void TestTransposition::secondUpBeforeThePageLoadedIsCounted() {
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
    // The second Up was counted: once the first page has loaded, the page
    // for both is shown; Easiest and the shift set meanwhile were not taken.
    QVERIFY(program.WaitReady());
    QCOMPARE(view->GetDocument()->Shift(), 2);
    QVERIFY(program.Document()->Working().text.find("D A\n") != std::string::npos);
    // Once the page has loaded, the next Up is taken.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(view->GetDocument()->Shift(), 3);
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
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown.startsWith(QStringLiteral("A D E")); }));

    // A song that is easiest as written comes back to 0 from any shift.
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("easy.txt"), "E Am")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_FIND_EASIEST));
    QCOMPARE(view->GetDocument()->Shift(), 0);
    QCOMPARE(Slider(program)->value(), 0);
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown.startsWith(QStringLiteral("E Am")); }));
}

namespace {

// Where a part of the slider is drawn, in the coordinates of its window.
QRect PartInWindow(QSlider* slider, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.pageStep = slider->pageStep();
    option.singleStep = slider->singleStep();
    option.subControls = QStyle::SC_All;
    const QRect rect = slider->style()->subControlRect(QStyle::CC_Slider, &option, part, slider);
    return rect.translated(slider->mapTo(slider->window(), QPoint(0, 0)));
}

QPoint ThumbInWindow(QSlider* slider) {
    return PartInWindow(slider, QStyle::SC_SliderHandle).center();
}

} // namespace

// The song follows the slider whenever the user lets go of it: keyboard,
// a click on the groove, a drag of the thumb, also one let go while a page
// still loads. Driven through the window, as a pointer and keyboard do.
void TestTransposition::sliderMovesTheSongWheneverItIsLetGo() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "G D\n")));
    QSlider* slider = Slider(program);
    QWindow* window = program.Frame()->windowHandle();
    QVERIFY(window);
    const auto songFollowsThumb = [&program, slider] {
        return program.WaitReady() && program.Document()->Shift() == slider->value() &&
               program.Frame()->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE))->GetPos() ==
                   program.Document()->HardnessLevel() + 1;
    };

    slider->setFocus();
    QTest::keyClick(window, Qt::Key_Right);
    QCOMPARE(slider->value(), 1);
    QVERIFY(songFollowsThumb());

    // A click on the groove far right of the thumb steps it towards the click.
    const QRect groove = PartInWindow(slider, QStyle::SC_SliderGroove);
    const QPoint grooveEnd(groove.right() - 2, groove.center().y());
    QTest::mouseClick(window, Qt::LeftButton, {}, grooveEnd);
    QVERIFY(slider->value() > 1);
    QVERIFY(songFollowsThumb());

    // A drag of the thumb to the left end.
    const QPoint thumb = ThumbInWindow(slider);
    const QPoint left(groove.left(), groove.center().y());
    QTest::mousePress(window, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(window, (thumb + left) / 2);
    QTest::mouseMove(window, left);
    QTest::mouseRelease(window, Qt::LeftButton, {}, left);
    QCOMPARE(slider->value(), -6);
    QVERIFY(songFollowsThumb());
    QVERIFY(program.Document()->Working().text.find("C# G#\n") != std::string::npos);

    // Let go while the page of "+" still loads: applied once it has loaded.
    program.Action(ID_TRANSPOSE_UP)->trigger();
    QVERIFY(!program.View()->IsReady());
    const QPoint from = ThumbInWindow(slider);
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    QTest::mouseMove(window, grooveEnd);
    QTest::mouseRelease(window, Qt::LeftButton, {}, grooveEnd);
    QCOMPARE(slider->value(), 6);
    QVERIFY(WaitUntil([&] { return program.Document()->Shift() == 6; }, 20000));
    QVERIFY(songFollowsThumb());
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestTransposition::barButtonsSendTheMenuCommands() {
    CProgramFixture& program = *m_program;
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("song.txt"), "Am\n")));
    const struct {
        int id;
        int shift;
    } clicks[] = {{ID_TRANSPOSE_UP, 1}, {ID_TRANSPOSE_DOWN, 0}, {ID_TRANSPOSE_DOWN, -1}};
    for (const auto& click : clicks) {
        QTest::mouseClick(program.Frame()->findChild<QPushButton*>(ObjectNameOf(click.id)), Qt::LeftButton);
        QVERIFY(WaitUntil([&] { return program.WaitReady() && program.Document()->Shift() == click.shift; }, 20000));
    }
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
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
    CTranspositionBar* bar = program.Frame()->findChild<CTranspositionBar*>();
    CPercentProgressCtrl* easinessGauge = bar->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_EASINESS_GAUGE));
    CPercentProgressCtrl* hardnessGauge = bar->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE));
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
    view->page()->runJavaScript(QStringLiteral("window.scrollTo(0, 1500);"), ScriptWorld(view->page()));
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
