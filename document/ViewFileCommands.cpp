// The view's file commands: Open, Save, Save As and the help page.

#include <string>

#include <QDir>
#include <QFileInfo>

#include "base/FileWriter.h"
#include "base/Messages.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "document/StartPage.h"
#include "document/UserDialogs.h"
#include "engine/ChordPro.h"

bool CQuavernView::SaveModified() {
    if (!m_pDocument || !m_pDocument->IsModified())
        return true;
    const QMessageBox::StandardButton answer = UserDialogs().AskSaveFile(this);
    if (answer == QMessageBox::Cancel)
        return false;
    // A save that failed keeps the unsaved song, so the transposition is not lost.
    return answer != QMessageBox::Yes || OnFileSave();
}

void CQuavernView::OnFileOpen() {
    if (!SaveModified())
        return;
    if (m_pDocument && !m_pDocument->LastDirectory().isEmpty())
        QDir::setCurrent(m_pDocument->LastDirectory());
    const QString chosen = UserDialogs().GetOpenFileName(this, QDir::currentPath(), OpenFileFilter());
    if (!chosen.isEmpty())
        OpenFile(chosen);
}

bool CQuavernView::OpenFile(const QString& chosen) {
    const QFileInfo info(chosen);
    const QString path = info.absoluteFilePath();
    const std::string pathBytes = PathBytes(path);

    if (IsDisplayFileName(path)) {
        ShowMessage("The file " + path.toStdString() +
                    " is the display file of Quavern 3.0: it is rewritten for every page shown and deleted at exit. "
                    "Please copy it under another name to open it.");
        return false;
    }
    // Judged from the file's size, before a byte of it is read; a device or
    // a pipe would never end, or never start: only regular files are songs.
    SongRead read = ReadSongFile(pathBytes, SongFileKinds::RegularOnly);
    if (read.status == SongReadStatus::TooLarge) {
        const std::string size = read.size ? std::to_string(*read.size) : "more than " + std::to_string(kMaxSongBytes);
        ShowMessage("The following file : " + path.toStdString() + " is too large to open (" + size +
                    " bytes; the limit is " + std::to_string(kMaxSongBytes) + " bytes).");
        return false;
    }
    if (read.status == SongReadStatus::Ok)
        read.reason = UnreadableSongReason(read.bytes);
    if (read.status != SongReadStatus::Ok || !read.reason.empty()) {
        ShowMessage("The following file : " + path.toStdString() + " could not be opened : " + read.reason);
        return false;
    }
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return false;
    }
    // The display file goes into the song's folder, which becomes the current
    // one once the song is shown; a song refused leaves the folder as it was.
    CQuavernDoc::NewPage page;
    page.fileType = QString::fromStdString(FileTypeOf(pathBytes));
    page.page = BuildSongPage(pathBytes, page.fileType.toStdString(), read.bytes);
    page.filePath = path;
    page.folder = info.absolutePath();
    if (!m_pDocument->ShowNewPage(page))
        return false;
    m_pDocument->SetLastDirectory(info.absolutePath());
    m_pDocument->SaveSettings();
    return true;
}

bool CQuavernView::OnFileSave() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return false;
    }
    // The start page is the program's own help: a song made of it is saved
    // under a name the user gives, never over the help.
    if (!m_strStartPath.isEmpty() && m_pDocument->FilePath() == m_strStartPath)
        return OnFileSaveAs();
    return m_pDocument->SaveTo(m_pDocument->FilePath(), m_pDocument->FileType());
}

bool CQuavernView::OnFileSaveAs() {
    const bool textSong = m_pDocument && m_pDocument->IsTextSong();
    const bool chordPro = m_pDocument && m_pDocument->Working().IsChordPro();
    // The dialog proposes the song's own name, in its folder.
    const QString proposed =
        m_pDocument && !m_pDocument->FilePath().isEmpty() ? m_pDocument->FilePath() : QDir::currentPath();
    const QString chosen = UserDialogs().GetSaveFileName(
        this, proposed, chordPro ? QString::fromLatin1(kChordProFilter) : SaveFileFilter(textSong));
    if (chosen.isEmpty())
        return false;
    QString path = QFileInfo(chosen).absoluteFilePath();
    std::string type = FileTypeOf(PathBytes(path));
    // A text song is always saved as text, a ChordPro song as ChordPro,
    // every other song as HTML.
    if (chordPro) {
        if (!IsChordProType(type)) {
            path += QStringLiteral(".cho");
            type = "CHO";
        }
    } else if (textSong) {
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
        return false;
    }
    if (IsDisplayFileName(path)) {
        ShowMessage("The name " + QFileInfo(path).fileName().toStdString() +
                    " is taken by the display file of Quavern 3.0, which is rewritten for every page shown and "
                    "deleted at exit. Please save the song under another name.");
        return false;
    }
    if (!m_pDocument->SaveTo(path, QString::fromStdString(type)))
        return false;
    m_pDocument->WriteDisplay();
    // The page may be swapped in place rather than loaded, so the title
    // follows the new name here, not when a page has loaded.
    OnTitleChange();
    return true;
}

bool CQuavernView::OnExportAs(bool chordPro) {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return false;
    }
    const std::optional<std::string> text = m_pDocument->ExportedText(chordPro);
    if (!text) {
        ShowMessage("Only a text or ChordPro song can be exported; please open one first.");
        return false;
    }
    // The song's own name with the new form's extension, in its folder.
    const QFileInfo song(m_pDocument->FilePath());
    const QString extension = chordPro ? QStringLiteral(".cho") : QStringLiteral(".txt");
    const QString proposed = song.absolutePath() + QLatin1Char('/') + song.completeBaseName() + extension;
    const QString chosen = UserDialogs().GetSaveFileName(
        this, proposed, chordPro ? QString::fromLatin1(kChordProFilter) : SaveFileFilter(true));
    if (chosen.isEmpty())
        return false;
    QString path = QFileInfo(chosen).absoluteFilePath();
    const std::string type = FileTypeOf(PathBytes(path));
    if (chordPro ? !IsChordProType(type) : type != "TXT")
        path += extension;
    if (IsDisplayFileName(path)) {
        ShowMessage("The name " + QFileInfo(path).fileName().toStdString() +
                    " is taken by the display file of Quavern 3.0, which is rewritten for every page shown and "
                    "deleted at exit. Please export the song under another name.");
        return false;
    }
    // Written beside the target and renamed over it, as Save writes.
    const FileWriteResult written = WriteWholeFile(PathBytes(path), *text);
    if (!written) {
        ShowMessage("The following file : " + path.toStdString() + " could not be saved : " + written.reason);
        return false;
    }
    return true;
}

void CQuavernView::OnHelpFile() {
    if (m_strStartPath.isEmpty())
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    // The help takes the song's place: an unsaved transposition is asked
    // about as Open asks.
    if (!SaveModified())
        return;
    // As for Open: a start folder that cannot take the display file leaves
    // the song on screen as it was.
    m_pDocument->ShowNewPage(ReadStartPage(m_strStartPath, true));
}

void CQuavernView::OnFileNew() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    if (!SaveModified())
        return;
    // The display file follows the start page into the user folder; the
    // song is back at shift 0.
    m_pDocument->DeleteDisplayFile();
    m_pDocument->OnNewDocument();
    OnInitialUpdate();
}
