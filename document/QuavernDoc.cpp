#include "document/QuavernDoc.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "base/FileWriter.h"
#include "base/Messages.h"
#include "base/SettingsStore.h"
#include "engine/ChordPro.h"
#include "engine/Shift.h"
#include "pictures/PictureCache.h"
#include "render/HeadLine.h"
#include "render/Highlight.h"
#include "render/DisplayPageBuilder.h"

std::string PathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

CQuavernDoc::CQuavernDoc(QObject* parent) : QObject(parent) {}

CQuavernDoc::~CQuavernDoc() = default;

bool CQuavernDoc::OnNewDocument() {
    m_loaded = CTablature();
    m_working = CTablature();
    m_nSavedShift = 0;
    SetShift(0);
    SetTitle(QString());
    Q_EMIT WorkingChanged();
    return true;
}

void CQuavernDoc::SetTitle(const QString& title) {
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    Q_EMIT TitleChanged(m_strTitle);
}

void CQuavernDoc::SetShift(int shift) {
    m_nShift = shift;
    Q_EMIT ShiftChanged(m_nShift);
    Q_EMIT ModifiedChanged(IsModified());
}

void CQuavernDoc::LoadSettings() {
    m_settings = ReadDisplaySettings(GetProfileStore());
    m_bLeftHanded = ReadLeftHanded(GetProfileStore());
    Q_EMIT HighlightedChanged(IsHighlighted());
    Q_EMIT LeftHandedChanged(m_bLeftHanded);
    Q_EMIT OptionsChanged();
}

void CQuavernDoc::SaveSettings() {
    WriteDisplaySettings(GetProfileStore(), m_settings);
}

bool CQuavernDoc::ShowNewPage(const NewPage& page, bool adoptOnFailure) {
    // The new display file is written before anything changes, so a song
    // whose page cannot be written anywhere leaves the current song as it was.
    const bool written = m_displayFile.WriteFor(page.folder, page.page.text);
    if (!written && !adoptOnFailure)
        return false;
    if (written)
        QDir::setCurrent(page.folder);
    m_strFolder = page.folder;

    m_strFilePath = page.filePath;
    m_strFileType = page.fileType;
    m_added = page.page.added;
    // Chord names inside an HTML song's tags are markup; the stored options
    // say which names count and how moved ones are written.
    const bool html = IsHtmlType(m_strFileType.toStdString());
    m_loaded.SetHtml(html);
    m_loaded.SetChordPro(IsChordProType(m_strFileType.toStdString()));
    m_loaded.SetAddedText(m_added.BytesBefore(), m_added.BytesAfter());
    m_loaded.SetOptions(m_settings.options);
    m_loaded.Detect(page.page.text);
    // The working song is the new one at shift 0 already, so the page is
    // rendered once, below: a large song would otherwise be rendered twice.
    m_working = m_loaded;
    m_nSavedShift = 0;
    // A note about the song shown before is no note about this one.
    m_strHeadLine.clear();
    SetShift(0);
    Q_EMIT WorkingChanged();
    if (written && m_displayFile.InCache() && IsHtmlType(m_strFileType.toStdString())) {
        Q_EMIT Notice(QStringLiteral("This song's folder takes no files: it is shown from %1, so its own links and "
                                     "pictures may not show.")
                          .arg(QFileInfo(m_displayFile.Path()).absolutePath()));
    }
    return written && WriteDisplay(true);
}

bool CQuavernDoc::WriteDisplay() {
    return WriteDisplay(false);
}

namespace {

// A folder as the pop-up block names it: its path bytes and "/", or nothing
// when that is longer than a picture prefix may be.
std::string FolderPrefix(const QString& folder) {
    constexpr std::size_t kMaxPrefix = 1000;
    const std::string prefix = PathBytes(QDir::cleanPath(QDir(folder).absolutePath())) + '/';
    return prefix.size() > kMaxPrefix ? std::string() : prefix;
}

} // namespace

bool CQuavernDoc::WriteDisplay(bool newSong) {
    const HighlightSettings* highlight = IsHighlighted() ? &m_settings.highlight : nullptr;
    std::string picturePrefix = m_strPicturePrefix;
    std::string otherPrefix;
    // The pictures the pop-ups of this page need beyond the shipped 85 are
    // drawn before the page refers to them.
    if (highlight && highlight->infobulle && !m_strDrawnPictures.isEmpty()) {
        std::vector<std::string> others;
        if (m_settings.options.allChords) {
            for (int i = 0; i < m_working.OccurrenceCount(); ++i) {
                if (m_working.IsExtendedAt(i))
                    others.push_back(m_working.NameAt(i));
            }
            std::sort(others.begin(), others.end());
            others.erase(std::unique(others.begin(), others.end()), others.end());
        }
        const CPictureCache cache(m_strDrawnPictures);
        if ((m_bLeftHanded || !others.empty()) && cache.Provide(others, m_bLeftHanded)) {
            otherPrefix = others.empty() ? std::string() : FolderPrefix(cache.Folder(m_bLeftHanded));
            if (m_bLeftHanded)
                picturePrefix = FolderPrefix(cache.Folder(true));
        }
    }
    if (!m_displayFile.WriteFor(m_strFolder,
                                BuildDisplayPage(m_working, m_added, highlight, picturePrefix, otherPrefix)))
        return false;
    Q_EMIT DisplayWritten(m_displayFile.Path(), newSong);
    return true;
}

