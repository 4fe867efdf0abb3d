// The windows driven as a user would: typing, clicking, menus, files. Dialogs
// answer from a script (ScriptedHost); everything else is the real window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/command_hints.h"
#include "app/main_window.h"
#include "app/output_view.h"
#include "app/plot_widget.h"
#include "app/program_window.h"
#include "app/swatch.h"
#include "engine/text_file.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

TEST_F(GuiTest, TypedFunctionIsDrawnWherePixelsMapTheWorld) {
    host.colourAnswers.push_back(QColor(255, 0, 0));
    Click("Fkleur");  // the colour dialog redraws
    ASSERT_EQ(Settings().graphColours[0], 255u);
    Type("xmin", "-3");
    Type("xmax", "3");
    Type("ymin", "-1");
    Type("ymax", "9");
    Type("F", "x^2");
    EXPECT_EQ(Settings().functions[0], "x^2");
    Click("weerTekenen");
    EXPECT_TRUE(host.messages.empty());

    const plot::TPlotSurface& surface = window->Surface();
    EXPECT_EQ(surface.D2WorldX1(), -3);
    int found = 0;
    for (double x = -2.5; x <= 2.5; x += 0.25) {
        const int column = surface.WindowX(x), row = surface.WindowY(x * x);
        bool red = false;
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                red = red || surface.PixelColour(column + dx, row + dy) == 255u;
            }
        }
        found += red;
    }
    EXPECT_EQ(found, 21);
    // Nothing red far from the curve: (0, 5) lies well above the vertex.
    EXPECT_NE(surface.PixelColour(surface.WindowX(0), surface.WindowY(5)), 255u);
}

TEST_F(GuiTest, CompileRunAppliesSettingLinesToTheBoxes) {
    RunProgram("% instellingen\nxmin=-10\nymax=20\nassen=zijden\nlijn(0;0;1;1)");
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-10");
    EXPECT_EQ(Find<QLineEdit>("ymax")->text(), "20");
    EXPECT_TRUE(Find<QRadioButton>("aanDeZijden")->isChecked());
    // Options that belong to axes in the middle are off with axes at the sides.
    EXPECT_FALSE(Find<QCheckBox>("rooster")->isEnabled());
    EXPECT_EQ(window->Surface().D2WorldX1(), -10);
    // The setting stays for later runs.
    Click("weerTekenen");
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-10");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(GuiTest, SizeLabelsInCentimetres) {
    EXPECT_EQ(app::PlotSizeText("breedte ", 480), "breedte 12.7 cm (480 pix)");
    EXPECT_EQ(app::PlotSizeText("hoogte  ", 378), "hoogte  10 cm (378 pix)");
    window->Plot().resize(480, 300);
    EXPECT_EQ(Find<QLabel>("breedte")->text(), "breedte 12.7 cm (480 pix)");
    EXPECT_EQ(Find<QLabel>("hoogte")->text(), "hoogte  7.9 cm (300 pix)");
    EXPECT_EQ(window->Surface().Width(), 480);
}

TEST_F(GuiTest, LineWidthIsClampedAndBadTextChangesNothing) {
    host.inputAnswers = {"7", "0", " 2 ", "dik", std::nullopt};
    Click("Gkleur", Qt::RightButton);
    EXPECT_EQ(Settings().graphWidths[1], 3);
    EXPECT_EQ(host.inputs.at(0), "Lijndikte|voer in: 1,2 of 3");
    Click("Gkleur", Qt::RightButton);
    EXPECT_EQ(Settings().graphWidths[1], 1);
    Click("Gkleur", Qt::RightButton);
    EXPECT_EQ(Settings().graphWidths[1], 2);
    Click("Gkleur", Qt::RightButton);
    EXPECT_EQ(Settings().graphWidths[1], 2);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"'dik' is geen geldig geheel getal"});
    Click("Gkleur", Qt::RightButton);  // cancelled
    EXPECT_EQ(Settings().graphWidths[1], 2);

    host.inputAnswers = {"9"};
    Click("askleur", Qt::RightButton);
    EXPECT_EQ(Settings().axesWidth.own, 3);
}

