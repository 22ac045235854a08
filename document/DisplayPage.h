#pragma once

#include <QWebEnginePage>

/// The page of the view. The view shows one page at a time and keeps no
/// history: the display file of an earlier page may be gone, so Back and
/// Forward, by mouse buttons, keys or the context menu, go nowhere instead of
/// replacing the song by an error page.
class CDisplayPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDisplayPage)

public:
    explicit CDisplayPage(QObject* parent = nullptr);
    ~CDisplayPage() override;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};
