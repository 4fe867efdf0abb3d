// The RTF reader: text and looks of small snippets, hostile input, and the split of a
// presentation page into lesson text and program.
#include "engine/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/text_file.h"
#include "peer_tools.h"

namespace {

using engine::ReadRtf;
using engine::RichRun;
using engine::RichText;

std::string Plain(const std::string& rtf) {
    return ReadRtf(rtf).PlainText();
}

// The run holding `text`, or an empty run with text "(none)".
RichRun RunWith(const RichText& rich, const std::string& text) {
    for (const auto& paragraph : rich.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            if (run.text.find(text) != std::string::npos) return run;
        }
    }
    RichRun none;
    none.text = "(none)";
    return none;
}

TEST(RtfReader, TextOfSnippets) {
    struct Case {
        std::string rtf;
        std::string text;
    };
    const std::vector<Case> cases = {
        {R"({\rtf1 Hallo\par wereld})", "Hallo\nwereld"},
        {R"({\rtf1 a\line b\tab c\par})", "a\nb\tc"},
        {R"({\rtf1 a\par\par b\par})", "a\n\nb"},
        {R"({\rtf1 \\ \{\}})", "\\ {}"},
        {"{\\rtf1 a\r\nb\\\nc}", "ab\nc"},  // raw line ends are layout; \ before one is \par
        {R"({\rtf1 caf\'e9 \'80\'93})", "caf\u00e9 \u20ac\u201c"},
        {R"({\rtf1\ansi\ansicpg1250 \'9a\'e8\'b9})", "\u0161\u010d\u0105"},
        {R"({\rtf1\ansi\ansicpg1253 \'e9})", "\u00e9"},  // unknown code page: 1252
        {R"({\rtf1 \u945?\u8364 E.})", "\u03b1\u20ac."},
        {R"({\rtf1\uc0\u233 x})", "\u00e9x"},
        {R"({\rtf1\uc2\u12354\'82\'a0x})", "\u3042x"},
        {R"({\rtf1\uc3\u233{x}})", "\u00e9x"},  // a brace ends the fallback early
        {R"({\rtf1 \u-3913?})", "\uf0b7"},
        {R"({\rtf1 \u-10179?\u-8694?})", "\U0001F60A"},
        {R"({\rtf1 \u-10179?x \u-8694?})", "\ufffdx \ufffd"},  // lone surrogates
        {R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})",
         "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        {R"({\rtf1 a\~b c\-d e\_f})", "a\u00a0b cd e-f"},
        {R"({\rtf1 a\'0d\'0ab\'00c})", "a\nbc"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}{\stylesheet{Normal;}})"
         R"({\info{\title T}}{\*\generator G;}{\header H}{\footer F}{\*\onbekend U}A})",
         "A"},
        {R"({\rtf1 a{\pict\wmetafile8 0102{\*\blipuid 01}}b})", "ab"},
        {R"({\rtf1 a{\pict\bin5 }{\}{}b})", "ab"},  // \bin bytes are not RTF
        {R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link"},
        {R"({\rtf1 a{\v geheim}b})", "ab"},
        {R"({\rtf1{\listtext\'95\tab}appel\par})", "\u2022\tappel"},
        {R"({\rtf1\trowd\cellx1\cellx2\pard\intbl x\cell f(x)\cell\row)"
         R"(\trowd\pard\intbl 0\cell\cell 2\cell\row\pard Einde\par})",
         "x\tf(x)\n0\t\t2\nEinde"},
        {R"({\rtf1 a}b)", "a"},
        {"\xEF\xBB\xBF \r\n{\\rtf1 a}", "a"},
    };
    for (const Case& c : cases) EXPECT_EQ(Plain(c.rtf), c.text) << c.rtf;
}

TEST(RtfReader, LooksOfRuns) {
    const RichText rich = ReadRtf(
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue255;})"
        R"(gewoon {\b vet}{\i cursief\i0 recht}{\ul onder\ulnone boven}{\ul\ulc0 streep})"
        R"({\ulc0 geenstreep}{\fs40 groot}{\b\i\fs16 a\plain b}\cf1 rood\cf2 blauw\cf0 auto)"
        R"(\cf9 buiten})");
    struct Case {
        std::string text;
        bool bold, italic, underline;
        int halfPoints;
        std::optional<uint32_t> colour;
    };
    const std::vector<Case> cases = {
        {"gewoon ", false, false, false, 24, {}},
        {"vet", true, false, false, 24, {}},
        {"cursief", false, true, false, 24, {}},
        {"recht", false, false, false, 24, {}},
        {"onder", false, false, true, 24, {}},
        {"boven", false, false, false, 24, {}},
        {"streep", false, false, true, 24, {}},
        // Regression: \ulc (the underline's colour) was taken for underline.
        {"geenstreep", false, false, false, 24, {}},
        {"groot", false, false, false, 40, {}},
        {"a", true, true, false, 16, {}},
        {"b", false, false, false, 24, {}},
        {"rood", false, false, false, 24, 255u},
        {"blauw", false, false, false, 24, 128u * 256 + 255u * 65536},
        {"auto", false, false, false, 24, {}},
        {"buiten", false, false, false, 24, {}},  // \cf beyond the table
    };
    for (const Case& c : cases) {
        const RichRun run = RunWith(rich, c.text);
        EXPECT_EQ(run.bold, c.bold) << c.text;
        EXPECT_EQ(run.italic, c.italic) << c.text;
        EXPECT_EQ(run.underline, c.underline) << c.text;
        EXPECT_EQ(run.halfPoints, c.halfPoints) << c.text;
        EXPECT_EQ(run.colour, c.colour) << c.text;
    }
    // Groups with the same look make one run.
    EXPECT_EQ(ReadRtf(R"({\rtf1{\b a}{\b b}})").paragraphs.at(0).runs.size(), 1u);
}

