// Reading program and preferences files written by any version.
#include "engine/text_file.h"

#include <gtest/gtest.h>

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
