// Direction fields, solution curves, the list commands, the list clipboard and the
// calculator tools, run as a program or a window would run them.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>

#include "engine/calculator.h"
#include "engine/list_commands.h"
#include "engine/text_file.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class AnalysisTest : public ProgramTest {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(folder_); }

    // The "\path" entries of the eepic save of a program without axes, with the
    // points of each entry joined.
    Lines Paths(Lines source) {
        source.insert(source.begin(), "assen=geen");
        runner.Program() = engine::CompileProgram(source);
        host.messages.clear();
        const std::string file = (folder_ / "fig.tex").string();
        EXPECT_TRUE(runner.ExportEepic(file));
        Lines paths;
        for (const auto& line : engine::ReadTextLines(file).value_or(Lines{})) {
            if (line.rfind("\\path", 0) == 0) {
                paths.push_back(line);
            } else if (!paths.empty() && line.rfind("(", 0) == 0) {
                paths.back() += line;
            }
        }
        return paths;
    }
    // The last point of a path entry.
    static std::pair<double, double> LastPoint(const std::string& path) {
        const size_t open = path.rfind('('), comma = path.rfind(',');
        return {std::stod(path.substr(open + 1)), std::stod(path.substr(comma + 1))};
    }

    fs::path folder_;
};

TEST_F(AnalysisTest, DirectionFields) {
    // -5 .. 5 in steps of 1 is 11 x 11; 1/x has no value on the column x = 0.
    EXPECT_EQ(Paths({"lijnelveld(x*y;1;1)"}).size(), 121u);
    EXPECT_EQ(Paths({"lijnelveld(1/x;1;1)"}).size(), 110u);
    EXPECT_EQ(Paths({"lijnelveld2(-y;x;1;1)"}).size(), 120u);  // (0, 0) has no direction
    EXPECT_TRUE(host.messages.empty());
    // A flat segment is 1/30 of the window wide.
    const Lines one = Paths({"xmin=-1", "xmax=1", "ymin=-1", "ymax=1", "lijnelveld(0;5;5)"});
    EXPECT_EQ(one, Lines{"\\path(-1.033,-1.000)(-0.967,-1.000)"});

    struct Case {
        const char* line;
        const char* message;
    };
    for (const Case& c :
         {Case{"lijnelveld(x;0;1)", "lijnelveld: xstep en ystep moeten groter dan 0 zijn."},
          Case{"lijnelveld2(x;y;1;-1)", "lijnelveld2: xstep en ystep moeten groter dan 0 zijn."},
          Case{"lijnelveld(x;1E-9;1)",
               "lijnelveld: met xstep 1E-9 en ystep 1 komen er meer dan 1000 lijnstukjes naast of "
               "boven elkaar. Kies grotere stappen."}}) {
        runner.SetNumericAll("klaar", 0);
        Run({c.line, "klaar:=1"});
        EXPECT_EQ(MessageTexts(), Lines{c.message}) << c.line;
        EXPECT_EQ(Variable("klaar"), 0) << c.line;
    }
    // The program's own x and y are not the field's.
    Run({"x:=3", "y:=4", "lijnelveld(x+y;1;1)", "a:=x", "b:=y"});
    EXPECT_EQ(Variable("a"), 3);
    EXPECT_EQ(Variable("b"), 4);
}

