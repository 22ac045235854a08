#include "dialogs/HelpBox.h"

#include <QLabel>
#include <QPushButton>

#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"

CHelpBox::CHelpBox(QWidget* parent, int templateId, const QSize& size, const std::vector<HelpLine>& lines,
                   const QRect& ok, const QString& okText)
    : QDialog(parent) {
    setObjectName(ObjectNameOf(templateId));
    setWindowTitle(QStringLiteral("Quavern Help"));
    const CDialogUnits units(font());

    // The lines keep their places; a line longer than its box's width moves the
    // right edge out instead of being cut.
    int right = units.X(size.width());
    for (const HelpLine& line : lines) {
        auto* label = new QLabel(line.text, this);
        label->setTextFormat(Qt::PlainText);
        label->move(units.Point(line.x, line.y));
        label->adjustSize();
        right = std::max(right, label->geometry().right() + units.X(8));
    }
    auto* button = new QPushButton(okText, this);
    button->setObjectName(ObjectNameOf(IDOK));
    button->setDefault(true);
    button->setGeometry(units.Rect(ok.x(), ok.y(), ok.width(), ok.height()));
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(right, units.Y(size.height()));
}
