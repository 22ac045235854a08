#include "app/MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/CommentsDlg.h"
#include "app/TranspositionBar.h"
#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "dialogs/CapoDlg.h"
#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "dialogs/ManualChordsDlg.h"
#include "dialogs/SetChordLevels.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"

namespace {

constexpr const char* kIdleMessage = "For Help, press F1";

// The tool bar pictures, drawn rather than shipped as files.
QIcon DrawIcon(int id) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(40, 40, 40), 2);
    switch (id) {
    case ID_FILE_OPEN: {
        painter.setPen(outline);
        painter.setBrush(QColor(240, 200, 90));
        painter.drawRect(3, 9, 24, 18);
        painter.drawRect(3, 6, 10, 4);
        painter.setBrush(QColor(250, 225, 130));
        QPainterPath flap;
        flap.moveTo(7, 14);
        flap.lineTo(30, 14);
        flap.lineTo(26, 27);
        flap.lineTo(3, 27);
        flap.closeSubpath();
        painter.drawPath(flap);
        break;
    }
    case ID_FILE_SAVE:
        painter.setPen(outline);
        painter.setBrush(QColor(70, 100, 170));
        painter.drawRoundedRect(4, 4, 24, 24, 2, 2);
        painter.setBrush(Qt::white);
        painter.drawRect(9, 5, 14, 9);
        painter.setBrush(QColor(200, 200, 200));
        painter.drawRect(10, 19, 12, 8);
        break;
    case ID_FILE_PRINT:
        painter.setPen(outline);
        painter.setBrush(Qt::white);
        painter.drawRect(9, 3, 14, 10);
        painter.setBrush(QColor(150, 150, 150));
        painter.drawRoundedRect(3, 12, 26, 12, 2, 2);
        painter.setBrush(Qt::white);
        painter.drawRect(9, 20, 14, 9);
        break;
    case ID_HIGHLIGHT_TOGGLE:
    case ID_HIGHLIGHT_OPTIONS: {
        QFont font;
        font.setBold(true);
        font.setPixelSize(id == ID_HIGHLIGHT_TOGGLE ? 30 : 24);
        painter.setFont(font);
        painter.setPen(QColor(0, 0, 255));
        const QRect text = id == ID_HIGHLIGHT_TOGGLE ? QRect(0, 0, 32, 32) : QRect(0, 0, 24, 26);
        painter.drawText(text, Qt::AlignCenter, QStringLiteral("C"));
        if (id == ID_HIGHLIGHT_OPTIONS) {
            // A brush over the chord: how it is highlighted.
            painter.setPen(QPen(QColor(120, 70, 20), 3));
            painter.drawLine(17, 30, 28, 19);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(220, 0, 0));
            painter.drawEllipse(QPoint(28, 19), 3, 3);
        }
        break;
    }
    case ID_CHORD_LEVELS: {
        const QColor colors[5] = {QColor(0, 200, 0), QColor(140, 210, 0), QColor(240, 200, 0), QColor(240, 120, 0),
                                  QColor(220, 0, 0)};
        painter.setPen(QPen(QColor(40, 40, 40), 1));
        for (int i = 0; i < 5; ++i) {
            painter.setBrush(colors[i]);
            const int height = 6 + i * 5;
            painter.drawRect(2 + i * 6, 29 - height, 5, height);
        }
        break;
    }
    default:
        break;
    }
    return QIcon(pixmap);
}

} // namespace

CMainFrame::CMainFrame(CQuavernDoc* document, const ProgramFolders& folders, QWidget* parent)
    : QMainWindow(parent), m_pDocument(document) {
    setObjectName(ObjectNameOf(IDR_MAINFRAME));
    m_pView = new CQuavernView(document, folders, this);
    setCentralWidget(m_pView);
    if (document) {
        connect(document, &CQuavernDoc::TitleChanged, this, &CMainFrame::OnTitleChanged);
        OnTitleChanged(document->GetTitle());
    }
    resize(860, 640);
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second : nullptr;
}

