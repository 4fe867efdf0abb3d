// The GIF loader on Qt's reader: the first frame, or the error code.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "gif/gif_picture.h"
#include "gif/gif_writer.h"
#include "gui_application.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using gif::GifError;

gif::RgbImage Stripes(int width, int height, gif::Colour a, gif::Colour b) {
    gif::RgbImage picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) picture.Set(column, row, row % 3 ? a : b);
    }
    return picture;
}

TEST(GifPictureTest, LoadsTheFirstFrameWithItsTransparency) {
    EnsureGuiApplication();
    const fs::path folder = MakeTestFolder();
    gif::TFrameList list;
    list.frames.resize(2);
    list.frames[0].picture = Stripes(6, 5, gif::kWhite, 0x0000FF);
    list.frames[0].transparent = true;
    list.frames[0].transparentColour = gif::kWhite;
    list.frames[1].picture = Stripes(6, 5, 0x00FF00, 0x0000FF);
    gif::TGifWriter writer;
    ASSERT_TRUE(writer.SaveFramesToFile((folder / "twee.gif").string(), list));

    gif::TGifPicture picture;
    ASSERT_TRUE(picture.LoadFromFile((folder / "twee.gif").string()));
    EXPECT_EQ(picture.LastError(), GifError::None);
    const QImage& image = picture.Picture();
    ASSERT_EQ(image.size(), QSize(6, 5));
    EXPECT_EQ(qAlpha(image.pixel(0, 1)), 0);        // white was transparent
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));  // 0x0000FF is red
    fs::remove_all(folder);
}

TEST(GifPictureTest, FilesThatAreNoGifGiveTheirCode) {
    EnsureGuiApplication();
    const fs::path folder = MakeTestFolder();
    gif::TGifWriter writer;
    std::string good;
    gif::TFrameList list;
    list.frames.resize(1);
    list.frames[0].picture = Stripes(40, 40, 1, 2);
    ASSERT_TRUE(writer.WriteFrames(list, good));
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(QString::fromStdString((folder / "png.gif").string()), "PNG"));
    std::ofstream(folder / "tekst.gif") << "geen plaatje\n";
    std::ofstream(folder / "kort.gif", std::ios::binary) << good.substr(0, 20);
    std::ofstream(folder / "leeg.gif");
    fs::create_directory(folder / "map.gif");

    const std::pair<const char*, GifError> cases[] = {
        {"ontbreekt.gif", GifError::FileNotFound}, {"tekst.gif", GifError::InvalidFileFormat},
        {"kort.gif", GifError::InvalidFileFormat}, {"png.gif", GifError::InvalidFileFormat},
        {"leeg.gif", GifError::InvalidFileFormat}, {"map.gif", GifError::InvalidFileFormat},
    };
    for (const auto& [name, error] : cases) {
        gif::TGifPicture picture;
        EXPECT_FALSE(picture.LoadFromFile((folder / name).string())) << name;
        EXPECT_EQ(picture.LastError(), error) << name;
        EXPECT_TRUE(picture.Picture().isNull()) << name;
    }
    fs::remove_all(folder);
}

}  // namespace
