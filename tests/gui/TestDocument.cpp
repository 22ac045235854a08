// Opening, the display file, saving and the help page, through the real
// view with scripted file dialogs.
#include <memory>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QSlider>
#include <QTest>

#include "app/MainFrame.h"
#include "app/TranspositionBar.h"
#include "dialogs/ControlIds.h"
#include "document/ProgramFolders.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

QString Stored(const char* name) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication));
    return settings.value(QStringLiteral("KV20481733PW/") + QString::fromLatin1(name)).toString();
}

QString MakeFolder(const CProgramFixture& program, const QString& name) {
    QDir(program.Folder()).mkpath(name);
    return program.PathOf(name);
}

} // namespace

class TestDocument final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void displayFileFollowsTheSongAndGoesAtClose();
    void closingWhileAPageLoadsEndsCleanly_data();
    void closingWhileAPageLoadsEndsCleanly();
    void openingTheDisplayFileIsRefused();
    void fileThatCannotBeOpenedKeepsTheSong();
    void displayFileThatCannotBeWrittenKeepsTheSong();
    void saveWritesTheSongWithoutWhatOpeningAdded_data();
    void saveWritesTheSongWithoutWhatOpeningAdded();
    void saveAsFollowsTheExtensionRule_data();
    void saveAsFollowsTheExtensionRule();
    void saveAsThenSaveWritesTheNewFile();
    void failedSaveLeavesFileAndSongUnsaved();
    void openAsksToSaveAnUnsavedTransposition();
    void helpShowsTheStartPage();
    void toggleHighlightingTwiceGivesTheSamePage();
    void lastDirectoryIsOfferedAndStored();
    void missingStartPageIsRecreated();
    void shippedStartPageHasChordsOnlyInItsSong();
    void programFoldersAreFoundFromTheExecutable();
    void installedProgramKeepsItsOwnStartPage();
};

void TestDocument::displayFileFollowsTheSongAndGoesAtClose() {
    CProgramFixture program;
    QVERIFY(program.Start());
    CQuavernView* view = program.View();
    const QString startDisplay = program.PathOf(QStringLiteral("QuavernFile.htm"));
    QCOMPARE(view->GetDocument()->DisplayPath(), startDisplay);
    QVERIFY(QFile::exists(startDisplay));

    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    const QString songDisplay = songs + QStringLiteral("/QuavernFile.htm");
    QCOMPARE(view->GetDocument()->DisplayPath(), songDisplay);
    QVERIFY(QFile::exists(songDisplay));
    QVERIFY(!QFile::exists(startDisplay));
    QCOMPARE(QDir::currentPath(), songs);

    QVERIFY(program.Close());
    QVERIFY(!QFile::exists(songDisplay));
    QCOMPARE(program.dialogs.questionsAsked, 0);
}

void TestDocument::closingWhileAPageLoadsEndsCleanly_data() {
    QTest::addColumn<int>("rounds");
    for (const int rounds : {0, 3, 30})
        QTest::addRow("after %d rounds of events", rounds) << rounds;
}

void TestDocument::closingWhileAPageLoadsEndsCleanly() {
    // The window is closed at points ever further into a page's load, its
    // chord pictures and the pop-up script included: the program ends
    // without a crash and takes its display file with it.
    QFETCH(int, rounds);
    CProgramFixture program;
    QVERIFY(program.Start(1));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am  G/B  C\nA man walks by\n")));
    const QString display = program.Document()->DisplayPath();
    QTest::keyClick(program.Frame()->windowHandle(), Qt::Key_Plus);
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    program.dialogs.answers.enqueue(QMessageBox::No);
    QVERIFY(program.Close());
    QVERIFY(!QFile::exists(display));
}

void TestDocument::openingTheDisplayFileIsRefused() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    const QByteArray song = "<html><body>C F G</body></html>";
    const QString trap = program.WriteFile(QStringLiteral("songs/QuavernFile.htm"), song);
    const QString before = program.Document()->FilePath();
    const QString display = program.Document()->DisplayPath();
    QVERIFY(program.OpenSong(trap));
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(program.sink.messages.front()).contains(QStringLiteral("display file")));
    QCOMPARE(program.Document()->FilePath(), before);
    QCOMPARE(program.Document()->DisplayPath(), display);
    QVERIFY(program.Close());
    QCOMPARE(ReadFileBytes(trap), song);
    QVERIFY(QFileInfo(songs).isDir());
}

