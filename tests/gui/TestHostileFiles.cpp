// Whatever a guitarist opens or wherever the song goes, the program answers
// with a message or a sound result: no crash, no hang, the previous song kept
// when something cannot be done, and no file written but the display file
// and the one the user saves.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include "chords/ChordCatalog.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "engine/Tablature.h"
#include "platform/QtSettingsStore.h"
#include "render/SongPage.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/FileSizeLimit.h"

namespace {

QString MakeFolder(const CProgramFixture& program, const QString& name) {
    QDir(program.Folder()).mkpath(name);
    return program.PathOf(name);
}

/// Every name in a folder, hidden ones included, sorted.
QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList Sorted(QStringList names) {
    names.sort();
    return names;
}

bool IsSuperuser() {
    return ::geteuid() == 0;
}

/// A file of zero bytes of the given size, without writing them.
bool MakeSparseFile(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(size);
}

/// What the program shows and keeps, to compare before and after a refused command.
struct ProgramState {
    QString filePath;
    QString displayPath;
    QByteArray displayBytes;
    std::string working;
    int shift = 0;
    QString currentFolder;
    QString lastDirectory;

    static ProgramState Of(const CProgramFixture& program) {
        const CQuavernView* view = program.View();
        return {view->GetDocument()->FilePath(),
                view->GetDocument()->DisplayPath(),
                ReadFileBytes(view->GetDocument()->DisplayPath()),
                program.Document()->Working().text,
                view->GetDocument()->Shift(),
                QDir::currentPath(),
                QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                          QString::fromLatin1(kSettingsApplication))
                    .value(QStringLiteral("KV20481733PW/LASTDIRECTORY"))
                    .toString()};
    }
    bool operator==(const ProgramState& other) const {
        return filePath == other.filePath && displayPath == other.displayPath && displayBytes == other.displayBytes &&
               working == other.working && shift == other.shift && currentFolder == other.currentFolder &&
               lastDirectory == other.lastDirectory;
    }
};

/// Triggers Open for path, dropping an unsaved transposition, without waiting for a page.
void TriggerOpen(CProgramFixture& program, const QString& path) {
    if (program.Document()->Shift() != program.Document()->SavedShift())
        program.dialogs.answers.enqueue(QMessageBox::No);
    program.dialogs.openFiles.enqueue(path);
    program.Action(ID_FILE_OPEN)->trigger();
}

} // namespace

class TestHostileFiles final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tooLargeFileIsRefusedAndNothingChanges();
    void fileThatIsNoRegularFileIsRefused_data();
    void fileThatIsNoRegularFileIsRefused();
    void hostileBytesOpenAsTextAndSaveBack_data();
    void hostileBytesOpenAsTextAndSaveBack();
    void oddNameOpensTransposesAndSaves();
    void folderWithoutRoomForTheDisplayFileKeepsTheSong_data();
    void folderWithoutRoomForTheDisplayFileKeepsTheSong();
    void unreadableStartPageStillStartsTheProgram_data();
    void unreadableStartPageStillStartsTheProgram();
    void helpKeepsTheSongWhenTheStartFolderTakesNoFile();
    void garbageSettingsTakeTheirDefaults();
    void largeSongbookIsShownInPartsAndMovedWhole();
    void saveIntoAFullPlaceKeepsTheOldFile();
    void saveIntoAPlaceThatCannotHoldFilesKeepsTheSong();
    void messageNamesTheCause_data();
    void messageNamesTheCause();
};

