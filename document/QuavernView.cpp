#include "document/QuavernView.h"

#include <cstdint>
#include <string>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSlider>
#include <QUrl>

#include "dialogs/ControlIds.h"
#include "app/PercentProgressCtrl.h"
#include "chords/ChordCatalog.h"
#include "chords/Messages.h"
#include "dialogs/HighlightDlg.h"
#include "dialogs/SetChordLevels.h"
#include "document/QuavernDoc.h"
#include "document/UserDialogs.h"
#include "render/Highlight.h"

namespace {

constexpr std::size_t kMaxPathLength = 1000;
constexpr const char* kPathTooLongMessage =
    "The path of the program file is to long. Try to place the program in another shorter path.";
constexpr const char* kNoDiskSpaceMessage = "There is not enough disk space. Please free more disk space.";

// Paths reach the core as the bytes the file system knows them by.
std::string PathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Writes the welcome text in place of a start page that cannot be read.
void RecreateStartPage(const QString& path, const char* welcome) {
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(welcome);
}

// Any file of this name is where the display page of its folder goes: it is
// rewritten by every command and deleted at exit, so it never holds a song.
bool IsDisplayFileName(const QString& path) {
    return QFileInfo(path).fileName() == QLatin1String(kDisplayFileName);
}

} // namespace

CQuavernView::CQuavernView(CQuavernDoc* document, QWidget* parent)
    : QWebEngineView(parent), m_strHeader(kTextSongHeader), m_strFooter(kTextSongFooter), m_pDocument(document) {
    if (m_pDocument)
        m_pDocument->AddView(this);
    connect(this, &QWebEngineView::loadFinished, this, &CQuavernView::OnDocumentComplete);
    connect(this, &QWebEngineView::titleChanged, this, &CQuavernView::OnTitleChange);
}

CQuavernView::~CQuavernView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CQuavernView::OnInitialUpdate() {
    AttachGauges();
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->LoadSettings();
    Q_EMIT HighlightedChanged(m_bHighlighted != 0);

    const QDir current = QDir::current();
    const std::string pictures = PathBytes(current.absoluteFilePath(QStringLiteral("Pics")) + QLatin1Char('/'));
    g_strPicturePath = pictures.size() <= kMaxPathLength ? pictures : std::string();

    const QString startPath = current.absoluteFilePath(QLatin1String(kStartFileName));
    if (PathBytes(startPath).size() > kMaxPathLength) {
        ShowMessage(kPathTooLongMessage);
        return;
    }
    m_strStartPath = startPath;
    RecreateStartPage(m_strStartPath, kWelcomeText);
    std::string text;
    if (!ReadWholeFile(PathBytes(m_strStartPath), text)) {
        ShowMessage(kNoDiskSpaceMessage);
        text.clear();
    }
    m_strFilePath = m_strStartPath;
    m_strFileType = QStringLiteral("HTM");
    const SongPage page = BuildStartPage(PathBytes(m_strFilePath), text);
    m_added = page.added;
    m_pDocument->m_loaded.Detect(page.text);
    m_pDocument->m_working.Detect(page.text);
    if (CreateDisplayFile())
        WriteDisplay();
    else
        m_bReady = true; // no page will load; the commands stay usable and report the file again
    UpdateGauges();
}

void CQuavernView::OnUpdate() {
    load(QUrl::fromLocalFile(m_strDisplayPath));
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
        m_pDocument->SetTitle(m_strFilePath);
}

bool CQuavernView::WriteDisplay() {
    return m_bHighlighted ? m_pDocument->WriteHighlightedDisplay() : m_pDocument->WritePlainDisplay();
}

