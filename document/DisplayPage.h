#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QWebEnginePage>

class CPageGuard;

/// The page of the view, which shows songs from the internet and so trusts
/// none of them. It lives in a profile of its own that keeps nothing between
/// runs and lets a page read nothing but the folders the view names (the
/// song's, the display file's and the chord pictures'): no network, no other
/// file. Scripts run, for the pop-ups and the songs' own layouts, but open no
/// windows, touch no clipboard and get no device or permission.
///
/// The view shows one page at a time and keeps no history: the display file
/// of an earlier page may be gone, so the page never navigates but where the
/// view loads it. Back and Forward, reloads, form posts, refreshes and
/// script navigation go nowhere; a link the user clicks to a web or mail
/// address the song holds opens in the user's own browser or mail program.
class CDisplayPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDisplayPage)

public:
    explicit CDisplayPage(QObject* parent = nullptr);
    ~CDisplayPage() override;

    /// The folders, with their subfolders, that the page may read from.
    void SetReadableFolders(const QStringList& folders);
    /// The user has clicked or pressed a key in the page.
    void NoteUserAction();
    /// Opens a followed link in the user's own browser or mail program: a
    /// web or mail address the song holds as written, and only just after
    /// the user clicked or pressed a key. Any other goes nowhere.
    void OpenLinkOnDesktop(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    /// A link that asks for a window of its own is caught by a page that
    /// only hands it to the desktop.
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    void ForgetOldUserActions();

    /// How long after a click or key its link may still arrive.
    static constexpr int kUserActionMs = 2000;

    CPageGuard* m_pGuard = nullptr;
    QElapsedTimer m_clock;
    /// When the user's clicks and keys not yet answered by a link came.
    QList<qint64> m_userActions;
};
