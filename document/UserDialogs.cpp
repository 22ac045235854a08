#include "document/UserDialogs.h"

#include <QFileDialog>
#include <QPrintDialog>

namespace {

class CRealUserDialogs final : public IUserDialogs {
public:
    QString GetOpenFileName(QWidget* parent, const QString& folder, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
    }

    QString GetSaveFileName(QWidget* parent, const QString& folder, const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, QString(), folder, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

    QMessageBox::StandardButton AskSaveFile(QWidget* parent) override {
        return QMessageBox::question(parent, QStringLiteral("Save file ?"),
                                     QStringLiteral("The file has not been saved. Do you want to save it ?"),
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    }

    bool AskPrint(QWidget* parent, QPrinter* printer) override {
        QPrintDialog dialog(printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
};

CRealUserDialogs g_realDialogs;
IUserDialogs* g_dialogs = &g_realDialogs;

} // namespace

IUserDialogs& UserDialogs() {
    return *g_dialogs;
}

IUserDialogs* SetUserDialogs(IUserDialogs* dialogs) {
    IUserDialogs* previous = g_dialogs;
    g_dialogs = dialogs ? dialogs : &g_realDialogs;
    return previous;
}

QString OpenFileFilter() {
    return QStringLiteral("Tablature Files (*.html *.htm *.txt *.cho *.chopro *.chordpro *.crd *.pro);;HTML Files "
                          "(*.html *.htm);;Text Files (*.txt);;") +
           QLatin1String(kChordProFilter) + QStringLiteral(";;All Files (*)");
}

QString SaveFileFilter(bool textSong) {
    return textSong ? QStringLiteral("Text Files (*.txt)") : QStringLiteral("HTML Files (*.html *.htm)");
}