void CQuavernView::OnFileOpen() {
    if (m_nSavedShift != m_nShift) {
        const QMessageBox::StandardButton answer = UserDialogs().AskSaveFile(this);
        if (answer == QMessageBox::Cancel)
            return;
        // A save that failed keeps the unsaved song on screen.
        if (answer == QMessageBox::Yes && !OnFileSave())
            return;
    }
    if (!m_strLastDirectory.isEmpty())
        QDir::setCurrent(m_strLastDirectory);
    const QString chosen = UserDialogs().GetOpenFileName(this, QDir::currentPath(), OpenFileFilter());
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    const QString path = info.absoluteFilePath();
    const std::string pathBytes = PathBytes(path);
    const std::string type = FileTypeOf(pathBytes);
    // The display file goes into the song's folder, which becomes the current
    // one once the song is shown; a song refused leaves the folder as it was.
    const QString displayPath = QDir(info.absolutePath()).absoluteFilePath(QLatin1String(kDisplayFileName));

    if (IsDisplayFileName(path)) {
        ShowMessage("The file " + path.toStdString() +
                    " is the display file of Quavern 3.0: it is rewritten for every page shown and deleted at exit. "
                    "Please copy it under another name to open it.");
        return;
    }
    // Judged from the file's size, before a byte of it is read.
    if (info.isFile() && static_cast<std::uint64_t>(info.size()) > kMaxSongBytes) {
        ShowMessage("The following file : " + path.toStdString() + " is too large to open (" +
                    std::to_string(info.size()) + " bytes; the limit is " + std::to_string(kMaxSongBytes) + " bytes).");
        return;
    }
    // A device or a pipe would never end, or never start: only regular files are songs.
    std::string bytes;
    if ((info.exists() && !info.isFile()) || !ReadWholeFile(pathBytes, bytes)) {
        ShowMessage("The following file : " + path.toStdString() + " could not be opened : ");
        return;
    }
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    const SongPage page = BuildSongPage(pathBytes, type, bytes);
    // The new display file is written before anything changes, so a folder
    // that cannot take it leaves the current song as it was.
    if (!CQuavernDoc::WriteDisplayFile(displayPath, page.text))
        return;
    QDir::setCurrent(info.absolutePath());
    if (displayPath != m_strDisplayPath)
        DeleteDisplayFile();
    m_strDisplayPath = displayPath;

    m_strFilePath = path;
    m_strFileType = QString::fromStdString(type);
    m_added = page.added;
    m_pDocument->m_loaded.Detect(page.text);
    m_pDocument->m_working.Detect(page.text);

    // The working song is the opened one at shift 0 already, so the page is
    // rendered once, below: a large song would otherwise be rendered twice.
    m_nShift = 0;
    m_nSavedShift = 0;
    MoveSlider(0);

    m_strLastDirectory = info.absolutePath();
    if (!m_strLastDirectory.endsWith(QLatin1Char('/')))
        m_strLastDirectory += QLatin1Char('/');
    m_pDocument->SaveSettings();
    m_nScrollTop = 0;
    m_bRestoreScroll = true;
    if (WriteDisplay())
        m_bReady = false;
    UpdateGauges();
}

bool CQuavernView::WriteSongFile(const QString& path, const std::string& text) {
    // Written beside the target and renamed over it: the song on disk is
    // either the old one or the new one, never half of each.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        ok = file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
        if (!ok)
            file.cancelWriting();
        ok = file.commit() && ok;
    }
    if (!ok) {
        ShowMessage("The following file : " + path.toStdString() +
                    " could not be saved : " + file.errorString().toStdString());
    }
    return ok;
}

bool CQuavernView::OnFileSave() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return false;
    }
    const std::string text = StripAddedText(m_pDocument->m_working.text, m_added);
    if (!WriteSongFile(m_strFilePath, text))
        return false;
    m_nSavedShift = m_nShift;
    return true;
}

void CQuavernView::OnFileSaveAs() {
    const bool textSong = m_strFileType == QLatin1String("TXT");
    const QString chosen = UserDialogs().GetSaveFileName(this, QDir::currentPath(), SaveFileFilter(textSong));
    if (chosen.isEmpty())
        return;
    QString path = QFileInfo(chosen).absoluteFilePath();
    std::string type = FileTypeOf(PathBytes(path));
    // A text song is always saved as text, every other song as HTML.
    if (textSong) {
        if (type != "TXT") {
            path += QStringLiteral(".txt");
            type = "TXT";
        }
    } else if (!IsHtmlType(type)) {
        path += QStringLiteral(".html");
        type = "HTML";
    }
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    if (IsDisplayFileName(path)) {
        ShowMessage("The name " + std::string(kDisplayFileName) +
                    " is taken by the display file of Quavern 3.0, which is rewritten for every page shown and "
                    "deleted at exit. Please save the song under another name.");
        return;
    }
    const std::string text = StripAddedText(m_pDocument->m_working.text, m_added);
    if (!WriteSongFile(path, text))
        return;
    m_strFilePath = path;
    m_strFileType = QString::fromStdString(type);
    m_nSavedShift = m_nShift;
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    WriteDisplay();
}

