#include "document/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

#include "document/QuavernDoc.h"

QString ProgramFolders::PicturesFolder() const {
    return QDir(data).filePath(QStringLiteral("Pics"));
}

ProgramFolders ProgramFoldersIn(const QString& folder) {
    const QString absolute = QDir(folder).absolutePath();
    return {absolute, absolute};
}

ProgramFolders LocateProgramFolders(const QString& executableFolder, const QString& userDataHome) {
    const QDir executable(executableFolder);
    if (QFileInfo::exists(executable.filePath(QLatin1String(kStartFileName))))
        return ProgramFoldersIn(executableFolder);
    // QUAVERN_INSTALLED_DATA_FROM_BIN is the installed data folder seen from
    // the installed executable's folder, as the build's install directories
    // place them ("../share/quavern").
    return {QDir::cleanPath(executable.absoluteFilePath(QStringLiteral(QUAVERN_INSTALLED_DATA_FROM_BIN))),
            QDir::cleanPath(QDir(userDataHome).absoluteFilePath(QStringLiteral("quavern")))};
}
