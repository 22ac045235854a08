// The window as a guitarist uses it on a Linux desktop: its own folder for
// the start page and pictures, one display page per running program, no
// history, where a song is shown from, and the habits of its title and menus.
#include <algorithm>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <csignal>

#include "app/MainFrame.h"
#include "dialogs/CapoDlg.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

class TestWindowHabits final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newAndSaveKeepToTheProgramsOwnPages();
    void eachRunningProgramKeepsItsOwnPage();
    void backButtonKeepsTheSong();
    void scrollPlaceFollowsTheSong();
    void titleMenusAndWidthFollowDesktopHabits();
    void picturesShowFromANonAsciiFolder();
    void htmlSongKeepsItsMarkupAndStandardsMode();
    void songOptionsFromTheMenuMoveEveryChord();
    void capoSuggestionMovesTheSongToItsShapes();
    void newAndHelpAskBeforeDroppingATransposition();
    void saveAsRenamesTheWindow();
    void zoomKeysSizeThePageAndAreKept();
    void programOpensARelativeNameAndQuitsOnSigterm();

private:
    // A long, wide song, so the page scrolls both ways.
    static QByteArray LongSong() {
        QByteArray song;
        for (int i = 0; i < 300; ++i)
            song += "G   D   Em   C" + QByteArray(300, ' ') + "Am\nla la la la\n";
        return song;
    }
    static QPointF ScrollOf(CQuavernView* view) { return view->page()->scrollPosition(); }
    // Chooses an entry of the Options menu as a user does: a click on the
    // menu's title in the window, then one on the entry.
    static bool ChooseOption(CProgramFixture& program, int id) {
        QMenuBar* bar = program.Frame()->menuBar();
        const QList<QAction*> titles = bar->actions();
        const auto options = std::find_if(titles.begin(), titles.end(),
                                          [](QAction* title) { return title->text() == QStringLiteral("&Options"); });
        if (options == titles.end())
            return false;
        QTest::mouseClick(program.Frame()->windowHandle(), Qt::LeftButton, {},
                          bar->mapTo(program.Frame(), bar->actionGeometry(*options).center()));
        QMenu* menu = nullptr;
        if (!QTest::qWaitFor([&menu] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); }))
            return false;
        const QRect entry = menu->actionGeometry(program.Action(id));
        if (entry.isEmpty())
            return false;
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, entry.center());
        return true;
    }
    // The stored value of a song option.
    static int Stored(const char* name) {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                           QString::fromLatin1(kSettingsApplication));
        return settings.value(QStringLiteral("KV20481733PW/") + QString::fromLatin1(name), -1).toInt();
    }
};

void TestWindowHabits::newAndSaveKeepToTheProgramsOwnPages() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString start = program.PathOf(QStringLiteral("Start.htm"));
    const QByteArray startBytes = ReadFileBytes(start);
    QVERIFY(QDir(program.Folder()).mkdir(QStringLiteral("songs")));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    // New after an Open: the start page of the program's folder, not of the song's.
    QVERIFY(program.Run(ID_FILE_NEW));
    QCOMPARE(program.Document()->FilePath(), start);
    QVERIFY(!QFile::exists(program.PathOf(QStringLiteral("songs/Start.htm"))));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
    // Save of the start page asks for a name and leaves the help as it was.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const QString copy = program.PathOf(QStringLiteral("songs/my-start.html"));
    program.dialogs.saveFiles.enqueue(copy);
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(start), startBytes);
    QVERIFY(ReadFileBytes(copy).contains("A#m"));
    QCOMPARE(program.Document()->FilePath(), copy);
    QVERIFY(!program.Document()->IsModified());
}

void TestWindowHabits::eachRunningProgramKeepsItsOwnPage() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(QDir(program.Folder()).mkdir(QStringLiteral("songs")));
    const QString song = program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n");
    // Another running program shows its page under the first name.
    QLockFile other(program.PathOf(QStringLiteral("songs/QuavernFile.htm.lock")));
    QVERIFY(other.tryLock(0));
    const QByteArray othersPage = "<p>the other program's page</p>";
    program.WriteFile(QStringLiteral("songs/QuavernFile.htm"), othersPage);
    QVERIFY(program.OpenSong(song));
    const QString ours = program.PathOf(QStringLiteral("songs/QuavernFile-2.htm"));
    QCOMPARE(program.Document()->DisplayPath(), ours);
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("songs/QuavernFile.htm"))), othersPage);
    program.dialogs.answers.enqueue(QMessageBox::No);
    QVERIFY(program.Close());
    QVERIFY(!QFile::exists(ours) && !QFile::exists(ours + QStringLiteral(".lock")));
    QVERIFY(QFile::exists(program.PathOf(QStringLiteral("songs/QuavernFile.htm"))));
    other.unlock();

    // A lock left by a program that ended without removing it is taken over.
    CProgramFixture next;
    QVERIFY(next.Start());
    QVERIFY(QDir(next.Folder()).mkdir(QStringLiteral("songs")));
    next.WriteFile(QStringLiteral("songs/QuavernFile.htm.lock"), "999999999\nquavern\n\n");
    QVERIFY(next.OpenSong(next.WriteFile(QStringLiteral("songs/b.txt"), "C\n")));
    QCOMPARE(next.Document()->DisplayPath(), next.PathOf(QStringLiteral("songs/QuavernFile.htm")));
}