void TestDocument::fileThatCannotBeOpenedKeepsTheSong() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const std::string working = program.Document()->Working().text;
    const QString missing = program.PathOf(QStringLiteral("missing.txt"));
    program.dialogs.answers.enqueue(QMessageBox::No);
    program.dialogs.openFiles.enqueue(missing);
    program.Action(ID_FILE_OPEN)->trigger();
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(program.sink.messages.front()),
             QStringLiteral("The following file : ") + missing +
                 QStringLiteral(" could not be opened : No such file or directory"));
    QCOMPARE(program.Document()->FilePath(), program.PathOf(QStringLiteral("a.txt")));
    QCOMPARE(program.Document()->Shift(), 1);
    QCOMPARE(program.Document()->Working().text, working);
}

void TestDocument::displayFileThatCannotBeWrittenKeepsTheSong() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    const QString display = program.Document()->DisplayPath();
    // A folder whose display file name is taken by a folder cannot receive
    // the page: it is shown from the cache folder, and when even that takes
    // no file the song on screen stays.
    const QString blocked = MakeFolder(program, QStringLiteral("blocked"));
    QVERIFY(QDir(blocked).mkdir(QStringLiteral("QuavernFile.htm")));
    const QString song = program.WriteFile(QStringLiteral("blocked/b.txt"), "C\n");
    QVERIFY(program.OpenSong(song));
    QCOMPARE(program.Document()->FilePath(), song);
    QVERIFY(program.Document()->DisplayPath().startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + u"/quavern/"));
    QVERIFY(program.OpenSong(program.PathOf(QStringLiteral("a.txt"))));
    QCOMPARE(program.Document()->DisplayPath(), display);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));

    const CNoCacheFolder noCache;
    QVERIFY(program.OpenSong(song));
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(program.sink.messages.front()).startsWith(QStringLiteral("The display file ")));
    QCOMPARE(program.Document()->FilePath(), program.PathOf(QStringLiteral("a.txt")));
    QCOMPARE(program.Document()->DisplayPath(), display);
    QVERIFY(QFile::exists(display));
    // The program goes on working with the song it had.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(program.Document()->Shift(), 1);
}

void TestDocument::saveWritesTheSongWithoutWhatOpeningAdded_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("song");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("text song") << QStringLiteral("a.txt") << QByteArray("Am G\r\nla & <la>\r\n") << 2
                               << QByteArray("Bm A\r\nla & <la>\r\n");
    QTest::newRow("html song keeps its own title")
        << QStringLiteral("b.htm") << QByteArray("<title>Mine</title>\n<p>C G</p>") << -1
        << QByteArray("<title>Mine</title>\n<p>B F#</p>");
    QTest::newRow("folder with delimiters in its name")
        << QStringLiteral("Capo (G)/x.txt") << QByteArray("E\n") << 1 << QByteArray("F\n");
    QTest::newRow("Maj7 normalised") << QStringLiteral("c.txt") << QByteArray("GMaj7 C") << 0 << QByteArray("Gmaj7 C");
    QTest::newRow("utf-8 lyrics") << QStringLiteral("d.txt") << QByteArray("D\nd\xc3\xa9j\xc3\xa0 vu\n") << 2
                                  << QByteArray("E\nd\xc3\xa9j\xc3\xa0 vu\n");
}