void TestHostileFiles::tooLargeFileIsRefusedAndNothingChanges() {
    CProgramFixture program;
    QVERIFY(program.Start());
    MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const QString books = MakeFolder(program, QStringLiteral("books"));
    const QString huge = books + QStringLiteral("/songbook.txt");
    QVERIFY(MakeSparseFile(huge, static_cast<qint64>(kMaxSongBytes) + 1));
    const ProgramState before = ProgramState::Of(program);

    TriggerOpen(program, huge);
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(program.sink.messages.front()),
             QStringLiteral("The following file : ") + huge +
                 QStringLiteral(" is too large to open (16777217 bytes; the limit is 16777216 bytes)."));
    QVERIFY(ProgramState::Of(program) == before);
    QCOMPARE(Entries(books), QStringList{QStringLiteral("songbook.txt")});
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(program.Document()->Shift(), 2);

    // A file of exactly the limit is read; here neither its folder nor the
    // cache can take the display file, so it is refused for that, not for its size.
    program.sink.messages.clear();
    const CNoCacheFolder noCache;
    QVERIFY(QDir(books).mkdir(QStringLiteral("QuavernFile.htm")));
    QVERIFY(MakeSparseFile(huge, static_cast<qint64>(kMaxSongBytes)));
    TriggerOpen(program, huge);
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(program.sink.messages.front()).startsWith(QStringLiteral("The display file ")));
    QCOMPARE(program.Document()->FilePath(), before.filePath);
}

void TestHostileFiles::fileThatIsNoRegularFileIsRefused_data() {
    QTest::addColumn<QString>("kind");
    // A device that never ends and a pipe that waits for a writer forever.
    QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    QTest::newRow("named pipe") << QStringLiteral("fifo");
}

void TestHostileFiles::fileThatIsNoRegularFileIsRefused() {
    QFETCH(QString, kind);
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    QString path = kind;
    if (kind == QLatin1String("fifo")) {
        path = MakeFolder(program, QStringLiteral("pipes")) + QStringLiteral("/song.txt");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (!QFileInfo::exists(path)) {
        QSKIP("no such device here");
    }
    const ProgramState before = ProgramState::Of(program);
    TriggerOpen(program, path);
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(program.sink.messages.front()), QStringLiteral("The following file : ") + path +
                                                                        QStringLiteral(" could not be opened : ") +
                                                                        QString::fromLatin1(kNotRegularFileReason));
    QVERIFY(ProgramState::Of(program) == before);
}

void TestHostileFiles::hostileBytesOpenAsTextAndSaveBack_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<int>("chords"); // distinct chords found, -1 when it depends on the file

    const QByteArray png =
        ReadFileBytes(qEnvironmentVariable("QUAVERN_SOURCE_DIR") + QStringLiteral("/app/quavern.png"));
    const QByteArray elf = ReadFileBytes(QStringLiteral("/bin/true"));
    QTest::newRow("empty file") << QStringLiteral("empty.txt") << QByteArray() << false << 0;
    QTest::newRow("picture") << QStringLiteral("quavern.png") << png << false << -1;
    QTest::newRow("executable") << QStringLiteral("true") << elf << false << -1;
    QTest::newRow("latin-1 lyrics") << QStringLiteral("latin1.txt") << QByteArray("Am G\ncaf\xe9 d\xe9j\xe0 vu\n")
                                    << false << 2;
    QTest::newRow("utf-8 lyrics") << QStringLiteral("utf8.txt") << QByteArray("Am G\ncaf\xc3\xa9 d\xc3\xa9j\xc3\xa0\n")
                                  << true << 2;
    QTest::newRow("ascii only") << QStringLiteral("ascii.txt") << QByteArray("Am G\n") << false << 2;
    QTest::newRow("overlong utf-8 is no utf-8")
        << QStringLiteral("overlong.txt") << QByteArray("Am \xc0\xaf G\n") << false << 2;
    QTest::newRow("cut utf-8 sequence") << QStringLiteral("cut.txt") << QByteArray("Am G caf\xc3") << false << 2;
}

