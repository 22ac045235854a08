// quavern-cli over whatever a guitarist may hand it: huge files, bytes that
// are no text, odd names, and an output place that runs out of room.
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/FileWriter.h"
#include "render/SongPage.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FileSizeLimit.h"

using namespace clitest;

namespace {

class CliHostile : public ::testing::Test {
protected:
    ProcessResult Run(const std::vector<std::string>& args) const { return RunCli(args, work.Path(), config.Path()); }
    std::string Song(const std::string& name, const std::string& bytes) const {
        WriteFile(work / name, bytes);
        return work / name;
    }

    TempFolder config;
    TempFolder work;
};

} // namespace

TEST_F(CliHostile, SongLargerThanTheLimitIsRefusedFromItsSize) {
    const std::string huge = work / "songbook.txt";
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, kMaxSongBytes + 1);
    const std::string target = work / "out.txt";
    for (const char* command : {"info", "transpose", "render"}) {
        std::vector<std::string> args{command, "--by", "1", huge};
        if (std::string(command) != "info")
            args = {command, "--by", "1", "-o", target, huge};
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(huge), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("16777217 bytes; the limit is 16777216 bytes"), std::string::npos) << result.err;
        EXPECT_FALSE(FileExists(target));
    }
    // At the limit the file is a song like any other.
    std::filesystem::resize_file(huge, kMaxSongBytes);
    const ProcessResult result = Run({"info", huge});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("{\"shift\": 0, \"score\": 0,", 0), 0u) << result.out;
    EXPECT_EQ(FolderEntries(work.Path()), std::vector<std::string>{"songbook.txt"});
}

TEST_F(CliHostile, EndlessDeviceIsReadOnlyUpToTheLimit) {
    if (!FileExists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero here";
    const ProcessResult result = Run({"info", "/dev/zero"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("'/dev/zero': the file is too large (more than 16777216 bytes; the limit is 16777216 "
                              "bytes)"),
              std::string::npos)
        << result.err;
}

TEST_F(CliHostile, BytesThatAreNoSongComeBackByteForByte) {
    struct Case {
        std::string name;
        std::string bytes;
        bool utf8;
    };
    std::vector<Case> cases{
        {"empty.txt", "", false},
        {"latin1.txt", "Am G\ncaf\xe9 d\xe9j\xe0 vu\n", false},
        {"utf8.txt", "Am G\ncaf\xc3\xa9 d\xc3\xa9j\xc3\xa0\n", true},
        {"cut-utf8.txt", "Am G caf\xc3", false},
    };
    const std::string elf = ReadFile("/bin/true");
    if (!elf.empty())
        cases.push_back({"program", elf, false});
    for (const Case& c : cases) {
        const std::string path = Song(c.name, c.bytes);
        const ProcessResult saved = Run({"transpose", "--by", "0", path});
        ASSERT_EQ(saved.status, 0) << c.name << saved.err;
        EXPECT_TRUE(saved.out == c.bytes) << c.name;
        const ProcessResult page = Run({"render", "--plain", path});
        ASSERT_EQ(page.status, 0) << c.name << page.err;
        EXPECT_EQ(page.out.rfind(TitleLine(path) + (c.utf8 ? kTextSongHeaderUtf8 : kTextSongHeader), 0), 0u) << c.name;
    }
    // A UTF-16 song holds no chord the rule can read (a NUL beside every
    // letter): it is refused, not handed back as if it had been moved.
    const std::string utf16 = Song("utf16.txt", std::string("\xff\xfe"
                                                            "A\0m\0 \0G\0\n\0",
                                                            12));
    const ProcessResult refused = Run({"transpose", "--by", "3", utf16});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find(std::string("cannot read '") + utf16 + "': " + kUtf16SongReason), std::string::npos)
        << refused.err;
    EXPECT_EQ(Run({"transpose", "--by", "3", work / "latin1.txt"}).out, "Cm A#\ncaf\xe9 d\xe9j\xe0 vu\n");
}

TEST_F(CliHostile, OddNameIsReadAndWrittenAsGiven) {
    const std::string folder = work / "my songs #2 & 100% \xc3\xb1";
    std::filesystem::create_directories(folder);
    const std::string name = "Am & G #1 50% d\xc3\xa9j\xc3\xa0\nvu.txt";
    const std::string path = folder + "/" + name;
    WriteFile(path, "Am G\n");
    const ProcessResult info = Run({"info", path});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"distinctCount\": 2,"), std::string::npos) << info.out;
    const ProcessResult page = Run({"render", "--plain", path});
    EXPECT_EQ(page.out.rfind(TitleLine(path), 0), 0u);
    EXPECT_EQ(page.out.find('\n'), TitleLine(path).size() - 1); // the newline of the name is escaped

    const std::string out = folder + "/out " + name;
    ASSERT_EQ(Run({"transpose", "--by", "1", "-o", out, path}).status, 0);
    EXPECT_EQ(ReadFile(out), "A#m G#\n");
    EXPECT_EQ(ReadFile(path), "Am G\n");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{name, "out " + name}));
}

