// The main frame: menus, accelerators, bars, the close prompt, the gauge's
// drawing, start-up and the settings kept across a restart.
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolBar>

#include "app/MainFrame.h"
#include "app/PercentProgressCtrl.h"
#include "app/ProgramArguments.h"
#include "app/QuavernApp.h"
#include "app/TranspositionBar.h"
#include "chords/ChordCatalog.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/TestFiles.h"

class TestMainFrame final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menuItemsHaveTheirTextsAndKeys_data();
    void menuItemsHaveTheirTextsAndKeys();
    void transpositionBarHasItsControls();
    void menusHoldTheirEntriesInOrder();
    void transpositionBarTellsWhatTheUserChose();
    void closePromptsOnlyForAnUnsavedShift_data();
    void closePromptsOnlyForAnUnsavedShift();
    void settingsAndLevelsSurviveARestart();
    void commandLineSongIsOpenedAfterTheStartPage();
    void commandLineIsReadAsTheHelpSays();
    void gaugeDrawsGradientAndPercent();
};

void TestMainFrame::menuItemsHaveTheirTextsAndKeys_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QKeySequence>>("keys");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("tip");
    const std::vector<std::string> lines = ReadExpectedLines(QUAVERN_EXPECTED_DIR "/menu-items.txt");
    QVERIFY(!lines.empty());
    for (const std::string& line : lines) {
        // id|text|shortcut|prompt|tip, a tab in the text written \t
        const QStringList fields = QString::fromStdString(line).split(QLatin1Char('|'));
        QVERIFY2(fields.size() == 5, line.c_str());
        const QString text = QString(fields.at(1)).replace(QStringLiteral("\\t"), QStringLiteral("\t"));
        QTest::newRow(qPrintable(text)) << fields.at(0).toInt() << text
                                        << (fields.at(2).isEmpty() ? QList<QKeySequence>()
                                                                   : QKeySequence::listFromString(
                                                                         fields.at(2), QKeySequence::PortableText))
                                        << fields.at(3) << fields.at(4);
    }
}

void TestMainFrame::menuItemsHaveTheirTextsAndKeys() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(QString, prompt);
    QFETCH(QString, tip);
    // The frame alone: its actions are built without a page being loaded.
    CMainFrame frame(nullptr, ProgramFolders());
    QVERIFY(frame.OnCreate());
    QAction* action = frame.findChild<QAction*>(ObjectNameOf(id));
    QVERIFY(action);
    QCOMPARE(action, frame.Action(id));
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcuts(), keys);
    QCOMPARE(action->statusTip(), prompt);
    if (!tip.isEmpty())
        QCOMPARE(action->toolTip(), tip);
}

void TestMainFrame::transpositionBarHasItsControls() {
    CMainFrame frame(nullptr, ProgramFolders());
    QVERIFY(frame.OnCreate());
    QSlider* slider = frame.findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER));
    QVERIFY(slider);
    QCOMPARE(slider->minimum(), -6);
    QCOMPARE(slider->maximum(), 6);
    QCOMPARE(slider->value(), 0);
    QCOMPARE(slider->tickInterval(), 1);
    QVERIFY(frame.findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_EASINESS_GAUGE)));
    QVERIFY(frame.findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE)));
    const struct {
        int id;
        const char* text;
    } buttons[] = {
        {ID_TRANSPOSE_DOWN, "-"}, {ID_TRANSPOSE_UP, "+"}, {ID_FIND_EASIEST, "&Easiest"}, {ID_MANUAL_CHORDS, "&Manual"}};
    for (const auto& button : buttons) {
        QPushButton* widget = frame.findChild<QPushButton*>(ObjectNameOf(button.id));
        QVERIFY(widget);
        QCOMPARE(widget->text(), QString::fromLatin1(button.text));
    }
    QStringList labels;
    const QList<QLabel*> children = frame.findChild<CTranspositionBar*>()->findChildren<QLabel*>();
    for (const QLabel* label : children) {
        if (label->objectName() != ObjectNameOf(IDC_CAPO_NOTE)) // empty until a capo is chosen
            labels << label->text();
    }
    QCOMPARE(labels,
             QStringList({QStringLiteral("Hardness"), QStringLiteral("Easiness"), QStringLiteral("-6"),
                          QStringLiteral("-5"), QStringLiteral("-4"), QStringLiteral("-3"), QStringLiteral("-2"),
                          QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("+1"), QStringLiteral("+2"),
                          QStringLiteral("+3"), QStringLiteral("+4"), QStringLiteral("+5"), QStringLiteral("+6")}));
    // The tool bar: open, save, print | highlight, its options | levels.
    QToolBar* toolBar = frame.findChild<QToolBar*>(QStringLiteral("ToolBar128"));
    QVERIFY(toolBar);
    QStringList order;
    const QList<QAction*> actions = toolBar->actions();
    for (const QAction* action : actions)
        order << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    QCOMPARE(order.join(QLatin1Char(' ')), QStringLiteral("57601 57603 57607 | 32781 32783 | 32772"));
}