void TestHostileFiles::hostileBytesOpenAsTextAndSaveBack() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QFETCH(int, chords);
    if (name != QLatin1String("empty.txt") && bytes.isEmpty())
        QSKIP("the sample file is not on this machine");
    QVERIFY(!bytes.contains("Maj7"));
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    const QString path = program.WriteFile(QStringLiteral("songs/") + name, bytes);

    QVERIFY(program.OpenSong(path));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->FilePath(), path);
    // Any type but HTML is a text song.
    QVERIFY(view->GetDocument()->FileType() != QLatin1String("HTM") &&
            view->GetDocument()->FileType() != QLatin1String("HTML"));
    QCOMPARE(view->GetDocument()->Added().header, std::string(utf8 ? kTextSongHeaderUtf8 : kTextSongHeader));
    if (chords >= 0)
        QCOMPARE(program.Document()->Working().GetDistinctCount(), chords);
    QVERIFY(ReadFileBytes(view->GetDocument()->DisplayPath()).startsWith("<title>"));
    QCOMPARE(Entries(songs),
             Sorted(QStringList{QStringLiteral("QuavernFile.htm"), QStringLiteral("QuavernFile.htm.lock"), name}));

    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Run(ID_FIND_EASIEST));
    QVERIFY(program.Run(ID_TRANSPOSE_DOWN));
    program.View()->SetShift(0);
    QVERIFY(program.WaitReady());
    QCOMPARE(view->GetDocument()->Shift(), 0);
    QVERIFY(view->OnFileSave());
    QCOMPARE(ReadFileBytes(path), bytes);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));

    QVERIFY(program.Close());
    QCOMPARE(Entries(songs), QStringList{name});
}

void TestHostileFiles::oddNameOpensTransposesAndSaves() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString folder = MakeFolder(program, QString::fromUtf8("my songs #2 & 100% \xc3\xb1"));
    const QString name = QString::fromUtf8("Am & G #1 50% d\xc3\xa9j\xc3\xa0\nvu \xd0\x96.txt");
    const QString path = folder + QLatin1Char('/') + name;
    QVERIFY(program.WriteFile(path, "Am G\nvoil\xc3\xa0\n") == path);
    QCOMPARE(Entries(folder), QStringList{name});

    QVERIFY(program.OpenSong(path));
    CQuavernView* view = program.View();
    QCOMPARE(view->GetDocument()->FilePath(), path);
    QCOMPARE(view->GetDocument()->DisplayPath(), folder + QStringLiteral("/QuavernFile.htm"));
    QCOMPARE(Entries(folder),
             Sorted(QStringList{QStringLiteral("QuavernFile.htm"), QStringLiteral("QuavernFile.htm.lock"), name}));
    // Nothing of the path is taken for a chord.
    QCOMPARE(program.Document()->Working().GetDistinctCount(), 2);
    QCOMPARE(program.Document()->Working().OccurrenceCount(), 2);

    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(WaitForShownText(view, [](const QString& shown) { return shown.startsWith(QStringLiteral("A#m G#")); }));
    QVERIFY(program.Run(ID_FILE_SAVE));
    QCOMPARE(ReadFileBytes(path), QByteArray("A#m G#\nvoil\xc3\xa0\n"));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
    QCOMPARE(Entries(folder),
             Sorted(QStringList{QStringLiteral("QuavernFile.htm"), QStringLiteral("QuavernFile.htm.lock"), name}));

    QVERIFY(program.Close());
    QCOMPARE(Entries(folder), QStringList{name});
}

void TestHostileFiles::folderWithoutRoomForTheDisplayFileKeepsTheSong_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("cache");
    // A song in a folder that takes no file is shown from the cache folder;
    // without one either, the song on screen stays.
    // A read-only folder stops everyone but the superuser; the kernel's
    // folder of a process takes no new file from anyone.
    for (const bool cache : {true, false}) {
        const char* suffix = cache ? "" : ", no cache";
        QTest::addRow("read-only folder%s", suffix) << QStringLiteral("read-only") << cache;
        QTest::addRow("folder of a process%s", suffix) << QStringLiteral("proc") << cache;
    }
}

