#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QMessageBox>
#include <QPageLayout>
#include <QQueue>
#include <QString>
#include <QTemporaryDir>

#include "base/Messages.h"
#include "document/ProgramFolders.h"
#include "document/UserDialogs.h"
#include "tests/support/RecordingMessageSink.h"

class CMainFrame;
class CQuavernApp;
class CQuavernDoc;
class CQuavernView;
class QAction;

/// Records the program's messages instead of showing boxes.
using CRecordingSink = CRecordingMessageSink;

/// Answers the view's questions from queues the test fills; an empty queue answers Cancel.
class CScriptedDialogs final : public IUserDialogs {
public:
    QString GetOpenFileName(QWidget*, const QString& folder, const QString& filter) override;
    QString GetSaveFileName(QWidget*, const QString& folder, const QString& filter) override;
    QMessageBox::StandardButton AskSaveFile(QWidget*) override;
    /// Prints to the next PDF file of printFiles, in printLayout when it is
    /// valid and else in the printer's page layout.
    bool AskPrint(QWidget*, QPrinter* printer) override;

    QQueue<QString> openFiles;
    QQueue<QString> saveFiles;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> printFiles;
    QPageLayout printLayout;
    int questionsAsked = 0;
    QString lastFolder;
    QString lastFilter;
};

/// One run of the program inside the test: a temporary current folder,
/// settings emptied, recorded messages and scripted dialogs, then the real
/// start-up with the start page loaded.
class CProgramFixture final {
public:
    /// startPage: the bytes of "Start.htm" written into the current folder first (none when null).
    explicit CProgramFixture(const char* startPage = "<html><body><p>Start page with Am and G</p></body></html>",
                             bool clearSettings = true);
    ~CProgramFixture();
    CProgramFixture(const CProgramFixture&) = delete;
    CProgramFixture& operator=(const CProgramFixture&) = delete;

    /// Starts the program; returns whether the start page loaded. Every
    /// display page loads the 85 chord pictures, which takes the browser long
    /// on a busy machine, so a test highlights only when it asks for it;
    /// kStoredHighlighting leaves the stored setting alone.
    static constexpr int kStoredHighlighting = -1;
    bool Start(int highlighted = 0);
    /// Ends the program as closing the window does (prompt, display file), then destroys it.
    bool Close();

    CMainFrame* Frame() const;
    CQuavernView* View() const;
    CQuavernDoc* Document() const;
    QAction* Action(int id) const;
    /// Triggers the command and, if it asked for a page, waits until it has loaded.
    bool Run(int id);
    /// Waits until the view has loaded its current page.
    bool WaitReady(int timeoutMs = 20000) const;

    /// The folder the test runs in (the program's start-up folder).
    QString Folder() const { return m_folder.path(); }
    QString PathOf(const QString& name) const;
    /// Writes a file in the test folder (or anywhere, for an absolute path) and returns its path.
    QString WriteFile(const QString& name, const QByteArray& bytes) const;
    /// Opens a song through the Open command with the scripted dialog,
    /// answering No when asked to save the previous one.
    bool OpenSong(const QString& path);

    CRecordingSink sink;
    CScriptedDialogs dialogs;
    /// When set, Start gives the program these data and user folders, as
    /// an installed program has them, instead of the test folder for both.
    std::optional<ProgramFolders> folders;

private:
    QTemporaryDir m_folder;
    QString m_previousFolder;
    IUserDialogs* m_previousDialogs = nullptr;
    std::unique_ptr<CQuavernApp> m_app;
};

/// For its scope, points the user's cache folder where no folder can be
/// made, so a display page that its song's folder cannot take has nowhere
/// else to go.
class CNoCacheFolder final {
public:
    CNoCacheFolder();
    ~CNoCacheFolder();
    CNoCacheFolder(const CNoCacheFolder&) = delete;
    CNoCacheFolder& operator=(const CNoCacheFolder&) = delete;

private:
    QByteArray m_previous;
};

/// Reads a whole file; an empty array when it cannot be read.
QByteArray ReadFileBytes(const QString& path);
/// Removes every stored setting of the program.
void ClearStoredSettings();

/// The text the browser shows (the body's innerText), or a null string on timeout.
QString ShownText(CQuavernView* view, int timeoutMs = 10000);
/// Waits until the text the browser shows holds: a page fills in after its
/// load (a page in parts by its script), so no read of it trusts the first look.
bool WaitForShownText(CQuavernView* view, const std::function<bool(const QString&)>& holds, int timeoutMs = 20000);