TEST_F(GuiTest, GridSwatchIgnoresTheRightButton) {
    const auto before = Settings().gridColour.own;
    Click("roosterkleur", Qt::RightButton);
    EXPECT_TRUE(host.inputs.empty());
    EXPECT_EQ(host.colourDialogs, 0);
    EXPECT_EQ(Settings().gridColour.own, before);
    host.colourAnswers.push_back(QColor(0, 0, 255));
    Click("roosterkleur");
    EXPECT_EQ(Settings().gridColour.own, 16711680u);
    // A program that fixes the grid colour disables the swatch for as long as it does.
    RunProgram("roosterkleur=255");
    EXPECT_FALSE(Find<QWidget>("roosterkleur")->isEnabled());
    RunProgram("lijn(0;0;1;1)");
    EXPECT_TRUE(Find<QWidget>("roosterkleur")->isEnabled());
    EXPECT_EQ(Settings().gridColour.Effective(), 16711680u);
}

TEST_F(GuiTest, ResizeIsRefusedWhileAProgramRuns) {
    // Heights well above the panel's minimum, which depends on the fonts at hand.
    window->resize(700, 620);
    QApplication::processEvents();
    const QSize before = window->size();
    const int width = window->Surface().Width(), height = window->Surface().Height();
    ASSERT_EQ(window->Plot().width(), width);
    QSize during;
    host.duringPause = [&] {
        host.duringPause = nullptr;
        window->resize(900, 700);
        QApplication::processEvents();
        during = QSize(window->Surface().Width(), window->Surface().Height());
        // Nor may the running program's lines change under it.
        window->Programs().Editor().setPlainText("lijn(0;0;2;2)");
        EXPECT_FALSE(window->Programs().Compile());
    };
    RunProgram("pauze(10)\nlijn(0;0;1;1)");
    EXPECT_EQ(host.sleeps, 1);
    EXPECT_EQ(during, QSize(width, height));
    QApplication::processEvents();
    EXPECT_EQ(window->size(), before);
    EXPECT_EQ(window->Surface().Width(), width);
    EXPECT_EQ(window->Runner().Program().front(), "pauze");

    // Afterwards a resize is taken and redraws at the new size.
    window->resize(760, 640);
    QApplication::processEvents();
    EXPECT_EQ(window->Surface().Width(), window->Plot().width());
    EXPECT_GT(window->Surface().Width(), width);
    EXPECT_EQ(Settings().formWidth, 760);
}

TEST_F(GuiTest, KeysMouseAndEscapeReachTheProgram) {
    QTest::keyClick(Find<QLineEdit>("G"), Qt::Key_Q);
    for (int parser = 1; parser <= 4; ++parser) {
        EXPECT_EQ(window->Runner().Parser(parser).ReadVariable("_toetscode"), 81) << parser;
    }
    EXPECT_EQ(Find<QLineEdit>("G")->text(), "q");  // typing still works

    // Escape ends a loop that would never end by itself.
    host.duringPause = [&] {
        if (host.sleeps == 3) QTest::keyClick(window.get(), Qt::Key_Escape);
    };
    RunProgram("n:=0\nherhaal\nn:=n+1\npauze(1)\ntotdat(0)");
    EXPECT_EQ(host.sleeps, 3);
    EXPECT_FALSE(window->Runner().Running());
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("n"), 3);
    EXPECT_EQ(window->Runner().Parser(1).ReadVariable("_toetscode"), 27);

    // Dragging with the left button gives muisx/muisy in world coordinates.
    host.duringPause = nullptr;
    RunProgram("xmin=-4\nxmax=4\nymin=-4\nymax=4\nstip(muisx;muisy;3)");
    app::PlotWidget& plot = window->Plot();
    const QPoint start(plot.width() / 4, plot.height() / 4);
    QTest::mousePress(&plot, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(plot.width() / 2, plot.height() / 3),
                     plot.mapToGlobal(QPointF(plot.width() / 2, plot.height() / 3)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&plot, &move);
    QTest::mouseRelease(&plot, Qt::LeftButton, {}, QPoint(plot.width() / 2, plot.height() / 3));
    const plot::TPlotSurface& surface = window->Surface();
    const auto mouseX = window->Runner().Parser(4).ReadVariable("muisx");
    const auto mouseY = window->Runner().Parser(1).ReadVariable("muisy");
    EXPECT_EQ(mouseX, surface.WorldX(plot.width() / 2));
    EXPECT_EQ(mouseY, surface.WorldY(plot.height() / 3));
    EXPECT_NEAR(static_cast<double>(mouseX), 0, 0.1);
    EXPECT_EQ(surface.PixelColour(plot.width() / 2, plot.height() / 3), 0u);  // the dot
}