QAction* CMainFrame::AddAction(int id, const QString& text, const QString& prompt, const QString& toolTip) {
    auto* action = new QAction(text, this);
    action->setObjectName(ObjectNameOf(id));
    if (!prompt.isEmpty())
        action->setStatusTip(prompt);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    // Every command stays reachable by its accelerator, with or without a menu entry.
    addAction(action);
    m_actions[id] = action;
    return action;
}

bool CMainFrame::OnCreate() {
    BuildMenus();
    BuildToolBar();
    BuildTranspositionBar();
    BuildStatusBar();

    CQuavernView* view = m_pView;
    // Each command shows a message at most once, however often the work behind it meets the cause.
    auto route = [this](int id, auto handler) {
        connect(Action(id), &QAction::triggered, this, [handler] {
            CMessageOnceScope command;
            handler();
        });
    };
    route(ID_FILE_OPEN, [view] { view->OnFileOpen(); });
    route(ID_FILE_SAVE, [view] { view->OnFileSave(); });
    route(ID_FILE_SAVE_AS, [view] { view->OnFileSaveAs(); });
    route(ID_FILE_PRINT, [view] { view->OnFilePrint(); });
    route(ID_FILE_PRINT_DIRECT, [view] { view->OnFilePrintDirect(); });
    route(ID_FILE_PRINT_PREVIEW, [view] { view->OnFilePrintPreview(); });
    route(ID_APP_EXIT, [this] { close(); });
    route(ID_TRANSPOSE_UP, [view] { view->OnTransposeUp(); });
    route(ID_TRANSPOSE_DOWN, [view] { view->OnTransposeDown(); });
    route(ID_FIND_EASIEST, [view] { view->OnFindEasiest(); });
    route(ID_CHORD_LEVELS, [this] { OnChordLevels(); });
    route(ID_HIGHLIGHT_OPTIONS, [this] { OnHighlightOptions(); });
    route(ID_HIGHLIGHT_TOGGLE, [view] { view->OnHighlightToggle(); });
    route(ID_HELP_FILE, [view] { view->OnHelpFile(); });
    route(ID_HELP, [view] { view->OnHelpFile(); });
    route(ID_MANUAL_CHORDS, [this] { OnManualChords(); });
    route(ID_COMMENTS, [this] { OnComments(); });
    if (m_pDocument) {
        // The menu and the tool bar show whether the display is highlighted,
        // the transposition bar the song's shift and how hard its chords are.
        connect(m_pDocument, &CQuavernDoc::HighlightedChanged, Action(ID_HIGHLIGHT_TOGGLE), &QAction::setChecked);
        connect(m_pDocument, &CQuavernDoc::ShiftChanged, m_pTranspositionBar, &CTranspositionBar::ShowShift);
        connect(m_pDocument, &CQuavernDoc::WorkingChanged, this, &CMainFrame::OnWorkingChanged);
        connect(m_pDocument, &CQuavernDoc::ModifiedChanged, this, &QWidget::setWindowModified);
        connect(m_pDocument, &CQuavernDoc::OptionsChanged, this, &CMainFrame::OnOptionsChanged);
        // The capo note stands while the song is shown in that capo's shapes.
        connect(m_pDocument, &CQuavernDoc::ShiftChanged, this, [this](int shift) {
            if (m_nCapo > 0 && shift != ShiftForCapo(m_nCapo)) {
                m_nCapo = 0;
                m_pTranspositionBar->ShowCapo(0);
            }
        });
        route(ID_SUGGEST_CAPO, [this] { OnSuggestCapo(); });
        for (int id : {ID_ALL_CHORDS, ID_SPELLING_AS_WRITTEN, ID_SPELLING_AS_WRITTEN + 1, ID_SPELLING_AS_WRITTEN + 2,
                       ID_SPELLING_BY_KEY, ID_KEEP_COLUMNS})
            route(id, [this] { OnSongOptions(); });
        connect(m_pDocument, &CQuavernDoc::Notice, statusBar(),
                [bar = statusBar()](const QString& text) { bar->showMessage(text, 15000); });
    }
    // The window is never narrower than its transposition bar.
    setMinimumWidth(m_pDialogBar->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth));

    // The bar's buttons send the same commands as the menu.
    for (int id : {ID_TRANSPOSE_DOWN, ID_TRANSPOSE_UP, ID_FIND_EASIEST, ID_MANUAL_CHORDS}) {
        QAction* action = Action(id);
        connect(m_pTranspositionBar->Button(id), &QPushButton::clicked, action, [action] { action->trigger(); });
    }
    // The song follows the slider whenever the user lets go of it: after a
    // drag of the thumb, and at once for a click on the groove, the wheel or
    // the keyboard. Moves while the thumb is held wait for the release.
    QSlider* slider = m_pTranspositionBar->Slider();
    connect(slider, &QSlider::sliderReleased, this, &CMainFrame::OnSliderReleased);
    connect(slider, &QSlider::valueChanged, this, [this, slider] {
        if (!slider->isSliderDown())
            OnSliderReleased();
    });
    // A release that came while a page loaded is applied once it has.
    connect(view, &CQuavernView::PageLoaded, this, &CMainFrame::OnSliderReleased);
    m_pTranspositionBar->Slider()->setValue(0);
    return true;
}

