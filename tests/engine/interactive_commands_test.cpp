// Sliders, text fields, the selection box, the input dialog, "Verder" and pictures,
// run from program text with a host that records.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

class InteractiveTest : public ProgramTest {
protected:
    engine::ProgramInterface& Ui() { return runner.Interface(); }
};

TEST_F(InteractiveTest, SlidersDriveVariablesOrTheParametersOfTheGraphs) {
    Run({"schuifbalk(1;p;-2;2)", "schrijfregel(u;p)"});
    EXPECT_EQ(Variable("p"), 0);
    EXPECT_EQ(Variable("p", 4), 0);
    EXPECT_TRUE(Ui().sliders[0].visible);
    EXPECT_EQ(Ui().sliders[0].label, "p=0");
    Ui().sliders[0].position = 50;
    engine::UpdateSliderValues(runner);
    EXPECT_EQ(Variable("p"), 1);
    EXPECT_EQ(Ui().sliders[0].label, "p=1");
    Ui().sliders[0].position = -100;
    Run({"schuifbalk(1;p;-2;2)", "q:=p"});
    EXPECT_EQ(Variable("q"), -2);

    // A slider that drives nothing is b of F..I (a too, unless slider 1 is taken over).
    Ui().sliders[1].position = 35;
    engine::UpdateSliderValues(runner);
    EXPECT_EQ(Variable("b", 4), 3.5L);
    EXPECT_EQ(Ui().sliders[1].label, "b=3.5");
    Ui().Reset();
    Ui().sliders[0].position = 20;
    Run({"lijn(0;0;1;1)"});
    EXPECT_EQ(Variable("a", 4), 2);

    // Number 3 does nothing.
    Run({"schuifbalk(3;r;0;1)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(Ui().sliders[1].visible);
}

TEST_F(InteractiveTest, TextFieldsShowAndTake) {
    Run({"uitvoerveld(1;1/4;kwart)", "uitvoerveld(2;1;niet aan)", "uitvoerveld(0;1;nul)"});
    EXPECT_EQ(Ui().fields[0].text, "0.25");
    EXPECT_EQ(Ui().fields[0].caption, "kwart");
    EXPECT_TRUE(Ui().fields[0].visible);
    EXPECT_FALSE(Ui().fields[1].visible);  // field 2 needs `interface` first

    Ui().fields[0].text.clear();
    Run({"interface(tekstveld2;300)", "uitvoerveld$(2;hallo;groet)",
         "invoerveld$(1;$d;AG,BH;diagonalen gestippeld)"});
    EXPECT_EQ(Ui().fields[1].text, "hallo");
    EXPECT_EQ(Ui().fields[1].left, 300);
    EXPECT_EQ(String("$d"), "AG,BH");
    EXPECT_FALSE(Ui().slidersItemEnabled);
    // What the user typed wins on the next run; one space empties a field.
    Ui().fields[0].text = "CE";
    Run({"invoerveld$(1;$d;AG,BH;diagonalen gestippeld)", "uitvoerveld$(2; ;groet)"});
    EXPECT_EQ(String("$d"), "CE");
    EXPECT_EQ(Ui().fields[1].text, "");
}

TEST_F(InteractiveTest, SelectionBoxKeepsTheUsersChoice) {
    Run({"selectievak($f;sin,cos,tan)"});
    EXPECT_EQ(String("$f"), "sin");
    EXPECT_EQ(Ui().selection.items, (std::vector<std::string>{"sin", "cos", "tan"}));
    Ui().selection.text = "tan";
    Run({"selectievak($f;sin,cos,tan)"});
    EXPECT_EQ(String("$f"), "tan");
    Run({"selectievak($f;x,x^2)"});
    EXPECT_EQ(String("$f"), "x");
}

TEST_F(InteractiveTest, DialogAndContinueButton) {
    Run({"invoerdialoog$($n;Naam;Hoe heet je?;Jan)", "stop(Klaar?)", "stop()"});
    EXPECT_EQ(String("$n"), "Jan");             // the recording host answers with the default
    EXPECT_EQ(Ui().continueCaption, "Klaar?");  // stop() keeps the caption
    EXPECT_FALSE(Ui().continueVisible);
    EXPECT_FALSE(runner.Paused());
}

TEST_F(InteractiveTest, PicturesCombineByAndAndBadFilesLeaveTheSlot) {
    const fs::path folder = MakeTestFolder();
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 20; ++x) picture.setPixel(x, 5, qRgb(0, 0, 255));
    ASSERT_TRUE(picture.save(QString::fromStdString((folder / "streep.png").string())));
    std::ofstream(folder / "tekst.png") << "geen plaatje";
    // A bitmap header that claims 10000 x 10000 pixels.
    std::string bmp = "BM";
    bmp.resize(54, '\0');
    const auto put = [&bmp](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(10, 54);
    put(14, 40);
    put(18, 10000);
    put(22, 10000);
    bmp[26] = 1;
    bmp[28] = 24;
    std::ofstream(folder / "groot.bmp", std::ios::binary) << bmp;

    runner.SetProgramFolder(folder.string());
    Run({"assen=geen", "vulkleur(255)", "vulstijl(0)", "rechthoek(-5;-5;0;5)",
         "laadplaatje(1;streep.png)", "toonplaatje(1;0;0)", "laadplaatje(2;tekst.png)",
         "laadplaatje(2;groot.bmp)", "laadplaatje(2;weg.png)", "toonplaatje(2;0;0)",
         "laadplaatje(7;streep.png)"});
    EXPECT_TRUE(host.messages.empty());
    const int row = surface.WindowY(0) - 5 + 5, left = surface.WindowX(0) - 10;
    // The blue line over red is black (AND), over white it is blue; white lets all through.
    EXPECT_EQ(surface.PixelColour(left + 2, row), 0u);
    EXPECT_EQ(surface.PixelColour(left + 15, row), 16711680u);
    EXPECT_EQ(surface.PixelColour(left + 2, row - 3), 255u);
    EXPECT_TRUE(runner.Pictures().Empty(2));
    // Erasing paints the picture's rectangle white.
    Run({"assen=geen", "vulkleur(255)", "vulstijl(0)", "rechthoek(-5;-5;5;5)",
         "laadplaatje(1;streep.png)", "wisplaatje(1;0;0)"});
    EXPECT_EQ(surface.PixelColour(left + 2, row - 3), plot::kWhite);
    EXPECT_EQ(surface.PixelColour(left - 3, row), 255u);
    fs::remove_all(folder);
}

}  // namespace
