// Latency of the desktop program, measured on the real start-up code and the
// real commands, each from the command to what the user waits for. One JSON
// object a line on standard output, the median of the rounds:
//   plus-5KB-highlighted, plus-5KB-plain  "+" on a 5 KB song to the page shown (IsReady)
//   easiest-5KB                           Easiest to the page shown (the song is moved away first, untimed)
//   start                                 process start to the loaded start page (the bench starts
//                                         itself as a child that runs the program's start-up)
//   print-pdf-5KB, print-pdf-60KB         Print to a PDF file (the print dialog answers with a
//                                         printer set to PDF output) until the file is written
//   preview-60KB                          Print Preview until its first page is shown
// With --song FILE: Open, "+" and Easiest on that song, each command's own
// time and the time to its loaded page.
// With --presses FILE [COUNT]: the song highlighted, COUNT (200) "+" presses
// 23 ms apart, as a user holding the key; the browser's memory (the summed
// resident size of the program's child processes) at its peak, and after
// 10 s idle.
// Run by hand, from the output folder (beside Start.htm and Pics/), 11 rounds unless ROUNDS says otherwise:
//   bench_gui [ROUNDS]    bench_gui --song FILE    bench_gui --presses FILE [COUNT]
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPdfDocument>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app/MainFrame.h"
#include "app/QuavernApp.h"
#include "base/Messages.h"
#include "dialogs/ControlIds.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "document/UserDialogs.h"
#include "platform/MemoryTuning.h"
#include "tests/support/EventWait.h"

namespace {

constexpr int kDefaultRounds = 11;

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
    bool AskPrint(QWidget*, QPrinter* printer) override {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(printFile);
        return true;
    }
    QString file;
    QString printFile;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* name, const std::vector<double>& samples) {
    std::printf("{\"name\": \"%s\", \"median_ms\": %.1f, \"rounds\": %zu}\n", name, Median(samples), samples.size());
    std::fflush(stdout);
}

