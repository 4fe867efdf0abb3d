// The flip-book page: the template, line 26, the order of the placeholders, the file's
// line ends, and the batch flip-book that writes pictures, page and script together.
#include "engine/flipbook_page.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>

#include "engine/flipbook_export.h"
#include "gui_application.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

TEST(FlipbookPageTest, TemplateHasFortySevenLinesAndLineTwentySixIsTheFirstRow) {
    ASSERT_EQ(FlipbookTemplate().size(), 47u);
    EXPECT_EQ(FlipbookTemplate()[25], "$regel1$");
    EXPECT_EQ(FlipbookTemplate()[40], " </tr>");

    const std::string page = MakeFlipbookPage({});
    const std::string textCell =
        "<td valign=top><H3 align=center>De grafiek van y=sin(ax)</H3>\r\n"
        "Hiernaast is de grafiek getekend van de functie y=sin(ax).<BR>\r\n"
        "Door op de knop : Start te klikken wordt de waarde van a veranderd.<BR>\r\n"
        "Welk effect heeft het veranderen van a op de grafiek?\r\n</td>";
    const std::string pictureCell =
        "<td rowspan=2><img src=\"../images/start.gif\" name=\"film\" width=360 height=360></td>";
    EXPECT_NE(page.find("<tr>\r\n" + textCell + "\r" + pictureCell + "\r\n</tr>"),
              std::string::npos);
    EXPECT_NE(page.find("var file='../images/tekening'\r\nvar extension='.gif'\r\nvar minnr=10\r\n"
                        "var maxnr=39\r\nvar pauze=50\r\n"),
              std::string::npos);

    FlipbookSettings right;
    right.textLeft = false;
    EXPECT_NE(MakeFlipbookPage(right).find(pictureCell + "\r" + textCell), std::string::npos);
}

TEST(FlipbookPageTest, PlaceholdersAreFilledInTheirOrder) {
    FlipbookSettings settings;
    settings.text = "$ext$ en $plaatjes$";  // $ext$ comes after $plaatjes$, both before $tekst$
    settings.pictures = "p$pauze$";         // filled by the later step for $pauze$
    settings.pause = "$plaatjes$";          // the earlier step is over: stays as written
    settings.width = "$tekst$";
    const std::string page = MakeFlipbookPage(settings);
    EXPECT_NE(page.find("var file='p$plaatjes$'"), std::string::npos);
    EXPECT_NE(page.find("<td valign=top>$ext$ en $plaatjes$</td>"), std::string::npos);
    EXPECT_NE(page.find("width=$ext$ en $plaatjes$ height"), std::string::npos);
}

TEST(FlipbookPageTest, FileHasCrLfLinesAndAnEmptyPageGivesAnEmptyFile) {
    const std::string file = FlipbookFileText(MakeFlipbookPage({}));
    // The lone carriage return between the two cells ends a line of its own.
    EXPECT_EQ(FlipbookPageLines(file).size(), 47u + 4u + 1u);
    EXPECT_NE(file.find("</td>\r\n<td rowspan"), std::string::npos);
    for (size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\r') {
            EXPECT_EQ(file.at(i + 1), '\n') << i;
        }
    }
    EXPECT_EQ(file.substr(file.size() - 9), "</HTML>\r\n");
    EXPECT_EQ(FlipbookFileText(""), "");
}

class FlipbookExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApplication();
        folder = MakeTestFolder();
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(folder);
    }
    static void WriteFile(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    fs::path folder;
};

TEST_F(FlipbookExportTest, PicturesScriptAndPageGoTogether) {
    plot::TPlotSurface surface(40, 30);
    FlipbookRecorder recorder;
    EXPECT_EQ(recorder.Save((folder / "leeg").string(), "x", "js", 50),
              "Geen beelden voor het flipboek in " + (folder / "leeg").string() +
                  ": het programma heeft geen film-lus doorlopen en geen plaatje opgeslagen");
    EXPECT_FALSE(fs::exists(folder / "leeg"));

    for (int i = 0; i < 3; ++i) recorder.Record(surface, true);
    const fs::path out = folder / "nieuw" / "film";
    ASSERT_EQ(recorder.Save(out.string(), "a<b", "// script", 80), std::nullopt);
    EXPECT_TRUE(fs::exists(out / "tekening12.gif"));
    EXPECT_EQ(ReadWholeFile(out / "film.js"), "// script");
    const std::string page = ReadWholeFile(out / "mijnfilm.htm");
    EXPECT_NE(page.find("var file='tekening'\r\nvar extension='.gif'\r\nvar minnr=10\r\n"
                        "var maxnr=12\r\nvar pauze=80\r\n"),
              std::string::npos);
    EXPECT_NE(page.find("<H3 align=center>a&lt;b</H3>"), std::string::npos);
    EXPECT_NE(page.find("src=\"tekening10.gif\" name=\"film\" width=40 height=30"),
              std::string::npos);
}

TEST_F(FlipbookExportTest, AFolderThatCannotBeWrittenGivesAMessageAndNoPage) {
    plot::TPlotSurface surface(10, 10);
    FlipbookRecorder recorder;
    recorder.Record(surface, false);
    recorder.Record(surface, false);
    WriteFile(folder / "bestand", "x");
    const fs::path underFile = folder / "bestand" / "film";
    EXPECT_EQ(recorder.Save(underFile.string(), "x", "js", 50),
              "Kan de map " + underFile.string() + " niet maken");
    // The second picture cannot be written: no page without all its pictures.
    fs::create_directories(folder / "f" / "tekening11.gif");
    EXPECT_EQ(recorder.Save((folder / "f").string(), "x", "js", 50),
              "Kan " + (folder / "f" / "tekening11.gif").string() + " niet opslaan");
    EXPECT_FALSE(fs::exists(folder / "f" / "mijnfilm.htm"));
}

}  // namespace
}  // namespace engine
