// The 3D view and the 3D commands run from program text: stored projections and the
// segments they draw in the eepic text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "engine/text_file.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class SpaceCommandsTest : public ProgramTest {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(folder_); }

    // The eepic entries of a program without axes, after the three header lines.
    Lines Eepic(Lines source) {
        source.insert(source.begin(), "assen=geen");
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        const std::string path = (folder_ / "fig.tex").string();
        EXPECT_TRUE(runner.ExportEepic(path));
        Lines lines = engine::ReadTextLines(path).value_or(Lines{});
        lines.erase(lines.begin(), lines.begin() + std::min<size_t>(3, lines.size()));
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](const std::string& l) {
                                       return l == "\\end{picture}" || l == "\\thinlines";
                                   }),
                    lines.end());
        return lines;
    }
    // u and v of 3d->2d after `view`.
    std::pair<expr::Real, expr::Real> Projected(const Lines& view, const std::string& point) {
        Lines source = view;
        source.push_back("3d->2d(" + point + ";pu;pv)");
        Run(source);
        return {Variable("pu"), Variable("pv")};
    }
    static size_t Paths(const Lines& lines) {
        return static_cast<size_t>(std::count_if(
            lines.begin(), lines.end(), [](const auto& l) { return l.rfind("\\path", 0) == 0; }));
    }

    fs::path folder_;
};

TEST_F(SpaceCommandsTest, ViewsProjectPoints) {
    struct Case {
        Lines view;
        const char* point;
        double u, v;
    } const cases[] = {
        {{}, "1;0;0", -0.5 * std::cos(M_PI / 6), -0.25},
        {{}, "0;1;0", 1, 0},
        {{}, "0;0;1", 0, 1},
        {{"set3d(45;1)"}, "2;0;0", -std::sqrt(2.0), -std::sqrt(2.0)},
        // rot3d turns (1,0,0) onto the y-axis; an unknown axis changes nothing.
        {{"rot3d(z;pi/2)"}, "1;0;0", 1, 0},
        {{"rot3d(3;pi/2)", "rot3d(w;1)"}, "1;0;0", 1, 0},
        {{"rot3d(x;pi/2)"}, "0;1;0", 0, 1},
        // A matrix command replaces the matrix, it does not compose.
        {{"rot3d(z;pi/2)", "rot3d(x;0)"}, "0;1;0", 1, 0},
        {{"spiegel3d(z;0)"}, "0;1;0", -1, 0},
        {{"spiegel3d(y;0)"}, "0;0;1", 0, -1},
        {{"setmat3d(0;0;0;0;2;0;0;0;3)"}, "5;1;1", 2, 3},
        // The eye on the z-axis at 10, the screen at 5: (2, 0, 0) at depth 10.
        {{"set3dcentraal(0;0;10;5)"}, "0;2;0", 1, 0},
        {{"set3dcentraal(0;0;10;5)"}, "0;0;5", 0, 0},
        {{"set3dcentraal(90;90;10;5)"}, "0;0;2", 0, 1},
    };
    for (const Case& c : cases) {
        const auto [u, v] = Projected(c.view, c.point);
        EXPECT_NEAR(static_cast<double>(u), c.u, 1e-12) << c.view.size() << " " << c.point;
        EXPECT_NEAR(static_cast<double>(v), c.v, 1e-12) << c.view.size() << " " << c.point;
        EXPECT_FALSE(runner.LastRunFailed());
    }
}

TEST_F(SpaceCommandsTest, ViewIsResetEveryRun) {
    Run({"set3dcentraal(0;0;10;5)", "rot3d(z;pi/2)"});
    const auto [u, v] = Projected({}, "1;0;0");
    EXPECT_NEAR(static_cast<double>(u), -0.5 * std::cos(M_PI / 6), 1e-15);
    EXPECT_NEAR(static_cast<double>(v), -0.25, 1e-15);
}

TEST_F(SpaceCommandsTest, FiguresGoThroughTheirTwoDimensionalCommands) {
    const Lines eepic = Eepic({"rot3d(z;pi/2)", "lijn3d(0;0;0;1;0;0)", "set3d(0;1)", "rot3d(x;0)",
                               "pad3d(0;1;0;0;1;1;#)", "gaNaar3d(0;0;0)", "lijnNaar3d(0;2;2)",
                               "tekst3d2(0;1;1;P;lb)", "uitvoer3d2(0;1;0;2.5;cc)"});
    const Lines expected = {"\\path(0.000,0.000)(1.000,0.000)", "\\path(1.000,0.000)(1.000,1.000)",
                            "\\path(0.000,0.000)(2.000,2.000)",
                            "\\put(1.000,1.000){\\makebox(0,0)[lb]{P}}",
                            "\\put(1.000,0.000){\\makebox(0,0)[cc]{2.5}}"};
    EXPECT_EQ(eepic, expected);
}

