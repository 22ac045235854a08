#include "dialogs/OtherChords.h"

#include <QLabel>

#include "dialogs/DialogUnits.h"

COtherChords::COtherChords(QWidget* parent) : QWidget(parent) {
    const CDialogUnits units(font());
    setMinimumSize(units.Size(336, 289));
    auto* text = new QLabel(QStringLiteral("More chords will be added soon..."), this);
    text->move(units.Point(114, 91));
    text->adjustSize();
}