void TestHostileFiles::folderWithoutRoomForTheDisplayFileKeepsTheSong() {
    QFETCH(QString, kind);
    QFETCH(bool, cache);
    CProgramFixture program;
    QVERIFY(program.Start());
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("a.txt"), "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    std::optional<CNoCacheFolder> noCache;
    if (!cache)
        noCache.emplace();

    QString song;
    QString folder;
    if (kind == QLatin1String("read-only")) {
        if (IsSuperuser())
            QSKIP("a read-only folder does not stop the superuser");
        folder = MakeFolder(program, QStringLiteral("locked"));
        song = program.WriteFile(QStringLiteral("locked/b.txt"), "C\n");
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    } else {
        song = QStringLiteral("/proc/self/status");
        if (ReadFileBytes(song).isEmpty())
            QSKIP("no /proc here");
    }
    const ProgramState before = ProgramState::Of(program);
    const QStringList entries = folder.isEmpty() ? QStringList() : Entries(folder);

    TriggerOpen(program, song);
    if (cache) {
        QVERIFY(program.WaitReady());
        QCOMPARE(program.sink.messages.size(), std::size_t(0));
        QCOMPARE(program.Document()->FilePath(), song);
        QVERIFY(program.Document()->DisplayPath().startsWith(qEnvironmentVariable("XDG_CACHE_HOME")));
        if (!folder.isEmpty())
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(program.Run(ID_TRANSPOSE_UP));
        QCOMPARE(program.Document()->Shift(), 1);
        return;
    }
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY(QString::fromStdString(program.sink.messages.front()).startsWith(QStringLiteral("The display file ")));
    QVERIFY(ProgramState::Of(program) == before);
    if (!folder.isEmpty()) {
        QCOMPARE(Entries(folder), entries);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(program.Document()->Shift(), 2);
}

void TestHostileFiles::unreadableStartPageStillStartsTheProgram_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("start page is a folder") << QStringLiteral("folder");
    QTest::newRow("missing in a read-only folder") << QStringLiteral("missing");
    QTest::newRow("unreadable in a read-only folder") << QStringLiteral("unreadable");
}

