// The geometric constructions run from program text: stored results, the segments and
// arcs they draw in the eepic text, and free points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "engine/text_file.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
constexpr double kNone = 2147483647;

class ConstructionCommandsTest : public ProgramTest {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(folder_); }

    // The eepic entries of a program without axes, after the header lines.
    Lines Eepic(Lines source) {
        source.insert(source.begin(), "assen=geen");
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        const std::string path = (folder_ / "fig.tex").string();
        EXPECT_TRUE(runner.ExportEepic(path));
        Lines lines = engine::ReadTextLines(path).value_or(Lines{});
        Lines entries;
        for (size_t i = 3; i < lines.size(); ++i) {
            if (lines[i] != "\\end{picture}" && lines[i] != "\\thinlines")
                entries.push_back(lines[i]);
        }
        return entries;
    }
    // Every "(x,y)" point of the eepic entries.
    static std::vector<std::pair<double, double>> Points(const Lines& entries) {
        std::vector<std::pair<double, double>> points;
        for (const std::string& entry : entries) {
            for (size_t at = entry.find('('); at != std::string::npos;
                 at = entry.find('(', at + 1)) {
                double x = 0, y = 0;
                char comma = 0;
                std::istringstream in(entry.substr(at + 1));
                if (in >> x >> comma >> y && comma == ',') points.emplace_back(x, y);
            }
        }
        return points;
    }
    void ExpectValues(const Lines& program, const std::vector<std::pair<const char*, double>>& want,
                      double tolerance = 1e-15) {
        Run(program);
        ASSERT_FALSE(runner.LastRunFailed()) << program.back();
        for (const auto& [name, value] : want) {
            for (int parser = 1; parser <= 3; ++parser) {
                EXPECT_NEAR(static_cast<double>(Variable(name, parser)), value, tolerance)
                    << program.back() << " " << name << " in Parser" << parser;
            }
        }
    }

    fs::path folder_;
};

TEST_F(ConstructionCommandsTest, ComputedPointsAnglesAndPlanes) {
    const double root3 = std::sqrt(3.0);
    struct Case {
        const char* line;
        std::vector<std::pair<const char*, double>> want;
    } const cases[] = {
        {"projectie(0;0;2;0;1;5;x0;y0)", {{"x0", 1}, {"y0", 0}}},
        {"spiegelbeeld(0;0;2;0;1;5;x0;y0)", {{"x0", 1}, {"y0", -5}}},
        {"hoek(0;0;1;0;0;1;h)", {{"h", 90}}},
        {"hoogtepunt(0;0;4;0;1;3;x0;y0)", {{"x0", 1}, {"y0", 1}}},
        {"hoogtepunt(0;0;1;1;2;2;x0;y0)", {{"x0", 0}, {"y0", 0}}},
        {"snijpuntmll(0;0;4;0;0;2;x0;y0)", {{"x0", 2}, {"y0", 1}}},
        {"snijpuntmll(0;0;1;1;2;2;x0;y0)", {{"x0", kNone}, {"y0", kNone}}},
        {"snijpuntbis(0;0;3;0;0;4;x0;y0)", {{"x0", 1}, {"y0", 1}}},
        {"snijpuntbis(0;0;0;0;0;4;x0;y0)", {{"x0", kNone}, {"y0", kNone}}},
        {"snijpuntlijnlijn(0;0;1;1;0;2;2;0;x0;y0)", {{"x0", 1}, {"y0", 1}}},
        {"snijpuntlijnlijn(0;0;1;1;0;1;1;2;x0;y0)", {{"x0", kNone}, {"y0", kNone}}},
        {"draaivermenigvuldig(1;1;2;1;90;2;x0;y0)", {{"x0", 1}, {"y0", -1}}},
        {"snijpuntcircir(0;0;2;0;2;0;0;0;s;t)",
         {{"s1", 1}, {"s2", root3}, {"t1", 1}, {"t2", -root3}}},
        // Concentric circles, and a circle of radius 0 beyond the other one's centre
        // (a root of a negative number before).
        {"snijpuntcircir(0;0;1;0;0;0;2;0;s;t)", {{"s1", kNone}, {"t2", kNone}}},
        {"snijpuntcircir(0;0;0.5;0;1;0;4;0;s;t)", {{"s2", kNone}, {"t2", -kNone}}},
        {"snijpuntlijncir(-5;3;5;3;0;0;5;0;s;t)", {{"s1", 4}, {"s2", 3}, {"t1", -4}, {"t2", 3}}},
        {"snijpuntlijncir(-5;6;5;6;0;0;5;0;s;t)", {{"s1", kNone}, {"s2", 6}}},
        {"snijpuntlijncir(1;1;1;1;0;0;5;0;s;t)", {{"s1", kNone}, {"t2", kNone}}},
        {"vglvlak(1;0;0;0;1;0;0;0;1;a0;b0;c0;d0)", {{"a0", 1}, {"b0", 1}, {"c0", 1}, {"d0", 1}}},
        {"snijpuntlijnvlak(0;0;1;2;0;0;0;0;0;1;x0;y0;z0)", {{"x0", 0}, {"y0", 0}, {"z0", 2}}},
        {"snijpuntlijnvlak(0;0;1;2;0;0;0;1;0;0;x0;y0;z0)", {{"x0", kNone}, {"z0", kNone}}},
        {"maakpunt3d(q;1;2;3)", {{"q1", 1}, {"q2", 2}, {"q3", 3}}},
    };
    for (const Case& c : cases) ExpectValues({c.line}, c.want, 1e-12);
    // Rounding takes the cosine of these straight angles past -1 (NaN before).
    for (const char* line : {"hoek(0;0;1;3;-2;-6;h)", "hoek(0;0;0.1;0.7;-0.3;-2.1;h)"})
        ExpectValues({line}, {{"h", 180}}, 1e-6);
}