TEST_F(AnalysisTest, SolutionCurves) {
    Lines paths = Paths({"oplossingskromme(y;0;1;0.1;9;euler)"});
    ASSERT_EQ(paths.size(), 1u);
    auto end = LastPoint(paths[0]);
    EXPECT_NEAR(end.first, 1, 1e-3);
    EXPECT_NEAR(end.second, 2.5937, 1e-3);
    end = LastPoint(Paths({"oplossingskromme(y;0;1;-0.1;9;runge)"}).at(0));
    EXPECT_NEAR(end.first, -1, 1e-3);
    EXPECT_NEAR(end.second, 0.3679, 1e-3);
    // y' = 0 runs on until x passes 1.4 * xmax.
    end = LastPoint(Paths({"oplossingskromme(0;0;1;0.1;100;euler)"}).at(0));
    EXPECT_NEAR(end.first, 7.1, 1e-3);
    // A closed orbit ends where it started; a long curve goes out in pieces.
    EXPECT_EQ(Paths({"oplossingskromme2(-y;x;1;0;0.001;10000;impeuler)"}).size(), 21u);
    EXPECT_TRUE(host.messages.empty());

    struct Case {
        const char* line;
        const char* message;
        bool ends;
    };
    for (const Case& c : {
             Case{"oplossingskromme(y;0;1;0.1;9;Runge)",
                  "Onbekende methode: Runge. Kies euler, impeuler of runge.", true},
             Case{"oplossingskromme2(y;x;0;1;0.1;9;runge)",
                  "Onbekende methode: runge. Kies euler of impeuler.", true},
             Case{"oplossingskromme(ln(-1);0;1;0.1;9;euler)",
                  "oplossingskromme: y' = ln(-1) heeft geen waarde bij x = 0, y = 1.", false},
             Case{"oplossingskromme2(1/x;1;0;2;0.1;9;euler)",
                  "oplossingskromme2: x' = 1/x, y' = 1 heeft geen waarde bij x = 0, y = 2.", false},
         }) {
        runner.SetNumericAll("klaar", 0);
        Run({c.line, "klaar:=1"});
        EXPECT_EQ(MessageTexts(), Lines{c.message}) << c.line;
        EXPECT_EQ(Variable("klaar"), c.ends ? 0 : 1) << c.line;
    }
    // Step 0, a huge count and a tiny step: bounded, no message.
    Run({"oplossingskromme(1;0;0;0;1E12;runge)", "oplossingskromme(0;0;0;1E-9;1E12;euler)",
         "klaar:=1"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("klaar"), 1);
}

TEST_F(AnalysisTest, StatsAndRegression) {
    Run({"L1(1):=2", "L1(2):=4", "L1(3):=6", "stats(L1;1;3;m;s)", "L2(1):=1", "L2(2):=3",
         "L3(1):=1", "L3(2):=3", "stats(L2,L3;1;2;m2;s2)", "L4(1):=3", "L4(2):=5", "L4(3):=7",
         "linreg(L2,L4;1;3;$v;r)", "L2(3):=5", "linreg(L2,L4;1;3;$v;r)",
         "regressie(L2,L4;1;3;$w;q;lnreg)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("m"), 4);
    EXPECT_NEAR(static_cast<double>(Variable("s", 4)), std::sqrt(8.0 / 3), 1e-15);
    EXPECT_EQ(Variable("m2"), 2.5);
    EXPECT_EQ(String("$v"), "(1)*x+(2)");
    EXPECT_NEAR(static_cast<double>(Variable("r", 4)), 1, 1e-15);
    EXPECT_EQ(String("$w").rfind(")*ln(x)+(", 20) != std::string::npos, true);

    // polyreg with a degree above eind - start fits the lower degree and zeroes the rest.
    Run({"L5(1):=1", "L5(2):=2", "L6(1):=3", "L6(2):=5", "L1(50):=9", "polyreg(L5,L6;1;2;4;L1)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NEAR(static_cast<double>(runner.Lists().Get(1, 1)), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(runner.Lists().Get(1, 2)), 2, 1e-12);
    EXPECT_EQ(runner.Lists().Get(1, 3), 0);
    EXPECT_EQ(runner.Lists().Get(1, 50), 0);

    struct Case {
        const char* line;
        const char* message;
        bool ends;
    };
    for (const Case& c : {
             Case{"stats(L9;1;3;m;s)", "Ongeldige lijst: L9", false},
             Case{"stats(L1;0;3;m;s)",
                  "stats: start en eind moeten tussen 1 en 100 liggen en start mag niet groter "
                  "zijn dan eind (start = 0, eind = 3).",
                  true},
             Case{"linreg(L1;1;101;$v;r)",
                  "linreg: start en eind moeten tussen 1 en 100 liggen en start mag niet groter "
                  "zijn dan eind (start = 1, eind = 101).",
                  true},
             Case{"linreg(L1;1;3;$v;r)", "linreg: geef twee lijsten, zoals L1,L2.", true},
             Case{"regressie(L1,L2;1;3;$v;r;kwadreg)",
                  "Onbekende regressie: kwadreg. Kies linreg, expreg, pwrreg of lnreg.", true},
             Case{"regressie(L1,L2;5;7;$v;r;expreg)",
                  "expreg: ln(y) bestaat niet voor element 5 (y = 0).", true},
             Case{"linreg(L1,L2;10;12;$v;r)",
                  "linreg: alle x-waarden zijn gelijk, dus er is geen regressielijn.", true},
             Case{"polyreg(L5,L6;1;2;1;L7)", "Ongeldige doellijst", false},
             Case{"polyreg(L5,L6;1;2;1;L0)", "Ongeldige doellijst", false},
             Case{"stats(L1,L3;5;6;m;s)", "stats: de som van de frequenties is niet groter dan 0.",
                  true},
         }) {
        runner.SetNumericAll("klaar", 0);
        Run({c.line, "klaar:=1"});
        EXPECT_EQ(MessageTexts(), Lines{c.message}) << c.line;
        EXPECT_EQ(Variable("klaar"), c.ends ? 0 : 1) << c.line;
    }
}

TEST_F(AnalysisTest, PointInPolygon) {
    Run({"L1(1):=0", "L2(1):=0", "L1(2):=4", "L2(2):=0", "L1(3):=4", "L2(3):=4", "L1(4):=0",
         "L2(4):=4", "puntinveelhoek?(2;2;L1;L2;4;binnen)", "puntinveelhoek?(5;2;L1;L2;4;buiten)",
         "puntinveelhoek?(0;0;L1;L2;1;een)", "puntinveelhoek?(0;0;L1;L2;0;geen)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("binnen", 4), 1);
    EXPECT_EQ(Variable("buiten"), 0);
    EXPECT_EQ(Variable("een"), 0);
    EXPECT_EQ(Variable("geen"), 0);
    Run({"puntinveelhoek?(0;0;L1;L2;101;r)"});
    EXPECT_EQ(MessageTexts(),
              Lines{"puntinveelhoek?: aantal_punten moet tussen 0 en 100 liggen (nu 101)."});
}

// A host whose input dialogs answer from a list.
class AnsweringHost : public RecordingHost {
public:
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string& text) override {
        defaults.push_back(text);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> defaults;
};

TEST(ListClipboardTest, ExportAndImport) {
    AnsweringHost host;
    plot::TPlotSurface surface((EnsureGuiApplication(), 50), 50);
    engine::Runner runner(host, surface);
    engine::ListClipboard clipboard(runner);
    runner.Lists().Set(2, 1, 1.5L);
    runner.Lists().Set(2, 2, -2);
    runner.Lists().Set(2, 3, 1e20L);

    host.answers = {"l2;1;3;rij", "L2;2;3;kolom", std::nullopt};
    clipboard.Export(',');
    EXPECT_EQ(host.clipboard, "1,5\t-2\t1E20");
    clipboard.Export('.');
    EXPECT_EQ(host.clipboard, "-2\n1E20");
    clipboard.Export('.');  // cancelled: the previous answer is offered, nothing changes
    EXPECT_EQ(host.defaults, (Lines{"L1;1;100;kolom", "l2;1;3;rij", "L2;2;3;kolom"}));
    EXPECT_EQ(host.clipboard, "-2\n1E20");

    host.answers = {"L7;1;3;kolom", "L1;0;3;rij", "L1"};
    clipboard.Export('.');
    clipboard.Export('.');
    clipboard.Export('.');
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, "Ongeldige lijst: L7");
    EXPECT_EQ(host.messages[2].text, "Syntax: lijstnaam;start;eind;kolom/rij");

    // Import: decimal commas, tabs and lines; the count goes to L3max.
    host.messages.clear();
    host.clipboard = "1,25\t2\r\n3\n";
    host.answers = {"L3"};
    clipboard.Import();
    EXPECT_EQ(runner.Lists().Get(3, 1), 1.25L);
    EXPECT_EQ(runner.Lists().Get(3, 3), 3);
    EXPECT_EQ(runner.Parser(4).ReadVariable("L3max"), 3);
    EXPECT_TRUE(host.messages.empty());

    // Text, an empty clipboard and a list that does not exist change nothing.
    struct Case {
        const char* clipboard;
        const char* list;
        const char* message;
    };
    for (const Case& c :
         {Case{"4\nappel\n5", "L3",
               "'appel' is geen getal (regel 2, kolom 1). Er is niets ingelezen."},
          Case{"", "L3", "Het klembord bevat geen getallen; er is niets ingelezen."},
          Case{"4", "L8", "Ongeldige lijst: L8"}}) {
        host.messages.clear();
        host.clipboard = c.clipboard;
        host.answers = {c.list};
        clipboard.Import();
        ASSERT_EQ(host.messages.size(), 1u) << c.clipboard;
        EXPECT_EQ(host.messages[0].text, c.message);
        EXPECT_EQ(runner.Lists().Get(3, 1), 1.25L) << c.clipboard;
    }
    // A million values: the first 100, and the count says "100 (of meer)".
    std::string many;
    for (int i = 1; i <= 1'000'000; ++i) many += std::to_string(i % 1000) + "\n";
    host.clipboard = many;
    host.answers = {"L4"};
    clipboard.Import();
    EXPECT_EQ(runner.Lists().Get(4, 100), 100);
    EXPECT_EQ(runner.Parser(1).ReadVariable("L4max"), 100);
}

TEST_F(AnalysisTest, CalculatorTools) {
    engine::Calculator calculator(runner);
    runner.Parser(1).X() = 7;
    struct Case {
        std::string result;
        const char* expected;
    };
    for (const Case& c :
         {Case{calculator.Value("x^2", "0"), "0"}, Case{calculator.Value("sin(x)", "pi/2"), "1"},
          Case{calculator.Slope("sin(x)", "0"), "1"}, Case{calculator.Slope("x^3", "1"), "3"},
          Case{calculator.Slope("x^2/7", "1"), "0.28571"},
          Case{calculator.Integral("x^2", "0", "3"), "9"},
          Case{calculator.Integral("x^2", "3", "0"), "-9"},
          Case{calculator.Integral("x^2", "2", "2"), "0"},
          Case{calculator.Integral("sin(x)", "0", "pi"), "2"},
          Case{calculator.Derivative("x^3", "x", "3e"), "6"},
          Case{calculator.Antiderivative("2*x", "x"), "x^2"}}) {
        EXPECT_EQ(c.result, c.expected);
    }
    EXPECT_THROW(calculator.Value("x^", "1"), expr::EMathParserError);
    EXPECT_THROW(calculator.Value("ln(x)", "-1"), expr::EMathError);
    EXPECT_EQ(runner.Parser(1).X(), 7);  // the program's x is left alone
    // String variables of the program may stand in the expression field.
    runner.Strings().Set("$f", "x^4");
    EXPECT_EQ(calculator.Derivative("$f", "x", "2e"), "12*x^2");
}

}  // namespace
