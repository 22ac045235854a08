#include "cli/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText(int error) {
    return std::strerror(error);
}

// The file a write to path really lands on: the target of a symbolic link.
std::string TargetOf(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

bool WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string target = TargetOf(path);
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        error = ErrnoText(EISDIR);
        return false;
    }
    // A file its owner marked read-only is not replaced, as the desktop program's Save does not.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = ErrnoText(errno);
        return false;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask());

    std::string pattern = (folder.empty() ? std::string() : folder.string() + "/") + ".quavern-cli-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = ErrnoText(errno);
        return false;
    }
    const std::string temporary(name.data());

    bool ok = WriteAll(fd, bytes);
    int failure = ok ? 0 : errno;
    if (ok && ::fchmod(fd, mode) != 0) {
        ok = false;
        failure = errno;
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        failure = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        error = ErrnoText(failure);
    }
    return ok;
}
