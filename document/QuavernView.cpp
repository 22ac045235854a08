#include "document/QuavernView.h"

#include <QDir>
#include <QPrinter>
#include <QUrl>

#include "chords/Messages.h"
#include "document/QuavernDoc.h"
#include "document/StartPage.h"
#include "render/Highlight.h"

CQuavernView::CQuavernView(CQuavernDoc* document, QWidget* parent) : QWebEngineView(parent), m_pDocument(document) {
    connect(this, &QWebEngineView::loadFinished, this, &CQuavernView::OnDocumentComplete);
    connect(this, &QWebEngineView::titleChanged, this, &CQuavernView::OnTitleChange);
    if (m_pDocument)
        connect(m_pDocument, &CQuavernDoc::DisplayWritten, this, &CQuavernView::OnDisplayWritten);
}

CQuavernView::~CQuavernView() = default;

void CQuavernView::OnInitialUpdate() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->LoadSettings();
    const QString folder = QDir::currentPath();
    m_pDocument->SetPicturePrefix(PicturePrefixFor(PathBytes(folder)));
    const QString startPath = StartPagePathIn(folder);
    if (startPath.isEmpty())
        return;
    m_strStartPath = startPath;
    // A folder that cannot take the display file still shows the start page
    // as the song: no page will load, the commands stay usable and report the
    // file again.
    if (!m_pDocument->ShowNewPage(ReadStartPage(m_strStartPath, false), true))
        m_bReady = true;
}

void CQuavernView::OnDisplayWritten(const QString& path, bool newSong) {
    // A new song is shown from its top; the same song in another form where the user was.
    if (newSong) {
        m_nScrollTop = 0;
        m_bRestoreScroll = true;
    } else {
        m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    }
    m_bReady = false;
    load(QUrl::fromLocalFile(path));
}

void CQuavernView::OnDocumentComplete(bool) {
    m_bPageShown = true;
    if (m_bRestoreScroll) {
        RestoreScrollPosition(m_nScrollTop);
        m_bRestoreScroll = false;
    }
    m_bReady = true;
    OnTitleChange();
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

void CQuavernView::RestoreScrollPosition(int top) {
    page()->runJavaScript(QStringLiteral("window.scrollTo(window.scrollX, %1);").arg(top));
}
