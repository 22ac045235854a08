#include "document/QuavernView.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QUrl>

#include "base/Messages.h"
#include "base/SettingsStore.h"
#include "document/ContentSwap.h"
#include "document/DisplayPage.h"
#include "document/QuavernDoc.h"
#include "document/StartPage.h"
#include "render/Highlight.h"

namespace {

constexpr const char* kZoomKey = "ZOOM";
// The steps of a browser's zoom, in percent; 100 is the page's own size.
constexpr int kZoomSteps[] = {25, 33, 50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400, 500};

int ZoomPercentOf(double factor) {
    return qRound(factor * 100.0);
}

} // namespace

CQuavernView::CQuavernView(CQuavernDoc* document, ProgramFolders folders, QWidget* parent)
    : QWebEngineView(parent), m_pDocument(document), m_folders(std::move(folders)) {
    m_pPage = new CDisplayPage(this);
    setPage(m_pPage);
    connect(this, &QWebEngineView::loadFinished, this, &CQuavernView::OnDocumentComplete);
    connect(this, &QWebEngineView::titleChanged, this, &CQuavernView::OnTitleChange);
    if (m_pDocument)
        connect(m_pDocument, &CQuavernDoc::DisplayWritten, this, &CQuavernView::OnDisplayWritten);
}

CQuavernView::~CQuavernView() {
    *m_alive = false;
    // The page goes first, while the view that shows it is whole: torn down
    // later, from under a view already half destroyed, it calls into parts of
    // the view that are gone. Nothing it sends on its way reaches this view.
    disconnect(this, nullptr, this, nullptr);
    delete m_pPage;
    m_pPage = nullptr;
}

void CQuavernView::OnInitialUpdate() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->LoadSettings();
    const int zoom = GetProfileStore().GetInt(kSettingsSection, kZoomKey, 100);
    setZoomFactor(std::clamp(zoom, kZoomSteps[0], *std::rbegin(kZoomSteps)) / 100.0);
    m_pDocument->SetPicturePrefix(PicturePrefixFor(PathBytes(m_folders.data)));
    m_pDocument->SetDrawnPicturesFolder(QDir(CacheFolder()).filePath(QStringLiteral("Pics")));
    const QString startPath = StartPagePathIn(m_folders.user);
    if (startPath.isEmpty())
        return;
    CopyStartPageOnFirstUse(QDir(m_folders.data).filePath(QLatin1String(kStartFileName)), startPath);
    m_strStartPath = startPath;
    // A folder that cannot take the display file still shows the start page
    // as the song: no page will load, the commands stay usable and report the
    // file again.
    if (!m_pDocument->ShowNewPage(ReadStartPage(m_strStartPath, false), true))
        m_bReady = true;
}

void CQuavernView::OnDisplayWritten(const QString& path, bool newSong) {
    // The page reads the song's folder (an HTML song's pictures and style
    // sheets), its own and the chord pictures, and nothing else.
    QStringList folders = {QFileInfo(path).absolutePath(), PicturesFolder()};
    if (!m_pDocument->DrawnPicturesFolder().isEmpty())
        folders.append(m_pDocument->DrawnPicturesFolder());
    if (!m_pDocument->FilePath().isEmpty())
        folders.append(QFileInfo(m_pDocument->FilePath()).absolutePath());
    m_pPage->SetReadableFolders(folders);
    ++m_nPagesAsked;
    // The same song in another form replaces the content of the page shown
    // where it can: the pictures, scripts and layout stay warm.
    if (!newSong && m_bReady && m_bPageShown && TrySwapContent(path))
        return;
    LoadPage(path, newSong);
}

void CQuavernView::LoadPage(const QString& path, bool newSong) {
    // A new song is shown from its top left; the same song in another form
    // where the user was, also when it is asked for while a page still
    // loads: the place to go back to is then the one stored before that load.
    if (newSong) {
        // Steps pressed for the song before go with it.
        m_nPendingShift.reset();
        m_nScrollTop = 0;
        m_bNewSong = true;
        m_bRestoreScroll = true;
        ++m_nSongsShown;
    } else if (m_bReady || !m_bRestoreScroll) {
        m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    }
    m_bReady = false;
    // The browser puts a page loaded again at the same address back where it
    // was, sometimes after the page has loaded: each song gets an address of
    // its own (the query is no part of the file's name), so only pages of the
    // same song keep their place.
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("song=%1").arg(m_nSongsShown));
    load(url);
}

bool CQuavernView::TrySwapContent(const QString& path) {
    // A page whose own scripts or load handlers shape it, or a page in parts,
    // must be loaded to come out as a load would make it.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (!CanSwapContent(bytes, m_pDocument->Working().text))
        return false;
    m_bReady = false;
    const int asked = m_nPagesAsked;
    // The page answers pending scripts when it is destroyed, as the view
    // goes: the token says whether the view still lives.
    m_pPage->RunProgramScript(SwapContentScript(bytes),
                              [self = this, alive = m_alive, path, asked](const QVariant& swapped) {
                                  // Gone, or a newer page was asked for meanwhile: that one is shown.
                                  if (!*alive || asked != self->m_nPagesAsked)
                                      return;
                                  if (swapped.toBool()) {
                                      self->m_bReady = true;
                                      self->OnPageReady();
                                      return;
                                  }
                                  self->m_bReady = true;
                                  self->LoadPage(path, false);
                              });
    return true;
}

void CQuavernView::OnDocumentComplete(bool) {
    m_bPageShown = true;
    if (m_bRestoreScroll) {
        RestoreScrollPosition(m_nScrollTop, m_bNewSong);
        m_bRestoreScroll = false;
        m_bNewSong = false;
    }
    m_bReady = true;
    OnTitleChange();
    OnPageReady();
}

void CQuavernView::OnPageReady() {
    // A page for the steps counted meanwhile is asked for at once: the page
    // shown catches up with the last step, not each one in turn.
    if (!ApplyPendingShift())
        Q_EMIT PageLoaded();
}

void CQuavernView::OnTitleChange() {
    // The frame shows the song's path, not the page's title.
    if (m_pDocument)
        m_pDocument->SetTitle(m_pDocument->FilePath());
}

bool CQuavernView::StoreScrollPosition(int& top) const {
    if (!m_bPageShown)
        return false;
    top = qRound(page()->scrollPosition().y());
    return true;
}

void CQuavernView::RestoreScrollPosition(int top, bool left) {
    m_pPage->RunProgramScript(left ? QStringLiteral("window.scrollTo(0, %1);").arg(top)
                                   : QStringLiteral("window.scrollTo(window.scrollX, %1);").arg(top));
}

void CQuavernView::OnZoomIn() {
    const int now = ZoomPercentOf(zoomFactor());
    const int* next = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), now);
    SetZoomPercent(next != std::end(kZoomSteps) ? *next : now);
}

void CQuavernView::OnZoomOut() {
    const int now = ZoomPercentOf(zoomFactor());
    const int* next = std::lower_bound(std::begin(kZoomSteps), std::end(kZoomSteps), now);
    SetZoomPercent(next != std::begin(kZoomSteps) ? next[-1] : now);
}

void CQuavernView::OnZoomActual() {
    SetZoomPercent(100);
}

void CQuavernView::SetZoomPercent(int percent) {
    setZoomFactor(percent / 100.0);
    GetProfileStore().WriteInt(kSettingsSection, kZoomKey, percent);
}
