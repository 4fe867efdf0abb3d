// The constructions and 3D projections of random configurations, checked by SymPy's
// geometry module and a NumPy reimplementation of the projection formulas.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "expr/number_format.h"
#include "peer_tools.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kConfigurations = 200;

// One command with its numeric inputs and the names of the results it stores.
struct Check {
    std::string kind;
    std::vector<std::string> inputs;
    std::vector<std::string> results;
};

class GeometryPeerTest : public ProgramTest {
protected:
    // Multiples of 1/8 are exact both in binary and as decimal text, so SymPy works
    // on the very numbers the program had.
    std::string Coordinate(int range = 80) {
        return expr::FormatGeneral(std::uniform_int_distribution<int>(-range, range)(random_) /
                                   8.0L);
    }
    std::vector<std::string> Coordinates(int count) {
        std::vector<std::string> values;
        for (int i = 0; i < count; ++i) values.push_back(Coordinate());
        return values;
    }
    std::string Between(int low, int high) {
        return std::to_string(std::uniform_int_distribution<int>(low, high)(random_));
    }

    std::mt19937 random_{20261209};
};

TEST_F(GeometryPeerTest, ConstructionsAndProjectionsAgreeWithSympyAndNumpy) {
    std::vector<Check> checks;
    const auto add = [&checks](const std::string& kind, std::vector<std::string> inputs,
                               int results, const std::string& tag) {
        Check check{kind, std::move(inputs), {}};
        for (int i = 0; i < results; ++i)
            check.results.push_back("r" + tag + "_" + std::to_string(i));
        checks.push_back(std::move(check));
    };
    for (int k = 0; k < kConfigurations; ++k) {
        const std::string tag = std::to_string(k) + "_";
        for (const char* kind :
             {"projectie", "spiegelbeeld", "snijpuntmll", "snijpuntbis", "hoogtepunt"}) {
            add(kind, Coordinates(6), 2, tag + kind);
        }
        add("hoek", Coordinates(6), 1, tag + "h");
        std::vector<std::string> turn = Coordinates(4);
        turn.push_back(Between(-360, 360));
        turn.push_back(Coordinate(24));
        add("draaivermenigvuldig", turn, 2, tag + "d");
        add("snijpuntlijnlijn", Coordinates(8), 2, tag + "ll");
        add("snijpuntlijncir", Coordinates(8), 4, tag + "lc");
        add("snijpuntcircir", Coordinates(8), 4, tag + "cc");
        add("vglvlak", Coordinates(9), 4, tag + "v");
        // SymPy takes a third of a second for each of these.
        if (k % 4 == 0) add("snijpuntlijnvlak", Coordinates(15), 3, tag + "lv");
        std::vector<std::string> parallel = {Between(-89, 89), Coordinate(8)};
        std::vector<std::string> matrix = Coordinates(9);
        std::vector<std::string> point = Coordinates(3);
        parallel.insert(parallel.end(), matrix.begin(), matrix.end());
        parallel.insert(parallel.end(), point.begin(), point.end());
        add("set3d", parallel, 2, tag + "p");
        // The eye far enough away that every point of the box lies in front of it.
        std::vector<std::string> central = {Between(-180, 180), Between(-180, 180),
                                            Between(400, 900), Between(1, 50)};
        central.insert(central.end(), matrix.begin(), matrix.end());
        central.insert(central.end(), point.begin(), point.end());
        add("set3dcentraal", central, 2, tag + "c");
    }

    std::vector<std::string> program;
    for (const Check& check : checks) {
        std::vector<std::string> inputs = check.inputs;
        if (check.kind == "snijpuntlijnvlak") {
            // The plane through the first three points, as vglvlak gives it.
            program.push_back("vglvlak(" + inputs[0] + ";" + inputs[1] + ";" + inputs[2] + ";" +
                              inputs[3] + ";" + inputs[4] + ";" + inputs[5] + ";" + inputs[6] +
                              ";" + inputs[7] + ";" + inputs[8] + ";pa;pb;pc;pd)");
            inputs = {"pa", "pb", "pc", "pd"};
            inputs.insert(inputs.end(), check.inputs.begin() + 9, check.inputs.end());
        }
        std::string arguments;
        const auto append = [&arguments](const std::string& item) {
            arguments += (arguments.empty() ? "" : ";") + item;
        };
        if (check.kind == "set3d" || check.kind == "set3dcentraal") {
            const size_t view = check.kind == "set3d" ? 2 : 4;
            std::string viewArguments, matrixArguments;
            for (size_t i = 0; i < view; ++i) viewArguments += (i ? ";" : "") + inputs[i];
            for (size_t i = view; i < view + 9; ++i)
                matrixArguments += (i > view ? ";" : "") + inputs[i];
            program.push_back(check.kind + "(" + viewArguments + ")");
            program.push_back("setmat3d(" + matrixArguments + ")");
            for (size_t i = view + 9; i < inputs.size(); ++i) append(inputs[i]);
            for (const std::string& result : check.results) append(result);
            program.push_back("3d->2d(" + arguments + ")");
            continue;
        }
        for (const std::string& input : inputs) append(input);
        if (check.kind == "snijpuntlijncir" || check.kind == "snijpuntcircir") {
            append(check.results[0].substr(0, check.results[0].size() - 2) + "s");
            append(check.results[0].substr(0, check.results[0].size() - 2) + "t");
        } else {
            for (const std::string& result : check.results) append(result);
        }
        program.push_back(check.kind + "(" + arguments + ")");
    }
    Run(program);
    ASSERT_FALSE(runner.LastRunFailed()) << (MessageTexts().empty() ? "" : MessageTexts()[0]);

    const fs::path folder = MakeTestFolder();
    const fs::path data = folder / "results.txt";
    {
        std::ofstream out(data);
        for (const Check& check : checks) {
            out << check.kind;
            for (const std::string& input : check.inputs) out << ' ' << input;
            out << " |";
            std::vector<std::string> names = check.results;
            if (check.kind == "snijpuntlijncir" || check.kind == "snijpuntcircir") {
                const std::string stem = names[0].substr(0, names[0].size() - 2);
                names = {stem + "s1", stem + "s2", stem + "t1", stem + "t2"};
            }
            for (const std::string& name : names)
                out << ' ' << expr::FormatGeneral(Variable(name.c_str()), 18);
            out << '\n';
        }
    }
    // Debian's python, where tools/setup.sh installs python3-sympy and python3-numpy.
    const ToolResult check = RunTool("/usr/bin/python3 " ZORVAT_GEOMETRY_CHECK " " + data.string());
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find(std::to_string(checks.size()) + " passed, 0 failed"),
              std::string::npos)
        << check.output;
    if (!HasFailure()) fs::remove_all(folder);
}

}  // namespace
