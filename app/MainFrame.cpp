#include "app/MainFrame.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/CommentsDlg.h"
#include "app/TranspositionBar.h"
#include "base/Messages.h"
#include "chords/ChordCatalog.h"
#include "dialogs/CapoDlg.h"
#include "dialogs/ChordDiagramHost.h"
#include "dialogs/ControlIds.h"
#include "dialogs/HighlightDlg.h"
#include "dialogs/ManualChordsDlg.h"
#include "dialogs/SetChordLevels.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"

namespace {

constexpr const char* kIdleMessage = "For Help, press F1";

// The tool bar pictures, drawn rather than shipped as files.
const QPen kOutline(QColor(40, 40, 40), 2);

void DrawOpen(QPainter& painter) {
    painter.setPen(kOutline);
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
}

void DrawSave(QPainter& painter) {
    painter.setPen(kOutline);
    painter.setBrush(QColor(70, 100, 170));
    painter.drawRoundedRect(4, 4, 24, 24, 2, 2);
    painter.setBrush(Qt::white);
    painter.drawRect(9, 5, 14, 9);
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(10, 19, 12, 8);
}

void DrawPrint(QPainter& painter) {
    painter.setPen(kOutline);
    painter.setBrush(Qt::white);
    painter.drawRect(9, 3, 14, 10);
    painter.setBrush(QColor(150, 150, 150));
    painter.drawRoundedRect(3, 12, 26, 12, 2, 2);
    painter.setBrush(Qt::white);
    painter.drawRect(9, 20, 14, 9);
}

void DrawChordName(QPainter& painter, int pixelSize, const QRect& rect) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(rect, Qt::AlignCenter, QStringLiteral("C"));
}

void DrawHighlight(QPainter& painter) {
    DrawChordName(painter, 30, QRect(0, 0, 32, 32));
}

void DrawHighlightOptions(QPainter& painter) {
    DrawChordName(painter, 24, QRect(0, 0, 24, 26));
    // A brush over the chord: how it is highlighted.
    painter.setPen(QPen(QColor(120, 70, 20), 3));
    painter.drawLine(17, 30, 28, 19);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 0, 0));
    painter.drawEllipse(QPoint(28, 19), 3, 3);
}

void DrawLevels(QPainter& painter) {
    const QColor colors[5] = {QColor(0, 200, 0), QColor(140, 210, 0), QColor(240, 200, 0), QColor(240, 120, 0),
                              QColor(220, 0, 0)};
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(colors[i]);
        const int height = 6 + i * 5;
        painter.drawRect(2 + i * 6, 29 - height, 5, height);
    }
}

QIcon Picture(void (*draw)(QPainter&)) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

// A song option an Options entry shows and sets. The document stores it.
struct SongOptionField {
    int (*get)(const SongOptions& options);
    void (*set)(SongOptions& options, int value);
    /// One of several values: its entries exclude each other. Otherwise the
    /// entry is on at its value and off at 0.
    bool choice;
};

// ALLCHORDS
const SongOptionField kAllChords{[](const SongOptions& o) { return o.allChords ? 1 : 0; },
                                 [](SongOptions& o, int value) { o.allChords = value != 0; }, false};
// SPELLING
const SongOptionField kSpelling{[](const SongOptions& o) { return static_cast<int>(o.spelling); },
                                [](SongOptions& o, int value) { o.spelling = SpellingOfValue(value); }, true};
// KEEPCOLUMNS
const SongOptionField kKeepColumns{[](const SongOptions& o) { return o.keepColumns ? 1 : 0; },
                                   [](SongOptions& o, int value) { o.keepColumns = value != 0; }, false};

// CHORDLINES
const SongOptionField kChordLines{[](const SongOptions& o) { return o.chordLines ? 1 : 0; },
                                  [](SongOptions& o, int value) { o.chordLines = value != 0; }, false};

// NOTATION
const SongOptionField kNotation{[](const SongOptions& o) { return static_cast<int>(o.notation); },
                                [](SongOptions& o, int value) { o.notation = NotationOfValue(value); }, false};

enum class Check { None, Off, On };

