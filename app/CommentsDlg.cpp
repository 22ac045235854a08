#include "app/CommentsDlg.h"

#include <QLabel>
#include <QPushButton>

#include "dialogs/ControlIds.h"
#include "dialogs/DialogUnits.h"

CCommentsDlg::CCommentsDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(ObjectNameOf(IDD_COMMENTS));
    setWindowTitle(QStringLiteral("Comments"));
    const CDialogUnits units(font());
    setFixedSize(units.Size(191, 113));
    const struct {
        int x;
        int y;
        const char* text;
    } lines[] = {
        {47, 15, "Please send your comments to"},
        {61, 32, "quavern@users.noreply.invalid"},
        {76, 54, "Thank you !"},
    };
    for (const auto& line : lines) {
        auto* label = new QLabel(QString::fromLatin1(line.text), this);
        label->move(units.X(line.x), units.Y(line.y));
        label->adjustSize();
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(ObjectNameOf(IDOK));
    ok->setGeometry(units.Rect(70, 78, 50, 21));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

CCommentsDlg::~CCommentsDlg() = default;
