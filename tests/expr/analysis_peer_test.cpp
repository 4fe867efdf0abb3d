// The list analyses against NumPy and SciPy on random data: mean and standard
// deviation (plain and weighted), the four regression forms, polynomial fits,
// and point in polygon against a plain even-odd reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "expr/regression.h"
#include "expr/statistics.h"
#include "peer_tools.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;
using expr::Real;

constexpr int kDataSets = 60;
constexpr int kPolygons = 100;
constexpr int kPointsPerPolygon = 100;
constexpr double kRelative = 1e-9;

// Values that a double holds exactly, written so that Python reads the same double.
std::string Line(const char* name, const std::vector<Real>& values) {
    std::string line = name;
    char buffer[40];
    for (const Real v : values) {
        std::snprintf(buffer, sizeof buffer, " %.17g", static_cast<double>(v));
        line += buffer;
    }
    return line + "\n";
}

std::vector<Real> Random(std::mt19937_64& random, size_t count, double low, double high) {
    std::uniform_real_distribution<double> value(low, high);
    std::vector<Real> values;
    for (size_t i = 0; i < count; ++i) values.push_back(value(random));
    return values;
}

std::vector<double> Numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> numbers;
    double v;
    while (in >> v) numbers.push_back(v);
    return numbers;
}

std::vector<std::string> Reference(const fs::path& input) {
    const ToolResult result =
        RunTool("/usr/bin/python3 " ZORVAT_ANALYSIS_PEER " " + input.string());
    EXPECT_EQ(result.status, 0) << result.output;
    std::vector<std::string> lines;
    std::istringstream in(result.output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class AnalysisPeerTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = MakeTestFolder(); }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(AnalysisPeerTest, StatisticsAndRegressionAgreeWithNumPyAndSciPy) {
    std::mt19937_64 random(20260713);
    std::uniform_int_distribution<int> size(3, 100), degree(0, 4);
    struct DataSet {
        std::vector<Real> x, y, w;
        int degree;
    };
    std::vector<DataSet> sets;
    std::ofstream input(folder_ / "data.txt");
    for (int s = 0; s < kDataSets; ++s) {
        DataSet set;
        const size_t n = static_cast<size_t>(size(random));
        // Positive x and y, so that every form applies; spread from small to large.
        set.x = Random(random, n, 0.1, s % 3 == 0 ? 3.0 : 100.0);
        set.w = Random(random, n, 0.0, 5.0);
        const double a = std::uniform_real_distribution<double>(-2, 2)(random);
        for (const Real x : set.x) {
            set.y.push_back(std::exp(0.5 + a * std::log(static_cast<double>(x))) *
                            std::uniform_real_distribution<double>(0.5, 1.5)(random));
        }
        set.degree = std::min(degree(random), static_cast<int>(n) - 1);
        input << "set\n"
              << Line("x", set.x) << Line("y", set.y) << Line("w", set.w) << "degree " << set.degree
              << "\n";
        sets.push_back(std::move(set));
    }
    input.close();
    const auto reference = Reference(folder_ / "data.txt");
    ASSERT_EQ(reference.size(), sets.size());

    int compared = 0;
    for (size_t s = 0; s < sets.size(); ++s) {
        const DataSet& set = sets[s];
        std::vector<Real> ours;
        const auto plain = expr::Statistics(set.x, {});
        const auto weighted = expr::Statistics(set.x, set.w);
        ours = {plain.mean, plain.deviation, weighted.mean, weighted.deviation};
        for (const auto form : {expr::RegressionForm::Linear, expr::RegressionForm::Exponential,
                                expr::RegressionForm::Power, expr::RegressionForm::Logarithmic}) {
            const auto fit = expr::Regression(form, set.x, set.y);
            ours.insert(ours.end(), {fit.slope, fit.intercept, fit.correlation});
        }
        for (const Real c : expr::PolynomialFit(set.x, set.y, set.degree)) ours.push_back(c);
        const auto expected = Numbers(reference[s]);
        ASSERT_EQ(expected.size(), ours.size()) << "set " << s;
        for (size_t i = 0; i < ours.size(); ++i) {
            const double scale = std::max(1.0, std::fabs(expected[i]));
            EXPECT_NEAR(static_cast<double>(ours[i]), expected[i], kRelative * scale)
                << "set " << s << " value " << i;
            ++compared;
        }
    }
    EXPECT_GE(compared, kDataSets * 16);
}

TEST_F(AnalysisPeerTest, PointInPolygonAgreesWithEvenOdd) {
    std::mt19937_64 random(777);
    std::uniform_int_distribution<int> corners(3, 20);
    std::ofstream input(folder_ / "polygons.txt");
    std::vector<std::vector<bool>> ours;
    for (int p = 0; p < kPolygons; ++p) {
        const size_t n = static_cast<size_t>(corners(random));
        const auto xs = Random(random, n, -5, 5), ys = Random(random, n, -5, 5);
        const auto px = Random(random, kPointsPerPolygon, -6, 6);
        const auto py = Random(random, kPointsPerPolygon, -6, 6);
        input << "polygon\n" << Line("x", xs) << Line("y", ys) << Line("px", px) << Line("py", py);
        std::vector<bool> inside;
        for (size_t i = 0; i < px.size(); ++i)
            inside.push_back(expr::PointInPolygon(px[i], py[i], xs, ys));
        ours.push_back(inside);
    }
    input.close();
    const auto reference = Reference(folder_ / "polygons.txt");
    ASSERT_EQ(reference.size(), ours.size());
    int insideCount = 0;
    for (size_t p = 0; p < ours.size(); ++p) {
        const auto expected = Numbers(reference[p]);
        ASSERT_EQ(expected.size(), ours[p].size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(ours[p][i], expected[i] == 1) << "polygon " << p << " point " << i;
            insideCount += ours[p][i] ? 1 : 0;
        }
    }
    // Both answers occur often: the test says something about each.
    EXPECT_GT(insideCount, 1000);
    EXPECT_LT(insideCount, 9000);
}

}  // namespace
