#include <QApplication>
#include <QStandardPaths>

#include "app/QtMessageSink.h"
#include "app/QuavernApp.h"
#include "document/ProgramFolders.h"
#include "platform/MemoryTuning.h"

int main(int argc, char* argv[]) {
    KeepFreedMemoryForReuse();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quavern"));
    QApplication::setApplicationVersion(QStringLiteral("3.0"));

    CQtMessageSink sink;
    SetMessageSink(&sink);
    int status = 1;
    {
        CQuavernApp quavern(LocateProgramFolders(
            QApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
        if (quavern.InitInstance(QApplication::arguments().mid(1)))
            status = QApplication::exec();
    }
    SetMessageSink(nullptr);
    return status;
}