TEST_F(GuiTest, LeftDragMovesAFreePoint) {
    RunProgram("reset=nee\nxmin=-4\nxmax=4\nymin=-4\nymax=4\nvrijpunt(p;-2;2;0.5)");
    app::PlotWidget& plot = window->Plot();
    const plot::TPlotSurface& surface = window->Surface();
    const auto drag = [&plot](QPoint from, QPoint to) {
        // Each step gets the run it asks for, as between the events of a real drag.
        QTest::mousePress(&plot, Qt::LeftButton, {}, from);
        QApplication::processEvents();
        QMouseEvent move(QEvent::MouseMove, QPointF(to), plot.mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&plot, &move);
        QApplication::processEvents();
        QTest::mouseRelease(&plot, Qt::LeftButton, {}, to);
        QApplication::processEvents();
    };
    const QPoint point(surface.WindowX(-2), surface.WindowY(2));
    const QPoint centre(surface.WindowX(0), surface.WindowY(0));
    drag(point, centre);
    expr::TParser& parser = window->Runner().Parser(1);
    EXPECT_EQ(parser.ReadVariable("p1"), surface.WorldX(centre.x()));
    EXPECT_EQ(parser.ReadVariable("p2"), surface.WorldY(centre.y()));
    // A drag that starts away from the point leaves it where it is.
    drag(QPoint(surface.WindowX(3), surface.WindowY(-3)), point);
    EXPECT_EQ(parser.ReadVariable("p1"), surface.WorldX(centre.x()));
}

TEST_F(GuiTest, RightButtonFloodFillsWithTheFillSwatch) {
    RunProgram("xmin=-5\nxmax=5\nymin=-5\nymax=5\nassen=geen\nrechthoek(-2;-2;2;2)");
    EXPECT_EQ(window->FillBrush().style, plot::BrushStyle::ForwardDiagonal);
    for (int i = 0; i < 4; ++i) Click("vulkleur");  // on to solid
    EXPECT_EQ(window->FillBrush().style, plot::BrushStyle::Solid);
    host.colourAnswers.push_back(QColor(0, 255, 0));
    Click("vulkleur", Qt::RightButton);
    const plot::TPlotSurface& surface = window->Surface();
    const QPoint inside(surface.WindowX(0.5), surface.WindowY(0.5));
    QTest::mouseClick(&window->Plot(), Qt::RightButton, {}, inside);
    EXPECT_EQ(surface.PixelColour(surface.WindowX(1), surface.WindowY(-1)), 65280u);
    EXPECT_EQ(surface.PixelColour(surface.WindowX(3), surface.WindowY(3)), plot::kWhite);
    // The drawing brush is what it was.
    EXPECT_NE(window->Surface().GetBrush().color, 65280u);
    // A click in the bottom-right corner redraws: the fill is gone.
    app::PlotWidget& plot = window->Plot();
    QTest::mouseClick(&plot, Qt::LeftButton, {}, QPoint(plot.width() - 3, plot.height() - 3));
    QApplication::processEvents();  // the run waits for the event loop
    EXPECT_EQ(surface.PixelColour(surface.WindowX(1), surface.WindowY(-1)), plot::kWhite);
}

