// Setting lines in programs and the preferences file.
#include "engine/plot_settings.h"

#include <gtest/gtest.h>

#include "engine/text_file.h"

using engine::PlotSettings;

TEST(PlotSettings, LookupTakesTheFirstMatchingKeyWithoutRegardToCase) {
    const std::vector<std::string> lines = {"maak", "XMIN=-2", "xmin=-3", "ylabel=", "a=b=c"};
    EXPECT_EQ(engine::LookupSetting(lines, "xmin"), "-2");
    EXPECT_EQ(engine::LookupSetting(lines, "ylabel"), std::nullopt);  // empty is absent
    EXPECT_EQ(engine::LookupSetting(lines, "a"), "b=c");
    EXPECT_EQ(engine::LookupSetting(lines, "ymax"), std::nullopt);
}

TEST(PlotSettings, ProgramLinesChangeTheWindowState) {
    PlotSettings s;
    engine::ApplyProgramSettings(
        {"xmin=-10", "F=x^2", "xlabel=tijd", "asopties=rG", "assen=zijden", "checking=nee"}, s);
    EXPECT_EQ(s.xmin, "-10");
    EXPECT_EQ(s.functions[0], "x^2");
    EXPECT_TRUE(s.showXLabel);
    EXPECT_EQ(s.xLabel, "tijd");
    EXPECT_FALSE(s.grid);
    EXPECT_TRUE(s.ticks);  // untouched by "rG"
    EXPECT_TRUE(s.numbers);
    EXPECT_EQ(s.placement, engine::AxesPlacement::Sides);
    EXPECT_FALSE(s.checking);

    // Values stay for later runs; a run without the line switches checking on again.
    engine::ApplyProgramSettings({"assen=schuin"}, s);
    EXPECT_EQ(s.xmin, "-10");
    EXPECT_EQ(s.placement, engine::AxesPlacement::Sides);
    EXPECT_TRUE(s.checking);
}

TEST(PlotSettings, ColoursFixedByAProgramOnlyForItsRuns) {
    PlotSettings s;
    s.gridColour.own = 255;
    engine::ApplyProgramSettings({"roosterkleur=65280", "asdikte=2"}, s);
    EXPECT_EQ(s.gridColour.Effective(), 65280u);
    EXPECT_FALSE(s.gridColour.Enabled());
    EXPECT_EQ(s.axesWidth.Effective(), 2);

    engine::ApplyProgramSettings({"xmin=-5"}, s);
    EXPECT_TRUE(s.gridColour.Enabled());
    EXPECT_EQ(s.gridColour.Effective(), 255u);
    EXPECT_EQ(s.axesWidth.Effective(), 1);

    EXPECT_THROW(engine::ApplyProgramSettings({"askleur=rood"}, s), engine::ConversionError);
}

TEST(PlotSettings, PreferencesRoundTripInTheFixedOrder) {
    PlotSettings s;
    s.xmin = "-2.5";
    s.functions[2] = "sin(x)";
    s.showYLabel = true;
    s.grid = true;
    s.placement = engine::AxesPlacement::None;
    s.graphColours[1] = 255;
    s.graphWidths[3] = 3;
    s.transparentGifs = false;
    const auto lines = engine::PreferencesLines(s);
    const std::vector<std::string> keys = {"xmin",
                                           "xmax",
                                           "ymin",
                                           "ymax",
                                           "F",
                                           "G",
                                           "H",
                                           "I",
                                           "xlabel",
                                           "ylabel",
                                           "toonxlabel",
                                           "toonylabel",
                                           "asopties",
                                           "assen",
                                           "roosterkleur",
                                           "askleur",
                                           "asdikte",
                                           "Fkleur",
                                           "Gkleur",
                                           "Hkleur",
                                           "Ikleur",
                                           "Fdikte",
                                           "Gdikte",
                                           "Hdikte",
                                           "Idikte",
                                           "formulierbreedte",
                                           "formulierhoogte",
                                           "transparantegifs"};
    ASSERT_EQ(lines.size(), keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), keys[i]);
    EXPECT_EQ(lines[12], "asopties=RSG");
    EXPECT_EQ(lines[13], "assen=geen");

    PlotSettings loaded;
    engine::ApplyPreferences(lines, loaded);
    EXPECT_EQ(engine::PreferencesLines(loaded), lines);
}

TEST(PlotSettings, PreferencesIgnoreProgramOnlyKeys) {
    PlotSettings s;
    engine::ApplyPreferences({"checking=nee", "toonxlabel=misschien", "transparantegifs=ja"}, s);
    EXPECT_TRUE(s.checking);
    EXPECT_FALSE(s.showXLabel);
    // A bad number is reported and keeps the value; the other keys still count.
    const auto problems = engine::ApplyPreferences({"Fdikte=dik", "junk", "Gdikte=3"}, s);
    EXPECT_EQ(problems, std::vector<std::string>{"Fdikte: 'dik' is geen geldig geheel getal"});
    EXPECT_EQ(s.graphWidths[0], 1);
    EXPECT_EQ(s.graphWidths[1], 3);
}

// Regression: a value with a line break (from --set or koppel$) wrote a second line
// that read back as a key of its own: xlabel "abc\nroosterkleur=255" set the grid.
TEST(PlotSettings, LineBreaksInValuesNeverBecomeKeys) {
    PlotSettings s;
    s.xLabel = "abc\nroosterkleur=255";
    s.yLabel = "a\r\nb\rc";
    s.functions[1] = "x\nasdikte=3\n";
    std::string file;
    for (const auto& line : engine::PreferencesLines(s)) file += line + "\r\n";
    PlotSettings back;
    EXPECT_TRUE(engine::ApplyPreferences(engine::SplitTextLines(file), back).empty());
    EXPECT_EQ(back.xLabel, "abc roosterkleur=255");
    EXPECT_EQ(back.yLabel, "a b c");
    EXPECT_EQ(back.functions[1], "x asdikte=3 ");
    EXPECT_EQ(back.gridColour.own, s.gridColour.own);
    EXPECT_EQ(back.axesWidth.own, s.axesWidth.own);
}