TEST_F(CliHostile, FullPlaceLeavesTheOutputAsItWas) {
    std::string song = "Am G\n";
    while (song.size() < 64 * 1024)
        song += "la la la la la la la la la la la la la la la la la la la la\n";
    const std::string path = Song("song.txt", song);
    const std::string target = Song("out.txt", "before");
    ProcessResult toFile;
    ProcessResult toOutput;
    {
        // Any write past 8 KiB fails as on a full disk.
        CFileSizeLimit full(8 * 1024);
        ASSERT_TRUE(full.Ok());
        toFile = Run({"transpose", "--by", "1", "-o", target, path});
        toOutput = Run({"transpose", "--by", "1", path});
    }
    EXPECT_EQ(toFile.status, 1);
    EXPECT_NE(toFile.err.find("cannot write '" + target + "': File too large"), std::string::npos) << toFile.err;
    EXPECT_EQ(ReadFile(target), "before");
    EXPECT_EQ(ReadFile(path), song);
    EXPECT_EQ(FolderEntries(work.Path()), (std::vector<std::string>{"out.txt", "song.txt"}));
    EXPECT_EQ(toOutput.status, 1);
    EXPECT_NE(toOutput.err.find("cannot write to standard output"), std::string::npos) << toOutput.err;
}

TEST_F(CliHostile, ReadOnlyOutputFileIsNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file modes do not stop the superuser";
    const std::string path = Song("song.txt", "C G\n");
    const std::string target = Song("out.txt", "before");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    const ProcessResult result = Run({"transpose", "--by", "1", "-o", target, path});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot write '" + target + "': Permission denied"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(target), "before");
    EXPECT_EQ(FolderEntries(work.Path()), (std::vector<std::string>{"out.txt", "song.txt"}));
}

// Where -o points decides how it is written: a regular file (or a link to
// one) is replaced whole, a device or a pipe is written through and stays
// what it is, a folder is refused; a refusal names the system's reason.
TEST_F(CliHostile, OutputTargetIsWrittenAsWhatItIs) {
    const std::string song = Song("song.txt", "Am G\n");
    const std::string moved = "A#m G#\n";
    const std::string file = Song("file.txt", "before");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    std::filesystem::create_symlink(file, work / "link.txt");
    std::filesystem::create_directory(work / "folder");
    ASSERT_EQ(::mkfifo((work / "read").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((work / "unread").c_str(), 0600), 0);
    const int reader = ::open((work / "read").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    // The temporary file of a run killed before its rename, and one of a run still writing.
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string stale = kTemporaryFilePrefix + std::to_string(ended) + "-a1b2c3";
    const std::string running = kTemporaryFilePrefix + std::to_string(::getpid()) + "-a1b2c3";
    Song(stale, "half a so");
    Song(running, "half a so");

    struct Case {
        std::string target;
        std::string reason; // empty: written
        mode_t kind;        // what stands at the name afterwards
    };
    const Case cases[] = {
        {work / "link.txt", "", S_IFLNK},
        {file, "", S_IFREG},
        {work / (std::string(250, 'x') + ".txt"), "", S_IFREG}, // no room for a longer temporary name
        {"/dev/null", "", S_IFCHR},
        {"/dev/full", "No space left on device", S_IFCHR},
        {work / "read", "", S_IFIFO},
        {work / "unread", "No such device or address", S_IFIFO}, // refused at once, not waited for
        {work / "folder", "Is a directory", S_IFDIR},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Run({"transpose", "--by", "1", "-o", c.target, song});
        EXPECT_EQ(result.status, c.reason.empty() ? 0 : 1) << c.target << ": " << result.err;
        EXPECT_NE(result.err.find(c.reason.empty() ? "" : "cannot write '" + c.target + "': " + c.reason),
                  std::string::npos)
            << result.err;
        struct stat info {};
        ASSERT_EQ(::lstat(c.target.c_str(), &info), 0) << c.target;
        EXPECT_EQ(info.st_mode & S_IFMT, c.kind) << c.target;
        if (c.kind == S_IFREG || c.kind == S_IFLNK) {
            EXPECT_EQ(ReadFile(c.target), moved) << c.target;
        }
    }
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    std::string piped(64, '\0');
    piped.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, piped.data(), piped.size()))));
    ::close(reader);
    EXPECT_EQ(piped, moved);
    EXPECT_EQ(Run({"transpose", "--by", "1", "-o", "/dev/stdout", song}).out, moved);
    EXPECT_FALSE(FileExists(work / stale));
    EXPECT_TRUE(FileExists(work / running));
}
