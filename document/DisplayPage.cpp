#include "document/DisplayPage.h"

#include <QDesktopServices>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "document/PageGuard.h"
#include "document/SongPageScript.h"
#include "render/PartedPageScript.h"

namespace {

// A profile with no storage name keeps cookies, cache and storage in memory only.
QWebEngineProfile* NewSongProfile() {
    CDisplayPage::SetEngineSwitches();
    auto* profile = new QWebEngineProfile();
    profile->setSpellCheckEnabled(false);
    return profile;
}

void Restrict(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    // The song's own scripts, in every frame of its page, inline, in
    // handlers, javascript: addresses and SVG alike.
    settings->setAttribute(S::JavascriptEnabled, false);
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

// The program's work in every page it shows, from its own world.
void AddProgramScript(QWebEngineScriptCollection& scripts, const char* name, const char* source) {
    QWebEngineScript script;
    script.setName(QLatin1String(name));
    script.setSourceCode(QString::fromUtf8(source));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    scripts.insert(script);
}

} // namespace

CDisplayPage::CDisplayPage(QObject* parent) : QWebEnginePage(NewSongProfile(), parent) {
    // The page goes before its profile: the profile is the page's child, so
    // it is destroyed after the page has let go of it.
    profile()->setParent(this);
    m_pGuard = new CPageGuard(this);
    profile()->setUrlRequestInterceptor(m_pGuard);
    Restrict(settings());
    AddProgramScript(scripts(), "quavern-pop-ups", kSongPageScript);
    AddProgramScript(scripts(), "quavern-parts", kPartedPageScript);
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

CDisplayPage::~CDisplayPage() = default;

void CDisplayPage::SetEngineSwitches() {
    // WebRTC would send by UDP to any address, and by TCP around the request
    // guard: UDP only through a proxy, and every proxied connection, the
    // loopback's included, to a proxy that is not there. The request guard
    // blocks every other request before it would reach that proxy.
    static const QByteArray kSwitches = " --force-webrtc-ip-handling-policy=disable_non_proxied_udp"
                                        " --proxy-server=socks5://127.0.0.1:9 --proxy-bypass-list=<-loopback> "
                                        "--disable-quic --disable-blink-features=WebTransport";
    // The environment's own switches stay (the tests' --disable-gpu); ours
    // come last, where the engine takes them over any of the same name.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains(kSwitches))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + kSwitches);
}

void CDisplayPage::OpenLinkOnDesktop(const QUrl& url) {
    // No script of the page's runs, so a followed link is one the user
    // clicked (or took with the keyboard), its address the one the song
    // wrote, made plain ASCII.
    const QUrl address = QUrl::fromEncoded(url.toEncoded(), QUrl::StrictMode);
    if (address.isValid() && IsWebOrMailAddress(address))
        QDesktopServices::openUrl(address);
}

void CDisplayPage::RunProgramScript(const QString& script, const std::function<void(const QVariant&)>& result) {
    runJavaScript(script, QWebEngineScript::ApplicationWorld, result);
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