void TestWindowHabits::backButtonKeepsTheSong() {
    CProgramFixture program;
    QVERIFY(program.Start());
    // The first song's display file goes with it when the second, in another folder, is shown.
    QVERIFY(QDir(program.Folder()).mkdir(QStringLiteral("one")) && QDir(program.Folder()).mkdir(QStringLiteral("two")));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("one/a.txt"), "Am G\n")));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("two/b.txt"), "E B7\n")));
    CQuavernView* view = program.View();
    QWindow* window = program.Frame()->windowHandle();
    const QPoint inView = view->mapTo(program.Frame(), view->rect().center());
    QTest::mouseClick(window, Qt::BackButton, {}, inView);
    QTest::keyClick(window, Qt::Key_Left, Qt::AltModifier);
    view->triggerPageAction(QWebEnginePage::Back);
    QTest::qWait(300);
    QVERIFY(program.WaitReady());
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown.startsWith(QStringLiteral("E B7")); }));
    QCOMPARE(program.Document()->FilePath(), program.PathOf(QStringLiteral("two/b.txt")));
}

void TestWindowHabits::scrollPlaceFollowsTheSong() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("long.txt"), LongSong())));
    CQuavernView* view = program.View();
    program.Frame()->resize(800, 600);
    view->page()->runJavaScript(QStringLiteral("window.scrollTo(400, 1500);"), ScriptWorld(view->page()));
    QVERIFY(WaitUntil([view] { return ScrollOf(view).y() > 1400 && ScrollOf(view).x() > 300; }, 10000));
    const QPointF place = ScrollOf(view);
    // A command that comes while a page still loads keeps the place the user was at.
    program.Action(ID_TRANSPOSE_UP)->trigger();
    program.Action(ID_HIGHLIGHT_TOGGLE)->trigger();
    QVERIFY(program.WaitReady());
    QVERIFY(WaitUntil([view, place] { return qAbs(ScrollOf(view).y() - place.y()) < 2; }, 10000));
    // A new song starts at the top left.
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("long2.txt"), LongSong())));
    QVERIFY(WaitUntil([view] { return ScrollOf(view).y() < 1 && ScrollOf(view).x() < 1; }, 10000));
}

void TestWindowHabits::titleMenusAndWidthFollowDesktopHabits() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString song = program.WriteFile(QStringLiteral("a.txt"), "Am G\n");
    QVERIFY(program.OpenSong(song));
    CMainFrame* frame = program.Frame();
    QCOMPARE(frame->windowTitle(), QStringLiteral("a.txt[*] (") + program.Folder() + u") - Quavern");
    QVERIFY(!frame->isWindowModified());
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(frame->isWindowModified());
    // Save As proposes the song's own name.
    program.Action(ID_FILE_SAVE_AS)->trigger();
    QCOMPARE(program.dialogs.lastFolder, song);
    QVERIFY(program.Run(ID_FILE_SAVE));
    QVERIFY(!frame->isWindowModified());
    // The highlight item shows a check mark in the menu, its picture on the tool bar only.
    QVERIFY(!program.Action(ID_HIGHLIGHT_TOGGLE)->isIconVisibleInMenu());
    QVERIFY(OpenFileFilter().endsWith(QStringLiteral(";;All Files (*)")));
    // The window cannot be made narrower than its transposition bar.
    frame->resize(500, 600);
    QVERIFY(frame->width() >= frame->findChild<QToolBar*>(QStringLiteral("DialogBar128"))->sizeHint().width());
}