// The guitarist's reading: every chord name, on chord lines only, spelled by
// the key, in their columns. Whatever else the options hold stays.
bool IsGuitaristsReading(const SongOptions& o) {
    return o.allChords && o.chordLines && o.keepColumns && o.spelling == Spelling::Key;
}

SongOptions WithGuitaristsReading(SongOptions options, bool on) {
    options.allChords = on;
    options.chordLines = on;
    options.keepColumns = on;
    options.spelling = on ? Spelling::Key : Spelling::AsWritten;
    return options;
}

} // namespace

/// One command of the window: its menu entry, keys, tool bar picture and
/// what it does. The menus, the accelerators and the tool bar are built
/// from these rows alone.
struct FrameCommand {
    int id;
    /// The menu of its entry, a submenu after "/": "&Options/&Spelling";
    /// nullptr for a command reached by its keys only.
    const char* menu;
    const char* text;
    /// Status bar prompt and tool tip, or nullptr.
    const char* prompt;
    const char* toolTip;
    /// Its keys in Qt's portable form, "; " between two ("+; Ctrl+Up"), or nullptr.
    const char* keys;
    /// A separator goes before its menu entry.
    bool separator;
    /// Its place on the tool bar, 0 for none; the tens are groups, with a
    /// separator between two.
    int toolPlace;
    void (*icon)(QPainter& painter);
    Check check;
    /// What it does; nullptr when the application or a bar handles it.
    void (*run)(CMainFrame& frame);
    /// The song option it shows and sets, with the value it stands for.
    const SongOptionField* option;
    int optionValue;
};

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

