#pragma once

#include <memory>
#include <string>

#include <QString>

class QLockFile;

/// The display file of this running program: "QuavernFile.htm" in the
/// folder of the song shown, "QuavernFile-2.htm", "-3" ... when another
/// running program holds that name there, and the same names in the user's
/// cache folder (XDG_CACHE_HOME/quavern) when the song's folder takes no
/// file. Each name is held under a lock file beside it, so a program only
/// ever rewrites and removes its own page; a lock left by a program that
/// ended without removing it is taken over.
class CDisplayFile final {
public:
    CDisplayFile();
    ~CDisplayFile();
    CDisplayFile(const CDisplayFile&) = delete;
    CDisplayFile& operator=(const CDisplayFile&) = delete;

    /// Writes text as the display page of the folder, in the cache folder
    /// when the folder cannot take it. On failure tells the user, naming the
    /// file and the reason, and keeps the file it had.
    bool WriteFor(const QString& folder, const std::string& text);
    /// Writes text to the display file in use; on failure tells the user.
    bool Write(const std::string& text);
    /// Removes the display file and its lock; Path() is empty afterwards.
    void Remove();

    const QString& Path() const { return m_strPath; }
    /// Whether the page is shown from the cache folder instead of the song's.
    bool InCache() const { return m_bInCache; }
    /// The folder the page would be in for a song of this folder, when that folder takes files.
    const QString& SongFolder() const { return m_strSongFolder; }

private:
    bool Claim(const QString& folder, const std::string& text, bool quiet);

    QString m_strPath;
    QString m_strSongFolder;
    bool m_bInCache = false;
    std::unique_ptr<QLockFile> m_lock;
};

/// The program's folder in the user's cache, XDG_CACHE_HOME/quavern: display
/// files of songs whose folder takes none, and the pictures drawn at run time.
QString CacheFolder();

/// The name of the display file, written into the folder of the song shown.
inline constexpr const char* kDisplayFileName = "QuavernFile.htm";

/// Whether the path names a display file ("QuavernFile.htm" or
/// "QuavernFile-N.htm"): such a file is where the display page of its
/// folder goes, rewritten by every command and deleted at exit, so it never
/// holds a song.
bool IsDisplayFileName(const QString& path);
/// Writes the bytes of text to path (create or truncate). On failure tells
/// the user, naming the file and the reason, unless quiet, and returns false.
bool WriteDisplayFile(const QString& path, const std::string& text, bool quiet = false);
