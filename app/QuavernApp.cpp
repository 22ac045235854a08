#include "app/QuavernApp.h"

#include <utility>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPageSetupDialog>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"

CQuavernApp::CQuavernApp() : CQuavernApp(ProgramFoldersIn(QDir::currentPath())) {}

CQuavernApp::CQuavernApp(ProgramFolders folders) : m_folders(std::move(folders)) {}

CQuavernApp::~CQuavernApp() {
    m_frame.reset();
    m_document.reset();
    if (m_store) {
        SetProfileStore(nullptr);
        m_store.reset();
    }
}

bool CQuavernApp::InitInstance(const QStringList& arguments) {
    // A song named on the command line is taken from the folder the user
    // started in: showing the start page makes its folder the current one.
    const QString song = arguments.isEmpty() ? QString() : QFileInfo(arguments.constFirst()).absoluteFilePath();
    m_store = std::make_unique<CQtSettingsStore>();
    SetProfileStore(m_store.get());
    theChordCatalog.LoadLevels();
    // The colour chooser's custom colours last while the program runs only.
    CHighlightDlg::ResetCustomColors();

    m_document = std::make_unique<CQuavernDoc>();
    m_frame = std::make_unique<CMainFrame>(m_document.get(), m_folders);
    if (!m_frame->OnCreate())
        return false;
    connect(m_frame->Action(ID_APP_ABOUT), &QAction::triggered, this, &CQuavernApp::OnAppAbout);
    connect(m_frame->Action(ID_FILE_NEW), &QAction::triggered, this, &CQuavernApp::OnFileNew);
    connect(m_frame->Action(ID_FILE_PRINT_SETUP), &QAction::triggered, this, &CQuavernApp::OnFilePrintSetup);

    m_document->OnNewDocument();

    m_frame->setWindowIcon(QIcon(QStringLiteral(":/quavern.png")));
    m_frame->show();
    CMessageOnceScope startUp;
    CQuavernView* view = m_frame->GetActiveView();
    view->OnInitialUpdate();
    // A song named on the command line is opened after the start page, as
    // Open opens it: one that cannot be opened is reported and the start
    // page stays.
    if (!song.isEmpty())
        view->OpenFile(song);
    return true;
}

void CQuavernApp::OnAppAbout() {
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

void CQuavernApp::OnFileNew() {
    CMessageOnceScope command;
    m_frame->GetActiveView()->OnFileNew();
}

void CQuavernApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(&m_frame->GetActiveView()->Printer(), m_frame.get());
    dialog.exec();
}
