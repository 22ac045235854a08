#pragma once

#include <memory>
#include <string>

#include <QString>
#include <QWebEngineView>

#include "render/SongPage.h"

class CChordCatalog;
class CPercentProgressCtrl;
class CQuavernDoc;
class QPrinter;
class QSlider;
struct HighlightSettings;

/// The one view of the program: a browser that shows the display file, and
/// the commands that change the song (open, transpose, highlight, save, help).
/// The data members keep the names the rest of the program knows them by and
/// are read by the document, the main frame and the tests.
class CQuavernView final : public QWebEngineView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuavernView)

public:
    explicit CQuavernView(CQuavernDoc* document, QWidget* parent = nullptr);
    ~CQuavernView() override;

    CQuavernDoc* GetDocument() const { return m_pDocument; }

    /// Loads the settings, locates "Pics/" and "Start.htm" in the current
    /// folder and shows the start page. Run once when the view is first shown
    /// and again by the New command.
    void OnInitialUpdate();
    /// Reloads the display file.
    void OnUpdate();

    void OnFileOpen();
    /// Returns whether the song was written.
    bool OnFileSave();
    void OnFileSaveAs();
    void OnHelpFile();
    void OnTransposeUp();
    void OnTransposeDown();
    void OnFindEasiest();
    /// Applies an absolute shift; ignored while a page is still loading.
    void SetShift(int shift);
    void OnHighlightToggle();
    void OnHighlightOptions();
    void OnChordLevels();
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    bool StoreScrollPosition(int& top) const;
    void RestoreScrollPosition(int top);
    void UpdateGauges();

    /// Sets the display path to "QuavernFile.htm" in the current folder and
    /// writes the loaded song there, without reloading.
    bool CreateDisplayFile();
    /// Deletes the display file, ignoring errors.
    void DeleteDisplayFile();

    /// The printer shared by printing, print preview and print setup.
    QPrinter& Printer();

    int m_bHighlighted = 0;
    std::string m_strHeader;
    std::string m_strFooter;
    int m_nScrollTop = 0;
    bool m_bRestoreScroll = false;
    bool m_bReady = false;
    QString m_strLastDirectory;
    CPercentProgressCtrl* m_easinessGauge = nullptr;
    CPercentProgressCtrl* m_hardnessGauge = nullptr;
    QString m_strDisplayPath;
    QString m_strFilePath;
    QString m_strFileType;
    QString m_strStartPath;
    int m_nShift = 0;
    int m_nSavedShift = 0;
    /// What loading the page now shown put around the song; Save takes exactly that away.
    AddedText m_added;

Q_SIGNALS:
    /// The browser has loaded a page (after the scroll position was restored and m_bReady set).
    void PageLoaded();
    /// Highlighting was switched on or off, or read from the settings.
    void HighlightedChanged(bool highlighted);

private:
    /// Moves the slider and the song to an absolute shift and reloads the page.
    void ApplyShift(int shift);
    void OnDocumentComplete(bool ok);
    void OnTitleChange();
    void AttachGauges();
    QSlider* Slider() const;
    void MoveSlider(int shift);
    bool WriteDisplay();
    bool WriteSongFile(const QString& path, const std::string& text);
    void PrintTo(QPrinter* printer);

    /// The one place each options dialog is opened. Each edits the value it
    /// is given and returns true when the user confirmed the change.
    bool EditChordLevels(CChordCatalog& catalog);
    bool EditHighlightSettings(HighlightSettings& settings);

    CQuavernDoc* m_pDocument = nullptr;
    bool m_bPageShown = false;
    std::unique_ptr<QPrinter> m_printer;
};

/// The name of the display file, written into the folder of the song shown.
inline constexpr const char* kDisplayFileName = "QuavernFile.htm";
/// The name of the start page, found in the folder the program starts in.
inline constexpr const char* kStartFileName = "Start.htm";
inline constexpr const char* kNoDocumentMessage = "There is no active document...";
