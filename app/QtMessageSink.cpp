#include "app/QtMessageSink.h"

#include <algorithm>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>

namespace {

void ShowBox(QMessageBox::Icon icon, const std::string& text) {
    // A box stands centred on the window it is about, never loose on the screen.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (!owner) {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto main = std::find_if(windows.begin(), windows.end(), [](const QWidget* window) {
            return window->isVisible() && qobject_cast<const QMainWindow*>(window);
        });
        owner = main != windows.end() ? *main : nullptr;
    }
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