TEST_F(GuiTest, PreferencesSavedAndLoadedThroughTheMenu) {
    const fs::path preferences = folder / "config" / "Zorvat" / "voorkeuren.txt";
    ASSERT_TRUE(fs::exists(preferences));  // written at the first start
    EXPECT_NE(Slurp(preferences).find("xmin=-5\r\n"), std::string::npos);

    Type("xmin", "-3");
    Type("F", "sin(x)");
    QTest::mouseClick(Find<QCheckBox>("toonxlabel"), Qt::LeftButton);
    Find<QRadioButton>("aanDeZijden")->click();
    host.colourAnswers.push_back(QColor(0, 128, 0));
    Click("Hkleur");
    Action(window.get(), "&Voorkeuren opslaan")->trigger();

    Type("xmin", "-8");
    Type("F", "");
    QTest::mouseClick(Find<QCheckBox>("toonxlabel"), Qt::LeftButton);
    Find<QRadioButton>("geen")->click();
    EXPECT_EQ(Settings().placement, engine::AxesPlacement::None);
    Action(window.get(), "Voorkeuren &laden")->trigger();

    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-3");
    EXPECT_EQ(Find<QLineEdit>("F")->text(), "sin(x)");
    EXPECT_TRUE(Find<QCheckBox>("toonxlabel")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("aanDeZijden")->isChecked());
    EXPECT_EQ(Settings().graphColours[2], 32768u);
    EXPECT_EQ(Settings().placement, engine::AxesPlacement::Sides);
    EXPECT_TRUE(host.messages.empty());

    // A preferences file that cannot be written: a message, and nothing typed is lost.
    fs::remove(preferences);
    fs::create_directory(preferences);
    Type("xmin", "-2");
    Action(window.get(), "&Voorkeuren opslaan")->trigger();
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"Geen toegang tot voorkeuren, voorkeuren niet opgeslagen"});
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-2");
}

TEST_F(GuiTest, PreferencesWithBadOrAbsurdValuesAreReadSafely) {
    WriteBytes(folder / "voorkeuren.txt",
               "xmin=-2\r\nformulierbreedte=100000\r\nformulierhoogte=hoog\r\nFdikte=99\r\n");
    Action(window.get(), "Voorkeuren &laden")->trigger();
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "-2");
    EXPECT_EQ(
        MessageTexts(),
        std::vector<std::string>{
            "Fouten in voorkeuren.txt:\nformulierhoogte: 'hoog' is geen geldig geheel getal"});
    // A window wider than any screen would take gigabytes of picture.
    EXPECT_LE(window->width(), 4000);
    EXPECT_EQ(Settings().graphWidths[0], 3);
    EXPECT_EQ(window->Surface().D2WorldX1(), -2);  // and it redrew
}

TEST_F(GuiTest, ProgramFilesKeepTheirBytes) {
    app::ProgramWindow& programs = window->Programs();
    // Windows-1252 with CRLF and no last line end: e-acute, euro sign, no-break space.
    const std::string original = "% caf\xE9 \x80 5\xA0kg\r\nxmin=-4\r\nlijn(0;0;1;1)";
    WriteBytes(folder / "oud.txt", original);
    ASSERT_TRUE(programs.LoadFile(QString::fromStdString((folder / "oud.txt").string())));
    EXPECT_EQ(programs.SourceText(), "% caf\u00e9 \u20ac 5\u00a0kg\nxmin=-4\nlijn(0;0;1;1)");
    EXPECT_TRUE(programs.windowTitle().startsWith("Meer oud.txt"));

    ASSERT_TRUE(programs.SaveFile(QString::fromStdString((folder / "kopie.txt").string())));
    EXPECT_EQ(Slurp(folder / "kopie.txt"), original);

    // An edit keeps the encoding and the line ends.
    QTextCursor cursor(programs.Editor().document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("\ntekst(0;0;\u00e9\u00e9n)");
    EXPECT_TRUE(programs.isWindowModified());
    host.fileAnswers.push_back((folder / "nieuw").string());
    Action(&programs, "Programma O&pslaan")->trigger();
    EXPECT_EQ(Slurp(folder / "nieuw.txt"), original + "\r\ntekst(0;0;\xE9\xE9n)");
    EXPECT_FALSE(programs.isWindowModified());
    const auto lines = engine::ReadTextLines((folder / "nieuw.txt").string());
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->back(), "tekst(0;0;\u00e9\u00e9n)");

    // A character Windows-1252 lacks makes the file UTF-8, still readable.
    programs.Editor().appendPlainText("% \u2192");
    ASSERT_TRUE(programs.SaveFile(QString::fromStdString((folder / "nieuw.txt").string())));
    const auto utf8 = engine::ReadTextLines((folder / "nieuw.txt").string());
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->front(), "% caf\u00e9 \u20ac 5\u00a0kg");
    EXPECT_EQ(utf8->back(), "% \u2192");

    // UTF-8 with LF and a last line end, saved unchanged.
    const std::string modern = "% \u00e9\u00e9n\nF=x^2\n";
    WriteBytes(folder / "modern.txt", modern);
    ASSERT_TRUE(programs.LoadFile(QString::fromStdString((folder / "modern.txt").string())));
    ASSERT_TRUE(programs.SaveFile(QString::fromStdString((folder / "modern2.txt").string())));
    EXPECT_EQ(Slurp(folder / "modern2.txt"), modern);
}