void TestWindowHabits::picturesShowFromANonAsciiFolder() {
    CProgramFixture program(nullptr);
    const QString folder = program.PathOf(QString::fromUtf8("zo\xc3\xab"));
    QVERIFY(QDir().mkdir(folder));
    const QString pictures = qEnvironmentVariable("QUAVERN_OUTPUT_DIR") + QStringLiteral("/Pics");
    if (!QFile::exists(pictures + QStringLiteral("/Am.gif")))
        QSKIP("the chord pictures are not built");
    QVERIFY(QFile::link(pictures, folder + QStringLiteral("/Pics")));
    QFile start(folder + QStringLiteral("/Start.htm"));
    QVERIFY(start.open(QIODevice::WriteOnly) && start.write("<p>start</p>") > 0);
    start.close();
    QDir::setCurrent(folder);
    QVERIFY(program.Start(1));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    // Every picture of the text song's page has loaded. The answer lives
    // as long as a pending script may still write it.
    const auto answer = std::make_shared<QString>();
    const auto asked = std::make_shared<bool>(false);
    const QString script =
        QStringLiteral("Array.prototype.every.call(document.images, function (i) { return i.complete "
                       "&& i.naturalWidth > 0; }) + ' ' + document.images.length");
    QVERIFY(WaitUntil(
        [&] {
            if (!*asked) {
                *asked = true;
                program.View()->page()->runJavaScript(script, ScriptWorld(program.View()->page()),
                                                      [answer, asked](const QVariant& value) {
                                                          *answer = value.toString();
                                                          *asked = false;
                                                      });
            }
            return *answer == QStringLiteral("true 85");
        },
        20000));
}

// Chord names inside an HTML song's tags are markup, and a song that
// declares its document type is shown in standards mode.
void TestWindowHabits::htmlSongKeepsItsMarkupAndStandardsMode() {
    CProgramFixture program;
    QVERIFY(program.Start(1));
    const QByteArray song =
        "<!DOCTYPE html>\n<html><body><p><a href=\"chords/G/index.html\">G</a> Am</p></body></html>";
    const QString path = program.WriteFile(QStringLiteral("song.html"), song);
    QVERIFY(program.OpenSong(path));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const auto mode = std::make_shared<QString>();
    program.View()->page()->runJavaScript(QStringLiteral("document.compatMode + ' ' + document.links[0].href"),
                                          ScriptWorld(program.View()->page()),
                                          [mode](const QVariant& value) { *mode = value.toString(); });
    QVERIFY(WaitUntil([mode] { return !mode->isEmpty(); }, 10000));
    QVERIFY2(mode->startsWith(QStringLiteral("CSS1Compat ")) && mode->endsWith(u"/chords/G/index.html"),
             qPrintable(*mode));
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(path), QByteArray(song).replace(">G</a> Am", ">G#</a> A#m"));
}

// Names the table lacks are named after Open; a click on the note turns on
// the guitarist's reading, which moves them, spelled by the key. The one
// Options entry sets and clears the four reading options together.
void TestWindowHabits::songOptionsFromTheMenuMoveEveryChord() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Intro\nAsus4 G\n")));
    // The note outlasts the prompts of the buttons the pointer crosses, and a click on it moves every name.
    QWindow* window = program.Frame()->windowHandle();
    QToolBar* tools = program.Frame()->findChild<QToolBar*>(QStringLiteral("ToolBar128"));
    QWidget* save = tools->widgetForAction(program.Action(ID_FILE_SAVE));
    QTest::mouseMove(window, save->mapTo(program.Frame(), save->rect().center()));
    QTRY_VERIFY(!program.Frame()->statusBar()->currentMessage().startsWith(u"For Help"));
    auto* note = program.Frame()->findChild<QToolButton*>(ObjectNameOf(IDC_UNTOUCHED_NOTE));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("Left as written: Asus4 (click: Read as a Guitarist)"));
    QTest::mouseClick(window, Qt::LeftButton, {}, note->mapTo(program.Frame(), note->rect().center()));
    const int reading[] = {ID_READ_AS_GUITARIST, ID_ALL_CHORDS, ID_SPELLING_BY_KEY, ID_KEEP_COLUMNS, ID_CHORD_LINES};
    const auto readingIs = [&program, &reading](bool on) {
        return std::all_of(std::begin(reading), std::end(reading),
                           [&program, on](int id) { return program.Action(id)->isChecked() == on; }) &&
               Stored("ALLCHORDS") == int(on) && Stored("SPELLING") == (on ? 3 : 0) &&
               Stored("KEEPCOLUMNS") == int(on) && Stored("CHORDLINES") == int(on);
    };
    QVERIFY(readingIs(true));
    QVERIFY(program.WaitReady());
    QTRY_VERIFY(!note->isVisible());
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Document()->Working().text.find("Bbsus4 Ab\n") != std::string::npos);
    // One option changed: the song is no longer read as a whole guitarist's reading.
    program.Action(ID_SPELLING_AS_WRITTEN + 1)->trigger();
    QVERIFY(program.WaitReady());
    QVERIFY(program.Document()->Working().text.find("A#sus4 G#\n") != std::string::npos);
    QVERIFY(!program.Action(ID_READ_AS_GUITARIST)->isChecked() && program.Action(ID_ALL_CHORDS)->isChecked());
    QVERIFY(ChooseOption(program, ID_READ_AS_GUITARIST));
    QVERIFY(program.WaitReady());
    QVERIFY(readingIs(true));
    QVERIFY(program.Document()->Working().text.find("Bbsus4 Ab\n") != std::string::npos);
    // Unchecked, every reading option is back at its default.
    QVERIFY(ChooseOption(program, ID_READ_AS_GUITARIST));
    QVERIFY(program.WaitReady());
    QVERIFY(readingIs(false));
    QVERIFY(program.Document()->Working().text.find("Asus4 G#\n") != std::string::npos);
    QTRY_VERIFY(note->isVisible());
    // A legend whose shape cannot move stays as written and is named, the
    // reading on, with no offer to turn it on; its click changes nothing.
    QVERIFY(ChooseOption(program, ID_READ_AS_GUITARIST));
    QVERIFY(program.WaitReady());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("b.txt"), "Gsus4 (320013)\nGsus4 G\n")));
    QTRY_VERIFY(!note->isVisible());
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Document()->Working().text.find("Gsus4 (320013)\nAbsus4 Ab\n") != std::string::npos);
    QTRY_COMPARE(note->text(), QStringLiteral("Fingering left as written: Gsus4 (320013)"));
    QVERIFY(note->isVisible());
    QTest::mouseClick(window, Qt::LeftButton, {}, note->mapTo(program.Frame(), note->rect().center()));
    QVERIFY(readingIs(true));
    QVERIFY(program.Run(ID_TRANSPOSE_DOWN));
    QTRY_VERIFY(!note->isVisible());
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