TEST_F(ConstructionCommandsTest, DegenerateLinesEndTheRunWithAMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"projectie(1;1;1;1;0;0;x0;y0)",
         "projectie: de punten A en B vallen samen, dus er is geen lijn AB."},
        {"spiegelbeeld(1;1;1;1;0;0;x0;y0)",
         "spiegelbeeld: de punten A en B vallen samen, dus er is geen lijn AB."},
        {"hoek(1;1;1;1;0;0;h)", "hoek: een been heeft lengte 0, want B of C valt samen met A."},
    };
    for (const auto& [line, message] : cases) {
        Run({line, "na:=1"});
        EXPECT_TRUE(runner.LastRunFailed()) << line;
        EXPECT_EQ(MessageTexts(), Lines{message});
        EXPECT_FALSE(runner.Parser(1).HasVariable("na"));
    }
}

TEST_F(ConstructionCommandsTest, TangentAndOrbitLeaveTheProgramsVariablesAlone) {
    ExpectValues({"t:=7", "x:=5", "rvraaklijn(cos(t);sin(t);0;r1;r2)"}, {{"r1", 0}, {"r2", 1}},
                 1e-7);
    EXPECT_EQ(Variable("t"), 7);
    // Henon's orbit from the origin: (1, 0), (-0.4, 0.3), (1.076, -0.12); the first
    // is skipped.
    Lines eepic = Eepic({"x:=5", "afbeelding2(1-1.4*x^2+y;0.3*x;0;0;3;1;1)"});
    eepic.erase(std::remove(eepic.begin(), eepic.end(), "\\shade"), eepic.end());
    EXPECT_EQ(eepic.size(), 2u);
    EXPECT_EQ(Variable("x"), 5);
    const auto points = Points(eepic);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_NEAR(points[0].first, -0.4, 1e-3);
    EXPECT_NEAR(points[1].second, -0.12, 1e-3);
    EXPECT_TRUE(Eepic({"afbeelding2(x;y;0;0;0.4;0;1)"}).empty());
}

TEST_F(ConstructionCommandsTest, ConstructedLinesAreSegments) {
    EXPECT_EQ(Eepic({"middelloodlijn(0;0;2;0;-1;1)", "vectorvoorstelling(1;1;1;0;0;2)",
                     "loodlijn(0;0;2;0;1;1;0;1)", "hoogtelijn(0;0;4;0;1;3)",
                     "bissectrice(0;0;1;0;0;1;0;1)", "bissectrice(0;0;0;0;0;1;0;1)"}),
              (Lines{"\\path(1.000,-2.000)(1.000,2.000)", "\\path(1.000,1.000)(3.000,1.000)",
                     "\\path(1.000,1.000)(1.000,3.000)", "\\path(1.000,3.000)(1.000,0.000)",
                     "\\path(0.000,0.000)(-1.000,-1.000)"}));
}

TEST_F(ConstructionCommandsTest, AngleMarks) {
    // A right angle gets the square whatever aantal says.
    EXPECT_EQ(Eepic({"hoekmarkering(0;0;2;0;0;4;0.25;3)"}),
              (Lines{"\\path(0.500,0.000)(0.500,0.500)", "\\path(0.500,0.500)(0.000,0.500)"}));
    const Lines arcs = Eepic({"hoekmarkering(0;0;2;0;1;4;0.25;2)"});
    ASSERT_EQ(arcs.size(), 4u);
    EXPECT_EQ(arcs[0], "\\put(0.000,0.000){\\arc{1.000}");
    EXPECT_EQ(arcs[2], "\\put(0.000,0.000){\\arc{1.200}");
    // Counter-clockwise from the x-axis (2 pi) to C's direction, the short way.
    const double toC = 2 * M_PI - std::atan2(4.0, 1.0);
    std::ostringstream expected;
    expected.setf(std::ios::fixed);
    expected.precision(3);
    expected << "{" << toC << "}{" << 2 * M_PI << "}}";
    EXPECT_EQ(arcs[1], expected.str());
    // The rays the other way round give the same arcs, not the reflex angle.
    EXPECT_EQ(Eepic({"hoekmarkering(0;0;1;4;2;0;0.25;2)"}), arcs);
    EXPECT_TRUE(Eepic({"hoekmarkering(0;0;0;0;1;4;0.25;2)", "hoekmarkering(0;0;2;0;1;4;0.25;0.4)"})
                    .empty());
}