const std::vector<FrameCommand>& CMainFrame::Commands() {
    using F = CMainFrame;
    constexpr auto N = Check::None;
    static const char* const kOptions = "&Options";
    // The single reading options, which "Read as a Guitarist" sets together.
    static const char* const kReading = "&Options/&Reading Options";
    static const char* const kSpellings = "&Options/&Reading Options/&Spelling";
    static const char* const kSpellingPrompt = "How moved chord names are spelled";
    static const std::vector<FrameCommand> commands =
        {
            {ID_FILE_OPEN, "&File", "&Open a Tablature File...\tCtrl+O", "Open an existing document", "Open", "Ctrl+O",
             false, 11, DrawOpen, N, [](F& f) { f.m_pView->OnFileOpen(); }, nullptr, 0},
            {ID_MANUAL_CHORDS, "&File", "&Enter Chords Manually...", "Enter chords manually and transpose them",
             nullptr, nullptr, false, 0, nullptr, N, [](F& f) { f.OnManualChords(); }, nullptr, 0},
            {ID_FILE_SAVE, "&File", "&Save\tCtrl+S", "Save the active document", "Save", "Ctrl+S", true, 12, DrawSave,
             N, [](F& f) { f.m_pView->OnFileSave(); }, nullptr, 0},
            {ID_FILE_SAVE_AS, "&File", "Save &As...", "Save the active document with a new name", "Save As", nullptr,
             false, 0, nullptr, N, [](F& f) { f.m_pView->OnFileSaveAs(); }, nullptr, 0},
            {ID_EXPORT_CHORDPRO, "&File", "Export As C&hordPro...",
             "Write the song as shown as a ChordPro song, chords in brackets in the lyrics", nullptr, nullptr, true, 0,
             nullptr, N, [](F& f) { f.m_pView->OnExportAs(true); }, nullptr, 0},
            {ID_EXPORT_TEXT, "&File", "Export As &Text...", "Write the song as shown as chords over lyrics", nullptr,
             nullptr, false, 0, nullptr, N, [](F& f) { f.m_pView->OnExportAs(false); }, nullptr, 0},
            {ID_FILE_PRINT, "&File", "&Print...\tCtrl+P", "Print the active document", "Print", "Ctrl+P", true, 13,
             DrawPrint, N, [](F& f) { f.m_pView->OnFilePrint(); }, nullptr, 0},
            {ID_FILE_PRINT_PREVIEW, "&File", "Print Pre&view", "Display full pages", "Print Preview", nullptr, false, 0,
             nullptr, N, [](F& f) { f.m_pView->OnFilePrintPreview(); }, nullptr, 0},
            {ID_FILE_PRINT_SETUP, "&File", "P&rint Setup...", "Change the printer and printing options", "Print Setup",
             nullptr, false, 0, nullptr, N, nullptr, nullptr, 0},
            {ID_APP_EXIT, "&File", "E&xit", "Quit the application; prompts to save documents", "Exit", "Ctrl+Q", true,
             0, nullptr, N, [](F& f) { f.close(); }, nullptr, 0},
            {ID_FILE_PRINT_DIRECT, nullptr, "Print Direct", nullptr, nullptr, nullptr, false, 0, nullptr, N,
             [](F& f) { f.m_pView->OnFilePrintDirect(); }, nullptr, 0},

            {ID_FIND_EASIEST, "&Transpose", "Find &Easiest Transposition", nullptr, nullptr, "Ctrl+E", false, 0,
             nullptr, N, [](F& f) { f.m_pView->OnFindEasiest(); }, nullptr, 0},
            {ID_TRANSPOSE_UP, "&Transpose", "Transpose by a half-tone &Up", nullptr, nullptr, "+; Ctrl+Up", false, 0,
             nullptr, N, [](F& f) { f.m_pView->OnTransposeUp(); }, nullptr, 0},
            {ID_TRANSPOSE_DOWN, "&Transpose", "Transpose by a half-tone &Down", nullptr, nullptr, "-; Ctrl+Down", false,
             0, nullptr, N, [](F& f) { f.m_pView->OnTransposeDown(); }, nullptr, 0},
            {ID_SUGGEST_CAPO, "&Transpose", "Suggest a &Capo...",
             "Where to put the capo to play the song with easier shapes", nullptr, nullptr, true, 0, nullptr, N,
             [](F& f) { f.OnSuggestCapo(); }, nullptr, 0},

            {ID_CHORD_LEVELS, kOptions, "Set Chord Difficulty &Levels...", "Set chord difficulty levels",
             "Set chord difficulty levels", nullptr, false, 31, DrawLevels, N, [](F& f) { f.OnChordLevels(); }, nullptr,
             0},
            {ID_HIGHLIGHT_OPTIONS, kOptions, "Set How To &Highlight Detected Chords...",
             "Set how to highlight detected chords", "Set how to highlight detected chords", nullptr, false, 22,
             DrawHighlightOptions, N, [](F& f) { f.OnHighlightOptions(); }, nullptr, 0},
            // How chord names are read and moved; all off, the chord table alone decides.
            {ID_READ_AS_GUITARIST, kOptions, "Read as a &Guitarist",
             "Read the song as a guitarist does: every chord name, on chord lines only, spelled by the key, in "
             "their columns",
             nullptr, nullptr, true, 0, nullptr, Check::Off, [](F& f) { f.OnReadAsGuitarist(); }, nullptr, 0},
            {ID_ALL_CHORDS, kReading, "Transpose Every Chord &Name",
             "Also move chord names the table lacks, such as Asus4 or Bm7b5", nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kAllChords, 1},
            {ID_SPELLING_AS_WRITTEN, kSpellings, "As &Written", kSpellingPrompt, nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kSpelling, static_cast<int>(Spelling::AsWritten)},
            {ID_SPELLING_AS_WRITTEN + 1, kSpellings, "&Sharps", kSpellingPrompt, nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kSpelling, static_cast<int>(Spelling::Sharps)},
            {ID_SPELLING_AS_WRITTEN + 2, kSpellings, "&Flats", kSpellingPrompt, nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kSpelling, static_cast<int>(Spelling::Flats)},
            {ID_SPELLING_BY_KEY, kSpellings, "By the Song's &Key", kSpellingPrompt, nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kSpelling, static_cast<int>(Spelling::Key)},
            {ID_KEEP_COLUMNS, kReading, "Keep Chord &Columns",
             "Keep chords over their syllables when a name grows or shrinks", nullptr, nullptr, false, 0, nullptr,
             Check::Off, [](F& f) { f.OnSongOptions(); }, &kKeepColumns, 1},
            {ID_CHORD_LINES, kReading, "Read C&hord Lines Only",
             "Move chord names only on lines of chords, never in lyrics, titles or prose", nullptr, nullptr, false, 0,
             nullptr, Check::Off, [](F& f) { f.OnSongOptions(); }, &kChordLines, 1},
            {ID_GERMAN_NOTATION, kReading, "&German Notation (H, B, mi)",
             "Read and write chord names as German and Czech sheets do: H is B, B is B flat, mi is minor", nullptr,
             nullptr, false, 0, nullptr, Check::Off, [](F& f) { f.OnSongOptions(); }, &kNotation,
             static_cast<int>(Notation::German)},

            // The check marks follow the document and the bars.
            {ID_HIGHLIGHT_TOGGLE, "&View", "&Highlight Detected Chords", "Highlight / Unhighlight detected chords",
             "Highlight / Unhighlight detected chords", nullptr, false, 21, DrawHighlight, Check::Off,
             [](F& f) { f.m_pView->OnHighlightToggle(); }, nullptr, 0},
            // Ctrl with = - 0, as in a browser; "+" and "-" alone move the song.
            {ID_ZOOM_IN, "&View", "Zoom &In\tCtrl+=", "Show the song larger", nullptr, "Ctrl+=; Ctrl++", true, 0,
             nullptr, N, [](F& f) { f.m_pView->OnZoomIn(); }, nullptr, 0},
            {ID_ZOOM_OUT, "&View", "Zoom &Out\tCtrl+-", "Show the song smaller", nullptr, "Ctrl+-", false, 0, nullptr,
             N, [](F& f) { f.m_pView->OnZoomOut(); }, nullptr, 0},
            {ID_ZOOM_ACTUAL, "&View", "&Actual Size\tCtrl+0", "Show the song at its own size", nullptr, "Ctrl+0", false,
             0, nullptr, N, [](F& f) { f.m_pView->OnZoomActual(); }, nullptr, 0},
            {ID_LEFT_HANDED, "&View", "&Left-Handed Chord Pictures",
             "Draw every chord picture for a left-handed player", nullptr, nullptr, true, 0, nullptr, Check::Off,
             [](F& f) {
                 if (f.m_pDocument)
                     f.m_pDocument->SetLeftHanded(!f.m_pDocument->IsLeftHanded());
             },
             nullptr, 0},
            {ID_VIEW_TOOLBAR, "&View", "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", nullptr, true, 0,
             nullptr, Check::On, nullptr, nullptr, 0},
            {ID_VIEW_STATUS_BAR, "&View", "&Status Bar", "Show or hide the status bar", "Toggle StatusBar", nullptr,
             false, 0, nullptr, Check::On, nullptr, nullptr, 0},

            {ID_HELP_FILE, "&Help", "Display &Help File", nullptr, nullptr, nullptr, false, 0, nullptr, N,
             [](F& f) { f.m_pView->OnHelpFile(); }, nullptr, 0},
            {ID_COMMENTS, "&Help", "&Comments...", nullptr, nullptr, nullptr, false, 0, nullptr, N,
             [](F& f) { f.OnComments(); }, nullptr, 0},
            {ID_APP_ABOUT, "&Help", "&About Quavern...", "Display program information, version number and copyright",
             "About", nullptr, true, 0, nullptr, N, nullptr, nullptr, 0},

            // Accelerators without a menu entry; the application handles New.
            {ID_FILE_NEW, nullptr, "&New", "Create a new document", "New", "Ctrl+N", false, 0, nullptr, N, nullptr,
             nullptr, 0},
            {ID_HELP, nullptr, "Help", "Display help", "Help", "F1", false, 0, nullptr, N,
             [](F& f) { f.m_pView->OnHelpFile(); }, nullptr, 0},
        };
    return commands;
}