void TestHostileFiles::unreadableStartPageStillStartsTheProgram() {
    QFETCH(QString, kind);
    if (kind != QLatin1String("folder") && IsSuperuser())
        QSKIP("file modes do not stop the superuser");
    CProgramFixture program(nullptr);
    const QString start = program.PathOf(QStringLiteral("Start.htm"));
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(start));
    } else {
        if (kind == QLatin1String("unreadable")) {
            program.WriteFile(QStringLiteral("Start.htm"), "<p>Am</p>");
            QVERIFY(QFile::setPermissions(start, QFileDevice::Permissions()));
        }
        QVERIFY(QFile::setPermissions(program.Folder(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QStringList entries = Entries(program.Folder());

    QVERIFY(program.Start());
    QVERIFY(!program.sink.messages.empty());
    for (const std::string& message : program.sink.messages)
        QVERIFY2(message.rfind("FATAL", 0) != 0, message.c_str());
    // Only the display file may have appeared beside the start page.
    QStringList now = Entries(program.Folder());
    now.removeAll(QStringLiteral("QuavernFile.htm"));
    now.removeAll(QStringLiteral("QuavernFile.htm.lock"));
    QCOMPARE(now, entries);
    QVERIFY(QFileInfo(start).isDir() == (kind == QLatin1String("folder")));

    // The program goes on: a song opens and moves.
    program.sink.messages.clear();
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(program.Document()->Working().text.find("A#m G#\n") != std::string::npos);
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
    QFile::setPermissions(program.Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(start, QFile::ReadOwner | QFile::WriteOwner);
}

void TestHostileFiles::helpKeepsTheSongWhenTheStartFolderTakesNoFile() {
    if (IsSuperuser())
        QSKIP("file modes do not stop the superuser");
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(QFile::remove(program.PathOf(QStringLiteral("Start.htm"))));
    QVERIFY(QFile::setPermissions(program.Folder(), QFile::ReadOwner | QFile::ExeOwner));
    const ProgramState before = ProgramState::Of(program);
    const QStringList entries = Entries(program.Folder());
    const CNoCacheFolder noCache;

    program.dialogs.answers.enqueue(QMessageBox::No);
    program.Action(ID_HELP)->trigger();
    QCOMPARE(program.sink.messages.size(), std::size_t(2));
    QCOMPARE(program.sink.messages[0], std::string("There is not enough disk space. Please free more disk space."));
    QVERIFY(QString::fromStdString(program.sink.messages[1]).startsWith(QStringLiteral("The display file ")));
    QVERIFY(ProgramState::Of(program) == before);
    QCOMPARE(Entries(program.Folder()), entries);
    QFile::setPermissions(program.Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QCOMPARE(program.Document()->Shift(), 2);
    QCOMPARE(Entries(songs), Sorted({QStringLiteral("QuavernFile.htm"), QStringLiteral("QuavernFile.htm.lock"),
                                     QStringLiteral("a.txt")}));
}

void TestHostileFiles::largeSongbookIsShownInPartsAndMovedWhole() {
    CProgramFixture program;
    QVERIFY(program.Start(1));
    const QByteArray chords = "Am  G  C#m7  Bbmaj7";
    QByteArray book;
    while (book.size() < 300 * 1024)
        book += chords + "\n  la la la, the river runs\n";
    const QString path = program.WriteFile(QStringLiteral("songbook.txt"), book);

    QVERIFY(program.OpenSong(path));
    const QByteArray display = ReadFileBytes(program.Document()->DisplayPath());
    QVERIFY(display.contains("<script type=\"text/x-quavern-part\">"));
    // quavern-cli writes the same page in parts, started where the program's pictures are.
    QProcess cli;
    cli.setWorkingDirectory(program.Folder());
    cli.start(qEnvironmentVariable("QUAVERN_OUTPUT_DIR") + QStringLiteral("/quavern-cli"),
              {QStringLiteral("render"), QStringLiteral("--highlighted"), QStringLiteral("songbook.txt")});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.readAllStandardOutput(), display);
    // The page in parts fills the parts in view by its script, after the load.
    QVERIFY(WaitForShownText(
        program.View(), [&](const QString& shown) { return shown.startsWith(QString::fromLatin1(chords + "\n")); }));

    // Tens of thousands of chords, every one of them moved, nothing said.
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const std::string moved = "A#m  G#  Dm7  Bmaj7\n";
    const std::string& working = program.Document()->Working().text;
    const std::size_t body = working.find("<pre>") + 5;
    QCOMPARE(working.substr(body, moved.size()), moved);
    QVERIFY(working.find(chords.toStdString()) == std::string::npos);
    QVERIFY(WaitForShownText(program.View(),
                             [&](const QString& shown) { return shown.startsWith(QString::fromStdString(moved)); }));

    QVERIFY(program.Run(ID_FIND_EASIEST));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
    program.dialogs.answers.enqueue(QMessageBox::No);
    QVERIFY(program.Close());
}

void TestHostileFiles::garbageSettingsTakeTheirDefaults() {
    CProgramFixture program;
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                  QString::fromLatin1(kSettingsApplication))
            .fileName();
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    const char raw[] = "\x00\xff\xfe garbage = = =\n[[[\n[KV20481733PW]\nBOLD=abc\nITALIC=\nUNDERLINE=1x\n"
                       "USECOLOR=@@\nINFOBULLE=\"\"\nRED=zz\nGREEN=-\nBLUE=0x\nAREHIGHLIGHTED=maybe\n"
                       "LASTDIRECTORY=\x01\x02/no/such/folder\n";
    QByteArray garbage(raw, sizeof raw - 1);
    for (int spelling = 0; spelling < 17; ++spelling)
        garbage += QByteArray::fromStdString(CChordCatalog::LevelValueName(0, spelling) + "=x" + "\n");
    garbage += QByteArray::fromStdString(CChordCatalog::LevelValueName(1, 0)) + "=\xc3\xa9\n\xff\xff\xff\n";
    QFile settings(file);
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write(garbage);
    settings.close();

    QVERIFY(program.Start(CProgramFixture::kStoredHighlighting));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
    const HighlightSettings& highlight = program.Document()->Highlight();
    const HighlightSettings defaults;
    QCOMPARE(highlight.bold, defaults.bold);
    QCOMPARE(highlight.italic, defaults.italic);
    QCOMPARE(highlight.underline, defaults.underline);
    QCOMPARE(highlight.useColor, defaults.useColor);
    QCOMPARE(highlight.infobulle, defaults.infobulle);
    QCOMPARE(highlight.color, 255 << 16);
    QVERIFY(program.Document()->IsHighlighted());
    for (int i = 0; i < 18; ++i)
        QCOMPARE(theChordCatalog.GetAt(i).GetDifficulty(), theChordCatalog.GetDefaultLevel(i));

    // A last directory that does not exist leaves the current one for the dialog.
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QDir::setCurrent(songs);
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), "Am G\n")));
    QCOMPARE(program.dialogs.lastFolder, songs);
    QCOMPARE(program.Document()->FilePath(), songs + QStringLiteral("/a.txt"));
    QCOMPARE(program.sink.messages.size(), std::size_t(0));
}

