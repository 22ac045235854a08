#include <gtest/gtest.h>

#include <string>

#include "render/SongPage.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/TestFiles.h"

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

    std::string text = "left over";
    std::string error;
    ASSERT_TRUE(ReadWholeFile(path, text, &error)) << error;
    EXPECT_EQ(text.size(), bytes.size());
    EXPECT_TRUE(text == bytes);
}

TEST(SongFile, ReadingAnEmptyFileGivesEmptyText) {
    CTemporaryFolder folder;
    const std::string path = folder.FilePath("empty.txt");
    WriteTestFile(path, "");
    std::string text = "left over";
    EXPECT_TRUE(ReadWholeFile(path, text));
    EXPECT_EQ(text, "");
}

TEST(SongFile, ReadingFailsWithAReasonForAMissingFileOrAFolder) {
    CTemporaryFolder folder;
    for (const std::string& path : {folder.FilePath("missing.txt"), folder.Path()}) {
        std::string text = "left over";
        std::string error;
        EXPECT_FALSE(ReadWholeFile(path, text, &error)) << path;
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_EQ(text, "") << path;
        EXPECT_FALSE(ReadWholeFile(path, text)) << "no reason asked: " << path;
    }
}