bool CMainFrame::OnCreate() {
    BuildMenus();
    BuildToolBar();
    BuildTranspositionBar();
    BuildStatusBar();

    // Each command shows a message at most once, however often the work behind it meets the cause.
    for (const FrameCommand& command : Commands()) {
        if (!command.run)
            continue;
        connect(Action(command.id), &QAction::triggered, this, [this, run = command.run] {
            CMessageOnceScope once;
            run(*this);
        });
    }
    if (m_pDocument) {
        // The menu and the tool bar show whether the display is highlighted,
        // the transposition bar the song's shift and how hard its chords are.
        connect(m_pDocument, &CQuavernDoc::HighlightedChanged, Action(ID_HIGHLIGHT_TOGGLE), &QAction::setChecked);
        connect(m_pDocument, &CQuavernDoc::LeftHandedChanged, Action(ID_LEFT_HANDED), &QAction::setChecked);
        connect(m_pDocument, &CQuavernDoc::ShiftChanged, m_pTranspositionBar, &CTranspositionBar::ShowShift);
        connect(m_pDocument, &CQuavernDoc::WorkingChanged, this, &CMainFrame::OnWorkingChanged);
        // Which names stay as written changes with the song and with the
        // options, once the document has read the song again by them.
        connect(m_pDocument, &CQuavernDoc::DisplayWritten, this, [this](const QString&, bool newSong) {
            if (newSong)
                ShowUntouchedNames();
        });
        connect(m_pDocument, &CQuavernDoc::OptionsChanged, this, &CMainFrame::ShowUntouchedNames, Qt::QueuedConnection);
        connect(m_pDocument, &CQuavernDoc::ModifiedChanged, this, &QWidget::setWindowModified);
        connect(m_pDocument, &CQuavernDoc::OptionsChanged, this, &CMainFrame::OnOptionsChanged);
        // The capo note stands while the song is shown in that capo's shapes.
        connect(m_pDocument, &CQuavernDoc::ShiftChanged, this, [this](int shift) {
            if (m_nCapo > 0 && shift != ShiftForCapo(m_nCapo))
                ShowCapo(0, QString(), std::string());
        });
        connect(m_pDocument, &CQuavernDoc::Notice, statusBar(),
                [bar = statusBar()](const QString& text) { bar->showMessage(text, 15000); });
    }
    // The window is never narrower than its transposition bar.
    setMinimumWidth(m_pDialogBar->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth));

    // The bar's buttons send the same commands as the menu; the song follows
    // the slider whenever the user lets go of it.
    connect(m_pTranspositionBar, &CTranspositionBar::CommandClicked, this, [this](int id) {
        if (QAction* action = Action(id))
            action->trigger();
    });
    connect(m_pTranspositionBar, &CTranspositionBar::ShiftChosen, this, &CMainFrame::OnSliderReleased);
    // A release that came while a page loaded is applied once it has.
    connect(m_pView, &CQuavernView::PageLoaded, this, &CMainFrame::OnSliderReleased);
    m_pTranspositionBar->ShowShift(0);
    return true;
}

