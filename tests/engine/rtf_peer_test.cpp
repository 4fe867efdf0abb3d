// The RTF reader checked against unrtf: for every presentation page and every RTF file of the
// test data, our plain text equals what unrtf prints, up to whitespace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/rtf_reader.h"
#include "engine/utf8.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kTestData = ZORVAT_TEST_DATA;

std::vector<fs::path> RtfFiles() {
    std::vector<fs::path> files;
    for (const fs::path& folder :
         {fs::path(ZORVAT_SOURCE_DIR) / "data" / "presentaties", kTestData / "rtf"}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".rtf") files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// All runs of whitespace as one space, none at the ends.
std::string CollapseWhitespace(const std::string& text) {
    std::string out;
    bool space = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
        } else {
            if (space) out += ' ';
            space = false;
            out += c;
        }
    }
    return out;
}

// unrtf's body, in UTF-8. Its text output cuts characters to one byte, so it runs with
// tests/data/unrtf/utf8_text.conf, which prints them as &#N; (UTF-16 halves for characters
// beyond the BMP) and & as &amp;. The header lines (### and the dashed separator) go.
std::string UnrtfBody(const std::string& output) {
    const std::string separator = "-----------------\n";
    const size_t bodyStart = output.find(separator);
    std::string body;
    size_t lineStart = bodyStart == std::string::npos ? 0 : bodyStart + separator.size();
    while (lineStart < output.size()) {
        size_t lineEnd = output.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = output.size();
        if (output.compare(lineStart, 3, "###") != 0) {
            body += output.substr(lineStart, lineEnd - lineStart) + "\n";
        }
        lineStart = lineEnd + 1;
    }
    std::u32string decoded;
    for (size_t i = 0; i < body.size();) {
        if (body.compare(i, 5, "&amp;") == 0) {
            decoded += U'&';
            i += 5;
            continue;
        }
        const size_t end = body.find(';', i);
        if (body.compare(i, 2, "&#") == 0 && end != std::string::npos && end > i + 2 &&
            end - i <= 9) {
            char32_t code = static_cast<char32_t>(std::stoul(body.substr(i + 2, end - i - 2)));
            if (code >= 0xDC00 && code <= 0xDFFF && !decoded.empty() && decoded.back() >= 0xD800 &&
                decoded.back() <= 0xDBFF) {
                code = 0x10000 + ((decoded.back() - 0xD800) << 10) + (code - 0xDC00);
                decoded.pop_back();
            }
            decoded += code;
            i = end + 1;
            continue;
        }
        decoded += static_cast<unsigned char>(body[i]);
        ++i;
    }
    return engine::EncodeUtf8(decoded);
}

class RtfPeerTest : public testing::TestWithParam<fs::path> {};

TEST_P(RtfPeerTest, PlainTextMatchesUnrtf) {
    const fs::path& file = GetParam();
    const fs::path folder = MakeTestFolder();
    // --nopict: unrtf would otherwise write each picture as a file into the current folder.
    // Its own folder stays in the search path for the Symbol font's table.
    const ToolResult unrtf = RunTool("cd '" + folder.string() + "' && unrtf --nopict -P '" +
                                     (kTestData / "unrtf").string() +
                                     ":/usr/share/unrtf' -t utf8_text '" + file.string() + "'");
    ASSERT_EQ(unrtf.status, 0) << unrtf.output;
    const engine::RichText ours = engine::ReadRtf(ReadWholeFile(file));
    EXPECT_EQ(CollapseWhitespace(ours.PlainText()), CollapseWhitespace(UnrtfBody(unrtf.output)));
    fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Files, RtfPeerTest, testing::ValuesIn(RtfFiles()),
                         [](const testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.parent_path().filename().string() + "_" +
                                                info.param.stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

// The comparison above runs once per file found; the committed test data must be among them.
TEST(RtfPeerData, TestDataIsThere) {
    const std::vector<fs::path> files = RtfFiles();
    EXPECT_GE(
        std::count_if(files.begin(), files.end(),
                      [](const fs::path& file) { return file.parent_path().filename() == "rtf"; }),
        4);
}

}  // namespace
