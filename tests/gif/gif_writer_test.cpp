// The GIF writer without Qt: file structure, colour tables, extensions, errors.
// Set ZORVAT_UPDATE_GOLDEN=1 to write the golden files anew (then review them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gif/animation_frame.h"
#include "gif/colour_table.h"
#include "gif/gif_writer.h"
#include "gif_structure.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using gif::GifError;
using gif::RgbImage;
using gif::TFrameInfo;
using gif::TFrameList;

constexpr gif::Colour kBlack = 0;
constexpr gif::Colour kRed = 255;

// A picture whose pixels cycle through `colours` distinct colours starting at `first`.
RgbImage Pattern(int width, int height, int colours, gif::Colour first = 0x010203) {
    RgbImage picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            picture.Set(column, row,
                        first + static_cast<gif::Colour>((row * width + column) % colours));
        }
    }
    return picture;
}

TFrameInfo Frame(RgbImage picture) {
    TFrameInfo frame;
    frame.picture = std::move(picture);
    return frame;
}

std::string Encode(TFrameList& list, gif::TGifWriter& writer) {
    std::string bytes;
    EXPECT_TRUE(writer.WriteFrames(list, bytes)) << gif::ErrorText(writer.LastError());
    EXPECT_EQ(writer.LastError(), GifError::None);
    return bytes;
}

std::string Encode(TFrameList& list) {
    gif::TGifWriter writer;
    return Encode(list, writer);
}

GifStructure Structure(const std::string& bytes) {
    const auto gif = ReadGifStructure(bytes);
    EXPECT_TRUE(gif && gif->trailer);
    return gif.value_or(GifStructure{});
}

void CompareWithGolden(const std::string& bytes, const std::string& name) {
    const fs::path golden = fs::path(ZORVAT_TEST_DATA) / "golden" / name;
    if (std::getenv("ZORVAT_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << bytes;
    }
    EXPECT_EQ(bytes, ReadWholeFile(golden)) << golden;
}

// A black cross on white, 5 x 9: rows in interlaced order differ from file order.
RgbImage Cross() {
    RgbImage picture(5, 9);
    for (int i = 0; i < 9; ++i) picture.Set(2, i, kBlack);
    for (int i = 0; i < 5; ++i) picture.Set(i, 4, kBlack);
    return picture;
}

TEST(GifWriterTest, TwoColourPictureIsByteExact) {
    const fs::path folder = MakeTestFolder();
    gif::TGifWriter writer;
    ASSERT_TRUE(
        writer.SaveBitmapToFile((folder / "kruis.gif").string(), Cross(), true, gif::kWhite, true));
    const std::string bytes = ReadWholeFile(folder / "kruis.gif");
    CompareWithGolden(bytes, "two_colours.gif");

    // The golden bytes pin everything; these are the points that matter most.
    const GifStructure gif = Structure(bytes);
    EXPECT_EQ(gif.packed, 0x80);  // a global table of 1 bit: two entries
    EXPECT_EQ(gif.globalTable, std::string("\xFF\xFF\xFF\0\0\0", 6));
    EXPECT_FALSE(gif.loopCount);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.frames[0].minimumCodeSize, 2);
    EXPECT_EQ(gif.frames[0].descriptorPacked, 0x40);  // interlaced, no local table
    EXPECT_EQ(gif.trailingComments, std::vector<std::string>{gif::TGifWriter::kCredit});
    EXPECT_EQ(std::ranges::count(std::string_view(gif::TGifWriter::kCredit), '\n'), 3);
    fs::remove_all(folder);
}

TEST(GifWriterTest, AnimationWithTooManyColoursTogetherGetsOneTablePerFrame) {
    // 100 colours a frame, none shared: the third frame overflows a shared table.
    TFrameList list;
    const gif::AnimationSettings settings{125, true, 0x010203 + 3};
    for (int i = 0; i < 3; ++i) {
        list.frames.push_back(
            gif::AnimationFrame(Pattern(10, 10, 100, 0x010203 + 0x400000 * i), i + 1, settings));
    }
    list.frames[1].delay = 40;
    list.frames[2].delay = 9;
    list.loopCount = 3;
    const std::string bytes = Encode(list);
    CompareWithGolden(bytes, "three_frames.gif");

    EXPECT_FALSE(list.globalPalette);  // the caller learns that the fallback was taken
    const GifStructure gif = Structure(bytes);
    EXPECT_EQ(gif.packed, 0);  // no global table
    EXPECT_EQ(gif.globalTable, "");
    EXPECT_EQ(gif.loopCount, 3);
    ASSERT_EQ(gif.frames.size(), 3u);
    const int delays[] = {12, 4, 0};
    for (int i = 0; i < 3; ++i) {
        const GifFrameBlocks& frame = gif.frames[static_cast<size_t>(i)];
        EXPECT_EQ(frame.comment, "Frame #" + std::to_string(i + 1));
        EXPECT_EQ(frame.descriptorPacked, 0x86);  // a local table of 7 bits
        EXPECT_EQ(frame.localTable.size(), 128u * 3);
        EXPECT_EQ(frame.minimumCodeSize, 7);
        EXPECT_EQ(frame.delay, delays[i]);
        // Disposal 2; the transparent colour is only in the first frame.
        EXPECT_EQ(frame.packed, i == 0 ? 0x09 : 0x08) << i;
    }
    EXPECT_EQ(gif.frames[0].transparentIndex, 3);
}