void CMainFrame::BuildMenus() {
    std::map<QString, QMenu*> menus;
    std::map<const SongOptionField*, QActionGroup*> choices;
    for (const FrameCommand& command : Commands()) {
        auto* action = new QAction(QString::fromUtf8(command.text), this);
        action->setObjectName(ObjectNameOf(command.id));
        if (command.prompt)
            action->setStatusTip(QString::fromUtf8(command.prompt));
        if (command.toolTip)
            action->setToolTip(QString::fromUtf8(command.toolTip));
        if (command.keys)
            action->setShortcuts(
                QKeySequence::listFromString(QString::fromLatin1(command.keys), QKeySequence::PortableText));
        if (command.check != Check::None) {
            action->setCheckable(true);
            action->setChecked(command.check == Check::On);
            // A check mark in the menu, as beside the two bars; the tool bar keeps the picture.
            action->setIconVisibleInMenu(false);
        }
        if (command.option && command.option->choice) {
            QActionGroup*& group = choices[command.option];
            if (!group)
                group = new QActionGroup(this);
            group->addAction(action);
        }
        // Every command stays reachable by its accelerator, with or without a menu entry.
        addAction(action);
        m_actions[command.id] = action;
        if (!command.menu)
            continue;

        const QString path = QString::fromUtf8(command.menu);
        QMenu*& menu = menus[path];
        if (!menu) {
            const int slash = path.lastIndexOf(QLatin1Char('/'));
            menu = slash < 0 ? menuBar()->addMenu(path) : menus.at(path.left(slash))->addMenu(path.mid(slash + 1));
        }
        if (command.separator)
            menu->addSeparator();
        menu->addAction(action);
    }
}

