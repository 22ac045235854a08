#include "document/PageGuard.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// The path a file is really read from: links resolved, so a link inside a
// readable folder cannot lead out of it. Empty for a file that is not there.
QString RealPath(const QString& path) {
    return QFileInfo(QDir::cleanPath(path)).canonicalFilePath();
}

} // namespace

CPageGuard::CPageGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

CPageGuard::~CPageGuard() = default;

void CPageGuard::SetReadableFolders(const QStringList& folders) {
    m_folders.clear();
    for (const QString& folder : folders) {
        QString real = RealPath(folder);
        if (real.isEmpty())
            continue;
        if (!real.endsWith(QLatin1Char('/')))
            real += QLatin1Char('/');
        if (!m_folders.contains(real))
            m_folders.append(real);
    }
}

bool CPageGuard::Allows(const QUrl& url) const {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("data") || scheme == QLatin1String("blob"))
        return true;
    if (!url.isLocalFile() || !url.host().isEmpty())
        return false;
    // The engine opens the path's bytes as they are, percent-decoded: they
    // are checked as such. Bytes that are no UTF-8 would be checked as other
    // letters than the file opened, so they are refused.
    const QByteArray raw = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const QString path = QString::fromUtf8(raw);
    if (raw.contains('\0') || path.toUtf8() != raw)
        return false;
    const QString real = RealPath(path);
    if (real.isEmpty())
        return false;
    for (const QString& folder : m_folders) {
        if (real.startsWith(folder) || real + QLatin1Char('/') == folder)
            return true;
    }
    return false;
}

void CPageGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!Allows(info.requestUrl()))
        info.block(true);
}
