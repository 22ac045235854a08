#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "render/SongPage.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr std::uint64_t kLimit = 1000;

// Reads a named pipe that another thread fills with the bytes.
SongRead ReadFedPipe(const std::string& path, const std::string& bytes) {
    if (::mkfifo(path.c_str(), 0600) != 0)
        return {};
    auto* previous = std::signal(SIGPIPE, SIG_IGN); // the reader may stop before the end
    std::thread writer([&] {
        if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    });
    SongRead read = ReadSongFile(path, SongFileKinds::Any, kLimit);
    writer.join();
    std::signal(SIGPIPE, previous);
    return read;
}

} // namespace

TEST(SongFile, ReadingKeepsEveryByteIncludingNuls) {
    CTemporaryFolder folder;
    // NUL bytes at the start, at chunk-sized offsets and at the end, and
    // every byte value many times over.
    std::string bytes(1, '\0');
    for (int i = 0; i < 200003; ++i)
        bytes += static_cast<char>((i * 7 + i / 256) % 256);
    for (std::size_t at : {std::size_t{98}, std::size_t{99}, std::size_t{100}, std::size_t{65535}, std::size_t{65536}})
        bytes[at] = '\0';
    bytes += '\0';
    const std::string path = folder.FilePath("song with nuls.txt");
    WriteTestFile(path, bytes);

    const SongRead read = ReadSongFile(path);
    ASSERT_EQ(read.status, SongReadStatus::Ok) << read.reason;
    const std::string& text = read.bytes;
    EXPECT_EQ(text.size(), bytes.size());
    EXPECT_TRUE(text == bytes);
}

TEST(SongFile, ReadingAnEmptyFileGivesEmptyText) {
    CTemporaryFolder folder;
    const std::string path = folder.FilePath("empty.txt");
    WriteTestFile(path, "");
    const SongRead read = ReadSongFile(path);
    EXPECT_EQ(read.status, SongReadStatus::Ok);
    EXPECT_EQ(read.bytes, "");
}

TEST(SongFile, ReadingFailsWithAReasonForAMissingFileOrAFolder) {
    CTemporaryFolder folder;
    for (const std::string& path : {folder.FilePath("missing.txt"), folder.Path()}) {
        const SongRead read = ReadSongFile(path);
        EXPECT_EQ(read.status, SongReadStatus::Unreadable) << path;
        EXPECT_FALSE(read.reason.empty()) << path;
        EXPECT_EQ(read.bytes, "") << path;
        EXPECT_EQ(ReadSongFile(path, SongFileKinds::RegularOnly).status, SongReadStatus::Unreadable)
            << "regular files only: " << path;
    }
}

TEST(SongFile, ARegularFileIsJudgedFromItsSize) {
    CTemporaryFolder folder;
    for (const std::size_t size : {0, 1000, 1001, 70000}) {
        const std::string path = folder.FilePath("song-" + std::to_string(size) + ".txt");
        WriteTestFile(path, std::string(size, 'A'));
        for (const SongFileKinds kinds : {SongFileKinds::Any, SongFileKinds::RegularOnly}) {
            const SongRead read = ReadSongFile(path, kinds, kLimit);
            EXPECT_EQ(read.status, size <= kLimit ? SongReadStatus::Ok : SongReadStatus::TooLarge) << size;
            EXPECT_EQ(read.bytes.size(), size <= kLimit ? size : 0u) << size;
            // Known from the file system: a file read past the limit has no size.
            EXPECT_EQ(read.size.value_or(kLimit + 99), size);
        }
    }
}

TEST(SongFile, WhatHasNoSizeIsReadUpToJustPastTheLimit) {
    CTemporaryFolder folder;
    for (const std::size_t size : {0, 999, 1000, 1001, 4000}) {
        std::string bytes(size, 'x');
        for (std::size_t i = 0; i < size; i += 7)
            bytes[i] = static_cast<char>(i % 251);
        const SongRead read = ReadFedPipe(folder.FilePath("pipe-" + std::to_string(size)), bytes);
        EXPECT_EQ(read.status, size <= kLimit ? SongReadStatus::Ok : SongReadStatus::TooLarge) << size;
        EXPECT_TRUE(read.bytes == (size <= kLimit ? bytes : "")) << size;
        EXPECT_EQ(read.size.has_value(), size <= kLimit) << "past the limit it is only known to be more: " << size;
    }
}

TEST(SongFile, RefusalsAndFailuresGiveTheirReason) {
    CTemporaryFolder folder;
    const std::string song = folder.FilePath("song.txt");
    WriteTestFile(song, "Am G");
    const std::string pipe = folder.FilePath("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << std::strerror(errno);
    std::filesystem::create_symlink(folder.Path(), folder.FilePath("folder link"));
    std::filesystem::create_symlink(folder.FilePath("gone.txt"), folder.FilePath("dangling"));
    const std::string notRegular = kNotRegularFileReason;
    const auto any = SongFileKinds::Any;
    const auto regular = SongFileKinds::RegularOnly;
    const struct {
        std::string path;
        SongFileKinds kinds;
        std::string reason;
    } cases[] = {
        // A pipe nobody writes to is refused before it is opened, or this would never return.
        {pipe, regular, notRegular},
        {folder.Path(), regular, notRegular},
        {folder.FilePath("folder link"), regular, notRegular},
        {"/dev/null", regular, notRegular},
        {folder.Path(), any, std::strerror(EISDIR)},
        {folder.FilePath("missing.txt"), regular, std::strerror(ENOENT)},
        {folder.FilePath("dangling"), regular, std::strerror(ENOENT)},
        {song + "/inside", any, std::strerror(ENOTDIR)},
        {song + "/inside", regular, std::strerror(ENOTDIR)},
    };
    for (const auto& c : cases) {
        const SongRead read = ReadSongFile(c.path, c.kinds, kLimit);
        EXPECT_EQ(read.status, SongReadStatus::Unreadable) << c.path;
        EXPECT_EQ(read.reason, c.reason) << c.path;
        EXPECT_FALSE(read.size.has_value()) << c.path;
    }
}
