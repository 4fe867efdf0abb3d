// opslaangif and the frames a run records for an animation.
#include <gtest/gtest.h>

#include <filesystem>

#include "../gif/gif_structure.h"
#include "engine/gif_export.h"
#include "peer_tools.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

class GifCommandsTest : public ProgramTest {
protected:
    void SetUp() override { folder = MakeTestFolder(); }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder);
    }
    // opslaangif with a name in the test folder (which has no "." in it).
    std::string Save(const std::string& name) {
        return "opslaangif(" + (folder / name).string() + ")";
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    GifStructure Read(const std::string& name) {
        return ReadGifStructure(ReadWholeFile(folder / name)).value_or(GifStructure{});
    }

    fs::path folder;
};

TEST_F(GifCommandsTest, PicturesAreNumberedFromTenAgainInEveryRun) {
    Run({Save("a"), Save("a"), Save("b")});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Files(), (std::vector<std::string>{"a10.gif", "a11.gif", "b12.gif"}));
    Run({Save("c")});
    EXPECT_TRUE(fs::exists(folder / "c10.gif"));
    // Saved as "Opslaan als &Gif" saves: interlaced, white transparent.
    const GifStructure gif = Read("c10.gif");
    EXPECT_EQ(gif.width, 200);
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.frames[0].descriptorPacked, 0x40);
    EXPECT_EQ(gif.frames[0].packed, 0x01);

    runner.Settings().transparentGifs = false;  // "&Transparante Gif's" unticked
    Run({Save("d")});
    EXPECT_EQ(Read("d10.gif").frames.at(0).packed, 0x00);
}

TEST_F(GifCommandsTest, AtMostNinetyPicturesARun) {
    Run({"for(i;1;95;1)", Save("p"), "volgende", "klaar:=1"});
    EXPECT_TRUE(host.messages.empty());
    const auto files = Files();
    EXPECT_EQ(files.size(), 90u);
    EXPECT_EQ(files.front(), "p10.gif");
    EXPECT_EQ(files.back(), "p99.gif");
    EXPECT_EQ(Variable("klaar"), 1);
}

TEST_F(GifCommandsTest, BadNamesAndFoldersEndTheRunWithAMessage) {
    Run({"opslaangif(a.gif)", "k:=1"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Waarschuwing");
    EXPECT_EQ(host.messages[0].text, "Bestandsnaam zonder extensie opgeven");
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_NE(Variable("k"), 1);

    // A folder that is not there: one message, not one for every pass.
    const std::string missing = (folder / "geen" / "x").string();
    Run({"for(i;1;5;1)", "opslaangif(" + missing + ")", "volgende"});
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Kan " + missing + "10.gif niet opslaan"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_TRUE(Files().empty());
}

TEST_F(GifCommandsTest, AnAnimationHasOneFramePerFilmPass) {
    engine::AnimationRecorder recorder;
    runner.SavedPictures().SetFrameRecorder(
        [&](const plot::TPlotSurface& picture) { recorder.Record(picture); });
    // Each pass draws its own dot; the snapshot takes the one before away.
    Run({"film(k;-3;3;1)", "stip(k;0;6)", "volgende"});
    EXPECT_EQ(recorder.FrameCount(), 7u);
    // A pass that saves its picture is one frame, not two; a save outside a film is one.
    Run({Save("s"), "film(k;1;3;1)", Save("f"), "volgende"});
    EXPECT_EQ(recorder.FrameCount(), 7u + 4u);
    runner.SavedPictures().SetFrameRecorder(nullptr);
    Run({"film(k;1;3;1)", "volgende"});
    EXPECT_EQ(recorder.FrameCount(), 11u);

    ASSERT_EQ(recorder.Save((folder / "film.gif").string(), {250, false, 0}), std::nullopt);
    const GifStructure gif = Read("film.gif");
    ASSERT_EQ(gif.frames.size(), 11u);
    EXPECT_EQ(gif.loopCount, 0);
    EXPECT_EQ(gif.frames[3].comment, "Frame #4");
    EXPECT_EQ(gif.frames[3].delay, 25);
    EXPECT_EQ(gif.frames[3].packed, 0x08);  // disposal 2, not transparent
}

TEST_F(GifCommandsTest, AnimationsWithTooManyFramesAreNotWritten) {
    const std::string path = (folder / "film.gif").string();
    engine::AnimationRecorder many;
    runner.SavedPictures().SetFrameRecorder(
        [&](const plot::TPlotSurface& picture) { many.Record(picture); });
    Run({"film(k;1;300;1)", "volgende"});
    EXPECT_EQ(many.Save(path, {}),
              "Een geanimeerde GIF heeft hoogstens 256 beelden; het programma maakte er 300. " +
                  path + " is niet geschreven");
    EXPECT_TRUE(Files().empty());
}

}  // namespace