// The capo dialog offers capo 0 to 7 with the easiest selected; Enter takes
// it, the song moves to its shapes and the bar notes the capo until the
// shift changes. A row names its capo with the keys; the capo goes into the
// saved song only when its box is checked, and only while it stands.
void TestWindowHabits::capoSuggestionMovesTheSongToItsShapes() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "F Bb C\n")));
    const std::vector<CapoChoice> choices = CapoChoices(program.Document()->Loaded());
    const int best = BestCapo(choices);
    QVERIFY(best > 0);
    int rows = 0;
    QTimer::singleShot(0, this, [&rows] {
        auto* dialog = qobject_cast<CCapoDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        rows = dialog->findChild<QTableWidget*>(ObjectNameOf(IDC_CAPO_TABLE))->rowCount();
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    });
    program.Action(ID_SUGGEST_CAPO)->trigger();
    QCOMPARE(rows, 8);
    QVERIFY(program.WaitReady());
    QCOMPARE(program.Document()->Shift(), ShiftForCapo(best));
    auto* note = program.Frame()->findChild<QLabel*>(ObjectNameOf(IDC_CAPO_NOTE));
    QCOMPARE(note->text(), QStringLiteral("Capo %1").arg(best));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(note->text().isEmpty());

    const QString song = program.WriteFile(QStringLiteral("b.txt"), "Bb Eb F Bb\n");
    QVERIFY(program.OpenSong(song));
    auto* key = program.Frame()->findChild<QLabel*>(ObjectNameOf(IDC_KEY_NOTE));
    for (const bool write : {false, true}) {
        QString row;
        bool boxAtFirst = true;
        // Capo 3 is taken with a click on its row, the box set as asked.
        QTimer::singleShot(0, this, [&row, &boxAtFirst, write] {
            auto* dialog = qobject_cast<CCapoDlg*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* table = dialog->findChild<QTableWidget*>(ObjectNameOf(IDC_CAPO_TABLE));
            auto* box = dialog->findChild<QCheckBox*>(ObjectNameOf(IDC_CAPO_WRITE));
            row = table->item(3, 0)->text() + QStringLiteral(" | ") + table->item(3, 1)->text();
            const QRect cell = table->visualItemRect(table->item(3, 1));
            QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                              table->viewport()->mapTo(dialog, cell.center()));
            boxAtFirst = box->isChecked();
            if (write)
                QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                                  box->mapTo(dialog, QPoint(box->height() / 2, box->height() / 2)));
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        });
        program.Action(ID_SUGGEST_CAPO)->trigger();
        QCOMPARE(row, QStringLiteral("Capo 3: play in G shapes, sounds in Bb | C D G"));
        QVERIFY(!boxAtFirst);
        QVERIFY(program.WaitReady());
        QCOMPARE(program.Document()->Shift(), -3);
        QCOMPARE(key->text(), QStringLiteral("Capo 3: play in G shapes, sounds in Bb"));
        QVERIFY(program.Run(ID_FILE_SAVE));
        QCOMPARE(ReadFileBytes(song),
                 write ? QByteArray("Capo 3: shapes in G, sounds in Bb.\nG C D G\n") : QByteArray("G C D G\n"));
    }
    // A capo written is not written for another shift.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(key->text().left(4), QStringLiteral("Key:"));
    QVERIFY(program.Run(ID_FILE_SAVE));
    QVERIFY(!ReadFileBytes(song).startsWith("Capo"));
}

