#include "dialogs/SetChordLevels.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/ControlIds.h"
#include "dialogs/HelpBox.h"
#include "dialogs/OtherChords.h"
#include "dialogs/SetChordLevelsPage.h"

namespace {

QPushButton* MakeButton(const QString& text, int id, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(ObjectNameOf(id));
    return button;
}

} // namespace

CSetChordLevels::CSetChordLevels(QWidget* parent, int firstPage) : QDialog(parent) {
    setObjectName(QStringLiteral("SetChordLevels"));
    setWindowTitle(QStringLiteral("Set Chords Difficulty Levels"));
    m_catalog.LoadLevels();

    m_tabs = new QTabWidget(this);
    // Tab order: major, minor, seventh, minor seventh, major seventh, other;
    // the captions keep their leading blanks.
    const std::array<QString, kQualityCount> captions = {QStringLiteral(" Maj"), QStringLiteral(" Min"),
                                                         QStringLiteral("   7"), QStringLiteral("Min 7"),
                                                         QStringLiteral("Maj 7")};
    for (int quality = 0; quality < kQualityCount; ++quality) {
        auto* page = new CSetChordLevelsPage(quality, m_catalog);
        m_pages[static_cast<std::size_t>(quality)] = page;
        m_tabs->addTab(page, captions[static_cast<std::size_t>(quality)]);
    }
    m_other = new COtherChords;
    m_tabs->addTab(m_other, QStringLiteral("Other"));
    m_tabs->setCurrentIndex(firstPage);

    // The button row: "Reset All Chords" at the left, OK, Cancel and Help at
    // the right; there is no Apply.
    QPushButton* resetAll = MakeButton(QStringLiteral("Reset All Chords"), IDC_RESET_ALL_CHORDS, this);
    QPushButton* ok = MakeButton(QStringLiteral("OK"), IDOK, this);
    QPushButton* cancel = MakeButton(QStringLiteral("Cancel"), IDCANCEL, this);
    QPushButton* help = MakeButton(QStringLiteral("Help"), ID_HELP, this);
    ok->setDefault(true);
    connect(resetAll, &QPushButton::clicked, this, &CSetChordLevels::OnResetAllChords);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CSetChordLevels::OnHelp);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(resetAll);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    // The keys that turn the pages work from anywhere in the sheet: as
    // shortcuts of the sheet they come before the focused control, so a level
    // box with the focus cannot take Ctrl+PageDown or Ctrl+Tab as a step of
    // its level.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { TurnPage(1); });
    // (Qt matches Ctrl+Shift+Tab also when the keyboard reports it as Backtab.)
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] { TurnPage(-1); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CSetChordLevels::~CSetChordLevels() = default;

void CSetChordLevels::OnResetAllChords() {
    m_catalog.ResetAll();
    for (CSetChordLevelsPage* page : m_pages)
        page->Refresh();
}

void CSetChordLevels::TurnPage(int step) {
    // The last page is followed by the first, as the tab bar's own keys do.
    const int count = m_tabs->count();
    m_tabs->setCurrentIndex((m_tabs->currentIndex() + step + count) % count);
}

void CSetChordLevels::OnHelp() {
    CHelpBox help(this, IDD_LEVELS_HELP, QSize(253, 131),
                  {{48, 25, QStringLiteral("Here you can set your own chord difficulty levels.")},
                   {22, 40, QStringLiteral("The program will use them to find the easiest transposition for you.")},
                   {23, 65, QStringLiteral("Move the mouse cursor on a chord name to see its configuration.")}},
                  QRect(100, 95, 50, 14), QStringLiteral("OK"));
    help.exec();
}