double Milliseconds(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
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

// A songbook of about 60 KB: numbered songs whose verses change key, so the
// pages differ as a real book's do.
QByteArray SixtyKilobyteSongbook() {
    static const char* const roots[] = {"C", "G", "D", "A", "E", "F", "Bb", "Eb", "Ab", "F#", "B", "Db"};
    const auto chord = [](int root, const char* quality) -> QByteArray {
        return QByteArray(roots[root % 12]) + quality;
    };
    QByteArray book;
    for (int verse = 0; book.size() < 60000; ++verse) {
        if (verse % 4 == 0)
            book += "Song " + QByteArray::number(verse / 4 + 1) + ": The Valley Road\n\n";
        book += "[Verse " + QByteArray::number(verse % 4 + 1) + "]\n";
        book += chord(verse, "").leftJustified(13) + chord(verse + 2, "").leftJustified(11) +
                chord(verse + 1, "m").leftJustified(11) + chord(verse + 5, "maj7") + "\n";
        book += "  Walking down the valley road, singing as I go,\n";
        book += chord(verse + 3, "m7").leftJustified(13) + chord(verse + 2, "7").leftJustified(11) +
                chord(verse, "").leftJustified(11) + chord(verse, "7") + "\n";
        book += "  Every stone a story and every field a home.\n\n";
    }
    return book;
}

bool WaitReady(CQuavernView* view) {
    return WaitUntil([view] { return view->IsReady(); }, 60000);
}

QString WriteSong(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
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

// The program started quietly, its Open command answered with one file.
struct CBenchProgram {
    explicit CBenchProgram(const QString& path) {
        sink.quiet = true;
        SetMessageSink(&sink);
        SetUserDialogs(&dialogs);
        dialogs.file = path;
    }
    ~CBenchProgram() {
        SetUserDialogs(nullptr);
        SetMessageSink(nullptr);
    }
    CBenchProgram(const CBenchProgram&) = delete;
    CBenchProgram& operator=(const CBenchProgram&) = delete;
    // The view once the start page has loaded, or nullptr.
    CQuavernView* Start() {
        if (!quavern.InitInstance({}))
            return nullptr;
        CQuavernView* view = quavern.GetMainWnd()->GetActiveView();
        return WaitReady(view) ? view : nullptr;
    }

    CPrintingSink sink;
    COneFileDialogs dialogs;
    CQuavernApp quavern;
};

// One large song: each command's own time and the time to its loaded page.
int RunLargeSong(const QString& path) {
    CBenchProgram program(path);
    CQuavernView* view = program.Start();
    if (!view)
        return 1;
    CQuavernApp& quavern = program.quavern;
    const std::pair<int, const char*> commands[] = {
        {ID_FILE_OPEN, "Open"}, {ID_TRANSPOSE_UP, "+"}, {ID_FIND_EASIEST, "Easiest"}};
    for (const auto& [id, caption] : commands) {
        program.sink.count = 0;
        QElapsedTimer clock;
        clock.start();
        quavern.GetMainWnd()->Action(id)->trigger();
        const double command = Milliseconds(clock);
        if (!WaitReady(view))
            return 1;
        const double loaded = Milliseconds(clock);
        std::printf("%-8s command %8.1f ms, loaded page %8.1f ms, %d messages\n", caption, command, loaded,
                    program.sink.count);
    }
    quavern.GetMainWnd()->close();
    return 0;
}

// The resident size of every process below this one (the browser's), in bytes.
qint64 BrowserMemory() {
    std::map<qint64, std::pair<qint64, qint64>> processes; // pid -> parent, resident bytes
    const qint64 page = sysconf(_SC_PAGESIZE);
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = name.toLongLong(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        // After the command's name in parentheses: state, parent, ... field 24 the resident pages.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 21)
            processes[pid] = {fields[1].toLongLong(), fields[21].toLongLong() * page};
    }
    qint64 total = 0;
    for (const auto& [pid, process] : processes) {
        for (qint64 up = process.first; up > 1; up = processes.count(up) ? processes[up].first : 0) {
            if (up == QCoreApplication::applicationPid()) {
                total += process.second;
                break;
            }
        }
    }
    return total;
}

// Many "+" on one song: the browser's memory at its peak and once idle.
int RunPresses(const QString& path, int count) {
    CBenchProgram program(path);
    CQuavernView* view = program.Start();
    if (!view)
        return 1;
    CQuavernApp& quavern = program.quavern;
    if (!view->GetDocument()->IsHighlighted())
        quavern.GetMainWnd()->Action(ID_HIGHLIGHT_TOGGLE)->trigger();
    quavern.GetMainWnd()->Action(ID_FILE_OPEN)->trigger();
    if (!WaitReady(view))
        return 1;
    qint64 peak = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&peak] { peak = std::max(peak, BrowserMemory()); });
    sampler.start(10);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        quavern.GetMainWnd()->Action(ID_TRANSPOSE_UP)->trigger();
        WaitUntil([&] { return clock.elapsed() >= 23 * (i + 1); }, 1000);
    }
    if (!WaitReady(view))
        return 1;
    const double pressed = Milliseconds(clock);
    WaitUntil([] { return false; }, 10000);
    sampler.stop();
    std::printf("%d presses in %.0f ms, shift %d, %d messages: browser peak %lld MB, after 10 s idle %lld MB\n", count,
                pressed, view->GetDocument()->Shift(), program.sink.count, static_cast<long long>(peak >> 20),
                static_cast<long long>(BrowserMemory() >> 20));
    quavern.GetMainWnd()->close();
    return 0;
}

// The program's windows and commands for the rounds of one run.
class CBenchRun final {
public:
    explicit CBenchRun(COneFileDialogs& dialogs) : m_dialogs(dialogs) {}

    bool Start() {
        if (!m_quavern.InitInstance({}))
            return false;
        m_view = m_quavern.GetMainWnd()->GetActiveView();
        return WaitReady(m_view);
    }
    void Close() { m_quavern.GetMainWnd()->close(); }
    CQuavernView* View() const { return m_view; }

    /// Runs the command and waits for the page it asked for; the milliseconds it took, or a negative number.
    double Command(int id) {
        QElapsedTimer clock;
        clock.start();
        m_quavern.GetMainWnd()->Action(id)->trigger();
        return WaitReady(m_view) ? Milliseconds(clock) : -1;
    }

    bool Open(const QString& path) {
        m_dialogs.file = path;
        return Command(ID_FILE_OPEN) >= 0;
    }

    /// Print to a PDF file until the file is written; negative on failure.
    double PrintToPdf(const QString& path) {
        QFile::remove(path);
        m_dialogs.printFile = path;
        QElapsedTimer clock;
        clock.start();
        m_quavern.GetMainWnd()->Action(ID_FILE_PRINT)->trigger();
        const double elapsed = Milliseconds(clock);
        return QFileInfo(path).size() > 0 ? elapsed : -1;
    }

    /// Print Preview until its first page has been drawn; negative on failure.
    double Preview() {
        double shown = -1;
        QElapsedTimer clock;
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            auto* pages = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
            if (!pages || !dialog->isVisible() || pages->pageCount() < 1)
                return;
            // Drawing the widget draws the pages in sight, the first one among them.
            pages->grab();
            shown = Milliseconds(clock);
            poll.stop();
            dialog->reject();
        });
        poll.start();
        clock.start();
        m_quavern.GetMainWnd()->Action(ID_FILE_PRINT_PREVIEW)->trigger();
        return shown;
    }