void TestDocument::saveWritesTheSongWithoutWhatOpeningAdded() {
    QFETCH(QString, name);
    QFETCH(QByteArray, song);
    QFETCH(int, shift);
    QFETCH(QByteArray, saved);
    CProgramFixture program;
    QVERIFY(program.Start());
    QDir(program.Folder()).mkpath(QFileInfo(program.PathOf(name)).absolutePath());
    const QString path = program.WriteFile(name, song);
    QVERIFY(program.OpenSong(path));
    for (int i = 0; i < qAbs(shift); ++i)
        QVERIFY(program.Run(shift > 0 ? ID_TRANSPOSE_UP : ID_TRANSPOSE_DOWN));
    QVERIFY(program.View()->OnFileSave());
    QCOMPARE(ReadFileBytes(path), saved);
    QCOMPARE(program.Document()->SavedShift(), shift);
    // Nothing of the path is taken for a chord.
    if (name.contains(QLatin1Char('(')))
        QCOMPARE(program.Document()->Working().GetDistinctCount(), 1);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestDocument::saveAsFollowsTheExtensionRule_data() {
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("type");
    QTest::newRow("text song as b.doc") << QStringLiteral("a.txt") << QStringLiteral("b.doc")
                                        << QStringLiteral("b.doc.txt") << QStringLiteral("TXT");
    QTest::newRow("text song as b.TXT") << QStringLiteral("a.txt") << QStringLiteral("b.TXT") << QStringLiteral("b.TXT")
                                        << QStringLiteral("TXT");
    QTest::newRow("html song as c") << QStringLiteral("a.html") << QStringLiteral("c") << QStringLiteral("c.html")
                                    << QStringLiteral("HTML");
    QTest::newRow("html song as c.htm") << QStringLiteral("a.htm") << QStringLiteral("c.htm") << QStringLiteral("c.htm")
                                        << QStringLiteral("HTM");
    QTest::newRow("song without extension")
        << QStringLiteral("notes") << QStringLiteral("d.txt") << QStringLiteral("d.txt.html") << QStringLiteral("HTML");
}

void TestDocument::saveAsFollowsTheExtensionRule() {
    QFETCH(QString, opened);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, type);
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(opened, "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    program.dialogs.saveFiles.enqueue(program.PathOf(chosen));
    program.Action(ID_FILE_SAVE_AS)->trigger();
    QVERIFY(program.WaitReady());
    QCOMPARE(ReadFileBytes(program.PathOf(written)), QByteArray("A#m G#\n"));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->FilePath(), program.PathOf(written));
    QCOMPARE(view->GetDocument()->FileType(), type);
    QCOMPARE(view->GetDocument()->SavedShift(), 1);
    QCOMPARE(program.dialogs.lastFilter, SaveFileFilter(opened.endsWith(QStringLiteral(".txt"))));
    // The song as opened is untouched.
    QCOMPARE(ReadFileBytes(program.PathOf(opened)), QByteArray("Am G\n"));
}

void TestDocument::saveAsThenSaveWritesTheNewFile() {
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "C\n")));
    program.dialogs.saveFiles.enqueue(program.PathOf(QStringLiteral("b.txt")));
    program.Action(ID_FILE_SAVE_AS)->trigger();
    QVERIFY(program.WaitReady());
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("b.txt"))), QByteArray("C#\n"));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("a.txt"))), QByteArray("C\n"));
}

void TestDocument::failedSaveLeavesFileAndSongUnsaved() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString path = program.WriteFile(QStringLiteral("a.htm"), "<p>Am</p>");
    QVERIFY(program.OpenSong(path));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    // A folder where the file should go cannot be replaced by a song.
    const QString taken = MakeFolder(program, QStringLiteral("taken.html"));
    program.dialogs.saveFiles.enqueue(taken);
    program.Action(ID_FILE_SAVE_AS)->trigger();
    CQuavernView* view = program.View();
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(
        QString::fromStdString(program.sink.messages.front())
            .startsWith(QStringLiteral("The following file : ") + taken + QStringLiteral(" could not be saved : ")));
    QVERIFY(QFileInfo(taken).isDir());
    QCOMPARE(view->GetDocument()->FilePath(), path);
    QCOMPARE(view->GetDocument()->SavedShift(), 0);
    // Closing still asks, as the song was not saved.
    program.dialogs.answers.enqueue(QMessageBox::Cancel);
    QVERIFY(!program.Close());
    QCOMPARE(program.dialogs.questionsAsked, 1);
    QCOMPARE(ReadFileBytes(path), QByteArray("<p>Am</p>"));
}

void TestDocument::openAsksToSaveAnUnsavedTransposition() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString first = program.WriteFile(QStringLiteral("a.txt"), "G\n");
    QVERIFY(program.OpenSong(first));
    // Not transposed: no question.
    QVERIFY(program.OpenSong(first));
    QCOMPARE(program.dialogs.questionsAsked, 0);
    // Back at the saved shift: no question.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_TRANSPOSE_DOWN));
    QVERIFY(program.OpenSong(first));
    QCOMPARE(program.dialogs.questionsAsked, 0);
    // Transposed: Cancel keeps the song, Yes saves it and opens the next.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    program.dialogs.answers.enqueue(QMessageBox::Cancel);
    program.dialogs.openFiles.enqueue(program.WriteFile(QStringLiteral("b.txt"), "D\n"));
    program.Action(ID_FILE_OPEN)->trigger();
    QCOMPARE(program.dialogs.questionsAsked, 1);
    QCOMPARE(program.Document()->FilePath(), first);
    program.dialogs.openFiles.clear();
    program.dialogs.answers.enqueue(QMessageBox::Yes);
    program.dialogs.openFiles.enqueue(program.PathOf(QStringLiteral("b.txt")));
    QVERIFY(program.Run(ID_FILE_OPEN));
    QCOMPARE(program.dialogs.questionsAsked, 2);
    QCOMPARE(ReadFileBytes(first), QByteArray("G#\n"));
    QCOMPARE(program.Document()->FilePath(), program.PathOf(QStringLiteral("b.txt")));
    QCOMPARE(program.Document()->Shift(), 0);
}

