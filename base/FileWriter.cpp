#include "base/FileWriter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/TextHelpers.h"

namespace {

FileWriteResult Failed(int error) {
    return {false, std::strerror(error)};
}

// The file a write to path really lands on: the target of a symbolic link.
std::string TargetOf(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec))
        return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

// Returns 0, or the errno of the write that failed.
int WriteAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A device or a pipe holds no file to replace: the bytes go through it.
// Opened without waiting, so a pipe nobody reads is refused at once instead
// of holding the program forever.
FileWriteResult WriteInPlace(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Failed(errno);
    const int flags = ::fcntl(fd, F_GETFL);
    int failure = flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 ? errno : 0;
    if (failure == 0)
        failure = WriteAll(fd, bytes);
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    return failure == 0 ? FileWriteResult{true, {}} : Failed(failure);
}

// Removes the temporary files a process of this program left in the folder
// when it ended between writing one and renaming it; a file of a process
// that still runs may be in the middle of its write and stays.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const std::string prefix = kTemporaryFilePrefix;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!StartsWith(name, prefix))
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || *end != '-' || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        const std::string path = (folder.empty() ? std::string() : folder + "/") + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

FileWriteResult ReplaceRegularFile(const std::string& target, const std::string& bytes, mode_t mode) {
    const std::string folder = std::filesystem::path(target).parent_path().string();
    RemoveStaleTemporaries(folder);

    std::string pattern =
        (folder.empty() ? std::string() : folder + "/") + kTemporaryFilePrefix + std::to_string(::getpid()) + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return Failed(errno);
    const std::string temporary(name.data());

    int failure = WriteAll(fd, bytes);
    if (failure == 0 && ::fchmod(fd, mode) != 0)
        failure = errno;
    // On the disk before the rename, so a crash never leaves a short file under the real name.
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && std::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        return Failed(failure);
    }
    return {true, {}};
}

} // namespace

FileWriteResult WriteWholeFile(const std::string& path, const std::string& bytes, WriteTarget target) {
    if (path.empty())
        return Failed(ENOENT);
    const mode_t newMode = 0666 & ~CurrentUmask();
    if (target == WriteTarget::OwnFile) {
        struct stat existing {};
        if (::lstat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
            return Failed(EISDIR);
        return ReplaceRegularFile(path, bytes, newMode);
    }

    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        // A name in a folder that is missing or not searchable gets its
        // reason from creating the temporary file below.
        if (errno != ENOENT && errno != ENOTDIR)
            return Failed(errno);
        return ReplaceRegularFile(TargetOf(path), bytes, newMode);
    }
    if (S_ISDIR(existing.st_mode))
        return Failed(EISDIR);
    if (!S_ISREG(existing.st_mode))
        return WriteInPlace(path, bytes);
    // A file its owner marked read-only is not replaced.
    if (::access(path.c_str(), W_OK) != 0)
        return Failed(errno);
    return ReplaceRegularFile(TargetOf(path), bytes, existing.st_mode & 07777);
}
