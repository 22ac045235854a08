#include "app/TranspositionBar.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "app/PercentProgressCtrl.h"
#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"

namespace {

// Under the slider: x of each label in dialog units, from "-6" to "+6".
constexpr int kShiftLabelX[13] = {158, 172, 186, 200, 214, 228, 244, 254, 268, 282, 296, 310, 323};

} // namespace

CTranspositionBar::CTranspositionBar(QWidget* parent) : QWidget(parent) {
    setObjectName(ObjectNameOf(IDR_MAINFRAME));
    const CDialogUnits units(font());
    m_size = units.Size(471, 37);
    setFixedSize(m_size);

    auto addLabel = [this, &units](const QString& text, const QRect& rect, Qt::Alignment alignment) {
        auto* label = new QLabel(text, this);
        label->setAlignment(alignment);
        label->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
        return label;
    };
    // The gauges' labels end just before the gauges, however wide the font draws them.
    for (const auto& [text, rect] : {std::pair{QStringLiteral("Hardness"), QRect(5, 5, 31, 8)},
                                     std::pair{QStringLiteral("Easiness"), QRect(7, 15, 29, 8)}}) {
        QLabel* label = addLabel(text, rect, Qt::AlignRight | Qt::AlignVCenter);
        const int right = units.X(38);
        const int width = std::max(label->width(), label->sizeHint().width());
        label->setGeometry(right - width, label->y(), width, std::max(label->height(), label->sizeHint().height()));
    }

    m_hardness = new CPercentProgressCtrl(this);
    m_hardness->setObjectName(ObjectNameOf(IDC_HARDNESS_GAUGE));
    m_hardness->setGeometry(units.Rect(40, 5, 85, 10));
    m_easiness = new CPercentProgressCtrl(this);
    m_easiness->setObjectName(ObjectNameOf(IDC_EASINESS_GAUGE));
    m_easiness->setGeometry(units.Rect(40, 16, 85, 10));
    // Green for easiness, red for hardness, each from pale to full.
    for (const auto& [gauge, start, end] : {std::tuple{m_easiness, QColor(127, 255, 127), QColor(0, 255, 0)},
                                            std::tuple{m_hardness, QColor(255, 127, 127), QColor(255, 0, 0)}}) {
        gauge->SetColors(start, end, Qt::white, Qt::black);
        gauge->SetShowPercent(true);
        gauge->SetRange(0, 202);
    }

    auto addButton = [this, &units](int id, const QString& text, const QRect& rect) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(ObjectNameOf(id));
        button->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, id] { Q_EMIT CommandClicked(id); });
        return button;
    };
    addButton(ID_TRANSPOSE_DOWN, QStringLiteral("-"), QRect(135, 5, 19, 16));
    addButton(ID_TRANSPOSE_UP, QStringLiteral("+"), QRect(338, 5, 17, 16));
    addButton(ID_FIND_EASIEST, QStringLiteral("&Easiest"), QRect(365, 5, 45, 20));
    addButton(ID_MANUAL_CHORDS, QStringLiteral("&Manual"), QRect(420, 5, 45, 20));
    // Under the buttons: the capo whose shapes the song is shown in, if any.
    m_capoNote = addLabel(QString(), QRect(365, 27, 100, 9), Qt::AlignHCenter | Qt::AlignTop);
    m_capoNote->setObjectName(ObjectNameOf(IDC_CAPO_NOTE));

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(ObjectNameOf(IDC_SHIFT_SLIDER));
    m_slider->setGeometry(units.Rect(154, 5, 184, 16));
    m_slider->setRange(-6, 6);
    m_slider->setValue(0);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_slider->setPageStep(1);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    // Moves while the thumb is held wait for its release.
    connect(m_slider, &QSlider::sliderReleased, this, [this] { Q_EMIT ShiftChosen(m_slider->value()); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int shift) {
        if (!m_slider->isSliderDown())
            Q_EMIT ShiftChosen(shift);
    });

    static const char* const kShiftLabels[13] = {"-6", "-5", "-4", "-3", "-2", "-1", "0",
                                                 "+1", "+2", "+3", "+4", "+5", "+6"};
    for (int i = 0; i < 13; ++i) {
        auto* label = addLabel(QString::fromLatin1(kShiftLabels[i]), QRect(kShiftLabelX[i], 21, 8, 8),
                               Qt::AlignLeft | Qt::AlignTop);
        // The labels are as narrow as the ticks are apart; let a wide font overflow rather than clip.
        label->adjustSize();
    }
}

CTranspositionBar::~CTranspositionBar() = default;

int CTranspositionBar::ChosenShift() const {
    return m_slider->value();
}

bool CTranspositionBar::IsChoosing() const {
    return m_slider->isSliderDown();
}

void CTranspositionBar::ShowShift(int shift) {
    // The song is already at this shift: nothing was chosen.
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(shift);
}

void CTranspositionBar::ShowHardness(int level) {
    m_easiness->SetPos(201 - level);
    m_hardness->SetPos(level + 1);
}

void CTranspositionBar::ShowCapo(int capo, const QString& text) {
    m_capoNote->setText(capo > 0 ? QStringLiteral("Capo %1").arg(capo) : QString());
    m_capoNote->setToolTip(capo > 0 ? text : QString());
}

QSize CTranspositionBar::sizeHint() const {
    return m_size;
}