TEST_F(GuiTest, BadInputGivesAMessageAndKeepsEverything) {
    app::ProgramWindow& programs = window->Programs();
    programs.Editor().setPlainText("lijn(0;0;1;1)");
    std::string binary = "PK\x03\x04";
    binary += std::string(100, '\0');
    WriteBytes(folder / "archief.zip", binary);
    WriteBytes(folder / "groot.txt", std::string(5 * 1024 * 1024, 'a'));
    EXPECT_FALSE(programs.LoadFile(QString::fromStdString((folder / "archief.zip").string())));
    EXPECT_FALSE(programs.LoadFile(QString::fromStdString((folder / "groot.txt").string())));
    EXPECT_FALSE(programs.LoadFile(QString::fromStdString((folder / "weg.txt").string())));
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_NE(host.messages[0].text.find("geen tekstbestand"), std::string::npos);
    EXPECT_NE(host.messages[1].text.find("te groot"), std::string::npos);
    EXPECT_NE(host.messages[2].text.find("niet openen"), std::string::npos);
    EXPECT_EQ(programs.SourceText(), "lijn(0;0;1;1)");
    host.messages.clear();

    Type("xmin", "abc");
    Click("weerTekenen");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Oeps");
    EXPECT_EQ(Find<QLineEdit>("xmin")->text(), "abc");
    host.messages.clear();

    Type("xmin", "-5");
    Type("F", "x^^2+");
    Click("weerTekenen");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("x^^2+"), std::string::npos);
    EXPECT_EQ(Find<QLineEdit>("F")->text(), "x^^2+");
    host.messages.clear();

    Type("F", "x");  // still usable
    Click("weerTekenen");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(GuiTest, OutputWindowShowsWhatProgramsWrite) {
    RunProgram("schrijfregel(t;hallo)\nschrijf(u;1/4)");
    app::OutputView& output = window->Output();
    EXPECT_TRUE(output.isVisible());
    EXPECT_EQ(output.windowTitle(), "uitvoervenster");
    EXPECT_EQ(output.Text(), "hallo0.25");
    RunProgram("schrijfregel(t;nog een)");
    EXPECT_EQ(output.Text(), "hallo0.25\nnog een");
    host.fileAnswers.push_back((folder / "uitvoer.txt").string());
    Action(&output, "&Opslaan")->trigger();
    EXPECT_EQ(Slurp(folder / "uitvoer.txt"), "hallo0.25\r\nnog een\r\n");
    // The compiled program as the run saw it, one token a line.
    host.fileAnswers.push_back((folder / "gecompileerd.txt").string());
    Action(&window->Programs(), "Ge&compileerd opslaan")->trigger();
    EXPECT_EQ(Slurp(folder / "gecompileerd.txt"), "schrijfregel\r\nt\r\nnog een\r\n");
    // Text for the panel beside the plot shows there, only the last run's.
    RunProgram("rtftekst(hallo)\nrtfuitvoer(2/8)");
    auto* panel = Find<QTextEdit>("tekstpaneel");
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->toPlainText(), "hallo0.25");
    RunProgram("lijn(0;0;1;1)");
    EXPECT_FALSE(panel->isVisible());
    Action(&output, "&Wissen")->trigger();
    EXPECT_EQ(output.Text(), "");
    EXPECT_TRUE(window->Runner().Output().Lines().empty());
}

