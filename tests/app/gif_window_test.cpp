// "Opslaan als &Gif" and the animated-GIF maker, driven as a user would.
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include "../gif/gif_structure.h"
#include "app/gif_maker_window.h"
#include "gif/gif_writer.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

// A BMP of `colours` colours from `first` on, one a pixel.
void WriteBitmap(const fs::path& path, int colours, QRgb first) {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i) image.setPixel(i % 16, i / 16, first + i % colours);
    ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "BMP"));
}

class GifWindowTest : public GuiTest {
protected:
    app::GifMakerWindow& OpenMaker() {
        Action(window.get(), "&Animated Gif maken")->trigger();
        return window->GifMaker();
    }
    void Click(app::GifMakerWindow& maker, const char* button) {
        Find<QPushButton>(button, &maker)->click();
    }
    void Add(app::GifMakerWindow& maker, const fs::path& file) {
        host.fileAnswers.push_back(file.string());
        Click(maker, "btnBrowseInput");
    }
    std::string LastMessage() const {
        return host.messages.empty() ? "" : host.messages.back().text;
    }
};

TEST_F(GifWindowTest, SaveAsGifFollowsTheTransparencyOption) {
    host.fileAnswers.push_back((folder / "plaatje").string());
    Action(window.get(), "Opslaan als &Gif")->trigger();
    auto gif = ReadGifStructure(Slurp(folder / "plaatje.gif"));
    ASSERT_TRUE(gif && gif->frames.size() == 1);
    EXPECT_EQ(gif->frames[0].descriptorPacked, 0x40);  // interlaced
    EXPECT_EQ(gif->frames[0].packed, 0x01);            // white transparent

    Settings().transparentGifs = false;  // "&Transparante Gif's" unticked
    host.fileAnswers.push_back((folder / "dicht.gif").string());
    Action(window.get(), "Opslaan als &Gif")->trigger();
    EXPECT_EQ(ReadGifStructure(Slurp(folder / "dicht.gif")).value().frames.at(0).packed, 0x00);

    const std::string unwritable = (folder / "geen" / "x.gif").string();
    host.fileAnswers.push_back(unwritable);
    Action(window.get(), "Opslaan als &Gif")->trigger();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Kan " + unwritable + " niet opslaan"});
}

TEST_F(GifWindowTest, MakerBuildsAnimationsFromBitmapsAndGifs) {
    app::GifMakerWindow& maker = OpenMaker();
    EXPECT_TRUE(maker.isVisible());

    // 200 colours each, 400 together.
    WriteBitmap(folder / "b.bmp", 200, qRgb(0, 0, 0));
    WriteBitmap(folder / "a.bmp", 200, qRgb(0, 200, 0));
    Add(maker, folder / "b.bmp");
    Add(maker, folder / "a.bmp");
    Click(maker, "Button1");  // sort
    EXPECT_EQ(maker.InputFiles(),
              (QStringList{QString::fromStdString((folder / "a.bmp").string()),
                           QString::fromStdString((folder / "b.bmp").string())}));
    host.fileAnswers.push_back((folder / "anim").string());
    Click(maker, "btnBrowseOutput");
    EXPECT_EQ(Find<QLineEdit>("editOutput", &maker)->text().toStdString(),
              (folder / "anim.gif").string());
    Click(maker, "btnGo");
    EXPECT_EQ(LastMessage(), "Animation saved using multiple local palettes. Success!");
    auto gif = ReadGifStructure(Slurp(folder / "anim.gif"));
    ASSERT_TRUE(gif && gif->frames.size() == 2);
    EXPECT_EQ(gif->frames[1].comment, "Frame #2");
    EXPECT_EQ(gif->frames[1].delay, 1);
    EXPECT_EQ(gif->frames[1].packed & 0x1C, 0x08);  // disposal 2

    // A GIF frame: its transparent part reads as white, so one table still serves.
    gif::TFrameList list;
    list.frames.resize(1);
    list.frames[0].picture = gif::RgbImage(16, 16, gif::kWhite);
    list.frames[0].picture.Set(3, 3, 0);
    list.frames[0].transparent = true;
    list.frames[0].transparentColour = gif::kWhite;
    gif::TGifWriter writer;
    ASSERT_TRUE(writer.SaveFramesToFile((folder / "c.gif").string(), list));
    Click(maker, "btnClear");
    Add(maker, folder / "a.bmp");
    Add(maker, folder / "c.gif");
    Find<QLineEdit>("Edit1", &maker)->setText("250");
    Click(maker, "btnGo");
    EXPECT_EQ(LastMessage(), "Animation saved using a global palette. Success!");
    gif = ReadGifStructure(Slurp(folder / "anim.gif"));
    ASSERT_TRUE(gif && gif->frames.size() == 2);
    EXPECT_EQ(gif->globalTable.size(), 256u * 3);
    EXPECT_EQ(gif->frames[0].delay, 25);
}

TEST_F(GifWindowTest, MakerRefusesBadInputAndWritesNothing) {
    app::GifMakerWindow& maker = OpenMaker();
    const std::string output = (folder / "uit.gif").string();
    Find<QLineEdit>("editOutput", &maker)->setText(QString::fromStdString(output));

    // An empty list is a GIF without frames.
    Click(maker, "btnGo");
    EXPECT_EQ(LastMessage(), "Animation saved using a global palette. Success!");
    ASSERT_TRUE(ReadGifStructure(Slurp(output)));
    const std::string empty = Slurp(output);

    // x.GIF is read as a bitmap: only ".gif" in lower case means a GIF.
    fs::copy_file(output, folder / "x.GIF");
    WriteBitmap(folder / "a.bmp", 2, qRgb(0, 0, 0));
    WriteBytes(folder / "tekst.bmp", "geen plaatje");
    const std::pair<fs::path, std::string> bad[] = {
        {folder / "x.GIF", "Save Failed. Error Code = 3 [Invalid File Format]"},
        {folder / "tekst.bmp", "Save Failed. Error Code = 3 [Invalid File Format]"},
        {folder / "weg.gif", "Save Failed. Error Code = 7 [File not Found]"},
        {folder / "weg.bmp", "Save Failed. Error Code = 7 [File not Found]"},
    };
    for (const auto& [file, message] : bad) {
        Click(maker, "btnClear");
        Add(maker, folder / "a.bmp");
        Add(maker, file);
        Click(maker, "btnGo");
        EXPECT_EQ(LastMessage(), message + "\n" + file.string());
    }
    Click(maker, "btnClear");
    Add(maker, folder / "a.bmp");
    Find<QLineEdit>("Edit1", &maker)->setText("snel");
    Click(maker, "btnGo");
    EXPECT_EQ(LastMessage(), "'snel' is geen geldig geheel getal");
    EXPECT_EQ(Slurp(output), empty);
}

}  // namespace
