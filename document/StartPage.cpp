#include "document/StartPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/Messages.h"
#include "render/SongPage.h"

namespace {

constexpr std::size_t kMaxPathLength = 1000;
constexpr const char* kPathTooLongMessage =
    "The path of the program file is to long. Try to place the program in another shorter path.";
constexpr const char* kNoDiskSpaceMessage = "There is not enough disk space. Please free more disk space.";

// Writes the welcome text in place of a start page that cannot be read.
void RecreateStartPage(const QString& path, const char* welcome) {
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(welcome);
}

} // namespace

QString StartPagePathIn(const QString& folder) {
    const QString path = QDir(folder).absoluteFilePath(QLatin1String(kStartFileName));
    if (PathBytes(path).size() > kMaxPathLength) {
        ShowMessage(kPathTooLongMessage);
        return QString();
    }
    return path;
}

void CopyStartPageOnFirstUse(const QString& shippedPath, const QString& path) {
    const QFileInfo target(path);
    if (target.exists() || target.absoluteFilePath() == QFileInfo(shippedPath).absoluteFilePath())
        return;
    if (QDir().mkpath(target.absolutePath()))
        QFile::copy(shippedPath, path);
}

CQuavernDoc::NewPage ReadStartPage(const QString& path, bool atHelp) {
    RecreateStartPage(path, atHelp ? kWelcomeTextAtHelp : kWelcomeText);
    SongRead read = ReadSongFile(PathBytes(path));
    if (read.status != SongReadStatus::Ok)
        ShowMessage(kNoDiskSpaceMessage);
    std::string text = std::move(read.bytes);
    CQuavernDoc::NewPage page;
    // The help page gets no title line.
    if (atHelp)
        page.page.text = std::move(text);
    else
        page.page = BuildStartPage(PathBytes(path), text);
    page.filePath = path;
    page.fileType = QStringLiteral("HTM");
    page.folder = QFileInfo(path).absolutePath();
    return page;
}
