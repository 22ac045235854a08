#pragma once

#include <memory>
#include <optional>

#include <QString>
#include <QWebEngineView>

#include "document/ProgramFolders.h"

class CDisplayPage;
class CPrintProgress;
class CQuavernDoc;
class QPageLayout;
class QPageRanges;
class QPrinter;

/// The one view of the program: a browser that shows the document's display
/// file, and the commands that act on the song shown. Its code is split by
/// concern: the page itself (QuavernView.cpp), the file commands
/// (ViewFileCommands.cpp), transposition and highlighting
/// (ViewTransposition.cpp) and printing (ViewPrinting.cpp).
///
/// While the browser loads a page the view is not ready, and the commands
/// that would change the song again wait for it by doing nothing.
class CQuavernView final : public QWebEngineView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuavernView)

public:
    /// folders: where the start page and the chord pictures are read from,
    /// and where the start page shown is kept.
    CQuavernView(CQuavernDoc* document, ProgramFolders folders, QWidget* parent = nullptr);
    ~CQuavernView() override;

    CQuavernDoc* GetDocument() const { return m_pDocument; }
    /// Whether the browser has loaded the last page asked for.
    bool IsReady() const { return m_bReady; }

    /// Loads the settings, points the pages at the chord pictures of the
    /// data folder and shows the start page of the user folder, copied from
    /// the data folder on first use. Run once when the view is first shown
    /// and again by New.
    void OnInitialUpdate();
    /// The folder of the chord pictures the pages show.
    QString PicturesFolder() const { return m_folders.PicturesFolder(); }
    /// A fresh document on the start page, after asking about an unsaved transposition as Open does.
    void OnFileNew();

    void OnFileOpen();
    /// Opens the song file as Open does once a file is chosen (a relative
    /// path is taken from the current folder). Returns whether it is shown.
    bool OpenFile(const QString& path);
    /// Returns whether the song was written. The start page is saved as Save As saves.
    bool OnFileSave();
    bool OnFileSaveAs();
    /// Writes the song as shown, at its shift, to a file the user names: as
    /// a ChordPro song, or as chords over lyrics. The song stays the one
    /// shown, its file and saved state unchanged. Returns whether it was written.
    bool OnExportAs(bool chordPro);
    /// Shows the start page as the song, after asking as Open does.
    void OnHelpFile();
    /// Asks "Save file ?" when the song is shown at another shift than it
    /// was saved at, and saves on Yes. Returns whether the caller may go on:
    /// false on Cancel and when the save failed, so nothing is lost.
    bool SaveModified();

    void OnTransposeUp();
    void OnTransposeDown();
    void OnFindEasiest();
    /// Applies an absolute shift; ignored while a page is still loading.
    void SetShift(int shift);
    void OnHighlightToggle();

    /// The size the song is shown at, in steps as a browser's, kept in the
    /// settings ("ZOOM", in percent) for the next start.
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomActual();

    /// Print, Print Direct and Print Preview show the whole song as the
    /// browser writes it to PDF, in the printer's page layout.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    /// The capo the song's shapes are for ("Capo 3: play in G shapes, sounds
    /// in Bb"), printed at the head of the page; empty for none.
    void SetPrintCapo(const QString& line) { m_strPrintCapo = line; }
    /// The printer shared by printing, print preview and print setup.
    QPrinter& Printer();

Q_SIGNALS:
    /// The browser has loaded a page (after the scroll position was restored and the view became ready).
    void PageLoaded();

private:
    void OnDisplayWritten(const QString& path, bool newSong);
    void LoadPage(const QString& path, bool newSong);
    /// Replaces the content of the page shown by the written page's, when
    /// the page allows it; returns whether that was started.
    bool TrySwapContent(const QString& path);
    /// "+" (step 1) or "-" (step -1): at once when the page shown is ready,
    /// else counted towards the shift shown next.
    void StepShift(int step);
    /// Moves the song to where the steps counted while a page loaded lead;
    /// returns whether another page was asked for.
    bool ApplyPendingShift();
    /// The page asked for has loaded: steps counted meanwhile, else PageLoaded.
    void OnPageReady();
    void OnDocumentComplete(bool ok);
    void OnTitleChange();
    bool StoreScrollPosition(int& top) const;
    /// Scrolls to top, and to the left edge when left is set.
    void RestoreScrollPosition(int top, bool left);
    /// Shows the page at percent (kept within the browser's range) and stores it.
    void SetZoomPercent(int percent);
    /// Prints to a printer set to PDF output by writing the browser's PDF as
    /// its file, to any other printer (or a preview) by drawing the PDF's
    /// pages. Returns false when the user canceled or it failed, which is
    /// reported.
    bool PrintTo(QPrinter* printer);
    struct PdfJob;
    /// The browser's PDF of the whole page; empty when canceled or failed (reported).
    QByteArray MakePdf(const QPageLayout& layout, const QPageRanges& ranges, CPrintProgress& progress);
    /// Waits for the browser's PDF; false when the user canceled first.
    bool WaitForPdf(PdfJob& job, CPrintProgress& progress);

    CQuavernDoc* m_pDocument = nullptr;
    CDisplayPage* m_pPage = nullptr;
    /// The program's data folder (shipped start page, pictures) and user folder (start page shown).
    const ProgramFolders m_folders;
    QString m_strStartPath;
    int m_nScrollTop = 0;
    bool m_bRestoreScroll = false;
    bool m_bNewSong = false;
    int m_nSongsShown = 0;
    /// False once the view is being destroyed; shared with pending scripts.
    const std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    /// Counts the pages asked for, so a late answer about an older one is dropped.
    int m_nPagesAsked = 0;
    bool m_bReady = false;
    bool m_bPageShown = false;
    /// Where the "+" and "-" pressed while a page loads lead, if any came.
    std::optional<int> m_nPendingShift;
    std::unique_ptr<QPrinter> m_printer;
    QString m_strPrintCapo;
    /// The PDF the browser is writing, kept after a Cancel until it is done.
    std::shared_ptr<PdfJob> m_pdfJob;
};

inline constexpr const char* kNoDocumentMessage = "There is no active document...";
