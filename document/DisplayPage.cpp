#include "document/DisplayPage.h"

#include <QDesktopServices>
#include <QFile>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

#include "document/PageGuard.h"

namespace {

// A profile with no storage name keeps cookies, cache and storage in memory only.
QWebEngineProfile* NewSongProfile() {
    auto* profile = new QWebEngineProfile();
    profile->setSpellCheckEnabled(false);
    return profile;
}

void Restrict(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    // LocalContentCanAccessFileUrls stays on: without it the page shows none
    // of the chord pictures, which sit in another folder than the page. What
    // a page may read is the guard's to decide.
    for (const S::WebAttribute attribute :
         {S::LocalContentCanAccessRemoteUrls, S::JavascriptCanOpenWindows, S::JavascriptCanAccessClipboard,
          S::JavascriptCanPaste, S::PluginsEnabled, S::PdfViewerEnabled, S::AllowRunningInsecureContent,
          S::AllowGeolocationOnInsecureOrigins, S::ScreenCaptureEnabled, S::DnsPrefetchEnabled,
          S::HyperlinkAuditingEnabled, S::NavigateOnDropEnabled, S::AutoLoadIconsForPage,
          S::AllowWindowActivationFromJavaScript, S::FullScreenSupportEnabled, S::WebGLEnabled})
        settings->setAttribute(attribute, false);
    settings->setAttribute(S::WebRTCPublicInterfacesOnly, true);
    // A click on a mail link reaches acceptNavigationRequest only under this
    // policy; no other scheme gets past it.
    settings->setUnknownUrlSchemePolicy(S::AllowUnknownUrlSchemesFromUserInteraction);
}

/// The page behind a link that asks for a window of its own: it hands the
/// first address it is sent to to the display page, and goes.
class CLinkCatcher final : public QWebEnginePage {
public:
    CLinkCatcher(QWebEngineProfile* profile, CDisplayPage* opener)
        : QWebEnginePage(profile, opener), m_pOpener(opener) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
        if (type == NavigationTypeLinkClicked)
            m_pOpener->OpenLinkOnDesktop(url);
        deleteLater();
        return false;
    }

private:
    CDisplayPage* m_pOpener;
};

bool IsWebOrMailAddress(const QUrl& url) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto");
}

// Whether the page's file holds the address as it was written, so that it is
// no address a script made up (from what it read in the song's folder).
bool IsWrittenIn(const QString& pagePath, const QUrl& url) {
    QFile file(pagePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray page = file.readAll();
    page.replace("&amp;", "&");
    const QString text = url.toString();
    return page.contains(url.toEncoded()) || page.contains(text.toUtf8()) || page.contains(text.toLatin1());
}

} // namespace

CDisplayPage::CDisplayPage(QObject* parent) : QWebEnginePage(NewSongProfile(), parent) {
    // The page goes before its profile: the profile is the page's child, so
    // it is destroyed after the page has let go of it.
    profile()->setParent(this);
    m_pGuard = new CPageGuard(this);
    profile()->setUrlRequestInterceptor(m_pGuard);
    m_clock.start();
    Restrict(settings());
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

CDisplayPage::~CDisplayPage() = default;

void CDisplayPage::NoteUserAction() {
    ForgetOldUserActions();
    m_userActions.append(m_clock.elapsed());
}

void CDisplayPage::ForgetOldUserActions() {
    while (!m_userActions.isEmpty() && m_clock.elapsed() - m_userActions.front() > kUserActionMs)
        m_userActions.removeFirst();
}

void CDisplayPage::OpenLinkOnDesktop(const QUrl& url) {
    // The browser reports a script's navigation as a followed link too: one
    // address for each click or key of the user's, soon after it, may leave.
    ForgetOldUserActions();
    if (m_userActions.isEmpty())
        return;
    m_userActions.removeFirst();
    if (IsWebOrMailAddress(url) && IsWrittenIn(this->url().toLocalFile(), url))
        QDesktopServices::openUrl(url);
}

void CDisplayPage::SetReadableFolders(const QStringList& folders) {
    m_pGuard->SetReadableFolders(folders);
}

bool CDisplayPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeLinkClicked) {
        // (A link within the song moves through it without asking.)
        OpenLinkOnDesktop(url);
        return false;
    }
    // The view loads its pages as typed addresses, which no page can make.
    // A frame inside the song loads what the guard lets through.
    if (isMainFrame)
        return type == NavigationTypeTyped;
    return type != NavigationTypeBackForward && type != NavigationTypeFormSubmitted;
}

QWebEnginePage* CDisplayPage::createWindow(WebWindowType) {
    return new CLinkCatcher(profile(), this);
}
