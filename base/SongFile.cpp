#include "base/SongFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

SongRead ReadSongFile(const std::string& path, SongFileKinds kinds, std::uint64_t limit) {
    SongRead read;
    // A path that cannot be looked at is left to the opening below, which
    // gives the system's reason.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    const bool known = !ec && std::filesystem::exists(status);
    std::optional<std::uintmax_t> fileSize;
    if (known && std::filesystem::is_regular_file(status)) {
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec)
            fileSize = size;
    } else if (known && kinds == SongFileKinds::RegularOnly) {
        read.reason = kNotRegularFileReason;
        return read;
    }
    if (fileSize && *fileSize > limit) {
        read.status = SongReadStatus::TooLarge;
        read.size = *fileSize;
        return read;
    }

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        read.reason = std::strerror(errno);
        return read;
    }
    std::string bytes;
    if (fileSize)
        bytes.reserve(static_cast<std::size_t>(*fileSize));
    char buffer[65536];
    bool failed = false;
    while (bytes.size() <= limit) {
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, limit + 1 - bytes.size()));
        const std::size_t n = std::fread(buffer, 1, wanted, file);
        bytes.append(buffer, n);
        if (n < wanted) {
            if (std::ferror(file)) {
                failed = true;
                read.reason = std::strerror(errno);
            }
            break;
        }
    }
    std::fclose(file);
    if (failed)
        return read;
    if (bytes.size() > limit) {
        read.status = SongReadStatus::TooLarge;
        return read;
    }
    read.status = SongReadStatus::Ok;
    read.size = bytes.size();
    read.bytes = std::move(bytes);
    return read;
}
