#include "dialogs/ManualChordsDlg.h"

#include <algorithm>

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "chords/ChordCatalog.h"
#include "dialogs/ChordComboBox.h"
#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/HelpBox.h"
#include "engine/ManualChords.h"
#include "engine/Shift.h"

namespace {

constexpr int kSpellings = CChordCatalog::kSpellingCount;

// Where the diagram stands, in dialog units: the place that the grid's pixel
// corner (350, 285) has with the dialog's original font.
constexpr int kDiagramX = 233;
constexpr int kDiagramY = 175;

// The dialog fits a screen 1024 pixels wide: its client area keeps this much
// room for the frame that the window manager draws around it.
constexpr int kScreenWidth = 1024;
constexpr int kFrameAllowance = 16;

// An open list shows this many entries at a time and scrolls the others.
constexpr int kVisibleEntries = 20;

// Some looks (Qt's own among them) open a list as a pop-up over the box that
// grows to the screen's height whatever the box's most visible entries; the
// chord boxes drop their lists below the box instead, kVisibleEntries at a
// time.
class CDropDownListStyle final : public QProxyStyle {
    Q_DISABLE_COPY_MOVE(CDropDownListStyle)

public:
    CDropDownListStyle() = default;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void SelectQuietly(QComboBox* box, int index) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
}

// The width of column k (0..11) when it is span dialog units wide: the
// columns follow each other without a gap or an overlap whatever the unit.
int ColumnWidth(const CDialogUnits& units, int k, int span) {
    return units.X(12 + 40 * k + span) - units.X(12 + 40 * k);
}

// Labels and frames track the mouse only so that Qt hands their moves on to
// the dialog (it drops the moves of a child that does not track the mouse),
// and the dialog empties the diagram over them as over its background.
void PassMovesToDialog(QWidget* child) {
    child->setMouseTracking(true);
}

int WidestName(const QStringList& names, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& name : names)
        widest = std::max(widest, metrics.horizontalAdvance(name));
    return widest;
}

// Whether a chord box of this width shows the longest name whole in this
// font: the box draws its text one pixel inside each side of its text field.
bool NamesFit(const QStringList& names, const QFont& font, int width) {
    CChordComboBox probe;
    probe.setFont(font);
    QStyleOptionComboBox option;
    option.initFrom(&probe);
    option.rect = QRect(0, 0, width, probe.sizeHint().height());
    const QRect field =
        probe.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &probe);
    return field.width() - 2 >= WidestName(names, font);
}

QFont Smaller(QFont font) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    else
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

bool IsTiny(const QFont& font) {
    return font.pointSizeF() > 0 ? font.pointSizeF() <= 6 : font.pixelSize() <= 8;
}

} // namespace

