#include "app/QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void ShowBox(QMessageBox::Icon icon, const std::string& text) {
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(icon, QString::fromLatin1(kApplicationName), QString::fromStdString(text), QMessageBox::Ok, owner);
    box.exec();
}

} // namespace

void CQtMessageSink::ShowMessage(const std::string& text) {
    ShowBox(QMessageBox::Warning, text);
}

void CQtMessageSink::ShowFatal(const std::string& text) {
    ShowBox(QMessageBox::Critical, text);
}
