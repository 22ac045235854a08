#include "dialogs/CapoDlg.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dialogs/ControlIds.h"

CCapoDlg::CCapoDlg(const std::vector<CapoChoice>& choices, int best, const std::string& soundingKey, QWidget* parent)
    : QDialog(parent), m_choices(choices) {
    setObjectName(ObjectNameOf(IDD_CAPO));
    setWindowTitle(QStringLiteral("Suggest a Capo"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Where to put the capo to play the song in its own key with easier shapes:"), this));

    m_table = new QTableWidget(static_cast<int>(m_choices.size()), 4, this);
    m_table->setObjectName(ObjectNameOf(IDC_CAPO_TABLE));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Capo"), QStringLiteral("Shapes"), QStringLiteral("Difficulty"), QString()});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const CapoChoice& choice = m_choices[static_cast<std::size_t>(row)];
        QStringList shapes;
        for (const std::string& shape : choice.shapes)
            shapes << QString::fromStdString(shape);
        const double average =
            choice.shapes.empty() ? 1.0 : static_cast<double>(choice.score) / static_cast<double>(choice.shapes.size());
        m_table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(CapoText(choice, soundingKey))));
        m_table->setItem(row, 1, new QTableWidgetItem(shapes.join(QLatin1Char(' '))));
        m_table->setItem(row, 2, new QTableWidgetItem(LevelWord(average)));
        auto* gauge = new QProgressBar(m_table);
        gauge->setRange(0, 400);
        gauge->setValue(static_cast<int>(std::lround((average - 1.0) * 100.0)));
        gauge->setTextVisible(false);
        m_table->setCellWidget(row, 3, gauge);
    }
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->resizeColumnsToContents();
    m_table->selectRow(std::clamp(best, 0, std::max(0, m_table->rowCount() - 1)));
    layout->addWidget(m_table);
    m_writeCapo = new QCheckBox(QStringLiteral("&Write the capo at the top of the song"), this);
    m_writeCapo->setObjectName(ObjectNameOf(IDC_CAPO_WRITE));
    m_writeCapo->setToolTip(QStringLiteral("Save and Save As put a line such as \"Capo 3: shapes in G, sounds in "
                                           "Bb.\" above the song"));
    layout->addWidget(m_writeCapo);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ObjectNameOf(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ObjectNameOf(IDCANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(720, 420);
}

CCapoDlg::~CCapoDlg() = default;

int CCapoDlg::Capo() const {
    const int row = m_table->currentRow();
    return row >= 0 && row < static_cast<int>(m_choices.size()) ? m_choices[static_cast<std::size_t>(row)].capo : 0;
}

bool CCapoDlg::WritesCapo() const {
    return m_writeCapo->isChecked();
}

QString CCapoDlg::LevelWord(double averageLevel) {
    static const char* const kWords[] = {"Very Easy", "Easy", "Medium", "Hard", "Very Hard"};
    const long level = std::clamp(std::lround(averageLevel), 1L, 5L);
    return QString::fromLatin1(kWords[level - 1]);
}
