#include "app/QuavernApp.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QPageSetupDialog>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "chords/ChordCatalog.h"
#include "chords/Messages.h"
#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "platform/QtSettingsStore.h"

CQuavernApp::CQuavernApp() = default;

CQuavernApp::~CQuavernApp() {
    m_frame.reset();
    m_document.reset();
    if (m_store) {
        SetProfileStore(nullptr);
        m_store.reset();
    }
}

bool CQuavernApp::InitInstance(const QStringList& arguments) {
    m_store = std::make_unique<CQtSettingsStore>();
    SetProfileStore(m_store.get());
    theChordCatalog.LoadLevels();
    // The colour chooser's custom colours last while the program runs only.
    CHighlightDlg::ResetCustomColors();

    m_document = std::make_unique<CQuavernDoc>();
    m_frame = std::make_unique<CMainFrame>(m_document.get());
    if (!m_frame->OnCreate())
        return false;
    connect(m_frame->Action(ID_APP_ABOUT), &QAction::triggered, this, &CQuavernApp::OnAppAbout);
    connect(m_frame->Action(ID_FILE_NEW), &QAction::triggered, this, &CQuavernApp::OnFileNew);
    connect(m_frame->Action(ID_FILE_PRINT_SETUP), &QAction::triggered, this, &CQuavernApp::OnFilePrintSetup);

    // A file named on the command line is opened as the document, which
    // reads nothing from it: the start page is shown all the same. A file
    // that cannot be opened ends the program.
    if (!arguments.isEmpty()) {
        QFile file(arguments.constFirst());
        if (!file.open(QIODevice::ReadOnly)) {
            ShowMessage("The following file : " + arguments.constFirst().toStdString() +
                        " could not be opened : " + file.errorString().toStdString());
            return false;
        }
    }
    m_document->OnNewDocument();

    m_frame->setWindowIcon(QIcon(QStringLiteral(":/quavern.png")));
    m_frame->show();
    m_frame->GetActiveView()->OnInitialUpdate();
    return true;
}

void CQuavernApp::OnAppAbout() {
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}

void CQuavernApp::OnFileNew() {
    // The display file follows the start page into the current folder; the
    // song is back at shift 0, and the slider with it.
    m_document->DeleteDisplayFile();
    m_document->OnNewDocument();
    m_frame->GetActiveView()->OnInitialUpdate();
}

void CQuavernApp::OnFilePrintSetup() {
    QPageSetupDialog dialog(&m_frame->GetActiveView()->Printer(), m_frame.get());
    dialog.exec();
}
