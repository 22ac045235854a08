// Measures, for a 5 KB song with highlighting on, the time from the "+"
// command to the loaded page, and from the start of the program to its
// loaded start page. Run by hand; prints the medians.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QuavernApp.h"
#include "chords/Messages.h"
#include "document/QuavernView.h"
#include "document/UserDialogs.h"

namespace {

class CQuietSink final : public IMessageSink {
public:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    void ShowFatal(const std::string& text) override { std::fprintf(stderr, "fatal: %s\n", text.c_str()); }
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
    return QTest::qWaitFor([view] { return view->m_bReady; }, 30000);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int rounds = arguments.size() > 1 ? arguments.at(1).toInt() : 25;
    const QString program = arguments.size() > 2 ? arguments.at(2) : QString();

    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    CQuietSink sink;
    SetMessageSink(&sink);
    COneFileDialogs dialogs;
    SetUserDialogs(&dialogs);
    dialogs.file = folder.filePath(QStringLiteral("song.txt"));
    QFile song(dialogs.file);
    if (!song.open(QIODevice::WriteOnly) || song.write(FiveKilobyteSong()) < 0)
        return 1;
    song.close();

    QElapsedTimer clock;
    clock.start();
    CQuavernApp quavern;
    if (!quavern.InitInstance({}))
        return 1;
    CQuavernView* view = quavern.GetMainWnd()->GetActiveView();
    if (!WaitReady(view))
        return 1;
    std::printf("in-process start to start page: %lld ms\n", static_cast<long long>(clock.elapsed()));
    view->m_bHighlighted = qEnvironmentVariableIntValue("BENCH_HL");
    quavern.GetMainWnd()->Action(ID_FILE_OPEN)->trigger();
    if (!WaitReady(view))
        return 1;

    std::vector<double> up;
    QAction* plus = quavern.GetMainWnd()->Action(ID_TRANSPOSE_UP);
    for (int i = 0; i < rounds; ++i) {
        clock.restart();
        plus->trigger();
        if (!WaitReady(view))
            return 1;
        up.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("\"+\" to loaded page, 5 KB song highlighted: median %.1f ms over %d (min %.1f, max %.1f)\n",
                Median(up), rounds, *std::min_element(up.begin(), up.end()), *std::max_element(up.begin(), up.end()));

    // Process start to start page: the real program, asked to quit as soon
    // as its first page has loaded, several times.
    if (!program.isEmpty()) {
        std::vector<double> starts;
        for (int i = 0; i < 5; ++i) {
            QProcess process;
            process.setWorkingDirectory(QFileInfo(program).absolutePath());
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QUAVERN_REPORT_FIRST_PAGE"), QStringLiteral("1"));
            process.setProcessEnvironment(environment);
            clock.restart();
            process.start(program, {});
            process.waitForFinished(60000);
        }
    }
    SetUserDialogs(nullptr);
    SetMessageSink(nullptr);
    return 0;
}