void TestHostileFiles::saveIntoAFullPlaceKeepsTheOldFile() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QByteArray song("Am G\n");
    while (song.size() < 64 * 1024)
        song += "la la la la la la la la la la la la la la la la la la la la\n";
    const QString path = program.WriteFile(QStringLiteral("songs/a.txt"), song);
    QVERIFY(program.OpenSong(path));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    const QStringList entries = Entries(songs);
    {
        // Any write past 8 KiB fails as on a full disk.
        CFileSizeLimit full(8 * 1024);
        QVERIFY(full.Ok());
        QVERIFY(!program.View()->OnFileSave());
    }
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QVERIFY2(QString::fromStdString(program.sink.messages.front())
                 .startsWith(QStringLiteral("The following file : ") + path + QStringLiteral(" could not be saved : ")),
             program.sink.messages.front().c_str());
    QCOMPARE(ReadFileBytes(path), song);
    QCOMPARE(Entries(songs), entries);
    QCOMPARE(program.Document()->SavedShift(), 0);
    // With room again the same song is saved.
    QVERIFY(program.View()->OnFileSave());
    QVERIFY(ReadFileBytes(path).startsWith("A#m G#\nla la"));
    QCOMPARE(Entries(songs), entries);
}

void TestHostileFiles::saveIntoAPlaceThatCannotHoldFilesKeepsTheSong() {
    CProgramFixture program;
    QVERIFY(program.Start());
    const QString path = program.WriteFile(QStringLiteral("a.txt"), "Am G\n");
    QVERIFY(program.OpenSong(path));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    // A "folder" that is a file stops everyone, the superuser too.
    const QString notFolder = program.WriteFile(QStringLiteral("notes.txt"), "keep me");
    QStringList places{notFolder + QStringLiteral("/b.txt")};
    if (!IsSuperuser()) {
        const QString locked = MakeFolder(program, QStringLiteral("locked"));
        program.WriteFile(QStringLiteral("locked/b.txt"), "old");
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        places << locked + QStringLiteral("/b.txt");
    }
    const QStringList entries = Entries(program.Folder());
    for (const QString& place : places) {
        program.sink.messages.clear();
        program.dialogs.saveFiles.enqueue(place);
        program.Action(ID_FILE_SAVE_AS)->trigger();
        QCOMPARE(program.sink.messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(program.sink.messages.front())
                    .startsWith(QStringLiteral("The following file : ") + place +
                                QStringLiteral(" could not be saved : ")));
        QCOMPARE(program.Document()->FilePath(), path);
        QCOMPARE(program.Document()->SavedShift(), 0);
    }
    QCOMPARE(ReadFileBytes(notFolder), QByteArray("keep me"));
    QCOMPARE(ReadFileBytes(path), QByteArray("Am G\n"));
    QCOMPARE(Entries(program.Folder()), entries);
    if (!IsSuperuser()) {
        // A song the user marked read-only is not replaced by Save either.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        program.sink.messages.clear();
        QVERIFY(!program.View()->OnFileSave());
        QCOMPARE(program.sink.messages.size(), std::size_t(1));
        QCOMPARE(ReadFileBytes(path), QByteArray("Am G\n"));
        QCOMPARE(Entries(program.Folder()), entries);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(ReadFileBytes(program.PathOf(QStringLiteral("locked/b.txt"))), QByteArray("old"));
        QCOMPARE(Entries(program.PathOf(QStringLiteral("locked"))), QStringList{QStringLiteral("b.txt")});
        QFile::setPermissions(program.PathOf(QStringLiteral("locked")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void TestHostileFiles::messageNamesTheCause_data() {
    QTest::addColumn<QString>("command"); // "open", "save" (Save As) or "show" (a transposition)
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason"); // empty: done without a message
    const auto row = [](const char* name, const char* command, const QString& target, const char* reason) {
        QTest::newRow(name) << QString::fromLatin1(command) << target << QString::fromLatin1(reason);
    };
    row("open a folder", "open", QStringLiteral("folder.txt"), kNotRegularFileReason);
    row("open a link to an endless device", "open", QStringLiteral("zero.txt"), kNotRegularFileReason);
    // A NUL beside every letter: no chord name could ever be read in it.
    row("open UTF-16 text", "open", QStringLiteral("utf16.txt"), kUtf16SongReason);
    row("save onto a full disk", "save", QStringLiteral("full.txt"), "No space left on device");
    row("save under a 250-byte name", "save", QString(246, QLatin1Char('x')) + QStringLiteral(".txt"), "");
    row("save into a read-only folder", "save", QStringLiteral("locked/b.txt"), "Permission denied");
    row("show a page on a full disk", "show", QString(), "File too large");
}

void TestHostileFiles::messageNamesTheCause() {
    QFETCH(QString, command);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    if (target.startsWith(QLatin1String("locked/")) && IsSuperuser())
        QSKIP("folder modes do not stop the superuser");
    CProgramFixture program;
    QVERIFY(program.Start());
    QByteArray song("Am G\n");
    while (song.size() < 16 * 1024)
        song += "la la la la la la la la la la la la la la la la la la la la\n";
    const QString songs = MakeFolder(program, QStringLiteral("songs"));
    QVERIFY(program.OpenSong(program.WriteFile(QStringLiteral("songs/a.txt"), song)));
    QVERIFY(program.Run(ID_TRANSPOSE_UP));
    QVERIFY(QDir(songs).mkdir(QStringLiteral("folder.txt")));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), songs + QStringLiteral("/zero.txt")));
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), songs + QStringLiteral("/full.txt")));
    program.WriteFile(QStringLiteral("songs/utf16.txt"), QByteArray("\xff\xfe"
                                                                    "A\0m\0 \0G\0\n\0",
                                                                    12));
    const QString locked = MakeFolder(program, QStringLiteral("songs/locked"));
    program.WriteFile(QStringLiteral("songs/locked/b.txt"), "writable");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    const QStringList entries = Entries(songs);
    const QString path = songs + QLatin1Char('/') + target;
    const QString display = program.Document()->DisplayPath();
    const QByteArray page = ReadFileBytes(display);

    QString expected;
    if (command == QLatin1String("open")) {
        TriggerOpen(program, path);
        expected = QStringLiteral("The following file : ") + path + QStringLiteral(" could not be opened : ");
    } else if (command == QLatin1String("save")) {
        program.dialogs.saveFiles.enqueue(path);
        program.Action(ID_FILE_SAVE_AS)->trigger();
        expected = QStringLiteral("The following file : ") + path + QStringLiteral(" could not be saved : ");
    } else {
        // Any write past 8 KiB fails as on a full disk.
        CFileSizeLimit full(8 * 1024);
        QVERIFY(full.Ok());
        program.Action(ID_TRANSPOSE_UP)->trigger();
        expected = QStringLiteral("The display file ") + display + QStringLiteral(" could not be written : ");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (reason.isEmpty()) {
        QCOMPARE(program.sink.messages.size(), std::size_t(0));
        QVERIFY(ReadFileBytes(path).startsWith("A#m G#\n"));
        QCOMPARE(program.Document()->FilePath(), path);
        return;
    }
    QCOMPARE(program.sink.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(program.sink.messages.front()), expected + reason);
    // Nothing written in part: the display page is the last whole one, and
    // no temporary file stays behind.
    QCOMPARE(ReadFileBytes(display), page);
    QCOMPARE(Entries(songs), entries);
}

QTEST_MAIN(TestHostileFiles)
#include "TestHostileFiles.moc"
