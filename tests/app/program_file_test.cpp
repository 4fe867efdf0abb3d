// Program files as the program window opens and saves them.
#include "app/program_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Regression: UTF-16 files opened as "no text file"; a file keeps its byte-order
// mark and encoding when saved, edited or not.
TEST(ProgramFile, KeepsByteOrderMarksAndUtf16) {
    const auto folder = MakeTestFolder();
    struct Case {
        std::string bytes;
        std::string edited;  // after appending a line "G=1"
    };
    const Case cases[] = {
        {"\xEF\xBB\xBFxmin=-10\r\nF=caf\xC3\xA9\r\n",
         "\xEF\xBB\xBFxmin=-10\r\nF=caf\xC3\xA9\r\nG=1\r\n"},
        {Utf16(u"xmin=-10\r\nF=caf\u00e9\r\n", false),
         Utf16(u"xmin=-10\r\nF=caf\u00e9\r\nG=1\r\n", false)},
        {Utf16(u"xmin=-10\nF=caf\u00e9\n", true), Utf16(u"xmin=-10\nF=caf\u00e9\nG=1\n", true)},
    };
    for (const Case& c : cases) {
        std::ofstream(folder / "p.txt", std::ios::binary) << c.bytes;
        app::ProgramFile file;
        ASSERT_EQ(file.Load((folder / "p.txt").string()), "");
        EXPECT_EQ(file.Text(), "xmin=-10\nF=caf\u00e9");
        ASSERT_TRUE(file.Save((folder / "kopie.txt").string(), file.Text()));
        EXPECT_EQ(Slurp(folder / "kopie.txt"), c.bytes);
        ASSERT_TRUE(file.Save((folder / "nieuw.txt").string(), file.Text() + "\nG=1"));
        EXPECT_EQ(Slurp(folder / "nieuw.txt"), c.edited);
    }
    fs::remove_all(folder);
}

}  // namespace