bool CQuavernDoc::TransposeBy(int shift) {
    CTablature working = m_loaded;
    working.Transpose(shift);
    return ShowMoved(std::move(working), shift);
}

bool CQuavernDoc::FindEasiestShift() {
    CTablature working = m_loaded;
    const int shift = WrapShift(working.FindEasiest());
    return ShowMoved(std::move(working), shift);
}

bool CQuavernDoc::ShowMoved(CTablature working, int shift) {
    // The shift, the gauges and Save follow the page: a display that cannot
    // be written (a full disk) leaves the song where the page still shows it,
    // and the slider the user moved is put back there.
    std::swap(m_working, working);
    if (!WriteDisplay(false)) {
        std::swap(m_working, working);
        Q_EMIT ShiftChanged(m_nShift);
        return false;
    }
    SetShift(shift);
    Q_EMIT WorkingChanged();
    return true;
}

void CQuavernDoc::SetHighlighted(bool highlighted) {
    m_settings.highlighted = highlighted ? 1 : 0;
    Q_EMIT HighlightedChanged(highlighted);
    WriteDisplay(false);
    SaveSettings();
}

void CQuavernDoc::SetHighlightSettings(const HighlightSettings& settings) {
    m_settings.highlight = settings;
    // A plain page does not depend on the settings.
    if (IsHighlighted())
        WriteDisplay(false);
    SaveSettings();
}

void CQuavernDoc::SetSongOptions(const SongOptions& options) {
    m_settings.options = options;
    SaveSettings();
    Q_EMIT OptionsChanged();
    // Every chord name or the table's only: the song as opened is read again.
    m_loaded.SetOptions(options);
    m_loaded.Detect(std::move(m_loaded.text));
    m_working.SetOptions(options);
    TransposeBy(m_nShift);
}

void CQuavernDoc::OnLevelsChanged() {
    TransposeBy(m_nShift);
}

void CQuavernDoc::SetPicturePrefix(const std::string& prefix) {
    m_strPicturePrefix = prefix;
}

void CQuavernDoc::SetDrawnPicturesFolder(const QString& folder) {
    m_strDrawnPictures = folder;
}

QString CQuavernDoc::DrawnPicturesFolder() const {
    return m_strDrawnPictures.isEmpty() ? QString() : CPictureCache(m_strDrawnPictures).Folder(m_bLeftHanded);
}

void CQuavernDoc::SetLeftHanded(bool leftHanded) {
    if (leftHanded == m_bLeftHanded)
        return;
    m_bLeftHanded = leftHanded;
    WriteLeftHanded(GetProfileStore(), leftHanded);
    Q_EMIT LeftHandedChanged(leftHanded);
    if (IsHighlighted())
        WriteDisplay(false);
}

void CQuavernDoc::SetLastDirectory(const QString& folder) {
    m_settings.lastDirectory = folder.toStdString();
    if (m_settings.lastDirectory.empty() || m_settings.lastDirectory.back() != '/')
        m_settings.lastDirectory += '/';
}

int CQuavernDoc::HardnessLevel() const {
    const int score = m_working.GetScore();
    const int distinct = m_working.GetDistinctCount();
    // The average level 1..5 of the song's chords mapped to 0..200.
    return score == 0 || distinct == 0 ? 0 : static_cast<int>((static_cast<double>(score) / distinct - 1.0) * 50.0);
}

bool CQuavernDoc::SaveTo(const QString& path, const QString& fileType) {
    const std::string text = WithHeadLine(StripAddedText(m_working.text, m_added), m_working.IsHtml(), m_strHeadLine);
    // Written beside the target and renamed over it: the song on disk is
    // either the old one or the new one, never half of each.
    const FileWriteResult written = WriteWholeFile(PathBytes(path), text);
    if (!written) {
        ShowMessage("The following file : " + path.toStdString() + " could not be saved : " + written.reason);
        return false;
    }
    m_strFilePath = path;
    m_strFileType = fileType;
    m_nSavedShift = m_nShift;
    Q_EMIT ModifiedChanged(false);
    return true;
}

std::optional<std::string> CQuavernDoc::ExportedText(bool chordPro) const {
    if (IsHtmlType(m_strFileType.toStdString()) || m_strFilePath.isEmpty())
        return std::nullopt;
    const std::string saved = StripAddedText(m_working.text, m_added);
    if (chordPro == m_working.IsChordPro())
        return saved;
    return chordPro ? TextToChordPro(saved) : ChordProToText(saved);
}

void CQuavernDoc::DeleteDisplayFile() {
    m_displayFile.Remove();
}