void TestDocument::helpShowsTheStartPage() {
    const char* start = "<html><body><p>Help with Em</p></body></html>";
    CProgramFixture program(start);
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    program.dialogs.answers.enqueue(QMessageBox::No);
    QVERIFY(program.Run(ID_HELP));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->FilePath(), program.PathOf(QStringLiteral("Start.htm")));
    QCOMPARE(view->GetDocument()->FileType(), QStringLiteral("HTM"));
    QCOMPARE(view->GetDocument()->Shift(), 0);
    QCOMPARE(program.Frame()->findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER))->value(), 0);
    QCOMPARE(view->GetDocument()->DisplayPath(), program.PathOf(QStringLiteral("QuavernFile.htm")));
    QVERIFY(!QFile::exists(songs + QStringLiteral("/QuavernFile.htm")));
    // The help page gets no title line.
    QCOMPARE(ReadFileBytes(view->GetDocument()->DisplayPath()), QByteArray(start));
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown == QStringLiteral("Help with Em"); }));
    // The transposition is dropped only after the user said No; Save now writes the start page.
    QCOMPARE(program.dialogs.questionsAsked, 1);
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("Start.htm"))), QByteArray(start));
    // F1 and the menu item are the same command.
    QVERIFY(program.Run(ID_HELP_FILE));
    QCOMPARE(view->GetDocument()->FilePath(), program.PathOf(QStringLiteral("Start.htm")));
}

void TestDocument::toggleHighlightingTwiceGivesTheSamePage() {
    CProgramFixture program;
    QVERIFY(program.Start(1));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    CQuavernView* view = program.View();
    QAction* toggle = program.Action(ID_HIGHLIGHT_TOGGLE);
    QVERIFY(toggle->isChecked());
    const QByteArray highlighted = ReadFileBytes(view->GetDocument()->DisplayPath());
    QVERIFY(highlighted.contains("<font color=\"#0000ff\"><b><span onmouseover=\"montreBulle('QV3Am', this)\""));

    QVERIFY(program.Run(ID_HIGHLIGHT_TOGGLE));
    QVERIFY(!toggle->isChecked());
    QCOMPARE(ReadFileBytes(view->GetDocument()->DisplayPath()),
             QByteArray::fromStdString(program.Document()->Working().text));
    QCOMPARE(Stored("AREHIGHLIGHTED"), QStringLiteral("0"));

    QVERIFY(program.Run(ID_HIGHLIGHT_TOGGLE));
    QVERIFY(toggle->isChecked());
    QCOMPARE(ReadFileBytes(view->GetDocument()->DisplayPath()), highlighted);
    QCOMPARE(Stored("AREHIGHLIGHTED"), QStringLiteral("1"));
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown.startsWith(QStringLiteral("Am G")); }));
}

void TestDocument::lastDirectoryIsOfferedAndStored() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "C\n")));
    QCOMPARE(Stored("LASTDIRECTORY"), songs + QLatin1Char('/'));
    QDir::setCurrent(program.Folder());
    // Cancelling the next dialog leaves the last directory current.
    program.Action(ID_FILE_OPEN)->trigger();
    QCOMPARE(program.dialogs.lastFolder, songs);
    QCOMPARE(QDir::currentPath(), songs);
    QCOMPARE(program.dialogs.lastFilter, OpenFileFilter());
}

void TestDocument::missingStartPageIsRecreated() {
    CProgramFixture program(nullptr);
    QVERIFY(program.Start());
    const QByteArray welcome = "<center><h1>Welcome to the Quavern 3.0 !</h1></center>The original Start.htm file "
                               "has not been found. Please reinstall the program.";
    QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("Start.htm"))), welcome);
    QVERIFY(WaitForShownText(program.View(), [](const QString& shown) {
        return shown.contains(QStringLiteral("Welcome to the Quavern 3.0 !"));
    }));
    // The start page carries its title line; the frame shows the start
    // page's name, then its folder.
    QVERIFY(program.Document()->Working().text.rfind("<title>", 0) == 0);
    QCOMPARE(program.Frame()->windowTitle(), QStringLiteral("Start.htm[*] (") + program.Folder() + u") - Quavern");
}