TEST(RtfReader, LooksInALibreOfficeFile) {
    const RichText rich = ReadRtf(ReadWholeFile(std::string(ZORVAT_TEST_DATA) + "/rtf/opmaak.rtf"));
    EXPECT_TRUE(RunWith(rich, "vet").bold);
    EXPECT_TRUE(RunWith(rich, "cursief").italic);
    EXPECT_TRUE(RunWith(rich, "onderstreept").underline);
    EXPECT_FALSE(RunWith(rich, "Dit is").underline);
    EXPECT_EQ(RunWith(rich, "Rood").colour, 255u);
    EXPECT_EQ(RunWith(rich, "groen").colour, 128u * 256);
    EXPECT_EQ(RunWith(rich, "Klein").halfPoints, 16);
    EXPECT_EQ(RunWith(rich, "groot").halfPoints, 40);
}

TEST(RtfReader, NotRtfIsAnError) {
    for (const std::string bytes : {"", "Hallo", "{\\rt", "<html><body>{\\rtf1}</body></html>"}) {
        try {
            ReadRtf(bytes);
            ADD_FAILURE() << "no error for " << bytes;
        } catch (const engine::RtfError& error) {
            EXPECT_STREQ(error.what(), "Dit is geen RTF-bestand: het begint niet met {\\rtf.");
        }
    }
}

TEST(RtfReader, HostileInputReadsAsFarAsItMakesSense) {
    // Truncated anywhere: what came before stays.
    for (const std::string end : {"", "{\\b we", "\\", "\\'e", "\\u", "\\u-", "\\bin999", "{\\*"}) {
        EXPECT_EQ(Plain("{\\rtf1 Hallo " + end).substr(0, 5), "Hallo") << end;
    }
    EXPECT_EQ(Plain(R"({\rtf1 a\bin99999999999999999999 xyz})"), "a");
    EXPECT_EQ(Plain(R"({\rtf1 a\bin-5 b})"), "ab");
    // Nesting far beyond any document: no stack overflow; the deepest groups are skipped
    // and the text after them reads normally.
    const std::string deep =
        "{\\rtf1 a" + std::string(100000, '{') + "x" + std::string(100000, '}') + "b}";
    EXPECT_EQ(Plain(deep), "ab");
    EXPECT_EQ(Plain("{\\rtf1 a" + std::string(500, '{') + "x" + std::string(500, '}') + "b}"),
              "axb");
    // Binary garbage after the header never crashes and gives valid UTF-8.
    std::mt19937 random(7);
    std::string garbage = "{\\rtf1 ";
    for (int i = 0; i < 1 << 20; ++i) garbage += static_cast<char>(random() & 0xFF);
    EXPECT_TRUE(engine::IsValidUtf8(Plain(garbage)));
}

TEST(RtfPresentation, SplitAtTheMarker) {
    using Lines = std::vector<std::string>;
    // Marker in the middle of a paragraph: the text before it stays, with its looks.
    engine::Presentation split = engine::SplitPresentation(
        ReadRtf(R"({\rtf1 Les\par Zie {\b hier}: <programma>\line xmin=1\par F=sin(x)\par})"));
    EXPECT_TRUE(split.hasProgram);
    EXPECT_EQ(split.page.PlainText(), "Les\nZie hier: ");
    EXPECT_TRUE(RunWith(split.page, "hier").bold);
    EXPECT_EQ(split.program, (Lines{"<programma>", "xmin=1", "F=sin(x)"}));

    split = engine::SplitPresentation(ReadRtf(R"({\rtf1 Les\par zonder programma})"));
    EXPECT_FALSE(split.hasProgram);
    EXPECT_TRUE(split.program.empty());
    EXPECT_EQ(split.page.PlainText(), "Les\nzonder programma");

    // Marker in the first line; its letters in other looks and case.
    split = engine::SplitPresentation(ReadRtf(R"({\rtf1 <{\b Programma}>\par a=1})"));
    EXPECT_TRUE(split.page.paragraphs.empty());
    EXPECT_EQ(split.program, (Lines{"<Programma>", "a=1"}));

    // CRLF line ends of the file, and CR LF inside the text, give no stray CR in a line.
    split = engine::SplitPresentation(
        ReadRtf("{\\rtf1 Tekst\r\n\\par <programma>\r\n\\par xmin=-6\\'0d\\'0axmax=6\r\n\\par}"));
    EXPECT_EQ(split.program, (Lines{"<programma>", "xmin=-6", "xmax=6"}));
    RichText crlf;
    crlf.paragraphs.emplace_back().runs.emplace_back().text = "<programma>\r\na=1\rb=2";
    EXPECT_EQ(engine::SplitPresentation(crlf).program, (Lines{"<programma>", "a=1", "b=2"}));
}

}  // namespace