namespace {

// A menu's entries by id, "|" for a separator, a submenu by its title.
QString MenuEntries(const QMenu* menu) {
    QStringList entries;
    const QList<QAction*> actions = menu->actions();
    for (const QAction* action : actions) {
        if (action->menu())
            entries << action->text() + QLatin1Char('(') + MenuEntries(action->menu()) + QLatin1Char(')');
        else
            entries << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    }
    return entries.join(QLatin1Char(' '));
}

} // namespace

void TestMainFrame::menusHoldTheirEntriesInOrder() {
    CMainFrame frame(nullptr, ProgramFolders());
    QVERIFY(frame.OnCreate());
    QStringList menus;
    const QList<QAction*> titles = frame.menuBar()->actions();
    for (const QAction* title : titles)
        menus << title->text() + QStringLiteral(": ") + MenuEntries(title->menu());
    QCOMPARE(menus,
             QStringList({QStringLiteral("&File: 57601 32771 | 57603 57604 | 32820 32821 | 57607 57609 57606 | 57665"),
                          QStringLiteral("&Transpose: 32780 32778 32779 | 32796"),
                          QStringLiteral("&Options: 32772 32783 | 32810 &Reading Options(32790 &Spelling(32791 32792 "
                                         "32793 32794) 32795 32801 32802)"),
                          QStringLiteral("&View: 32781 | 32797 32798 32799 | 32800 | 59392 59393"),
                          QStringLiteral("&Help: 32788 32773 | 57664")}));
    // The spellings are one choice; the toggles stand alone.
    QActionGroup* spellings = frame.Action(ID_SPELLING_AS_WRITTEN)->actionGroup();
    QVERIFY(spellings && spellings->isExclusive());
    QCOMPARE(spellings->actions().size(), 4);
    QVERIFY(!frame.Action(ID_ALL_CHORDS)->actionGroup() && frame.Action(ID_KEEP_COLUMNS)->isCheckable());
}

void TestMainFrame::transpositionBarTellsWhatTheUserChose() {
    CTranspositionBar bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy chosen(&bar, &CTranspositionBar::ShiftChosen);
    QSignalSpy clicked(&bar, &CTranspositionBar::CommandClicked);
    // Showing the song's shift chooses nothing; a key on the slider does.
    bar.ShowShift(3);
    QCOMPARE(bar.ChosenShift(), 3);
    QCOMPARE(chosen.count(), 0);
    QTest::keyClick(bar.findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER)), Qt::Key_Right);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toInt(), 4);
    for (const int id : {ID_TRANSPOSE_DOWN, ID_TRANSPOSE_UP, ID_FIND_EASIEST, ID_MANUAL_CHORDS}) {
        QTest::mouseClick(bar.findChild<QPushButton*>(ObjectNameOf(id)), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.takeFirst().at(0).toInt(), id);
    }
}

void TestMainFrame::closePromptsOnlyForAnUnsavedShift_data() {
    QTest::addColumn<int>("ups");
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("onDisk");
    QTest::newRow("not transposed") << 0 << false << int(QMessageBox::Cancel) << false << true << QByteArray("Am\n");
    QTest::newRow("saved") << 1 << true << int(QMessageBox::Cancel) << false << true << QByteArray("A#m\n");
    QTest::newRow("back at the saved shift")
        << 12 << false << int(QMessageBox::Cancel) << false << true << QByteArray("Am\n");
    QTest::newRow("cancel") << 1 << false << int(QMessageBox::Cancel) << true << false << QByteArray("Am\n");
    QTest::newRow("no") << 1 << false << int(QMessageBox::No) << true << true << QByteArray("Am\n");
    QTest::newRow("yes") << 1 << false << int(QMessageBox::Yes) << true << true << QByteArray("A#m\n");
}

