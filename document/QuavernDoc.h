#pragma once

#include <string>

#include <QObject>
#include <QString>

#include "engine/Tablature.h"
#include "render/Highlight.h"

class CQuavernView;

/// The one document of the program: the song in three copies, the highlight
/// settings, and the display file the view shows. Opening and saving are the
/// view's commands; every change of the song ends in one of the two display
/// writers, which write the display file and make the view reload it.
class CQuavernDoc final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuavernDoc)

public:
    explicit CQuavernDoc(QObject* parent = nullptr);
    ~CQuavernDoc() override;

    /// A fresh document: the three copies empty, the title reset.
    bool OnNewDocument();

    /// The view registers itself; the document reaches the display path, the
    /// highlighted flag and the last directory through it.
    void AddView(CQuavernView* view);
    void RemoveView(CQuavernView* view);
    CQuavernView* GetFirstView() const { return m_pView; }
    /// Makes the view reload the display file.
    void UpdateAllViews();

    void SetTitle(const QString& title);
    QString GetTitle() const { return m_strTitle; }

    /// The highlight settings, the highlighted flag and the last directory,
    /// from the program's settings store, with their defaults when absent.
    void LoadSettings();
    void SaveSettings();

    /// Write the working song, plain or highlighted, to the display file and
    /// make the view reload it. A file that cannot be written is reported to
    /// the user; then the view is not reloaded and false is returned.
    bool WritePlainDisplay();
    bool WriteHighlightedDisplay();
    /// The working song := the loaded song moved by shift (-6..+6), then the display.
    bool TransposeBy(int shift);
    /// The working song := the loaded song at its easiest shift, then the
    /// display; returns the shift. written tells whether the display was written.
    int FindEasiestShift(bool* written = nullptr);

    /// Writes the bytes of text to path (create or truncate). On failure tells
    /// the user, naming the file and the reason, and returns false.
    static bool WriteDisplayFile(const QString& path, const std::string& text);

    CTablature m_display;
    HighlightSettings m_highlight;
    CTablature m_loaded;
    CTablature m_working;

Q_SIGNALS:
    void TitleChanged(const QString& title);

private:
    bool WriteDisplay(bool highlighted);

    CQuavernView* m_pView = nullptr;
    QString m_strTitle;
};
