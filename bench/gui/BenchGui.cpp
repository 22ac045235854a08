// Latency of the desktop program, measured on the real start-up code and the
// real commands, with highlighting on (every page loads the 85 pictures):
//   - from the "+" command to the loaded page, for a 5 KB song;
//   - from process start to the loaded start page (the bench starts itself
//     as a child that runs the program's start-up and reports the first page).
//   - with --song FILE: Open, "+" and Easiest on that song, each command's own
//     time and the time to its loaded page.
// Run by hand:  bench_gui [ROUNDS] | bench_gui --song FILE   (from the output folder, beside Start.htm and Pics/)
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainFrame.h"
#include "app/QuavernApp.h"
#include "chords/Messages.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "document/UserDialogs.h"
#include "platform/MemoryTuning.h"
#include "tests/support/EventWait.h"

namespace {

class CPrintingSink final : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override {
        if (quiet)
            ++count;
        else
            std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    void ShowFatal(const std::string& text) override { std::fprintf(stderr, "fatal: %s\n", text.c_str()); }
    bool quiet = false;
    int count = 0;
};

class COneFileDialogs final : public IUserDialogs {
public:
    QString GetOpenFileName(QWidget*, const QString&, const QString&) override { return file; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QMessageBox::StandardButton AskSaveFile(QWidget*) override { return QMessageBox::No; }
    QString file;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// About 5 KB of verses with chords above the lyrics.
QByteArray FiveKilobyteSong() {
    const QByteArray verse = "G            D          Em         C\n"
                             "  Walking down the valley road, singing as I go,\n"
                             "Am           D7         G          G7\n"
                             "  Every stone a story and every field a home.\n\n";
    QByteArray song;
    while (song.size() < 5000)
        song += verse;
    return song;
}

bool WaitReady(CQuavernView* view) {
    return WaitUntil([view] { return view->IsReady(); }, 60000);
}

// A folder like the output folder: Start.htm and Pics/ beside the program.
void PrepareFolder(const QString& folder, const QString& outputFolder) {
    QFile::copy(outputFolder + QStringLiteral("/Start.htm"), folder + QStringLiteral("/Start.htm"));
    QFile::link(outputFolder + QStringLiteral("/Pics"), folder + QStringLiteral("/Pics"));
}

// The child: the program's start-up, then one line on standard output when
// the start page has loaded.
int RunStartUpChild() {
    CPrintingSink sink;
    SetMessageSink(&sink);
    CQuavernApp quavern;
    if (!quavern.InitInstance({}) || !WaitReady(quavern.GetMainWnd()->GetActiveView()))
        return 1;
    std::printf("loaded\n");
    std::fflush(stdout);
    quavern.GetMainWnd()->close();
    return 0;
}

// One large song: each command's own time and the time to its loaded page.
int RunLargeSong(const QString& path) {
    CPrintingSink sink;
    sink.quiet = true;
    SetMessageSink(&sink);
    COneFileDialogs dialogs;
    SetUserDialogs(&dialogs);
    dialogs.file = path;
    CQuavernApp quavern;
    if (!quavern.InitInstance({}))
        return 1;
    CQuavernView* view = quavern.GetMainWnd()->GetActiveView();
    if (!WaitReady(view))
        return 1;
    const std::pair<int, const char*> commands[] = {
        {ID_FILE_OPEN, "Open"}, {ID_TRANSPOSE_UP, "+"}, {ID_FIND_EASIEST, "Easiest"}};
    for (const auto& [id, caption] : commands) {
        sink.count = 0;
        QElapsedTimer clock;
        clock.start();
        quavern.GetMainWnd()->Action(id)->trigger();
        const double command = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (!WaitReady(view))
            return 1;
        const double loaded = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        std::printf("%-8s command %8.1f ms, loaded page %8.1f ms, %d messages\n", caption, command, loaded, sink.count);
    }
    quavern.GetMainWnd()->close();
    SetUserDialogs(nullptr);
    SetMessageSink(nullptr);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    KeepFreedMemoryForReuse(); // as the program does
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const bool child = argc > 1 && QByteArray(argv[1]) == "--start-up-child";
    QTemporaryDir settings;
    if (!child)
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication application(argc, argv);
    if (child)
        return RunStartUpChild();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 2 && arguments.at(1) == QStringLiteral("--song")) {
        const QString song = QFileInfo(arguments.at(2)).absoluteFilePath();
        QTemporaryDir folder;
        PrepareFolder(folder.path(), QCoreApplication::applicationDirPath());
        QDir::setCurrent(folder.path());
        return RunLargeSong(song);
    }
    const int rounds = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : 25;
    const QString outputFolder = QCoreApplication::applicationDirPath();

    QTemporaryDir folder;
    PrepareFolder(folder.path(), outputFolder);
    QDir::setCurrent(folder.path());
    CPrintingSink sink;
    SetMessageSink(&sink);
    COneFileDialogs dialogs;
    SetUserDialogs(&dialogs);
    dialogs.file = folder.filePath(QStringLiteral("song.txt"));
    QFile song(dialogs.file);
    if (!song.open(QIODevice::WriteOnly) || song.write(FiveKilobyteSong()) < 0)
        return 1;
    song.close();

    {
        CQuavernApp quavern;
        if (!quavern.InitInstance({}))
            return 1;
        CQuavernView* view = quavern.GetMainWnd()->GetActiveView();
        if (!WaitReady(view) || !view->GetDocument()->IsHighlighted())
            return 1;
        quavern.GetMainWnd()->Action(ID_FILE_OPEN)->trigger();
        if (!WaitReady(view))
            return 1;
        std::vector<double> up;
        std::vector<double> command;
        QAction* plus = quavern.GetMainWnd()->Action(ID_TRANSPOSE_UP);
        QElapsedTimer clock;
        for (int i = 0; i < rounds; ++i) {
            clock.start();
            plus->trigger();
            // The program's own part: transposing, rendering and writing the display file.
            command.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            if (!WaitReady(view))
                return 1;
            up.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        std::printf("\"+\" to loaded page, %lld-byte song, highlighted: median %.1f ms over %d (min %.1f, max %.1f)\n",
                    static_cast<long long>(FiveKilobyteSong().size()), Median(up), rounds,
                    *std::min_element(up.begin(), up.end()), *std::max_element(up.begin(), up.end()));
        std::printf("\"+\" command itself (transpose, highlight, write the display file): median %.2f ms\n",
                    Median(command));
        quavern.GetMainWnd()->close();
    }

    std::vector<double> starts;
    const int startRounds = std::max(3, rounds / 5);
    for (int i = 0; i < startRounds; ++i) {
        QTemporaryDir childFolder;
        PrepareFolder(childFolder.path(), outputFolder);
        QProcess process;
        process.setWorkingDirectory(childFolder.path());
        QElapsedTimer clock;
        clock.start();
        process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-up-child")});
        if (!process.waitForReadyRead(120000) || !process.readLine().startsWith("loaded"))
            return 1;
        starts.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        process.waitForFinished(60000);
    }
    std::printf("process start to loaded start page: median %.1f ms over %d (min %.1f, max %.1f)\n", Median(starts),
                startRounds, *std::min_element(starts.begin(), starts.end()),
                *std::max_element(starts.begin(), starts.end()));
    SetUserDialogs(nullptr);
    SetMessageSink(nullptr);
    return 0;
}
