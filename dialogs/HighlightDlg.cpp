#include "dialogs/HighlightDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QPushButton>

#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/HelpBox.h"
#include "render/DisplaySettings.h"

namespace {

QColor ColorOf(int color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

int ColorValue(const QColor& color) {
    return PackColor(color.red(), color.green(), color.blue());
}

QCheckBox* MakeCheckBox(const QString& text, int id, int checked, const QRect& rect, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(ObjectNameOf(id));
    box->setChecked(checked != 0);
    box->setGeometry(rect);
    // Keep the whole caption visible if the font is wider than the box.
    if (box->sizeHint().width() > rect.width())
        box->resize(box->sizeHint().width(), rect.height());
    return box;
}

QPushButton* MakeButton(const QString& text, int id, const QRect& rect, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(ObjectNameOf(id));
    button->setGeometry(rect);
    return button;
}

} // namespace

CHighlightDlg::CHighlightDlg(const HighlightSettings& settings, QWidget* parent)
    : QDialog(parent), m_nColor(settings.color) {
    setObjectName(ObjectNameOf(IDD_HIGHLIGHT));
    setWindowTitle(QStringLiteral("Set how to highlight chords"));
    const CDialogUnits units(font());
    setFixedSize(units.Size(293, 182));

    auto* group = new QGroupBox(QStringLiteral("Set how to display detected chords"), this);
    group->setGeometry(units.Rect(30, 20, 230, 110));
    group->lower();

    m_bold = MakeCheckBox(QStringLiteral("&Bold"), IDC_BOLD, settings.bold, units.Rect(50, 41, 35, 10), this);
    m_italic = MakeCheckBox(QStringLiteral("&Italic"), IDC_ITALIC, settings.italic, units.Rect(130, 40, 35, 10), this);
    m_underline = MakeCheckBox(QStringLiteral("&Underline"), IDC_UNDERLINE, settings.underline,
                               units.Rect(205, 40, 45, 10), this);
    m_useColor = MakeCheckBox(QStringLiteral("Use Custom &Color"), IDC_USE_COLOR, settings.useColor,
                              units.Rect(50, 71, 71, 15), this);
    m_setColor = MakeButton(QStringLiteral("&Set Color..."), IDC_SET_COLOR, units.Rect(125, 70, 50, 19), this);
    // A caption wider than its box must not run under the button beside it.
    const int gap = units.X(4);
    if (m_useColor->geometry().right() + gap >= m_setColor->x())
        m_setColor->move(m_useColor->geometry().right() + gap + 1, m_setColor->y());
    // Each control has a letter of its own, Alt and that letter toggles or
    // presses it: a letter shared by two controls only moves the focus
    // between them, and a caption underlines only the one letter that works.
    m_showConfiguration = MakeCheckBox(QStringLiteral("Sho&w Chord Configuration"), IDC_SHOW_CONFIGURATION,
                                       settings.infobulle, units.Rect(50, 105, 98, 10), this);

    QPushButton* ok = MakeButton(QStringLiteral("&OK"), IDOK, units.Rect(30, 145, 50, 20), this);
    QPushButton* cancel = MakeButton(QStringLiteral("C&ancel"), IDCANCEL, units.Rect(125, 145, 50, 20), this);
    QPushButton* help = MakeButton(QStringLiteral("&Help"), IDC_HIGHLIGHT_HELP, units.Rect(210, 145, 50, 20), this);
    ok->setDefault(true);

    connect(m_useColor, &QCheckBox::clicked, this, &CHighlightDlg::OnUseColor);
    connect(m_setColor, &QPushButton::clicked, this, &CHighlightDlg::OnSetColor);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &CHighlightDlg::OnHelp);

    m_setColor->setEnabled(settings.useColor != 0);
}

HighlightSettings CHighlightDlg::GetSettings() const {
    HighlightSettings settings;
    settings.bold = m_bold->isChecked() ? 1 : 0;
    settings.italic = m_italic->isChecked() ? 1 : 0;
    settings.underline = m_underline->isChecked() ? 1 : 0;
    settings.useColor = m_useColor->isChecked() ? 1 : 0;
    settings.infobulle = m_showConfiguration->isChecked() ? 1 : 0;
    settings.color = m_nColor;
    return settings;
}

void CHighlightDlg::ResetCustomColors() {
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(255, 255, 255));
}

void CHighlightDlg::OnUseColor() {
    m_setColor->setEnabled(m_useColor->isChecked());
}

void CHighlightDlg::OnSetColor() {
    QColorDialog chooser(ColorOf(m_nColor), this);
    chooser.setObjectName(QStringLiteral("ColorChooser"));
    // Qt's own chooser, so the custom colours are the program's shared ones;
    // solid colours only.
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    chooser.setOption(QColorDialog::ShowAlphaChannel, false);
    if (chooser.exec() == QDialog::Accepted)
        m_nColor = ColorValue(chooser.selectedColor());
}

void CHighlightDlg::OnHelp() {
    CHelpBox help(
        this, IDD_HIGHLIGHT_HELP, QSize(277, 146),
        {{33, 16, QStringLiteral("Here you can tell the program how to highlight the detected chords.")},
         {27, 32, QStringLiteral("You can choose to display them in bold and/or italic and/or underlined.")},
         {49, 48, QStringLiteral("You can also choose to display them in a specific colour.")},
         {12, 72, QStringLiteral("The \"Show Chord Configuration\" check box allow you to see the configuration")},
         {12, 88,
          QStringLiteral("of a given chord just by moving the mouse cursor on its name in the tablature file.")}},
        QRect(114, 116, 50, 20), QStringLiteral("OK"));
    help.exec();
}