void CQuavernView::OnHelpFile() {
    if (m_strStartPath.isEmpty())
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    const QString folder = QFileInfo(m_strStartPath).absolutePath();
    RecreateStartPage(m_strStartPath, kWelcomeTextAtHelp);
    std::string text;
    if (!ReadWholeFile(PathBytes(m_strStartPath), text)) {
        ShowMessage(kNoDiskSpaceMessage);
        text.clear();
    }
    // As for Open: a start folder that cannot take the display file leaves
    // the song on screen as it was.
    const QString displayPath = QDir(folder).absoluteFilePath(QLatin1String(kDisplayFileName));
    if (!CQuavernDoc::WriteDisplayFile(displayPath, text))
        return;
    QDir::setCurrent(folder);
    if (displayPath != m_strDisplayPath)
        DeleteDisplayFile();
    m_strDisplayPath = displayPath;

    m_strFilePath = m_strStartPath;
    m_strFileType = QStringLiteral("HTM");
    m_added = AddedText(); // the help page gets no title line
    m_pDocument->m_loaded.Detect(text);
    m_pDocument->m_working.Detect(text);
    m_nShift = 0;
    SetShift(0);
    MoveSlider(0);
    m_nScrollTop = 0;
    m_bRestoreScroll = true;
    WriteDisplay();
    UpdateGauges();
}

bool CQuavernView::CreateDisplayFile() {
    m_strDisplayPath = QDir::current().absoluteFilePath(QLatin1String(kDisplayFileName));
    return m_pDocument && CQuavernDoc::WriteDisplayFile(m_strDisplayPath, m_pDocument->m_loaded.text);
}

void CQuavernView::DeleteDisplayFile() {
    // Before the first display file exists there is nothing of ours to delete.
    if (!m_strDisplayPath.isEmpty())
        QFile::remove(m_strDisplayPath);
}

void CQuavernView::OnTransposeUp() {
    if (!m_bReady)
        return;
    // +6 and -6 are the same transposition: going up from +6 gives -5.
    ApplyShift(m_nShift == 6 ? -5 : m_nShift + 1);
}

void CQuavernView::OnTransposeDown() {
    if (!m_bReady)
        return;
    ApplyShift(m_nShift == -6 ? 5 : m_nShift - 1);
}

void CQuavernView::SetShift(int shift) {
    if (!m_bReady)
        return;
    ApplyShift(shift);
}

void CQuavernView::ApplyShift(int shift) {
    m_nShift = shift;
    MoveSlider(m_nShift);
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    if (m_pDocument->TransposeBy(m_nShift))
        m_bReady = false;
    UpdateGauges();
}

void CQuavernView::OnFindEasiest() {
    if (!m_bReady)
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    bool written = false;
    m_nShift = m_pDocument->FindEasiestShift(&written);
    if (m_nShift > 6)
        m_nShift -= 12;
    MoveSlider(m_nShift);
    if (written)
        m_bReady = false;
    UpdateGauges();
}

void CQuavernView::OnHighlightToggle() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_bHighlighted = m_bHighlighted ? 0 : 1;
    Q_EMIT HighlightedChanged(m_bHighlighted != 0);
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    WriteDisplay();
    m_pDocument->SaveSettings();
}

void CQuavernView::OnHighlightOptions() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    HighlightSettings settings = m_pDocument->m_highlight;
    if (!EditHighlightSettings(settings))
        return;
    m_pDocument->m_highlight = settings;
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    // A plain page does not depend on the settings.
    if (m_bHighlighted)
        m_pDocument->WriteHighlightedDisplay();
    m_pDocument->SaveSettings();
}

