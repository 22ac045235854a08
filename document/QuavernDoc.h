#pragma once

#include <optional>
#include <string>

#include <QObject>
#include <QString>

#include "document/DisplayFile.h"
#include "engine/Tablature.h"
#include "render/DisplaySettings.h"
#include "render/SongPage.h"

/// The one document of the program: the song in three copies with what
/// opening added around it, the file it came from, the shift it is shown at,
/// the highlight settings and the display file the view shows.
///
/// Every change of the song ends in the display file being written; the
/// document then says what changed by its signals: DisplayWritten for the
/// view, WorkingChanged, ShiftChanged and HighlightedChanged for the frame's
/// gauges, slider and menu. It asks the user nothing: its failures are told
/// through the program's messages and its return values.
class CQuavernDoc final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuavernDoc)

public:
    explicit CQuavernDoc(QObject* parent = nullptr);
    ~CQuavernDoc() override;

    /// A fresh document: the three copies empty, the title reset, the shift 0.
    bool OnNewDocument();

    void SetTitle(const QString& title);
    QString GetTitle() const { return m_strTitle; }

    /// The highlight settings, the highlighted flag and the last directory,
    /// from the program's settings store, with their defaults when absent.
    void LoadSettings();
    void SaveSettings();

    /// A page to show as the new song: the page text and what was added to
    /// it, the file it stands for, and its folder, where its display page goes.
    struct NewPage {
        SongPage page;
        QString filePath;
        QString fileType;
        QString folder;
    };
    /// The one way a new song comes in (start-up, Open, Help). Writes the
    /// page as the display page of the page's folder first (CDisplayFile);
    /// when that fails the song shown stays as it was, unless adoptOnFailure,
    /// and false is returned. Then the folder becomes the current one, the song is
    /// detected at shift 0 (and counts as saved there) and the display written.
    bool ShowNewPage(const NewPage& page, bool adoptOnFailure = false);

    /// The working song := the loaded song moved by shift (-6..+6), then the
    /// display. Returns whether the display was written; if not, the song,
    /// its shift and its page stay as they were.
    bool TransposeBy(int shift);
    /// The working song := the loaded song at its easiest shift, then the
    /// display. Returns whether the display was written, as TransposeBy.
    bool FindEasiestShift();
    /// Shows the chords highlighted or plain, and stores the choice.
    void SetHighlighted(bool highlighted);
    /// New highlight settings, stored and shown.
    void SetHighlightSettings(const HighlightSettings& settings);
    /// How names are read and moved: stored, then the song is read again and
    /// shown at the current shift.
    void SetSongOptions(const SongOptions& options);
    const SongOptions& Options() const { return m_settings.options; }
    /// The chord levels changed: the score and the page follow at the current shift.
    void OnLevelsChanged();
    /// Writes the working song again, for a new file path or type.
    bool WriteDisplay();

    /// Writes the working song as Save writes it (without what opening
    /// added, with the head line when there is one) to path, atomically. On
    /// success the song is that file from now on and counts as saved at the
    /// current shift.
    bool SaveTo(const QString& path, const QString& fileType);
    /// A line Save puts at the top of the song (WithHeadLine), such as the
    /// capo the shapes shown are for; empty for none, as at the start.
    void SetHeadLine(const std::string& line) { m_strHeadLine = line; }
    const std::string& HeadLine() const { return m_strHeadLine; }

    /// The working song as Save would write it, in the form asked: a ChordPro
    /// song, or chords over lyrics. Nothing for an HTML song or the start page.
    std::optional<std::string> ExportedText(bool chordPro) const;

    /// Deletes the display file, ignoring errors.
    void DeleteDisplayFile();
    /// Where the pop-ups find the chord pictures: a folder path ending with
    /// "/", or empty for sources relative to the page.
    void SetPicturePrefix(const std::string& prefix);
    /// The folder where the pictures the program draws while it runs are
    /// kept (CPictureCache): those of the names outside the table, and all
    /// of them mirrored for a left-handed player. Empty: none are drawn.
    void SetDrawnPicturesFolder(const QString& folder);
    /// The folder the page takes drawn pictures from now.
    QString DrawnPicturesFolder() const;
    /// Draws every chord picture mirrored, or not, and stores the choice.
    void SetLeftHanded(bool leftHanded);
    bool IsLeftHanded() const { return m_bLeftHanded; }
    /// Remembers the folder of a song the user opened, for the next Open.
    void SetLastDirectory(const QString& folder);

    const CTablature& Loaded() const { return m_loaded; }
    const CTablature& Working() const { return m_working; }
    const AddedText& Added() const { return m_added; }
    const HighlightSettings& Highlight() const { return m_settings.highlight; }
    bool IsHighlighted() const { return m_settings.highlighted != 0; }
    QString LastDirectory() const { return QString::fromStdString(m_settings.lastDirectory); }
    const QString& FilePath() const { return m_strFilePath; }
    const QString& FileType() const { return m_strFileType; }
    bool IsTextSong() const { return m_strFileType == QLatin1String("TXT"); }
    const QString& DisplayPath() const { return m_displayFile.Path(); }
    int Shift() const { return m_nShift; }
    int SavedShift() const { return m_nSavedShift; }
    /// Whether the song is shown at another shift than it was last saved at.
    bool IsModified() const { return m_nShift != m_nSavedShift; }
    /// How hard the working song's chords are on average, 0 (all level 1) to 200 (all level 5).
    int HardnessLevel() const;

Q_SIGNALS:
    void TitleChanged(const QString& title);
    /// The display file was written. newSong: another song than before,
    /// shown from its top; otherwise the same song in another form.
    void DisplayWritten(const QString& path, bool newSong);
    /// The working song changed: its chords, its score.
    void WorkingChanged();
    void ShiftChanged(int shift);
    /// The song came to be shown at another shift than it was saved at, or back.
    void ModifiedChanged(bool modified);
    void HighlightedChanged(bool highlighted);
    void LeftHandedChanged(bool leftHanded);
    /// The song options were read from the settings or changed.
    void OptionsChanged();
    /// Something the user should know that needs no answer, for the status bar.
    void Notice(const QString& text);

private:
    bool WriteDisplay(bool newSong);
    void SetShift(int shift);
    /// Shows the song moved to shift as working; when its display cannot
    /// be written, the song stays at the shift it was shown at.
    bool ShowMoved(CTablature working, int shift);

    /// The highlight settings, the highlighted flag and the last directory as stored.
    DisplaySettings m_settings;
    CTablature m_loaded;
    CTablature m_working;
    /// What opening put around the song now shown; Save takes exactly that away.
    AddedText m_added;
    CDisplayFile m_displayFile;
    /// The folder of the song shown, where its display page belongs.
    QString m_strFolder;
    QString m_strFilePath;
    QString m_strFileType;
    int m_nShift = 0;
    int m_nSavedShift = 0;
    QString m_strTitle;
    std::string m_strPicturePrefix;
    std::string m_strHeadLine;
    QString m_strDrawnPictures;
    bool m_bLeftHanded = false;
};

/// The name of the start page, in the program's data folder and in its user folder.
inline constexpr const char* kStartFileName = "Start.htm";

/// Paths reach the core as the bytes the file system knows them by.
std::string PathBytes(const QString& path);
