#pragma once

#include <cstdint>
#include <optional>
#include <string>

/// The largest song file the program and quavern-cli open, in bytes: a
/// larger file is refused from its size, before anything of it is read.
inline constexpr std::uint64_t kMaxSongBytes = 16 * 1024 * 1024;

/// How reading a song file ended.
enum class SongReadStatus {
    Ok,         ///< bytes holds every byte of the file.
    TooLarge,   ///< The file holds more than the limit; nothing is kept.
    Unreadable, ///< The file could not be opened or read, or is not a file of the kind asked for.
};

/// Which files ReadSongFile reads.
enum class SongFileKinds {
    /// Anything that opens: what has no size (a pipe, a device) is read up
    /// to just past the limit.
    Any,
    /// Regular files only, symbolic links followed: anything else that
    /// exists is refused before it is opened, as a device or a pipe may
    /// never end, or never start.
    RegularOnly,
};

/// What ReadSongFile found, for the caller to word its own message.
struct SongRead {
    SongReadStatus status = SongReadStatus::Unreadable;
    /// Ok: every byte of the file. Empty otherwise.
    std::string bytes;
    /// Ok: the number of bytes read. TooLarge: the file's size when the file
    /// system gives one; empty when more than the limit was read from
    /// something without a size (or from a file that grew while read).
    std::optional<std::uint64_t> size;
    /// Unreadable: the system's reason, as strerror words it ("No such file
    /// or directory"), or kNotRegularFileReason. Empty otherwise.
    std::string reason;
};

/// The reason of a file refused by SongFileKinds::RegularOnly.
inline constexpr const char* kNotRegularFileReason = "Not a regular file";

/// Reads a song file of at most limit bytes. A regular file larger than
/// that is refused from its size before a byte of it is read; anything else
/// is read up to limit + 1 bytes at most.
SongRead ReadSongFile(const std::string& path, SongFileKinds kinds = SongFileKinds::Any,
                      std::uint64_t limit = kMaxSongBytes);
