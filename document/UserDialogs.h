#pragma once

#include <QMessageBox>
#include <QString>

class QPrinter;
class QWidget;

/// The questions the view asks the user: which file to open, where to save,
/// whether to save an unsaved transposition, and where and how to print. The program uses the real
/// dialogs; tests install their own answers.
class IUserDialogs {
public:
    virtual ~IUserDialogs() = default;
    /// The chosen file's full path, or an empty string on Cancel.
    virtual QString GetOpenFileName(QWidget* parent, const QString& folder, const QString& filter) = 0;
    /// The chosen full path, or an empty string on Cancel. Never asks before overwriting.
    virtual QString GetSaveFileName(QWidget* parent, const QString& folder, const QString& filter) = 0;
    /// "The file has not been saved. Do you want to save it ?": Yes, No or Cancel.
    virtual QMessageBox::StandardButton AskSaveFile(QWidget* parent) = 0;
    /// The print dialog: whether to print; the printer then holds the user's choices.
    virtual bool AskPrint(QWidget* parent, QPrinter* printer) = 0;
};

/// The dialogs in use: the real ones unless others were installed.
IUserDialogs& UserDialogs();
/// Installs other dialogs (not owned); nullptr restores the real ones. Returns the previous ones.
IUserDialogs* SetUserDialogs(IUserDialogs* dialogs);

/// The filters of the file dialogs.
QString OpenFileFilter();
QString SaveFileFilter(bool textSong);
/// The file dialogs' entry of ChordPro songs.
inline constexpr const char* kChordProFilter = "ChordPro Files (*.cho *.chopro *.chordpro *.crd *.pro)";
