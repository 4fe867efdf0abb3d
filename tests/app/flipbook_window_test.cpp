// The picture menu items of the main window and the Flipzet window, driven as a user
// would: menus, scripted save dialogs, the files they leave.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPlainTextEdit>

#include "app/flipbook_window.h"
#include "app/gif_maker_window.h"
#include "engine/flipbook_page.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

class PictureMenuTest : public GuiTest {
protected:
    app::FlipbookWindow& OpenFlipzet() {
        Action(window.get(), "&Flipzet (javascript)")->trigger();
        return window->Flipbook();
    }
    void Trigger(app::FlipbookWindow& flipzet, const char* name) {
        QAction* action = flipzet.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
};

TEST_F(PictureMenuTest, MetafileJpegSvgTikzAndTheClipboard) {
    RunProgram("lijn(-4;-4;4;4)\ntekst(0;0;a<b)");
    const std::pair<const char*, std::string> saves[] = {
        {"Opslaan als &Metafile", "m"},
        {"Opslaan als &JPG", "j"},
        {"Opslaan als SVG (&web, Inkscape)", "s"},
        {"Opslaan als Ti&kZ (LaTeX)", "t"},
    };
    for (const auto& [item, name] : saves) {
        host.fileAnswers.push_back((folder / name).string());
        Action(window.get(), item)->trigger();
    }
    EXPECT_TRUE(host.messages.empty()) << MessageTexts().front();
    // Without an extension the menu adds the format's own.
    EXPECT_EQ(Slurp(folder / "m.emf").substr(40, 4), " EMF");
    EXPECT_EQ(QImage(QString::fromStdString((folder / "j.jpg").string())).size(),
              QSize(window->Surface().Width(), window->Surface().Height()));
    EXPECT_NE(Slurp(folder / "s.svg").find(">a&lt;b</text>"), std::string::npos);
    EXPECT_NE(Slurp(folder / "t.tex").find("\\begin{tikzpicture}"), std::string::npos);

    // "Metafile op dubbele grootte" unticked: the metafile has the picture's own size.
    Action(window.get(), "&Metafile op dubbele grootte")->trigger();
    host.fileAnswers.push_back((folder / "klein.emf").string());
    Action(window.get(), "Opslaan als &Metafile")->trigger();
    const auto width = [&](const std::string& file) {
        const std::string emf = Slurp(folder / file);
        return static_cast<unsigned char>(emf[72]) | static_cast<unsigned char>(emf[73]) << 8;
    };
    EXPECT_EQ(width("m.emf"), 2 * width("klein.emf"));

    Action(window.get(), "&Kopieren als Bitmap")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(),
              QSize(window->Surface().Width(), window->Surface().Height()));
}

TEST_F(PictureMenuTest, OpslaanbmpFillsTheGifMakersList) {
    const std::string stem = (folder / "b").string();
    RunProgram(QString::fromStdString("opslaanbmp(" + stem + ")\nopslaanbmp(" + stem + ")"));
    EXPECT_EQ(window->GifMaker().InputFiles(),
              QStringList({QString::fromStdString(stem + "10.bmp"),
                           QString::fromStdString(stem + "11.bmp")}));
    RunProgram(QString::fromStdString("opslaanbmp(" + stem + ")"));
    EXPECT_EQ(window->GifMaker().InputFiles().size(), 1);
}

TEST_F(PictureMenuTest, FlipzetMakesSavesAndShowsThePage) {
    app::FlipbookWindow& flipzet = OpenFlipzet();
    // Saving before Make writes an empty page, with film.js beside it.
    host.fileAnswers.push_back((folder / "voor").string());
    Trigger(flipzet, "AnimatieOpslaan1");
    EXPECT_EQ(Slurp(folder / "voor.htm"), "");
    EXPECT_NE(Slurp(folder / "film.js").find("function startvertoning()"), std::string::npos);

    // Make with the defaults; a cancelled dialog saves to the previous name.
    Trigger(flipzet, "AnimatieMaken1");
    EXPECT_EQ(flipzet.Page(), engine::MakeFlipbookPage({}));
    Trigger(flipzet, "AnimatieOpslaan1");
    EXPECT_EQ(Slurp(folder / "voor.htm"), engine::FlipbookFileText(flipzet.Page()));
    // film.js already there is left alone.
    WriteBytes(folder / "film.js", "// eigen");
    Trigger(flipzet, "AnimatieOpslaan1");
    EXPECT_EQ(Slurp(folder / "film.js"), "// eigen");

    Trigger(flipzet, "BekijkeninBrowser1");
    ASSERT_EQ(host.openedUrls.size(), 1u);
    EXPECT_NE(host.openedUrls[0].find("voor.htm"), std::string::npos);

    // Without film.js beside the page: the message names the page's folder.
    fs::create_directories(folder / "leeg");
    host.fileAnswers.push_back((folder / "leeg" / "p.htm").string());
    Trigger(flipzet, "AnimatieOpslaan1");
    fs::remove(folder / "leeg" / "film.js");
    Trigger(flipzet, "BekijkeninBrowser1");
    EXPECT_EQ(host.messages.back().caption, "Foutje");
    EXPECT_EQ(host.messages.back().text,
              "Het script bestand film.js bevindt zich niet in de directory " +
                  (folder / "leeg").string() + ", kopieer het daarheen");
    EXPECT_EQ(host.openedUrls.size(), 1u);

    // film.js cannot be put beside the page (a link to a folder that is not there): the
    // page is saved and a message says why it will not play.
    fs::create_directories(folder / "los");
    fs::create_symlink(folder / "nergens" / "film.js", folder / "los" / "film.js");
    host.fileAnswers.push_back((folder / "los" / "p.htm").string());
    Trigger(flipzet, "AnimatieOpslaan1");
    EXPECT_TRUE(fs::exists(folder / "los" / "p.htm"));
    EXPECT_EQ(host.messages.back().text,
              "Kan film.js niet naar " + (folder / "los").string() +
                  " kopieren; zonder dat script speelt de pagina niet af");

    // A placeholder name in a setting is filled by a later step; the page text comes
    // last, so its own stays as written.
    flipzet.findChild<QLineEdit*>("Edit1")->setText("beeld$ext$");
    flipzet.findChild<QPlainTextEdit*>("Memo1")->setPlainText("ext: $ext$");
    Trigger(flipzet, "AnimatieMaken1");
    EXPECT_NE(flipzet.Page().find("var file='beeld.gif'"), std::string::npos);
    EXPECT_NE(flipzet.Page().find("<td valign=top>ext: $ext$\r\n</td>"), std::string::npos);
}

}  // namespace