TEST_F(SpaceCommandsTest, ListFormOfPolygonAndPathTakesThreeLists) {
    Run({});
    for (int i = 1; i <= 3; ++i) {
        runner.Lists().Set(1, i, 0);
        runner.Lists().Set(2, i, i == 2 ? 1 : 0);
        runner.Lists().Set(3, i, i == 3 ? 1 : 0);
    }
    const Lines listForm = Eepic({"pad3d(lijst;L1;L2;L3;1;3)"});
    const Lines tripleForm = Eepic({"pad3d(0;0;0;0;1;0;0;0;1)"});
    ASSERT_EQ(Paths(listForm), 1u);
    EXPECT_EQ(listForm, tripleForm);

    Eepic({"veelhoek3d(lijst;L1;L9;L3;1;3)"});
    EXPECT_EQ(MessageTexts(), Lines{"ongeldige lijst: L1, L9 en/of L3"});
}

TEST_F(SpaceCommandsTest, CurvesAndSurfacesEndAndStopOnBadSteps) {
    // dt <= 0 and a grid step of 0 draw nothing; a tiny step is capped, not a hang.
    EXPECT_EQ(
        Paths(Eepic({"kromme3d(t;0;0;0;1;0)", "kromme3d(t;0;0;0;1;-1)",
                     "oppervlak3d(u;v;0;0;1;0;1;0;0.1)", "oppervlak3d(u;v;0;0;1;0;1;0.1;0)"})),
        0u);
    const Lines tiny = Eepic({"oppervlak3d(u;v;0;0;1;0;1;1E-9;0.5)"});
    EXPECT_LE(Paths(tiny), 1001u + 3u);
    EXPECT_GE(Paths(tiny), 1000u);

    // Steps of 0.1 add up to just past 1 in floating point; the last grid line and
    // the curve's end point are still drawn.
    const Lines grid = Eepic({"set3d(0;0)", "oppervlak3d(u;v;u+v;0;1;0;1;0.1;0.1)"});
    EXPECT_EQ(Paths(grid), 22u);
    EXPECT_NE(std::find(grid.begin(), grid.end(), "(1.000,2.000)"), grid.end());
}

// The curve's t and the surface's u and v once overwrote the program's own.
TEST_F(SpaceCommandsTest, CurvesLeaveTheProgramsVariablesAlone) {
    Run({"t:=2", "u:=3", "v:=4", "kromme3d(t;t;t;0;1;0.1)", "oppervlak3d(u;v;0;0;1;0;1;0.5;0.5)"});
    EXPECT_EQ(Variable("t"), 2);
    EXPECT_EQ(Variable("u"), 3);
    EXPECT_EQ(Variable("v"), 4);
}

TEST_F(SpaceCommandsTest, PointsTheEyeCannotSeeEndTheRunOrBreakTheCurve) {
    Run({"set3dcentraal(0;0;5;5)", "lijn3d(0;0;0;0;0;5)", "na:=1"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_EQ(MessageTexts(),
              Lines{"Centrale projectie: het punt (0; 0; 5) ligt niet voor het oog en kan niet "
                    "getekend worden. Kies een grotere oogafstand."});
    EXPECT_FALSE(runner.Parser(1).HasVariable("na"));

    // The eye at the origin: the curve is drawn only where it passes in front of it,
    // in two pieces.
    const Lines eepic = Eepic({"set3dcentraal(0;0;0;1)", "kromme3d(1;0;sin(t);0;4*pi;0.01)"});
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(runner.LastRunFailed());
    EXPECT_EQ(Paths(eepic), 2u);
}

TEST_F(SpaceCommandsTest, MarksInSpaceUseTheProjection) {
    // The angle between the x- and z-axis is right in space but not on paper: arcs.
    const Lines eepic = Eepic({"set3d(0;0)", "hoekmarkering3d(0;0;0;0;1;0;0;0;1;0.5;1)",
                               "lijnstukmarkering3d(0;0;0;0;4;0;1;1)"});
    ASSERT_EQ(eepic.size(), 3u);
    EXPECT_EQ(eepic[0], "\\put(0.000,0.000){\\arc{1.000}");
    EXPECT_EQ(eepic[2].rfind("\\path(2.000,-", 0), 0u);
}

}  // namespace
