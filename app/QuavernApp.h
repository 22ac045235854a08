#pragma once

#include <memory>

#include <QObject>
#include <QStringList>

#include "document/ProgramFolders.h"

class CMainFrame;
class CQtSettingsStore;
class CQuavernDoc;

/// The program: its settings, the chord levels, and the one document, main
/// frame and view, created and wired at start-up.
class CQuavernApp final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CQuavernApp)

public:
    /// The program run in the current folder, which holds its start page
    /// and pictures and takes its display file (the tests' way).
    CQuavernApp();
    /// The program with its data and user folders (see LocateProgramFolders).
    explicit CQuavernApp(ProgramFolders folders);
    ~CQuavernApp() override;

    /// Installs the settings store, loads the chord levels (a stored level
    /// outside 1..5 ends the program), creates the windows and shows the
    /// start page, then opens the song named first in the arguments, if any.
    /// Returns false when the program must end.
    bool InitInstance(const QStringList& arguments);

    CMainFrame* GetMainWnd() const { return m_frame.get(); }
    CQuavernDoc* GetDocument() const { return m_document.get(); }

    void OnAppAbout();
    /// A fresh document and the start page of the user folder, after asking about an unsaved transposition.
    void OnFileNew();
    void OnFilePrintSetup();

private:
    const ProgramFolders m_folders;
    std::unique_ptr<CQtSettingsStore> m_store;
    std::unique_ptr<CQuavernDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