void TestMainFrame::closePromptsOnlyForAnUnsavedShift() {
    QFETCH(int, ups);
    QFETCH(bool, saveFirst);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(QByteArray, onDisk);
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString song = program.WriteFile(QStringLiteral("a.txt"), "Am\n");
    QVERIFY(program.OpenSong(song));
    for (int i = 0; i < ups; ++i)
        QVERIFY(program.Run(ID_TRANSPOSE_UP));
    if (saveFirst)
        QVERIFY(program.Run(ID_FILE_SAVE));
    const QString display = program.Document()->DisplayPath();
    program.dialogs.answers.enqueue(static_cast<QMessageBox::StandardButton>(answer));
    QCOMPARE(program.Close(), closed);
    QCOMPARE(program.dialogs.questionsAsked, asked ? 1 : 0);
    QCOMPARE(QFile::exists(display), !closed);
    if (!closed)
        QVERIFY(program.Frame()->isVisible());
    QCOMPARE(ReadFileBytes(song), onDisk);
}

void TestMainFrame::settingsAndLevelsSurviveARestart() {
    const int index = CChordCatalog::IndexOf("G");
    {
        CProgramFixture program;
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                           QString::fromLatin1(kSettingsApplication));
        settings.setValue(QStringLiteral("KV20481733PW/RED"), 255);
        settings.setValue(QStringLiteral("KV20481733PW/GREEN"), 128);
        settings.setValue(QStringLiteral("KV20481733PW/BLUE"), 0);
        settings.sync();
        QVERIFY(program.Start(1));
        QCOMPARE(program.Document()->Highlight().color, 128 * 256 + 255);
        QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "G\n")));
        QVERIFY(ReadFileBytes(program.Document()->DisplayPath()).contains("<font color=\"#ff8000\">"));
        QVERIFY(program.Run(ID_HIGHLIGHT_TOGGLE));
        theChordCatalog.GetAt(index).SetDifficulty(5);
        theChordCatalog.SaveLevels();
        QVERIFY(program.Close());
    }
    // A fresh start reads what the last run stored.
    theChordCatalog.ResetAll();
    QCOMPARE(theChordCatalog.GetAt(index).difficulty, theChordCatalog.GetDefaultLevel(index));
    QVERIFY(theChordCatalog.GetDefaultLevel(index) != 5);
    CProgramFixture program(nullptr, false);
    QVERIFY(program.Start(CProgramFixture::kStoredHighlighting));
    QCOMPARE(theChordCatalog.GetAt(index).difficulty, 5);
    CQuavernView* view = program.View();
    QVERIFY(!view->GetDocument()->IsHighlighted());
    QVERIFY(!program.Action(ID_HIGHLIGHT_TOGGLE)->isChecked());
    QCOMPARE(program.Document()->Highlight().color, 128 * 256 + 255);
    QVERIFY(view->GetDocument()->LastDirectory().endsWith(QLatin1Char('/')));
    // The gauges read the stored level: G alone at level 5 is as hard as it gets.
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("b.txt"), "G\n")));
    QCOMPARE(program.Frame()->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE))->GetPos(), 201);
    QCOMPARE(program.Frame()->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_EASINESS_GAUGE))->GetPos(), 1);
    theChordCatalog.ResetAll();
}