TEST_F(ConstructionCommandsTest, SegmentMarks) {
    // The default window -5..5: a mark unit t is hypot(10, 10)/90 along the segment.
    const double t = std::hypot(10.0, 10.0) / 90;
    const Lines strokes = Eepic({"lijnstukmarkering(0;0;4;0;1;2)"});
    const auto points = Points(strokes);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_NEAR(points[0].first, 2 + t / 4, 1e-3);
    EXPECT_NEAR(points[0].second, -t, 1e-3);
    EXPECT_NEAR(points[2].first, 2 - t / 4, 1e-3);
    EXPECT_NEAR(points[3].second, t, 1e-3);

    const Lines v = Eepic({"lijnstukmarkering(0;0;4;0;1;4.6)"});
    ASSERT_EQ(v.size(), 2u);
    EXPECT_NEAR(Points(v)[1].second, t, 1e-3);  // the tip
    const Lines o = Eepic({"lijnstukmarkering(0;0;4;0;1;0.4)"});
    ASSERT_EQ(o.size(), 1u);
    EXPECT_EQ(o[0].rfind("\\put(2.000,0.000){\\circle{", 0), 0u);
    EXPECT_TRUE(Eepic({"lijnstukmarkering(1;1;1;1;1;2)"}).empty());
}

TEST_F(ConstructionCommandsTest, ConflictLines) {
    // A point and the x-axis: the parabola y = (x^2 + 1)/2.
    const auto parabola = Points(Eepic({"conflictlijn(lijn;0;1;0;0;1;0)"}));
    ASSERT_GT(parabola.size(), 20u);
    for (const auto& [x, y] : parabola) EXPECT_NEAR(y, (x * x + 1) / 2, 2e-3) << x;
    // A point inside a circle: an ellipse with foci M and P, |XM| + |XP| = r.
    const auto ellipse = Points(Eepic({"conflictlijn(cirkel;1;0;0;0;3;0)"}));
    ASSERT_GT(ellipse.size(), 90u);
    for (const auto& [x, y] : ellipse)
        EXPECT_NEAR(std::hypot(x, y) + std::hypot(x - 1, y), 3, 3e-3);
    // The segment is swept on to 1.05, beyond its end.
    const auto segment = Points(Eepic({"conflictlijn(lijnstuk;0;1;-1;0;1;0)"}));
    ASSERT_EQ(segment.size(), 106u);
    EXPECT_NEAR(segment.back().first, 1.1, 1e-3);
    EXPECT_TRUE(Eepic({"conflictlijn(lijn;0;1;0;0;0;0)", "conflictlijn(kromme;0;1;0;0;1;0)",
                       "conflictlijn(cirkel;0;1;0;0;0;0)"})
                    .empty());
}

TEST_F(ConstructionCommandsTest, FreePointsFollowTheDragOnlyWithResetOff) {
    const Lines program = {"reset=nee", "vrijpunt(p;1;2;0.5)", "vrijpunt(q;1.2;2;0.5)"};
    engine::PointerState& pointer = runner.Pointer();
    Run(program);
    EXPECT_EQ(Variable("p1"), 1);
    // Pressed near both points: the first one takes the drag, and keeps it however far
    // the mouse moves.
    pointer = {1.1L, 2.1L, true, ""};
    Run(program);
    EXPECT_EQ(pointer.dragged, "p");
    pointer.x = 4;
    pointer.y = -3;
    Run(program);
    EXPECT_EQ(Variable("p1"), 4);
    EXPECT_EQ(Variable("p2", 3), -3);
    EXPECT_EQ(Variable("q1"), 1.2L);
    // Released: the point stays where it was left.
    pointer = {0, 0, false, ""};
    Run(program);
    EXPECT_EQ(Variable("p1"), 4);
    // With reset on (the default) every run puts it back.
    pointer = {4, -3, true, "p"};
    Run({"vrijpunt(p;1;2;0.5)"});
    EXPECT_EQ(Variable("p1"), 1);
}

}  // namespace