void CMainFrame::BuildToolBar() {
    m_pToolBar = addToolBar(QStringLiteral("Toolbar"));
    m_pToolBar->setObjectName(QStringLiteral("ToolBar%1").arg(IDR_MAINFRAME));
    m_pToolBar->setIconSize(QSize(16, 16));
    std::map<int, const FrameCommand*> places;
    for (const FrameCommand& command : Commands()) {
        if (command.toolPlace > 0)
            places[command.toolPlace] = &command;
    }
    int group = 0;
    for (const auto& [place, command] : places) {
        if (group != 0 && place / 10 != group)
            m_pToolBar->addSeparator();
        group = place / 10;
        QAction* action = Action(command->id);
        action->setIcon(Picture(command->icon));
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

    // Lasting notes, which no prompt of a menu or button replaces.
    m_pKeyNote = new QLabel(bar);
    m_pKeyNote->setObjectName(ObjectNameOf(IDC_KEY_NOTE));
    bar->addPermanentWidget(m_pKeyNote);
    m_pUntouchedNote = new QToolButton(bar);
    m_pUntouchedNote->setObjectName(ObjectNameOf(IDC_UNTOUCHED_NOTE));
    m_pUntouchedNote->setAutoRaise(true);
    m_pUntouchedNote->hide();
    bar->addPermanentWidget(m_pUntouchedNote);
    connect(m_pUntouchedNote, &QToolButton::clicked, this, [this] {
        QAction* reading = Action(ID_READ_AS_GUITARIST);
        if (!m_untouchedNames.isEmpty() && !reading->isChecked())
            reading->trigger();
    });
}

void CMainFrame::ShowUntouchedNames() {
    // Names the table lacks stay as written: the user is told which.
    m_untouchedNames.clear();
    if (m_pDocument && !m_pDocument->Options().allChords) {
        for (const std::string& name : m_pDocument->Loaded().UntouchedNames())
            m_untouchedNames << QString::fromStdString(name);
    }
    ShowLeftAsWritten();
}

void CMainFrame::ShowLeftAsWritten() {
    // A legend whose shape cannot move to the shift keeps its name too,
    // whatever the reading: it is named without an offer.
    QStringList legends;
    if (m_pDocument) {
        for (const std::string& legend : m_pDocument->Working().LegendsLeftAsWritten())
            legends << QString::fromStdString(legend);
    }
    QStringList parts;
    if (!m_untouchedNames.isEmpty()) {
        parts << QStringLiteral("Left as written: %1 (click: Read as a Guitarist)")
                     .arg(m_untouchedNames.join(QStringLiteral(", ")));
    }
    if (!legends.isEmpty()) {
        const QString text = legends.size() == 1 ? QStringLiteral("Fingering left as written: %1")
                                                 : QStringLiteral("Fingerings left as written: %1");
        parts << text.arg(legends.join(QStringLiteral(", ")));
    }
    m_pUntouchedNote->setText(parts.join(QStringLiteral("; ")));
    m_pUntouchedNote->setToolTip(
        !m_untouchedNames.isEmpty()
            ? QStringLiteral(
                  "Click to read the song as a guitarist: every chord name, on chord lines only, spelled by the key")
            : QStringLiteral("At this shift these shapes would leave the neck or need more than a hand: each stays "
                             "as written, with its chord name"));
    m_pUntouchedNote->setVisible(!parts.isEmpty());
}

void CMainFrame::ShowKey() {
    // With a capo, the key of its shapes and the key the song sounds in.
    if (m_nCapo > 0) {
        m_pKeyNote->setText(m_strCapo);
        return;
    }
    // The key the song is written in, and where the shift has moved it,
    // spelled as the moved chords are.
    const QString written = QString::fromStdString(m_pDocument->Loaded().Key());
    const QString moved = QString::fromStdString(m_pDocument->Working().Key());
    if (written.isEmpty())
        m_pKeyNote->clear();
    else if (m_pDocument->Shift() == 0 || moved.isEmpty())
        m_pKeyNote->setText(QStringLiteral("Key: ") + written);
    else
        m_pKeyNote->setText(QStringLiteral("Key: %1 \u2192 %2").arg(written, moved));
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
    if (!m_pDocument || !m_pView->IsReady())
        return;
    const std::vector<CapoChoice> choices = CapoChoices(m_pDocument->Loaded());
    const std::string sounding = m_pDocument->Loaded().Key();
    CCapoDlg dialog(choices, BestCapo(choices), sounding, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int capo = dialog.Capo();
    const auto chosen =
        std::find_if(choices.begin(), choices.end(), [capo](const CapoChoice& choice) { return choice.capo == capo; });
    m_pView->SetShift(ShiftForCapo(capo));
    // A song that could not be moved to the shapes gets no capo note.
    if (chosen == choices.end() || capo == 0 || m_pDocument->Shift() != ShiftForCapo(capo))
        return;
    ShowCapo(capo, QString::fromStdString(CapoText(*chosen, sounding)),
             dialog.WritesCapo() ? CapoFileLine(*chosen, sounding) : std::string());
}

void CMainFrame::ShowCapo(int capo, const QString& text, const std::string& fileLine) {
    m_nCapo = capo;
    m_strCapo = text;
    m_pTranspositionBar->ShowCapo(capo, text);
    m_pView->SetPrintCapo(text);
    m_pDocument->SetHeadLine(fileLine);
    ShowKey();
}

void CMainFrame::OnReadAsGuitarist() {
    if (!m_pDocument)
        return;
    const SongOptions options =
        WithGuitaristsReading(m_pDocument->Options(), Action(ID_READ_AS_GUITARIST)->isChecked());
    if (options != m_pDocument->Options())
        m_pDocument->SetSongOptions(options);
    else
        OnOptionsChanged();
}

void CMainFrame::OnOptionsChanged() {
    const SongOptions& options = m_pDocument->Options();
    for (const FrameCommand& command : Commands()) {
        if (command.option)
            Action(command.id)->setChecked(command.option->get(options) == command.optionValue);
    }
    Action(ID_READ_AS_GUITARIST)->setChecked(IsGuitaristsReading(options));
}

void CMainFrame::OnSongOptions() {
    if (!m_pDocument)
        return;
    SongOptions options = m_pDocument->Options();
    for (const FrameCommand& command : Commands()) {
        const bool checked = command.option && Action(command.id)->isChecked();
        if (checked || (command.option && !command.option->choice))
            command.option->set(options, checked ? command.optionValue : 0);
    }
    if (!(options == m_pDocument->Options()))
        m_pDocument->SetSongOptions(options);
}

void CMainFrame::OnWorkingChanged() {
    m_pTranspositionBar->ShowHardness(m_pDocument->HardnessLevel());
    ShowKey();
    // Which legends stay as written changes with the shift.
    ShowLeftAsWritten();
}

void CMainFrame::OnSliderReleased() {
    const int shift = m_pTranspositionBar->ChosenShift();
    if (!m_pDocument || m_pTranspositionBar->IsChoosing() || shift == m_pDocument->Shift() || !m_pView->IsReady())
        return;
    CMessageOnceScope command;
    m_pView->SetShift(shift);
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
    MirrorChordDiagrams(&dialog, m_pDocument && m_pDocument->IsLeftHanded());
    dialog.exec();
}

void CMainFrame::OnChordLevels() {
    // The sheet loads the stored levels into its own table, then shows the
    // program's levels, and hands its table back only after OK.
    CSetChordLevels sheet(m_pView);
    sheet.Catalog().CopyFrom(theChordCatalog);
    MirrorChordDiagrams(&sheet, m_pDocument && m_pDocument->IsLeftHanded());
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

void CMainFrame::CloseWithoutPrompts() {
    // A box or dialog open when the quit came is answered Cancel first.
    while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        dialog->reject();
    m_bNoPrompts = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A save that failed keeps the window open, so the transposition is not lost.
    if (!m_bNoPrompts && !m_pView->SaveModified()) {
        event->ignore();
        return;
    }
    if (m_pDocument)
        m_pDocument->DeleteDisplayFile();
    event->accept();
}
