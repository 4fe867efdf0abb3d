// Reading program and preferences files written by any version.
#include "engine/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_folder.h"

TEST(TextFile, Utf8OrWindows1252WithAnyLineEnd) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(engine::SplitTextLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(engine::SplitTextLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(engine::SplitTextLines("caf\xc3\xa9"), (Lines{"caf\xc3\xa9"}));
    // Not UTF-8: read as Windows-1252 (e with acute, euro sign).
    EXPECT_EQ(engine::SplitTextLines("caf\xe9 \x80"), (Lines{"caf\xc3\xa9 \xe2\x82\xac"}));
    EXPECT_FALSE(engine::IsValidUtf8("\xc3"));
    EXPECT_FALSE(engine::IsValidUtf8("\xed\xa0\x80"));  // a surrogate
}

TEST(TextFile, WritesWholeFilesOnly) {
    const auto folder = MakeTestFolder();
    const std::string path = (folder / "voorkeuren.txt").string();
    ASSERT_TRUE(engine::WriteTextLines(path, {"xmin=-5", "xmax=5"}, "\r\n"));
    EXPECT_EQ(engine::ReadFileBytes(path), "xmin=-5\r\nxmax=5\r\n");
    // A folder that does not exist: failure reported, nothing left behind.
    EXPECT_FALSE(engine::WriteTextLines((folder / "nee" / "x.txt").string(), {"a"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    std::filesystem::remove_all(folder);
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) bytes += static_cast<char>(value);
    return bytes;
}

// Regression: a UTF-8 byte-order mark stuck to the first key, so that "xmin=-10" was
// ignored, and UTF-16 files read as nothing.
TEST(TextFile, ByteOrderMarksAndUtf16) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(engine::SplitTextLines("\xEF\xBB\xBFxmin=-10\r\nF=x\r\n"),
              (Lines{"xmin=-10", "F=x"}));
    EXPECT_EQ(engine::SplitTextLines("\xEF\xBB\xBF"
                                     "caf\xe9"),
              (Lines{"caf\xc3\xa9"}));
    // x, e with acute, a character beyond 16 bits (a surrogate pair), CRLF, a.
    const Lines expected = {"x\u00e9\U0001F600", "a"};
    EXPECT_EQ(engine::SplitTextLines(Bytes({0xFF, 0xFE, 0x78, 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE,
                                            0x0D, 0, 0x0A, 0, 0x61, 0})),
              expected);
    EXPECT_EQ(engine::SplitTextLines(Bytes({0xFE, 0xFF, 0, 0x78, 0, 0xE9, 0xD8, 0x3D, 0xDE, 0x00, 0,
                                            0x0D, 0, 0x0A, 0, 0x61})),
              expected);
    // A lone surrogate half and an odd last byte are replaced, not dropped silently.
    EXPECT_EQ(engine::SplitTextLines(Bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x61, 0, 0x62})),
              (Lines{"\uFFFDa\uFFFD"}));
}

// Regression: a folder read as an empty file and /dev/zero until the memory ran out.
TEST(TextFile, OnlyRegularFilesOfBoundedSizeAreRead) {
    const auto folder = MakeTestFolder();
    const auto fifo = folder / "pijp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder.string(), "het is een map"},
        {fifo.string(), "het is geen gewoon bestand"},  // and no wait for a writer
        {"/dev/zero", "het is geen gewoon bestand"},
        {(folder / "weg.txt").string(), "het bestand bestaat niet"},
    };
    for (const auto& [path, why] : cases) {
        std::string problem;
        EXPECT_FALSE(engine::ReadFileBytes(path, &problem)) << path;
        EXPECT_EQ(problem, why) << path;
        EXPECT_FALSE(engine::ReadTextLines(path)) << path;
    }
    std::filesystem::remove_all(folder);
}
