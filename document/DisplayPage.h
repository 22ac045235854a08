#pragma once

#include <functional>

#include <QStringList>
#include <QVariant>
#include <QWebEnginePage>

class CPageGuard;

/// The page of the view, which shows songs from the internet and so trusts
/// none of them. It lives in a profile of its own that keeps nothing between
/// runs and lets a page read nothing but the folders the view names (the
/// song's, the display file's and the chord pictures'): no network, no other
/// file. A song's page runs none of its own scripts, in no frame: what the
/// program does in it (the chord pop-ups, the page in parts, the content
/// swap, the scroll place) runs in a world of the program's own, which the
/// page cannot reach. It shows no dialog, touches no clipboard and gets no
/// device or permission.
///
/// The view shows one page at a time and keeps no history: the display file
/// of an earlier page may be gone, so the page never navigates but where the
/// view loads it. Back and Forward, reloads, form posts and refreshes go
/// nowhere; a web or mail link the user clicks opens in the user's own
/// browser or mail program.
class CDisplayPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDisplayPage)

public:
    explicit CDisplayPage(QObject* parent = nullptr);
    ~CDisplayPage() override;

    /// The folders, with their subfolders, that the page may read from.
    void SetReadableFolders(const QStringList& folders);
    /// Runs one of the program's scripts in the program's own world of the
    /// page; the callback gets its result.
    void RunProgramScript(const QString& script, const std::function<void(const QVariant&)>& result = {});
    /// Opens a link the user clicked in the user's own browser or mail
    /// program: web and mail addresses only, any other goes nowhere.
    void OpenLinkOnDesktop(const QUrl& url);

    /// The switches the program gives its browser engine, whatever the
    /// environment asks: WebRTC keeps off the network but through a proxy
    /// that is not there, and no QUIC or WebTransport, so that a page would
    /// send nothing past the request guard even if a script of its ran.
    /// Takes effect when called before the engine starts.
    static void SetEngineSwitches();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    /// A link that asks for a window of its own is caught by a page that
    /// only hands it to the desktop.
    QWebEnginePage* createWindow(WebWindowType type) override;
    /// A page shows no dialog of its own.
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }

private:
    CPageGuard* m_pGuard = nullptr;
};
