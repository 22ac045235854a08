#include "dialogs/SetChordLevelsPage.h"

#include <algorithm>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWheelEvent>

#include "chords/ChordCatalog.h"
#include "chords/NoteNames.h"
#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"

namespace {

// One row per pitch class: the spelling whose level the row shows, and the
// flat spelling that shares the row (-1 for a natural root).
struct LevelRow {
    int shown;
    int flat;
};
constexpr std::array<LevelRow, CSetChordLevelsPage::kRows> kLevelRows = {{
    {0, -1},
    {1, 2},
    {3, -1},
    {4, 5},
    {6, -1},
    {7, -1},
    {8, 9},
    {10, -1},
    {11, 12},
    {13, -1},
    {14, 15},
    {16, -1},
}};

// Where the diagram stands on a page, in dialog units: the place that the
// grid's pixel corner (358, 230) has with the sheet's original font.
constexpr int kDiagramX = 239;
constexpr int kDiagramY = 141;

// The least room between a chord name and the level box right of it, in dialog units.
constexpr int kNameGap = 3;

QPoint DiagramOrigin(const QFont& font) {
    const CDialogUnits units(font);
    return units.Point(kDiagramX, kDiagramY);
}

// A chord name of a row. Qt drops a move over a child that does not track
// the mouse, so the page would never see the pointer on a name: the label
// tracks the mouse, ignores the move as a plain label does, and the move goes
// on to the page, which shows the fingering of the name under the pointer.
QLabel* MakeNameLabel(const std::string& name, QWidget* page) {
    auto* label = new QLabel(QString::fromStdString(name), page);
    label->setMouseTracking(true);
    label->adjustSize();
    return label;
}

// A level box steps its level with the wheel only once the user has given it
// the focus: a wheel turned to scroll past the page must not change a level
// nobody chose. It never takes the focus from the wheel either.
class CLevelComboBox final : public QComboBox {
    Q_DISABLE_COPY_MOVE(CLevelComboBox)

public:
    explicit CLevelComboBox(QWidget* parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};

} // namespace

QStringList CSetChordLevelsPage::LevelWords() {
    return {QStringLiteral("Very Easy"), QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard"),
            QStringLiteral("Very Hard")};
}

CSetChordLevelsPage::CSetChordLevelsPage(int quality, CChordCatalog& catalog, QWidget* parent)
    : QWidget(parent), m_nQuality(quality), m_catalog(catalog),
      m_diagram(DiagramOrigin(font()).x(), DiagramOrigin(font()).y()) {
    const CDialogUnits units(font());
    setMouseTracking(true);
    setMinimumSize(units.Size(336, 289));

    const std::string suffix = SuffixOfQuality(quality);
    const int leftX = quality == MajorSeventh ? 50 : 60;
    const int boxX = units.X(80);
    std::vector<QLabel*> leftLabels;
    for (int row = 0; row < kRows; ++row) {
        const LevelRow& levelRow = kLevelRows[static_cast<std::size_t>(row)];
        const int y = 27 + 20 * row;

        auto* box = new CLevelComboBox(this);
        box->setObjectName(ObjectNameOf(IDC_FIRST_LEVEL_BOX + row));
        box->addItems(LevelWords());
        // At least as wide as the longest level word needs.
        box->setGeometry(boxX, units.Y(y), std::max(units.X(48), box->sizeHint().width()), box->sizeHint().height());
        connect(box, &QComboBox::activated, this, [this, row] { OnLevelChosen(row); });
        m_boxes[static_cast<std::size_t>(row)] = box;

        const int textY = units.Y(y) + (box->sizeHint().height() - fontMetrics().height()) / 2;
        auto* left = MakeNameLabel(rootSpellings[static_cast<std::size_t>(levelRow.shown)] + suffix, this);
        left->move(units.X(leftX), textY);
        leftLabels.push_back(left);
        if (levelRow.flat >= 0) {
            auto* right = MakeNameLabel(rootSpellings[static_cast<std::size_t>(levelRow.flat)] + suffix, this);
            right->move(std::max(units.X(135), box->geometry().right() + units.X(7)), textY);
        }
    }

    // The names stand in a column left of the boxes. Where the font makes the
    // longest name ("C#m7") wider than the room there, the whole column moves
    // left so that no box covers the end of a name.
    int widest = 0;
    for (const QLabel* label : leftLabels)
        widest = std::max(widest, label->width());
    const int namesX = std::max(0, std::min(units.X(leftX), boxX - units.X(kNameGap) - widest));
    for (QLabel* label : leftLabels)
        label->move(namesX, label->y());

    auto* reset = new QPushButton(QStringLiteral("Reset these chords only"), this);
    reset->setObjectName(ObjectNameOf(IDC_RESET_THESE_CHORDS));
    reset->setGeometry(units.Rect(209, 25, 97, 20));
    connect(reset, &QPushButton::clicked, this, &CSetChordLevelsPage::OnResetTheseChords);
}

void CSetChordLevelsPage::FillBox(int row) {
    QComboBox* box = m_boxes[static_cast<std::size_t>(row)];
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(LevelWords());
    const int index = m_nQuality * CChordCatalog::kSpellingCount + kLevelRows[static_cast<std::size_t>(row)].shown;
    box->setCurrentIndex(m_catalog.GetAt(index).GetDifficulty() - 1);
}

void CSetChordLevelsPage::FillBoxes() {
    for (int row = 0; row < kRows; ++row)
        FillBox(row);
}

void CSetChordLevelsPage::Refresh() {
    m_diagram.DrawGrid(this);
    FillBoxes();
}

void CSetChordLevelsPage::OnLevelChosen(int row) {
    const int level = m_boxes[static_cast<std::size_t>(row)]->currentIndex() + 1;
    const LevelRow& levelRow = kLevelRows[static_cast<std::size_t>(row)];
    const int base = m_nQuality * CChordCatalog::kSpellingCount;
    m_catalog.GetAt(base + levelRow.shown).SetDifficulty(level);
    if (levelRow.flat >= 0)
        m_catalog.GetAt(base + levelRow.flat).SetDifficulty(level);
}

void CSetChordLevelsPage::OnResetTheseChords() {
    m_catalog.ResetQuality(m_nQuality);
    FillBoxes();
}

void CSetChordLevelsPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_diagram.Paint(painter);
}

void CSetChordLevelsPage::showEvent(QShowEvent* event) {
    // A page shows the table as it is when it comes up, so it reflects an
    // earlier "Reset All Chords" or a change made on another page.
    Refresh();
    QWidget::showEvent(event);
}

void CSetChordLevelsPage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (rect().contains(p)) {
        QWidget* child = childAt(p);
        if (!child) {
            m_diagram.ClearChord(this);
        } else if (auto* label = qobject_cast<QLabel*>(child)) {
            // Only the labels name chords; a box shows a level word and the button its caption.
            if (const CChord* chord = m_catalog.Find(label->text().toStdString()))
                m_diagram.ShowChord(this, *chord);
        }
    }
    QWidget::mouseMoveEvent(event);
}