void TestMainFrame::commandLineSongIsOpenedAfterTheStartPage() {
    // A relative name is taken from the folder the program starts in; a song that cannot be opened is told once and the
    // start page stays.
    for (const bool exists : {true, false}) {
        CProgramFixture program;
        if (exists)
            program.WriteFile(QStringLiteral("song.txt"), "Am G\n");
        CQuavernApp app;
        QVERIFY(app.InitInstance({QStringLiteral("song.txt")}));
        CQuavernView* view = app.GetMainWnd()->GetActiveView();
        QVERIFY(WaitUntil([view] { return view->IsReady(); }, 20000));
        const QString expected = program.PathOf(exists ? QStringLiteral("song.txt") : QStringLiteral("Start.htm"));
        QCOMPARE(app.GetDocument()->FilePath(), expected);
        QCOMPARE(program.sink.messages.size(), std::size_t(exists ? 0 : 1));
        if (!exists)
            QVERIFY(QString::fromStdString(program.sink.messages.front())
                        .contains(program.PathOf(QStringLiteral("song.txt"))));
        app.GetDocument()->DeleteDisplayFile();
    }
}

void TestMainFrame::commandLineIsReadAsTheHelpSays() {
    using Action = ProgramArguments::Action;
    const struct {
        QStringList arguments;
        Action action;
        QStringList songs;
    } cases[] = {
        {{}, Action::Run, {}},
        {{QStringLiteral("a.txt"), QStringLiteral("b b.htm")},
         Action::Run,
         {QStringLiteral("a.txt"), QStringLiteral("b b.htm")}},
        // Asked before Qt has taken its own options: help and version win.
        {{QStringLiteral("-platform"), QStringLiteral("a.txt"), QStringLiteral("--help")},
         Action::Help,
         {QStringLiteral("a.txt")}},
        {{QStringLiteral("--version"), QStringLiteral("-h")}, Action::Help, {}},
        {{QStringLiteral("-style"), QStringLiteral("--version")}, Action::Version, {}},
        // After "--" everything is a song; "-" alone is a name too.
        {{QStringLiteral("--"), QStringLiteral("--help"), QStringLiteral("-x")},
         Action::Run,
         {QStringLiteral("--help"), QStringLiteral("-x")}},
        {{QStringLiteral("-")}, Action::Run, {QStringLiteral("-")}},
        {{QStringLiteral("a.txt"), QStringLiteral("--open")}, Action::UsageError, {QStringLiteral("a.txt")}},
    };
    for (const auto& c : cases) {
        const ProgramArguments parsed = ParseProgramArguments(c.arguments);
        const QByteArray row = c.arguments.join(QLatin1Char(' ')).toUtf8();
        QVERIFY2(parsed.action == c.action, row.constData());
        QVERIFY2(parsed.songs == c.songs, row.constData());
        QVERIFY2(parsed.error.contains(QStringLiteral("--open")) == (c.action == Action::UsageError), row.constData());
    }
    // Every option it takes is in the help.
    const QString help = QString::fromUtf8(ProgramHelpText());
    for (const char* option : {"-h, --help", "--version", "  --  "})
        QVERIFY2(help.contains(QLatin1String(option)), option);
}

void TestMainFrame::gaugeDrawsGradientAndPercent() {
    CPercentProgressCtrl gauge;
    gauge.resize(202, 16);
    gauge.SetColors(QColor(127, 255, 127), QColor(0, 255, 0), Qt::white, Qt::black);
    gauge.SetShowPercent(true);
    gauge.SetRange(0, 202);
    const QColor face = gauge.palette().color(QPalette::Button);

    // At either bound: plain button face, no text.
    for (int position : {0, 202}) {
        gauge.SetPos(position);
        const QImage image = gauge.grab().toImage();
        for (int x = 1; x < image.width() - 1; x += 7)
            QCOMPARE(image.pixelColor(x, image.height() / 2), face);
    }
    QCOMPARE(gauge.PercentText(), QStringLiteral("100%"));
    gauge.SetPos(1);
    QCOMPARE(gauge.PercentText(), QStringLiteral("0%"));
    gauge.SetPos(201);
    QCOMPARE(gauge.PercentText(), QStringLiteral("100%"));

    // Half way: the start colour at the left, background at the right.
    gauge.SetPos(101);
    const QImage image = gauge.grab().toImage();
    QCOMPARE(image.pixelColor(1, 1), QColor(127, 255, 127));
    QCOMPARE(image.pixelColor(image.width() - 3, 1), QColor(Qt::white));
    QVERIFY(image.pixelColor(90, 1).red() < 127);
}

QTEST_MAIN(TestMainFrame)
#include "TestMainFrame.moc"
