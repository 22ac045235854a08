#include "app/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(ObjectNameOf(IDD_ABOUTBOX));
    setWindowTitle(QStringLiteral("About Quavern"));
    const CDialogUnits units(font());
    setFixedSize(units.Size(217, 80));
    const struct {
        int y;
        const char* text;
    } lines[] = {
        {16, "Quavern version 3.0 Rev.2"},
        {31, "Written by the Quavern developers"},
        {46, "Contact: quavern@users.noreply.invalid"},
        {61, "Home page: https://quavern.invalid/"},
    };
    for (const auto& line : lines) {
        auto* label = new QLabel(QString::fromLatin1(line.text), this);
        label->move(units.X(16), units.Y(line.y));
        label->adjustSize();
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ObjectNameOf(IDOK));
    ok->setGeometry(units.Rect(144, 20, 48, 21));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;
