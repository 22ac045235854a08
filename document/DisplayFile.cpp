#include "document/DisplayFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include "base/FileWriter.h"
#include "base/Messages.h"

namespace {

// More running programs than this in one folder take the cache folder.
constexpr int kMaxNames = 64;

QString NameOf(int n) {
    return n == 1 ? QString::fromLatin1(kDisplayFileName) : QStringLiteral("QuavernFile-%1.htm").arg(n);
}

} // namespace

QString CacheFolder() {
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/quavern");
}

bool IsDisplayFileName(const QString& path) {
    static const QRegularExpression kName(QStringLiteral("^QuavernFile(-[0-9]+)?\\.htm$"));
    return kName.match(QFileInfo(path).fileName()).hasMatch();
}

bool WriteDisplayFile(const QString& path, const std::string& text, bool quiet) {
    // Replaced in one step: the view never loads half a page, and a write
    // that fails (a full disk) leaves the last whole page, nothing cut short.
    const FileWriteResult written = WriteWholeFile(QFile::encodeName(path).toStdString(), text, WriteTarget::OwnFile);
    if (!written && !quiet)
        ShowMessage("The display file " + path.toStdString() + " could not be written : " + written.reason);
    return written.ok;
}

CDisplayFile::CDisplayFile() = default;

CDisplayFile::~CDisplayFile() = default;

bool CDisplayFile::Write(const std::string& text) {
    return WriteDisplayFile(m_strPath, text);
}

bool CDisplayFile::WriteFor(const QString& folder, const std::string& text) {
    const QString songFolder = QDir(folder).absolutePath();
    if (!m_strPath.isEmpty() && songFolder == m_strSongFolder)
        return Write(text);
    if (Claim(songFolder, text, true)) {
        m_bInCache = false;
    } else {
        // The folder takes no file (read-only, a CD, the kernel's): the page
        // goes to the cache, and only the song's own relative links suffer.
        const QString cache = CacheFolder();
        QDir().mkpath(cache);
        if (!Claim(cache, text, false))
            return false;
        m_bInCache = true;
    }
    m_strSongFolder = songFolder;
    return true;
}

bool CDisplayFile::Claim(const QString& folder, const std::string& text, bool quiet) {
    const QDir dir(folder);
    for (int n = 1; n <= kMaxNames; ++n) {
        const QString path = dir.absoluteFilePath(NameOf(n));
        if (path == m_strPath)
            return Write(text);
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        // Held as long as the song is shown; only a dead holder's lock is stale.
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue; // another running program shows its page under this name
            // No lock can be made here: the folder takes no file. Trying the
            // write gives the user the reason.
            if (!quiet && WriteDisplayFile(path, text))
                QFile::remove(path);
            return false;
        }
        if (!WriteDisplayFile(path, text, quiet))
            return false; // the lock goes with it
        Remove();
        m_strPath = path;
        m_lock = std::move(lock);
        return true;
    }
    return false;
}

void CDisplayFile::Remove() {
    // Before the first display file exists there is nothing of ours to delete.
    if (!m_strPath.isEmpty())
        QFile::remove(m_strPath);
    m_lock.reset(); // unlocks, removing the lock file
    m_strPath.clear();
    m_strSongFolder.clear();
}
