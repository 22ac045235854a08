#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QString>

/// The chord pictures the program draws while it runs, kept in one folder
/// of the user's cache (never a song's): the pictures of names outside the
/// table, named by OtherPictureName, and in its "Left" subfolder every
/// picture a left-handed player is shown, the 85 by their own names.
class CPictureCache final {
public:
    explicit CPictureCache(QString folder) : m_strFolder(std::move(folder)) {}

    /// The folder the pages take the drawn pictures from for that hand.
    QString Folder(bool mirrored) const;

    /// Draws every picture of that hand the folder lacks: those of the names
    /// outside the table given and, mirrored, the 85 as well. A name without
    /// a playable fingering gets the empty grid under its name. Returns false
    /// when a picture could not be written.
    bool Provide(const std::vector<std::string>& otherNames, bool mirrored) const;

private:
    QString m_strFolder;
};