void CQuavernView::OnChordLevels() {
    CChordCatalog levels;
    levels.CopyFrom(theChordCatalog);
    if (!EditChordLevels(levels))
        return;
    theChordCatalog.CopyFrom(levels);
    theChordCatalog.SaveLevels();
    m_bRestoreScroll = StoreScrollPosition(m_nScrollTop);
    // The score and the highlighted page follow the new levels at the current shift.
    if (m_pDocument)
        m_pDocument->TransposeBy(m_nShift);
    UpdateGauges();
}

bool CQuavernView::EditChordLevels(CChordCatalog& levels) {
    // The sheet loads the stored levels into its own table, then shows the
    // program's levels, and hands its table back only after OK.
    CSetChordLevels sheet(this);
    sheet.Catalog().CopyFrom(levels);
    if (sheet.exec() != QDialog::Accepted)
        return false;
    levels.CopyFrom(sheet.Catalog());
    return true;
}

bool CQuavernView::EditHighlightSettings(HighlightSettings& settings) {
    CHighlightDlg dialog(settings, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings = dialog.GetSettings();
    return true;
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

void CQuavernView::AttachGauges() {
    QWidget* frame = window();
    m_easinessGauge = frame->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_EASINESS_GAUGE));
    m_hardnessGauge = frame->findChild<CPercentProgressCtrl*>(ObjectNameOf(IDC_HARDNESS_GAUGE));
    if (m_easinessGauge) {
        m_easinessGauge->m_clrStart = QColor(127, 255, 127);
        m_easinessGauge->m_clrEnd = QColor(0, 255, 0);
        m_easinessGauge->m_clrBkgnd = Qt::white;
        m_easinessGauge->m_clrText = Qt::black;
        m_easinessGauge->m_bShowPercent = true;
        m_easinessGauge->SetRange(0, 202);
    }
    if (m_hardnessGauge) {
        m_hardnessGauge->m_clrStart = QColor(255, 127, 127);
        m_hardnessGauge->m_clrEnd = QColor(255, 0, 0);
        m_hardnessGauge->m_clrBkgnd = Qt::white;
        m_hardnessGauge->m_clrText = Qt::black;
        m_hardnessGauge->m_bShowPercent = true;
        m_hardnessGauge->SetRange(0, 202);
    }
}

void CQuavernView::UpdateGauges() {
    if (!m_pDocument)
        return;
    const int score = m_pDocument->m_working.GetScore();
    const int distinct = m_pDocument->m_working.GetDistinctCount();
    // The average level 1..5 of the song's chords mapped to 0..200.
    const int g =
        score == 0 || distinct == 0 ? 0 : static_cast<int>((static_cast<double>(score) / distinct - 1.0) * 50.0);
    if (m_easinessGauge)
        m_easinessGauge->SetPos(201 - g);
    if (m_hardnessGauge)
        m_hardnessGauge->SetPos(g + 1);
}

QSlider* CQuavernView::Slider() const {
    return window()->findChild<QSlider*>(ObjectNameOf(IDC_SHIFT_SLIDER));
}

void CQuavernView::MoveSlider(int shift) {
    if (QSlider* slider = Slider())
        slider->setValue(shift);
}

QPrinter& CQuavernView::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CQuavernView::PrintTo(QPrinter* printer) {
    // The browser prints asynchronously; the printer must live until it is done.
    QEventLoop loop;
    bool printed = false;
    connect(this, &QWebEngineView::printFinished, &loop, [&loop, &printed](bool success) {
        printed = success;
        loop.quit();
    });
    // A page in parts holds only the parts the user has scrolled to; the
    // printer gets all of them.
    page()->runJavaScript(QStringLiteral("if (window.qvShowAll) window.qvShowAll();"),
                          [this, printer](const QVariant&) { print(printer); });
    loop.exec();
    if (!printed)
        ShowMessage("The page could not be printed.");
}

void CQuavernView::OnFilePrint() {
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(&Printer());
}

void CQuavernView::OnFilePrintDirect() {
    PrintTo(&Printer());
}

void CQuavernView::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PrintTo(printer); });
    preview.exec();
}
