#include <cstdio>

#include <QApplication>
#include <QStandardPaths>

#include "app/ProgramArguments.h"
#include "app/QtMessageSink.h"
#include "app/QuavernApp.h"
#include "app/MainFrame.h"
#include "app/QuitSignals.h"
#include "document/DisplayPage.h"
#include "document/ProgramFolders.h"
#include "platform/MemoryTuning.h"

int main(int argc, char* argv[]) {
    // --help and --version are answered before Qt looks for a display, so
    // they work in a terminal without one.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw.append(QString::fromLocal8Bit(argv[i]));
    const ProgramArguments::Action asked = ParseProgramArguments(raw).action;
    if (asked == ProgramArguments::Action::Help) {
        std::fputs(ProgramHelpText(), stdout);
        return 0;
    }
    if (asked == ProgramArguments::Action::Version) {
        std::fputs("quavern " QUAVERN_VERSION "\n", stdout);
        return 0;
    }

    KeepFreedMemoryForReuse();
    CDisplayPage::SetEngineSwitches();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quavern"));
    QApplication::setApplicationVersion(QStringLiteral(QUAVERN_VERSION));
    // Qt has taken its own options (-platform, -style ...) out by now.
    const ProgramArguments arguments = ParseProgramArguments(QApplication::arguments().mid(1));
    if (arguments.action == ProgramArguments::Action::UsageError) {
        std::fprintf(stderr, "quavern: %s\nTry 'quavern --help'.\n", qPrintable(arguments.error));
        return 2;
    }

    CQtMessageSink sink;
    SetMessageSink(&sink);
    int status = 1;
    {
        CQuavernApp quavern(LocateProgramFolders(
            QApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
        CQuitSignals quitSignals;
        QObject::connect(&quitSignals, &CQuitSignals::QuitAsked, &application, [&quavern] {
            if (CMainFrame* frame = quavern.GetMainWnd())
                frame->CloseWithoutPrompts();
            QApplication::quit();
        });
        if (quavern.InitInstance(arguments.songs))
            status = QApplication::exec();
    }
    SetMessageSink(nullptr);
    return status;
}