private:
    COneFileDialogs& m_dialogs;
    CQuavernApp m_quavern;
    CQuavernView* m_view = nullptr;
};

// Repeats one measurement; false when a round failed.
bool Measure(const char* name, int rounds, const std::function<double()>& round) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        const double ms = round();
        if (ms < 0) {
            std::fprintf(stderr, "%s: round %d failed\n", name, i + 1);
            return false;
        }
        samples.push_back(ms);
    }
    Report(name, samples);
    return true;
}

int RunCommands(const QString& folder, int rounds) {
    COneFileDialogs dialogs;
    SetUserDialogs(&dialogs);
    const QString small = WriteSong(folder + QStringLiteral("/song-5KB.txt"), FiveKilobyteSong());
    const QString large = WriteSong(folder + QStringLiteral("/song-60KB.txt"), SixtyKilobyteSongbook());
    const QString pdf = folder + QStringLiteral("/printed.pdf");
    CBenchRun run(dialogs);
    if (small.isEmpty() || large.isEmpty() || !run.Start() || !run.View()->GetDocument()->IsHighlighted() ||
        !run.Open(small))
        return 1;
    const bool measured =
        Measure("plus-5KB-highlighted", rounds, [&] { return run.Command(ID_TRANSPOSE_UP); }) &&
        Measure("easiest-5KB", rounds,
                [&] { return run.Command(ID_TRANSPOSE_UP) < 0 ? -1 : run.Command(ID_FIND_EASIEST); }) &&
        Measure("print-pdf-5KB", rounds, [&] { return run.PrintToPdf(pdf); }) &&
        run.Command(ID_HIGHLIGHT_TOGGLE) >= 0 && !run.View()->GetDocument()->IsHighlighted() &&
        Measure("plus-5KB-plain", rounds, [&] { return run.Command(ID_TRANSPOSE_UP); }) &&
        run.Command(ID_HIGHLIGHT_TOGGLE) >= 0 && run.Open(large) &&
        Measure("print-pdf-60KB", rounds, [&] { return run.PrintToPdf(pdf); }) &&
        Measure("preview-60KB", rounds, [&] { return run.Preview(); });
    // On standard error, so the standard output stays one measurement a line.
    QPdfDocument printed;
    if (measured && printed.load(pdf) == QPdfDocument::Error::None)
        std::fprintf(stderr, "the %lld-byte songbook printed to a PDF of %d pages, %lld bytes\n",
                     static_cast<long long>(QFileInfo(large).size()), printed.pageCount(),
                     static_cast<long long>(QFileInfo(pdf).size()));
    run.Close();
    SetUserDialogs(nullptr);
    return measured ? 0 : 1;
}

int RunStartUps(const QString& outputFolder, int rounds) {
    return Measure("start", rounds,
                   [&] {
                       QTemporaryDir childFolder;
                       PrepareFolder(childFolder.path(), outputFolder);
                       QProcess process;
                       process.setWorkingDirectory(childFolder.path());
                       QElapsedTimer clock;
                       clock.start();
                       process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start-up-child")});
                       if (!process.waitForReadyRead(120000) || !process.readLine().startsWith("loaded"))
                           return -1.0;
                       const double ms = Milliseconds(clock);
                       process.waitForFinished(60000);
                       return ms;
                   })
               ? 0
               : 1;
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
    const bool oneSong = arguments.size() > 2 && arguments.at(1) == QStringLiteral("--song");
    const QString song = oneSong ? QFileInfo(arguments.at(2)).absoluteFilePath() : QString();
    const QString outputFolder = QCoreApplication::applicationDirPath();
    QTemporaryDir folder;
    PrepareFolder(folder.path(), outputFolder);
    QDir::setCurrent(folder.path());
    if (oneSong)
        return RunLargeSong(song);
    if (arguments.size() > 2 && arguments.at(1) == QStringLiteral("--presses"))
        return RunPresses(QFileInfo(arguments.at(2)).absoluteFilePath(),
                          arguments.size() > 3 ? std::max(1, arguments.at(3).toInt()) : 200);
    const int rounds = arguments.size() > 1 ? std::max(1, arguments.at(1).toInt()) : kDefaultRounds;

    CPrintingSink sink;
    SetMessageSink(&sink);
    const int status = RunCommands(folder.path(), rounds);
    SetMessageSink(nullptr);
    return status ? status : RunStartUps(outputFolder, rounds);
}
