#pragma once

#include <string>

/// How writing a whole file ended.
struct FileWriteResult {
    bool ok = false;
    /// On failure the system's reason, as strerror words it ("No space left
    /// on device"); empty on success.
    std::string reason;

    explicit operator bool() const { return ok; }
};

/// What stands at the name a file is written to, and how it is treated.
enum class WriteTarget {
    /// A file the user named (Save, Save As, a printed file, quavern-cli
    /// -o): a symbolic link is followed and the file it points at replaced;
    /// a device or a pipe is written in place and never replaced, so that
    /// -o /dev/stdout works and /dev/null stays a device; a folder, and a
    /// file its owner marked read-only, are refused.
    UserFile,
    /// A file of the program's own (the display file): the name itself is
    /// replaced, whatever stands there, so a link planted under that name
    /// never leads the write elsewhere.
    OwnFile,
};

/// Writes bytes as the whole content of the file at path. A regular file
/// (or a new one) is replaced in one step: the bytes go to a temporary file
/// in the same folder, flushed to the disk and renamed over path, so the
/// file is either the old one or the new one and a failure leaves nothing
/// behind. A replaced file keeps its permissions; a new one gets the usual
/// ones (0666 less the umask).
///
/// The temporary file is named kTemporaryFilePrefix + this process's id +
/// "-" + six letters, short enough for any folder whatever the length of
/// path's own name. Such files left by a process that no longer runs (one
/// killed between the write and the rename) are removed by the next write
/// into the same folder.
FileWriteResult WriteWholeFile(const std::string& path, const std::string& bytes,
                               WriteTarget target = WriteTarget::UserFile);

/// How the names of the temporary files of WriteWholeFile begin.
inline constexpr const char* kTemporaryFilePrefix = ".quavern-";