TEST_F(GuiTest, LibraryProgramsRunWithoutComplaint) {
    app::ProgramWindow& programs = window->Programs();
    for (const auto& example : app::ProgramWindow::Examples()) {
        const QString resource = ":/examples/bibliotheek/" + example.resource + ".txt";
        ASSERT_TRUE(programs.LoadExample(resource)) << example.title.toStdString();
        programs.CompileAndRun();
        EXPECT_FALSE(window->Runner().LastRunFailed()) << example.title.toStdString();
        EXPECT_TRUE(host.messages.empty()) << example.title.toStdString();
        host.messages.clear();
    }
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(GuiTest, UnsavedWorkIsNotLostWithoutAsking) {
    app::ProgramWindow& programs = window->Programs();
    programs.Editor().setPlainText("lijn(0;0;1;1)");
    QTest::keyClicks(&programs.Editor(), "x");
    EXPECT_TRUE(programs.isWindowModified());
    host.choiceAnswers = {app::YesNoCancel::Cancel};
    EXPECT_FALSE(programs.LoadExample(":/examples/bibliotheek/sinus.txt"));
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_TRUE(programs.SourceText().find("lijn") != std::string::npos);
    host.choiceAnswers = {app::YesNoCancel::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    host.choiceAnswers = {app::YesNoCancel::No};
    EXPECT_TRUE(programs.LoadExample(":/examples/bibliotheek/sinus.txt"));
    EXPECT_FALSE(programs.isWindowModified());
}

TEST_F(GuiTest, CommandListHintsAndHighlighting) {
    const auto& list = app::CommandList();
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const auto& a, const auto& b) { return a.word < b.word; }));
    EXPECT_EQ(app::HintOf("lijn"), "(x1;y1;x2;y2)");
    EXPECT_EQ(app::HintOf("volgende"), "");
    EXPECT_EQ(app::CommandWordOf("  tekst2+stip(1;2;A;lb;3)"), "tekst2+stip");
    EXPECT_EQ(app::CommandWordOf("ax+by=c(1;2;3)"), "ax+by=c");
    EXPECT_EQ(app::CommandWordOf("xmin=-4"), "");
    EXPECT_EQ(app::CommandWordOf("a:=sin(1)"), "");

    app::ProgramWindow& programs = window->Programs();
    programs.Editor().setPlainText("xmin=-4\ncirkelboog(0;0;1;0;3)");
    QTextCursor cursor(programs.Editor().document()->findBlockByNumber(1));
    programs.Editor().setTextCursor(cursor);
    EXPECT_EQ(Find<QLabel>("hint", &programs)->text(), "cirkelboog (m1;m2;r;starthoek;eindhoek)");
    const auto formats = programs.Editor().document()->findBlockByNumber(1).layout()->formats();
    ASSERT_FALSE(formats.isEmpty());
    EXPECT_EQ(formats[0].length, 10);  // the command word
    EXPECT_EQ(formats[0].format.fontWeight(), QFont::Bold);

    // The ">" buttons: the chosen word as a last line, the tool value at the caret.
    auto* commands = Find<QComboBox>("opdrachten", &programs);
    commands->setCurrentText("stip");
    EXPECT_EQ(Find<QLabel>("hint", &programs)->text(), "stip (x;y;grootte)");
    QTest::mouseClick(Find<QPushButton>("woordToevoegen", &programs), Qt::LeftButton);
    EXPECT_EQ(programs.SourceText(), "xmin=-4\ncirkelboog(0;0;1;0;3)\nstip");
    QTest::mouseClick(Find<QWidget>("vulstijl", &programs), Qt::LeftButton);
    QTest::mouseClick(Find<QWidget>("vulstijl", &programs), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>("waarde", &programs)->text(), "2");
    host.colourAnswers.push_back(QColor(1, 2, 3));
    QTest::mouseClick(Find<QWidget>("kleur", &programs), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>("waarde", &programs)->text(), "197121");
    QTest::mouseClick(Find<QPushButton>("waardeInvoegen", &programs), Qt::LeftButton);
    EXPECT_EQ(programs.SourceText(), "xmin=-4\ncirkelboog(0;0;1;0;3)\nstip197121");
}

TEST_F(GuiTest, HelpMenusOpenOurOwnPages) {
    Action(window.get(), "&Inhoud")->trigger();
    Action(window.get(), "&Zoeken")->trigger();
    host.choiceAnswers = {app::YesNoCancel::No};
    Action(window.get(), "&Veel gestelde vragen")->trigger();
    ASSERT_EQ(host.openedUrls.size(), 3u);
    EXPECT_NE(host.openedUrls[0].find("help/index.html"), std::string::npos);
    EXPECT_NE(host.openedUrls[1].find("index.html#register"), std::string::npos);
    EXPECT_NE(host.openedUrls[2].find("faq.html"), std::string::npos);
    EXPECT_TRUE(host.messages.empty());
    Find<QLabel>("functiehulp")->linkActivated("#");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.substr(0, 39), "Maaltekens mogen niet weggelaten worden");
}

}  // namespace