CManualChordsDlg::CManualChordsDlg(QWidget* parent) : QDialog(parent), m_diagram(0, 0) {
    setObjectName(ObjectNameOf(IDD_MANUAL_CHORDS));
    setWindowTitle(QStringLiteral("Quavern 3.0"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setMouseTracking(true);

    QStringList songNames{QStringLiteral(" ")};
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        songNames << QString::fromStdString(theChordCatalog.GetAt(i).GetName());

    // A column is 40 units wide; where the font needs more for the longest
    // chord name, the whole dialog widens in proportion, but never beyond a
    // 1024-pixel screen. Where that leaves the columns too narrow for the
    // names, the chord boxes take a smaller font in which every name fits.
    CDialogUnits units(font());
    {
        CChordComboBox probe;
        probe.addItems(songNames);
        units.WidenTo(40, probe.sizeHint().width());
    }
    units.NarrowTo(505, kScreenWidth - kFrameAllowance);
    // The chord boxes' look, the dialog's to keep while it lives.
    auto* listStyle = new CDropDownListStyle;
    listStyle->setParent(this);
    QFont boxFont = font();
    while (!NamesFit(songNames, boxFont, ColumnWidth(units, kColumns - 1, 39)) && !IsTiny(boxFont))
        boxFont = Smaller(boxFont);
    setFixedSize(units.Size(505, 229));
    m_diagram.MoveTo(units.Point(kDiagramX, kDiagramY));

    auto makeButton = [this, &units](const QString& text, int id, const QRect& rect) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(ObjectNameOf(id));
        button->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
        button->setAutoDefault(false);
        return button;
    };

    auto* songGroup = new QGroupBox(QStringLiteral("Song's Chords"), this);
    songGroup->setAlignment(Qt::AlignHCenter);
    songGroup->setGeometry(units.Rect(8, 8, 488, 32));
    PassMovesToDialog(songGroup);
    auto* transposedGroup = new QGroupBox(QStringLiteral("Transposed Chords"), this);
    transposedGroup->setAlignment(Qt::AlignHCenter);
    transposedGroup->setGeometry(units.Rect(8, 88, 488, 32));
    PassMovesToDialog(transposedGroup);

    // The "Quit" button (OK) is the default button but is never shown: Enter
    // presses it (keyPressEvent), Escape and the caption's close box cancel.
    m_quit = makeButton(QStringLiteral("Quit"), IDOK, QRect(435, 195, 65, 24));
    m_quit->setDefault(true);
    m_quit->hide();
    QPushButton* clear = makeButton(QStringLiteral("&Clear"), IDC_MANUAL_CLEAR, QRect(10, 135, 65, 24));
    QPushButton* easiest =
        makeButton(QStringLiteral("Find &Easiest Transposition"), IDC_MANUAL_EASIEST, QRect(175, 135, 160, 24));

    for (int k = 0; k < kColumns; ++k) {
        auto* song = new CChordComboBox(this);
        song->setObjectName(ObjectNameOf(IDC_SONG_CHORD[k]));
        song->setStyle(listStyle);
        song->setFont(boxFont);
        song->setGeometry(units.X(12 + 40 * k), units.Y(24), ColumnWidth(units, k, k == kColumns - 1 ? 39 : 40),
                          song->sizeHint().height());
        song->setMaxVisibleItems(kVisibleEntries);
        song->addItems(songNames);
        connect(song, &QComboBox::activated, this, [this, k] { OnSongChordChanged(k + 1); });
        m_song[static_cast<std::size_t>(k)] = song;

        auto* transposed = new CChordComboBox(this);
        transposed->setObjectName(ObjectNameOf(IDC_TRANSPOSED_CHORD[k]));
        transposed->setStyle(listStyle);
        transposed->setFont(boxFont);
        transposed->setGeometry(units.X(12 + 40 * k), units.Y(104), ColumnWidth(units, k, 40),
                                transposed->sizeHint().height());
        transposed->setMaxVisibleItems(kVisibleEntries);
        transposed->addItem(QStringLiteral(" "));
        connect(transposed, &QComboBox::activated, this, [this, k] { OnReferenceChosen(k + 1); });
        m_transposed[static_cast<std::size_t>(k)] = transposed;
    }

    QPushButton* help = makeButton(QStringLiteral("&Help"), IDC_MANUAL_HELP, QRect(430, 135, 65, 24));

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(ObjectNameOf(IDC_MANUAL_SLIDER));
    m_slider->setGeometry(units.Rect(92, 52, 320, 16));
    m_slider->setRange(-6, 6);
    m_slider->setPageStep(2);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_up = makeButton(QStringLiteral("+"), IDC_MANUAL_UP, QRect(412, 52, 20, 16));
    m_down = makeButton(QStringLiteral("-"), IDC_MANUAL_DOWN, QRect(72, 52, 20, 16));

    const std::array<std::pair<int, const char*>, 13> marks = {{{96, "-6"},
                                                                {120, "-5"},
                                                                {144, "-4"},
                                                                {172, "-3"},
                                                                {196, "-2"},
                                                                {220, "-1"},
                                                                {248, "0"},
                                                                {272, "+1"},
                                                                {296, "+2"},
                                                                {324, "+3"},
                                                                {348, "+4"},
                                                                {372, "+5"},
                                                                {400, "+6"}}};
    for (const auto& [x, text] : marks) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->move(units.Point(x, 68));
        label->adjustSize();
        PassMovesToDialog(label);
    }

    auto* hint = new QLabel(QStringLiteral("Move the mouse cursor on a chord name to see its configuration"), this);
    hint->setObjectName(ObjectNameOf(IDC_MANUAL_HINT));
    hint->move(units.Point(151, 216));
    hint->adjustSize();
    PassMovesToDialog(hint);

    connect(m_quit, &QPushButton::clicked, this, &QDialog::accept);
    connect(clear, &QPushButton::clicked, this, &CManualChordsDlg::OnClear);
    connect(easiest, &QPushButton::clicked, this, &CManualChordsDlg::OnFindEasiest);
    connect(help, &QPushButton::clicked, this, &CManualChordsDlg::OnHelp);
    connect(m_up, &QPushButton::clicked, this, &CManualChordsDlg::OnStepUp);
    connect(m_down, &QPushButton::clicked, this, &CManualChordsDlg::OnStepDown);
    connect(m_slider, &QSlider::valueChanged, this, &CManualChordsDlg::OnSliderMoved);

    OnClear();
    m_nShift = 0;
    SetSliderPosition(0);
}

CManualChordsDlg::~CManualChordsDlg() = default;

std::vector<int> CManualChordsDlg::SongEntries() const {
    std::vector<int> entries;
    for (const CChordComboBox* song : m_song)
        entries.push_back(song->currentIndex());
    return entries;
}

bool CManualChordsDlg::AnySongChord() const {
    for (const CChordComboBox* song : m_song) {
        if (song->currentIndex() > 0)
            return true;
    }
    return false;
}

void CManualChordsDlg::SetSliderPosition(int position) {
    const QSignalBlocker blocker(m_slider);
    m_slider->setValue(position);
}

void CManualChordsDlg::EnableStepping(bool enable) {
    m_slider->setEnabled(enable);
    m_up->setEnabled(enable);
    m_down->setEnabled(enable);
}

