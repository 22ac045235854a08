// The view's file commands: Open, Save, Save As and the help page.

#include <string>

#include <QDir>
#include <QFileInfo>

#include "chords/Messages.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "document/StartPage.h"
#include "document/UserDialogs.h"

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
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    const QString path = info.absoluteFilePath();
    const std::string pathBytes = PathBytes(path);

    if (IsDisplayFileName(path)) {
        ShowMessage("The file " + path.toStdString() +
                    " is the display file of Quavern 3.0: it is rewritten for every page shown and deleted at exit. "
                    "Please copy it under another name to open it.");
        return;
    }
    // Judged from the file's size, before a byte of it is read; a device or
    // a pipe would never end, or never start: only regular files are songs.
    SongRead read = ReadSongFile(pathBytes, SongFileKinds::RegularOnly);
    if (read.status == SongReadStatus::TooLarge) {
        const std::string size = read.size ? std::to_string(*read.size) : "more than " + std::to_string(kMaxSongBytes);
        ShowMessage("The following file : " + path.toStdString() + " is too large to open (" + size +
                    " bytes; the limit is " + std::to_string(kMaxSongBytes) + " bytes).");
        return;
    }
    if (read.status != SongReadStatus::Ok) {
        ShowMessage("The following file : " + path.toStdString() + " could not be opened : ");
        return;
    }
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    // The display file goes into the song's folder, which becomes the current
    // one once the song is shown; a song refused leaves the folder as it was.
    CQuavernDoc::NewPage page;
    page.fileType = QString::fromStdString(FileTypeOf(pathBytes));
    page.page = BuildSongPage(pathBytes, page.fileType.toStdString(), read.bytes);
    page.filePath = path;
    page.folder = info.absolutePath();
    if (!m_pDocument->ShowNewPage(page))
        return;
    m_pDocument->SetLastDirectory(info.absolutePath());
    m_pDocument->SaveSettings();
}

bool CQuavernView::OnFileSave() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return false;
    }
    return m_pDocument->SaveTo(m_pDocument->FilePath(), m_pDocument->FileType());
}

void CQuavernView::OnFileSaveAs() {
    const bool textSong = m_pDocument && m_pDocument->IsTextSong();
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
    if (m_pDocument->SaveTo(path, QString::fromStdString(type)))
        m_pDocument->WriteDisplay();
}

void CQuavernView::OnHelpFile() {
    if (m_strStartPath.isEmpty())
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    // As for Open: a start folder that cannot take the display file leaves
    // the song on screen as it was.
    m_pDocument->ShowNewPage(ReadStartPage(m_strStartPath, true));
}