void CMainFrame::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QAction* open = AddAction(ID_FILE_OPEN, QStringLiteral("&Open a Tablature File...\tCtrl+O"),
                              QStringLiteral("Open an existing document"), QStringLiteral("Open"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addAction(open);
    file->addAction(AddAction(ID_MANUAL_CHORDS, QStringLiteral("&Enter Chords Manually..."),
                              QStringLiteral("Enter chords manually and transpose them")));
    file->addSeparator();
    QAction* save = AddAction(ID_FILE_SAVE, QStringLiteral("&Save\tCtrl+S"), QStringLiteral("Save the active document"),
                              QStringLiteral("Save"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addAction(save);
    file->addAction(AddAction(ID_FILE_SAVE_AS, QStringLiteral("Save &As..."),
                              QStringLiteral("Save the active document with a new name"), QStringLiteral("Save As")));
    file->addSeparator();
    QAction* print = AddAction(ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P"),
                               QStringLiteral("Print the active document"), QStringLiteral("Print"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addAction(print);
    file->addAction(AddAction(ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view"),
                              QStringLiteral("Display full pages"), QStringLiteral("Print Preview")));
    file->addAction(AddAction(ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup..."),
                              QStringLiteral("Change the printer and printing options"),
                              QStringLiteral("Print Setup")));
    file->addSeparator();
    QAction* exit =
        AddAction(ID_APP_EXIT, QStringLiteral("E&xit"),
                  QStringLiteral("Quit the application; prompts to save documents"), QStringLiteral("Exit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    file->addAction(exit);
    AddAction(ID_FILE_PRINT_DIRECT, QStringLiteral("Print Direct"));

    QMenu* transpose = bar->addMenu(QStringLiteral("&Transpose"));
    QAction* easiest = AddAction(ID_FIND_EASIEST, QStringLiteral("Find &Easiest Transposition"));
    easiest->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    transpose->addAction(easiest);
    QAction* up = AddAction(ID_TRANSPOSE_UP, QStringLiteral("Transpose by a half-tone &Up"));
    up->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Up)});
    transpose->addAction(up);
    QAction* down = AddAction(ID_TRANSPOSE_DOWN, QStringLiteral("Transpose by a half-tone &Down"));
    down->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::CTRL | Qt::Key_Down)});
    transpose->addAction(down);
    transpose->addSeparator();
    transpose->addAction(AddAction(ID_SUGGEST_CAPO, QStringLiteral("Suggest a &Capo..."),
                                   QStringLiteral("Where to put the capo to play the song with easier shapes")));

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->addAction(AddAction(ID_CHORD_LEVELS, QStringLiteral("Set Chord Difficulty &Levels..."),
                                 QStringLiteral("Set chord difficulty levels"),
                                 QStringLiteral("Set chord difficulty levels")));
    options->addAction(AddAction(ID_HIGHLIGHT_OPTIONS, QStringLiteral("Set How To &Highlight Detected Chords..."),
                                 QStringLiteral("Set how to highlight detected chords"),
                                 QStringLiteral("Set how to highlight detected chords")));

    // How chord names are read and moved; all off, the chord table alone decides.
    options->addSeparator();
    QAction* allChords = AddAction(ID_ALL_CHORDS, QStringLiteral("Transpose Every Chord &Name"),
                                   QStringLiteral("Also move chord names the table lacks, such as Asus4 or Bm7b5"));
    allChords->setCheckable(true);
    options->addAction(allChords);
    QMenu* spelling = options->addMenu(QStringLiteral("&Spelling"));
    auto* spellings = new QActionGroup(this);
    const char* const kSpellings[] = {"As &Written", "&Sharps", "&Flats", "By the Song's &Key"};
    for (int i = 0; i < 4; ++i) {
        QAction* choice = AddAction(ID_SPELLING_AS_WRITTEN + i, QString::fromLatin1(kSpellings[i]),
                                    QStringLiteral("How moved chord names are spelled"));
        choice->setCheckable(true);
        spellings->addAction(choice);
        spelling->addAction(choice);
    }
    QAction* columns = AddAction(ID_KEEP_COLUMNS, QStringLiteral("Keep Chord &Columns"),
                                 QStringLiteral("Keep chords over their syllables when a name grows or shrinks"));
    columns->setCheckable(true);
    options->addAction(columns);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    QAction* highlight = AddAction(ID_HIGHLIGHT_TOGGLE, QStringLiteral("&Highlight Detected Chords"),
                                   QStringLiteral("Highlight / Unhighlight detected chords"),
                                   QStringLiteral("Highlight / Unhighlight detected chords"));
    highlight->setCheckable(true);
    // A check mark in the menu, as beside the two bars; the tool bar keeps the picture.
    highlight->setIconVisibleInMenu(false);
    view->addAction(highlight);
    view->addSeparator();
    QAction* toolBar = AddAction(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"),
                                 QStringLiteral("Show or hide the toolbar"), QStringLiteral("Toggle ToolBar"));
    toolBar->setCheckable(true);
    toolBar->setChecked(true);
    view->addAction(toolBar);
    QAction* statusBarAction =
        AddAction(ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"), QStringLiteral("Show or hide the status bar"),
                  QStringLiteral("Toggle StatusBar"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);
    view->addAction(statusBarAction);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(AddAction(ID_HELP_FILE, QStringLiteral("Display &Help File")));
    help->addAction(AddAction(ID_COMMENTS, QStringLiteral("&Comments...")));
    help->addSeparator();
    help->addAction(AddAction(ID_APP_ABOUT, QStringLiteral("&About Quavern..."),
                              QStringLiteral("Display program information, version number and copyright"),
                              QStringLiteral("About")));

    // Accelerators without a menu entry.
    AddAction(ID_FILE_NEW, QStringLiteral("&New"), QStringLiteral("Create a new document"), QStringLiteral("New"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddAction(ID_HELP, QStringLiteral("Help"), QStringLiteral("Display help"), QStringLiteral("Help"))
        ->setShortcut(QKeySequence(Qt::Key_F1));
}

void CMainFrame::BuildToolBar() {
    m_pToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_pToolBar->setObjectName(QStringLiteral("ToolBar%1").arg(IDR_MAINFRAME));
    m_pToolBar->setIconSize(QSize(16, 16));
    for (int id : {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT, 0, ID_HIGHLIGHT_TOGGLE, ID_HIGHLIGHT_OPTIONS, 0,
                   ID_CHORD_LEVELS}) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        action->setIcon(DrawIcon(id));
        m_pToolBar->addAction(action);
    }
    QAction* toggle = Action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, m_pToolBar, &QWidget::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::BuildTranspositionBar() {
    m_pDialogBar = new QToolBar(QStringLiteral("Transposition"), this);
    m_pDialogBar->setObjectName(QStringLiteral("DialogBar%1").arg(IDR_MAINFRAME));
    m_pTranspositionBar = new CTranspositionBar(m_pDialogBar);
    m_pDialogBar->addWidget(m_pTranspositionBar);
    // The transposition bar gets a row of its own under the tool bar.
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_pDialogBar);
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage(QString::fromLatin1(kIdleMessage));
    // When a prompt goes away, the idle message comes back.
    connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& message) {
        if (message.isEmpty())
            bar->showMessage(QString::fromLatin1(kIdleMessage));
    });
    QAction* toggle = Action(ID_VIEW_STATUS_BAR);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
}

void CMainFrame::OnTitleChanged(const QString& title) {
    // The file's name first, then its folder; "[*]" marks an unsaved transposition.
    const QFileInfo file(title);
    const QString document = title.isEmpty()
                                 ? QStringLiteral("Untitled[*]")
                                 : file.fileName() + QStringLiteral("[*] (") + file.absolutePath() + QLatin1Char(')');
    setWindowTitle(document + QStringLiteral(" - ") + QString::fromLatin1(kFrameTitle));
}

void CMainFrame::OnSuggestCapo() {
    if (!m_pView->IsReady())
        return;
    const std::vector<CapoChoice> choices = CapoChoices(m_pDocument->Loaded());
    CCapoDlg dialog(choices, BestCapo(choices), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int capo = dialog.Capo();
    m_pView->SetShift(ShiftForCapo(capo));
    m_nCapo = capo;
    m_pTranspositionBar->ShowCapo(capo);
}

void CMainFrame::OnOptionsChanged() {
    const SongOptions& options = m_pDocument->Options();
    Action(ID_ALL_CHORDS)->setChecked(options.allChords);
    Action(ID_SPELLING_AS_WRITTEN + static_cast<int>(options.spelling))->setChecked(true);
    Action(ID_KEEP_COLUMNS)->setChecked(options.keepColumns);
}

void CMainFrame::OnSongOptions() {
    SongOptions options;
    options.allChords = Action(ID_ALL_CHORDS)->isChecked();
    for (int i = 0; i < 4; ++i) {
        if (Action(ID_SPELLING_AS_WRITTEN + i)->isChecked())
            options.spelling = static_cast<Spelling>(i);
    }
    options.keepColumns = Action(ID_KEEP_COLUMNS)->isChecked();
    if (!(options == m_pDocument->Options()))
        m_pDocument->SetSongOptions(options);
}

void CMainFrame::OnWorkingChanged() {
    m_pTranspositionBar->ShowHardness(m_pDocument->HardnessLevel());
}

void CMainFrame::OnSliderReleased() {
    QSlider* slider = m_pTranspositionBar->Slider();
    if (!m_pDocument || slider->isSliderDown() || slider->value() == m_pDocument->Shift() || !m_pView->IsReady())
        return;
    CMessageOnceScope command;
    m_pView->SetShift(slider->value());
}

void CMainFrame::OnComments() {
    CCommentsDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnManualChords() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    // A new dialog each time: it opens cleared.
    CManualChordsDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnChordLevels() {
    // The sheet loads the stored levels into its own table, then shows the
    // program's levels, and hands its table back only after OK.
    CSetChordLevels sheet(m_pView);
    sheet.Catalog().CopyFrom(theChordCatalog);
    if (sheet.exec() != QDialog::Accepted)
        return;
    theChordCatalog.CopyFrom(sheet.Catalog());
    theChordCatalog.SaveLevels();
    if (m_pDocument)
        m_pDocument->OnLevelsChanged();
}

void CMainFrame::OnHighlightOptions() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    CHighlightDlg dialog(m_pDocument->Highlight(), m_pView);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_pDocument->SetHighlightSettings(dialog.GetSettings());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A save that failed keeps the window open, so the transposition is not lost.
    if (!m_pView->SaveModified()) {
        event->ignore();
        return;
    }
    if (m_pDocument)
        m_pDocument->DeleteDisplayFile();
    event->accept();
}