TEST(GifWriterTest, EmptyListIsAScreenWithoutPictures) {
    TFrameList list;
    const std::string bytes = Encode(list);
    std::string expected(
        "GIF89a\0\0\0\0\x80\0\0"
        "\0\0\0\0\0\0"
        "\x21\xFE",
        21);
    const std::string credit = gif::TGifWriter::kCredit;
    expected += static_cast<char>(credit.size()) + credit + std::string(1, '\0') + "\x3B";
    EXPECT_EQ(bytes, expected);
}

TEST(GifWriterTest, GraphicControlFieldsOfAFrame) {
    struct Case {
        int32_t delay;
        uint8_t disposal;
        bool transparent;
        gif::Colour transparentColour;
        int packed;
        int delayField;
        int index;
    };
    const Case cases[] = {
        {125, 0, false, kBlack, 0x00, 12, 255},
        {-50, 1, false, kBlack, 0x04, 0, 255},             // a negative delay is no delay
        {10'000'000, 2, false, kBlack, 0x08, 65535, 255},  // the field's largest
        {0, 3, true, kBlack, 0x0D, 0, 1},
        {0, 7, true, kBlack, 0x01, 0, 1},  // unknown disposal: none
        {0, 0, true, kRed, 0x00, 0, 255},  // a colour not in the picture: no transparency
    };
    for (const Case& c : cases) {
        TFrameList list;
        list.frames.push_back(Frame(Cross()));
        list.frames[0].delay = c.delay;
        list.frames[0].disposal = c.disposal;
        list.frames[0].transparent = c.transparent;
        list.frames[0].transparentColour = c.transparentColour;
        const GifStructure gif = Structure(Encode(list));
        ASSERT_EQ(gif.frames.size(), 1u);
        EXPECT_EQ(gif.frames[0].packed, c.packed) << c.delay << " " << int{c.disposal};
        EXPECT_EQ(gif.frames[0].delay, c.delayField) << c.delay;
        EXPECT_EQ(gif.frames[0].transparentIndex, c.index) << c.delay;
    }
}

// Regression: index 255 also served as "not found", so a transparent colour that
// was the 256th of the picture stayed opaque.
TEST(GifWriterTest, TransparentColourAsTheLastOf256IsMarked) {
    RgbImage picture = Pattern(16, 16, 255);
    picture.Set(15, 15, gif::kWhite);
    TFrameList list;
    list.frames.push_back(Frame(std::move(picture)));
    list.frames[0].transparent = true;
    list.frames[0].transparentColour = gif::kWhite;
    const GifStructure gif = Structure(Encode(list));
    EXPECT_EQ(gif.frames[0].packed, 0x01);
    EXPECT_EQ(gif.frames[0].transparentIndex, 255);
}

