// opslaanbmp and opslaanjpg: numbering shared with opslaangif, the 90-picture limit,
// the extension message, the GIF maker's list, and files that hold the picture.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "peer_tools.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

class PictureCommandsTest : public ProgramTest {
protected:
    void SetUp() override { folder = MakeTestFolder(); }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder);
    }
    std::string Save(const std::string& command, const std::string& name) {
        return command + "(" + (folder / name).string() + ")";
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

TEST_F(PictureCommandsTest, PicturesAreNumberedFromTenInEveryRunAndShareTheCounter) {
    for (const std::string extension : {"bmp", "jpg"}) {
        const std::string command = "opslaan" + extension;
        Run({Save(command, "a"), Save(command, "a"), Save("opslaangif", "g")});
        EXPECT_TRUE(host.messages.empty());
        Run({Save(command, "b")});
        EXPECT_EQ(Files(), (std::vector<std::string>{"a10." + extension, "a11." + extension,
                                                     "b10." + extension, "g12.gif"}));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
}

TEST_F(PictureCommandsTest, TheNinetyFirstPictureIsNotWritten) {
    Run({"for(i;1;95;1)", Save("opslaanbmp", "p"), "volgende", "klaar:=1"});
    const auto files = Files();
    EXPECT_EQ(files.size(), 90u);
    EXPECT_EQ(files.back(), "p99.bmp");
    EXPECT_EQ(Variable("klaar"), 1);
}

TEST_F(PictureCommandsTest, ANameWithAnExtensionOrAMissingFolderEndsTheRun) {
    for (const char* command : {"opslaanbmp(a.bmp)", "opslaanjpg(a.b)"}) {
        Run({command, "k:=1"});
        ASSERT_EQ(host.messages.size(), 1u) << command;
        EXPECT_EQ(host.messages[0].caption, "Waarschuwing");
        EXPECT_EQ(host.messages[0].text, "Bestandsnaam zonder extensie opgeven");
        EXPECT_NE(Variable("k"), 1);
    }
    const std::string missing = (folder / "geen" / "x").string();
    Run({"for(i;1;5;1)", "opslaanjpg(" + missing + ")", "volgende"});
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Kan " + missing + "10.jpg niet opslaan"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_TRUE(Files().empty());
}

TEST_F(PictureCommandsTest, BitmapsGoToTheGifMakersListWhichStartsAfreshEachRun) {
    std::vector<std::pair<std::string, bool>> listed;
    runner.SavedPictures().SetBitmapListener(
        [&](const std::string& file, bool first) { listed.emplace_back(file, first); });
    Run({Save("opslaanbmp", "a"), Save("opslaanjpg", "j"), Save("opslaanbmp", "a")});
    Run({Save("opslaangif", "g"), Save("opslaanbmp", "b")});
    const auto path = [&](const char* name) { return (folder / name).string(); };
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, bool>>{
                          {path("a10.bmp"), true},
                          {path("a12.bmp"), false},
                          // After a GIF the bitmap is not the run's first picture.
                          {path("b11.bmp"), false}}));
}

TEST_F(PictureCommandsTest, FilesHoldThePictureOfThatMoment) {
    Run({"tekenkleur(255)", "vulkleur(255)", "vulstijl(0)", "rechthoek(-1;-1;1;1)",
         Save("opslaanbmp", "p"), Save("opslaanjpg", "p")});
    const QImage bmp(QString::fromStdString((folder / "p10.bmp").string()));
    const QImage jpg(QString::fromStdString((folder / "p11.jpg").string()));
    ASSERT_EQ(bmp.size(), QSize(200, 200));
    ASSERT_EQ(jpg.size(), QSize(200, 200));
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(bmp.pixel(100, 100), red);
    EXPECT_EQ(bmp.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_NEAR(qRed(jpg.pixel(100, 100)), 255, 8);
    EXPECT_NEAR(qGreen(jpg.pixel(100, 100)), 0, 8);
}

}  // namespace