void TestDocument::shippedStartPageHasChordsOnlyInItsSong() {
    const QByteArray start =
        ReadFileBytes(qEnvironmentVariable("QUAVERN_SOURCE_DIR") + QStringLiteral("/data/Start.htm"));
    QVERIFY(!start.isEmpty());
    CProgramFixture program(start.constData());
    QVERIFY(program.Start());
    auto distinct = [&program] {
        QStringList names;
        const CTablature& working = program.Document()->Working();
        for (int i = 0; i < working.GetDistinctCount(); ++i)
            names << QString::fromStdString(working.distinctChords[static_cast<std::size_t>(i)].GetName());
        names.sort();
        return names.join(QLatin1Char(' '));
    };
    // The prose names chords only in quotes, which are not delimiters: only the example song moves.
    QCOMPARE(distinct(), QStringLiteral("Am C D7 Em G"));
    QCOMPARE(program.Document()->Working().OccurrenceCount(), 9);
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(distinct(), QStringLiteral("A#m C# D#7 Fm G#"));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestDocument::programFoldersAreFoundFromTheExecutable() {
    QTemporaryDir root;
    const QString development = root.filePath(QStringLiteral("build/out"));
    QVERIFY(QDir().mkpath(development) && QDir().mkpath(root.filePath(QStringLiteral("usr/bin"))));
    QFile start(development + QStringLiteral("/Start.htm"));
    QVERIFY(start.open(QIODevice::WriteOnly));
    start.close();
    const QString home = root.filePath(QStringLiteral("home/.local/share"));
    const struct {
        QString executable, data, user;
    } cases[] = {
        // A development build: everything beside the executable.
        {development, development, development},
        // Installed: the share folder of the prefix, the user's own folder.
        {root.filePath(QStringLiteral("usr/bin")), root.filePath(QStringLiteral("usr/share/quavern")),
         home + QStringLiteral("/quavern")},
        {root.filePath(QStringLiteral("usr/bin/")), root.filePath(QStringLiteral("usr/share/quavern")),
         home + QStringLiteral("/quavern")},
    };
    for (const auto& c : cases) {
        const ProgramFolders folders = LocateProgramFolders(c.executable, home);
        QCOMPARE(folders.data, c.data);
        QCOMPARE(folders.user, c.user);
        QCOMPARE(folders.PicturesFolder(), c.data + QStringLiteral("/Pics"));
    }
}

void TestDocument::installedProgramKeepsItsOwnStartPage() {
    // The shipped start page and pictures in a data folder the program never
    // writes to; the start page shown is the user's copy, made on first use.
    CProgramFixture program(nullptr);
    const QString data = MakeFolder(program, QStringLiteral("usr/share/quavern"));
    const QByteArray shipped = "<html><body><p>Shipped page with Am</p></body></html>";
    program.WriteFile(QStringLiteral("usr/share/quavern/Start.htm"), shipped);
    const QString user = program.PathOf(QStringLiteral("home/.local/share/quavern"));
    const QString start = user + QStringLiteral("/Start.htm");
    program.folders = ProgramFolders{data, user};
    QVERIFY(program.Start(1));
    CQuavernDoc* document = program.Document();
    QCOMPARE(document->FilePath(), start);
    QCOMPARE(ReadFileBytes(start), shipped);
    QCOMPARE(document->DisplayPath(), user + QStringLiteral("/QuavernFile.htm"));
    QCOMPARE(program.View()->PicturesFolder(), data + QStringLiteral("/Pics"));
    QVERIFY(ReadFileBytes(document->DisplayPath()).contains((data + QStringLiteral("/Pics/Am.gif")).toUtf8()));
    QVERIFY(WaitForShownText(program.View(),
                             [](const QString& shown) { return shown.contains(QStringLiteral("Shipped page")); }));

    // The copy is the user's from now on: Help shows it as it is, and New
    // makes it again only when it is gone.
    const QByteArray own = "<html><body><p>My own page</p></body></html>";
    program.WriteFile(start, own);
    QVERIFY(program.Run(ID_HELP));
    QVERIFY(
        WaitForShownText(program.View(), [](const QString& shown) { return shown == QStringLiteral("My own page"); }));
    QVERIFY(program.Run(ID_FILE_NEW));
    QCOMPARE(ReadFileBytes(start), own);
    QVERIFY(QFile::remove(start));
    QVERIFY(program.Run(ID_FILE_NEW));
    QCOMPARE(ReadFileBytes(start), shipped);
    QVERIFY(program.Close());
    QCOMPARE(QDir(data).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("Start.htm")});
    QVERIFY(!QFile::exists(user + QStringLiteral("/QuavernFile.htm")));
}

QTEST_MAIN(TestDocument)

#include "TestDocument.moc"