TEST(GifWriterTest, BadFramesFailWithTheirCodeAndWriteNothing) {
    RgbImage mismatched(4, 4);
    mismatched.pixels.pop_back();
    const auto single = [](RgbImage picture) {
        TFrameList list;
        list.frames.push_back(Frame(std::move(picture)));
        return list;
    };
    struct Case {
        const char* what;
        TFrameList list;
        GifError error;
    };
    std::vector<Case> cases;
    cases.push_back({"257 colours", single(Pattern(20, 20, 257)), GifError::TooManyColours});
    cases.push_back({"0 x 0", single(RgbImage(0, 0)), GifError::PictureConversion});
    cases.push_back({"short buffer", single(mismatched), GifError::PictureConversion});
    TFrameList far = single(RgbImage(10, 10));
    far.frames[0].left = 65530;
    cases.push_back({"past 65535", std::move(far), GifError::IndexOutOfBounds});
    TFrameList many;
    for (int i = 0; i < 257; ++i) many.frames.push_back(Frame(RgbImage(1, 1)));
    cases.push_back({"257 frames", std::move(many), GifError::IndexOutOfBounds});
    TFrameList firstTooRich = single(Pattern(20, 20, 257));
    firstTooRich.frames.push_back(Frame(RgbImage(2, 2)));
    cases.push_back({"first frame 257 colours", std::move(firstTooRich), GifError::TooManyColours});
    TFrameList laterTooRich = single(RgbImage(2, 2));
    laterTooRich.frames.push_back(Frame(Pattern(20, 20, 257)));
    cases.push_back({"later frame 257 colours", std::move(laterTooRich), GifError::TooManyColours});

    const fs::path folder = MakeTestFolder();
    const fs::path file = folder / "oud.gif";
    for (Case& c : cases) {
        std::ofstream(file) << "oud";
        gif::TGifWriter writer;
        std::string stream = "voor";
        EXPECT_FALSE(writer.WriteFrames(c.list, stream)) << c.what;
        EXPECT_EQ(writer.LastError(), c.error) << c.what;
        EXPECT_EQ(stream, "voor") << c.what;
        EXPECT_FALSE(writer.SaveFramesToFile(file.string(), c.list)) << c.what;
        EXPECT_EQ(ReadWholeFile(file), "oud") << c.what;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    gif::TGifWriter writer;  // encoding works, writing does not
    EXPECT_FALSE(writer.SaveBitmapToFile((folder / "geen" / "map.gif").string(), Cross(), false,
                                         gif::kWhite, false));
    EXPECT_EQ(writer.LastError(), GifError::Internal);
    fs::remove_all(folder);
}

TEST(GifWriterTest, FramesOfDifferentSizesAndPlacesSpanTheScreen) {
    TFrameList list;
    list.frames.push_back(Frame(RgbImage(30, 10)));
    list.frames.push_back(Frame(RgbImage(5, 40)));
    list.frames[1].left = 7;
    list.frames[1].top = 2;
    const GifStructure gif = Structure(Encode(list));
    EXPECT_EQ(gif.width, 30);
    EXPECT_EQ(gif.height, 42);
    ASSERT_EQ(gif.frames.size(), 2u);
    EXPECT_EQ(gif.frames[1].left, 7);
    EXPECT_EQ(gif.frames[1].top, 2);
    EXPECT_EQ(gif.frames[1].width, 5);
    EXPECT_EQ(gif.frames[1].height, 40);
}

TEST(GifWriterTest, LongCommentsAndImageDataComeInBlocksOfAtMost255) {
    TFrameList list;
    list.frames.push_back(Frame(Pattern(200, 200, 256)));  // little to compress
    list.frames[0].comment = std::string(300, 'c');
    const std::string bytes = Encode(list);
    EXPECT_NE(bytes.find("\x21\xFE\xFF" + std::string(255, 'c') + "\x2D"), std::string::npos);
    const GifStructure gif = Structure(bytes);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.frames[0].comment, std::string(300, 'c'));
    const auto& sizes = gif.frames[0].blockSizes;
    ASSERT_GT(sizes.size(), 10u);
    EXPECT_TRUE(std::all_of(sizes.begin(), sizes.end() - 1, [](int s) { return s == 255; }));
}

TEST(GifWriterTest, ProgressRisesToHundredAndCanCancel) {
    TFrameList list;
    for (int i = 0; i < 2; ++i) list.frames.push_back(Frame(Pattern(400, 300, 7)));
    std::vector<int> seen;
    int cancelAt = -1;
    gif::TGifWriter writer;
    writer.SetProgressHandler(
        [&](const gif::TGifWriter&, int64_t done, int64_t total, int percentage, bool& keepOn) {
            EXPECT_LE(done, total);
            seen.push_back(percentage);
            if (percentage == cancelAt) keepOn = false;
        });
    Encode(list, writer);
    ASSERT_GT(seen.size(), 900u);  // every 256 of 120 000 pixels, twice
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_LE(seen.front(), 1);
    EXPECT_EQ(seen[seen.size() / 2 - 1], 50);  // the first frame ends half-way
    EXPECT_EQ(seen.back(), 100);

    seen.clear();
    cancelAt = 30;
    std::string stream;
    EXPECT_FALSE(writer.WriteFrames(list, stream));
    EXPECT_EQ(writer.LastError(), GifError::Cancelled);
    EXPECT_EQ(seen.back(), 30);
    EXPECT_EQ(stream, "");
}

TEST(GifWriterTest, ColourBitsAndInterlacedRowOrder) {
    const std::pair<int, int> bits[] = {{0, 1},  {2, 1},  {3, 2},  {4, 2},   {5, 3},  {16, 4},
                                        {17, 5}, {64, 6}, {65, 7}, {129, 8}, {256, 8}};
    for (const auto& [count, expected] : bits) {
        EXPECT_EQ(gif::BitsForColourCount(count), expected) << count;
    }
    EXPECT_EQ(gif::RowOrder(10, true), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    EXPECT_EQ(gif::RowOrder(1, true), std::vector<int>{0});
    EXPECT_EQ(gif::RowOrder(3, false), (std::vector<int>{0, 1, 2}));
}

TEST(GifWriterTest, ErrorTextsInBothLanguages) {
    for (int code = 0; code < gif::kErrorCount; ++code) {
        const auto error = static_cast<GifError>(code);
        EXPECT_STRNE(gif::ErrorText(error), "") << code;
        EXPECT_STRNE(gif::DutchErrorText(error), "") << code;
    }
    EXPECT_EQ(gif::SaveFailedMessage(GifError::TooManyColours),
              "Opslaan als GIF Mislukt. Fout Code=4 [Afbeelding bevat teveel kleuren (>256)]");
    EXPECT_EQ(gif::MakerSaveFailedMessage(GifError::PictureConversion),
              "Save Failed. Error Code = 6 [Windows GDI Error]");
    EXPECT_STREQ(gif::DutchErrorText(GifError::FileNotFound), "Bestand niet gevonden");
}

}  // namespace