// New and Help take the song's place, so they ask as Open does; Cancel keeps it.
void TestWindowHabits::newAndHelpAskBeforeDroppingATransposition() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString song = program.WriteFile(QStringLiteral("a.txt"), "Am G\n");
    QVERIFY(program.OpenSong(song));
    QWindow* window = program.Frame()->windowHandle();
    QTest::keyClick(window, Qt::Key_Plus);
    QVERIFY(program.WaitReady());
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_F1);
    QCOMPARE(program.dialogs.questionsAsked, 2);
    QCOMPARE(program.Document()->FilePath(), song);
    QCOMPARE(program.Document()->Shift(), 1);
    program.dialogs.answers.enqueue(QMessageBox::No);
    QTest::keyClick(window, Qt::Key_F1);
    QVERIFY(program.WaitReady());
    QCOMPARE(program.Document()->FilePath(), program.PathOf(QStringLiteral("Start.htm")));
    // The start page shown counts as saved: closing asks nothing more.
    QVERIFY(program.Close());
    QCOMPARE(program.dialogs.questionsAsked, 3);
}

void TestWindowHabits::saveAsRenamesTheWindow() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("mill-road.txt"), "Am Dm E7 Am\n")));
    QWindow* window = program.Frame()->windowHandle();
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(window, Qt::Key_Plus);
        QVERIFY(program.WaitReady());
    }
    program.dialogs.saveFiles.enqueue(program.PathOf(QStringLiteral("mr_up2")));
    QVERIFY(program.Run(ID_FILE_SAVE_AS));
    QTRY_COMPARE(program.Frame()->windowTitle(), QStringLiteral("mr_up2.txt[*] (") + program.Folder() + u") - Quavern");
    // The status bar tells the key the song is written in and where it is now.
    QCOMPARE(program.Frame()->findChild<QLabel*>(ObjectNameOf(IDC_KEY_NOTE))->text(), QStringLiteral("Key: Am → Bm"));
}

// The zoom keys leave the song's shift alone and the zoom lasts to the next start.
void TestWindowHabits::zoomKeysSizeThePageAndAreKept() {
    {
        CProgramFixture program;
        QVERIFY(program.Start());
        QWindow* window = program.Frame()->windowHandle();
        QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Equal, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(program.View()->zoomFactor(), 1.1);
        QCOMPARE(program.Document()->Shift(), 0);
    }
    CProgramFixture program(nullptr, false);
    QVERIFY(program.Start());
    QCOMPARE(program.View()->zoomFactor(), 1.1);
    QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(program.View()->zoomFactor(), 1.0);
}

// The program itself, started from a song's folder with a relative name, as
// a shell starts it; SIGTERM ends it as closing the window does.
void TestWindowHabits::programOpensARelativeNameAndQuitsOnSigterm() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    QFile song(folder.filePath(QStringLiteral("sub/song.txt")));
    QVERIFY(song.open(QIODevice::WriteOnly) && song.write("Am G\n") > 0);
    song.close();
    QProcess quavern;
    quavern.setWorkingDirectory(folder.path());
    quavern.setProcessChannelMode(QProcess::ForwardedChannels);
    quavern.start(QStringLiteral(QUAVERN_PROGRAM),
                  {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("sub/song.txt")});
    QVERIFY(quavern.waitForStarted());
    const QString display = folder.filePath(QStringLiteral("sub/QuavernFile.htm"));
    QVERIFY(WaitUntil([&display] { return QFile::exists(display); }, 30000));
    QTRY_VERIFY_WITH_TIMEOUT(ReadFileBytes(display).contains("song.txt"), 10000);
    ::kill(static_cast<pid_t>(quavern.processId()), SIGTERM);
    QVERIFY(quavern.waitForFinished(30000));
    QCOMPARE(quavern.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFile::exists(display));
    QVERIFY(!QFile::exists(display + QStringLiteral(".lock")));
}

QTEST_MAIN(TestWindowHabits)
#include "TestWindowHabits.moc"