void CManualChordsDlg::TransposeColumn(int column, int shift, int refAccidental) {
    const int s = SongBox(column)->currentIndex();
    if (s <= 0)
        return;
    SelectQuietly(TransposedBox(column), manualchords::TransposedEntry(s, shift, refAccidental));
    m_nShift = WrapShift(shift);
}

void CManualChordsDlg::TransposeAll(int shift, int refAccidental) {
    for (int k = 1; k <= kColumns; ++k)
        TransposeColumn(k, shift, refAccidental);
}

void CManualChordsDlg::OnFindEasiest() {
    if (!AnySongChord())
        return;
    TransposeAll(manualchords::EasiestShift(SongEntries()), 0);
    SetSliderPosition(m_nShift);
}

void CManualChordsDlg::OnSongChordChanged(int column) {
    if (!AnySongChord()) {
        m_nShift = 0;
        SetSliderPosition(0);
        EnableStepping(false);
    }
    const int s = SongBox(column)->currentIndex();
    CChordComboBox* transposed = TransposedBox(column);
    if (s <= 0) {
        SelectQuietly(transposed, 0);
        transposed->setEnabled(false);
        return;
    }

    // The transposed list holds the seventeen chords of the song chord's quality.
    const int quality = (s - 1) / kSpellings;
    {
        const QSignalBlocker blocker(transposed);
        transposed->clear();
        transposed->addItem(QStringLiteral(" "));
        for (int i = 0; i < kSpellings; ++i)
            transposed->addItem(QString::fromStdString(theChordCatalog.GetAt(quality * kSpellings + i).GetName()));
        transposed->setCurrentIndex(0);
    }
    transposed->setEnabled(true);
    EnableStepping(true);
    TransposeColumn(column, m_nShift, 0);
}

void CManualChordsDlg::OnReferenceChosen(int column) {
    const int s = SongBox(column)->currentIndex();
    const int t = TransposedBox(column)->currentIndex();
    if (s <= 0 || t <= 0)
        return;
    TransposeAll(manualchords::ShiftBetween(s, t), manualchords::AccidentalOf(t));
    SetSliderPosition(m_nShift);
}

void CManualChordsDlg::OnStepUp() {
    if (!AnySongChord())
        return;
    TransposeAll(WrapShift(m_nShift + 1), 0);
    SetSliderPosition(m_nShift);
}

void CManualChordsDlg::OnStepDown() {
    if (!AnySongChord())
        return;
    TransposeAll(WrapShift(m_nShift - 1), 0);
    SetSliderPosition(m_nShift);
}

void CManualChordsDlg::OnSliderMoved(int position) {
    if (!AnySongChord())
        return;
    m_nShift = position;
    TransposeAll(m_nShift, 0);
}

void CManualChordsDlg::OnClear() {
    for (CChordComboBox* song : m_song)
        SelectQuietly(song, 0);
    for (CChordComboBox* transposed : m_transposed) {
        SelectQuietly(transposed, 0);
        transposed->setEnabled(false);
    }
    m_nShift = 0;
    SetSliderPosition(0);
    EnableStepping(false);
}

void CManualChordsDlg::OnHelp() {
    CHelpBox help(
        this, IDD_MANUAL_HELP, QSize(349, 189),
        {{49, 20, QStringLiteral("If you don't have a tablature file, here you can enter the song's chords manually ")},
         {51, 38, QStringLiteral("First you have to enter the original song's chords in the \"Song's Chords\" boxes.")},
         {65, 50, QStringLiteral("And then you have to clic on the \"Find Easiest Transposition\" button.")},
         {71, 71, QStringLiteral("You can also try manual transpositions. To do this you can either :")},
         {44, 85,
          QStringLiteral("1. Clic on the + or - buttons to increase or decrease the transposition by a half-tone")},
         {80, 95, QStringLiteral("2. Move directly the slider cursor to the desired transposition")},
         {57, 106, QStringLiteral("3. Choose directly one reference chord in the \"Transposed Chords\" boxes.")},
         {43, 130,
          QStringLiteral("To see the configuration of a given chord, just move the mouse cursor on it's name.")}},
        QRect(149, 155, 50, 18), QStringLiteral("&OK"));
    help.exec();
}

void CManualChordsDlg::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_diagram.Paint(painter);
    QDialog::paintEvent(event);
}

void CManualChordsDlg::showEvent(QShowEvent* event) {
    m_diagram.DrawGrid(this);
    QDialog::showEvent(event);
}

void CManualChordsDlg::keyPressEvent(QKeyEvent* event) {
    // Qt's dialog presses only a visible default button on Enter; this one's
    // is hidden and is pressed all the same, whichever control has the focus.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        m_quit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CManualChordsDlg::mouseMoveEvent(QMouseEvent* event) {
    // Moves over the dialog's background, its labels and its frames empty the
    // diagram; the chord boxes keep their moves to themselves.
    QWidget* child = childAt(event->position().toPoint());
    if (!child || qobject_cast<QLabel*>(child) || qobject_cast<QGroupBox*>(child))
        m_diagram.ClearChord(this);
    QDialog::mouseMoveEvent(event);
}
