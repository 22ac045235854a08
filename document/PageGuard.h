#pragma once

#include <QStringList>
#include <QWebEngineUrlRequestInterceptor>

/// Decides every request of the page: files inside the readable folders (and
/// their subfolders, after links are resolved) and data the page made itself
/// (data:, blob:) pass; the network, every other file and every other scheme
/// are blocked.
class CPageGuard final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPageGuard)

public:
    explicit CPageGuard(QObject* parent = nullptr);
    ~CPageGuard() override;

    void SetReadableFolders(const QStringList& folders);
    bool Allows(const QUrl& url) const;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    /// Canonical paths, each ending in "/".
    QStringList m_folders;
};
