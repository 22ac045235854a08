#pragma once

#include <QString>

/// Where the program finds what ships with it, and where it keeps the start
/// page it shows.
struct ProgramFolders {
    /// Read only: the shipped start page "Start.htm" and the chord pictures "Pics/".
    QString data;
    /// Writable: the start page shown for help and new songs, copied from
    /// the data folder on first use when that is another folder and kept
    /// from then on, and the display file of that page.
    QString user;

    /// The folder of the chord pictures the pages refer to.
    QString PicturesFolder() const;
};

/// A program whose start page and pictures sit in one folder, which it also
/// writes to: a development build's output folder, or a test's folder.
ProgramFolders ProgramFoldersIn(const QString& folder);

/// The folders of the program whose executable is in executableFolder. A
/// development build has "Start.htm" beside the executable and uses that
/// folder for both. An installed program reads the installation's
/// share/quavern (found from the executable's folder, so any prefix works)
/// and keeps its start page in the user's data folder, userDataHome/quavern
/// (XDG_DATA_HOME, by default ~/.local/share).
ProgramFolders LocateProgramFolders(const QString& executableFolder, const QString& userDataHome);
