// The three layouts: plain text brackets, LaTeX and the two-dimensional drawing.
#include <gtest/gtest.h>

#include "latex_printer.h"
#include "node_manager.h"
#include "parsertyp.h"
#include "plain_printer.h"
#include "pretty_printer.h"
#include "symbolic_answer.h"

namespace symbolic {
namespace {

class SymbolicPrinter : public ::testing::Test {
protected:
    NodeRef Tree(const std::string& text) { return parser_.Parse(text); }
    std::string Plain(const std::string& text) { return PlainPrinter::Print(Tree(text).get()); }
    std::string Latex(const std::string& text) { return LatexPrinter::Print(Tree(text).get()); }
    std::string Pretty(const std::string& text) { return PrettyPrinter::Print(Tree(text).get()); }

    NodeManager manager_;
    Parsertyp parser_{manager_, false};
};

TEST_F(SymbolicPrinter, PlainTextBracketsOnlyWhereNeeded) {
    const std::pair<const char*, const char*> cases[] = {
        {"0-2", "-2"},          {"a-(b+c)", "a-(b+c)"}, {"(a-b)+c", "a-b+c"},
        {"(a+b)*c", "(a+b)*c"}, {"a/(b*c)", "a/(b*c)"}, {"(a*b)/c", "(a*b)/c"},
        {"(a/b)/c", "(a/b)/c"}, {"(a+b)^2", "(a+b)^2"}, {"(a*b)^2", "(a*b)^2"},
        {"(a^b)^c", "(a^b)^c"}, {"x^-1", "x^(-1)"},     {"sin(x)^2", "sin(x)^2"},
        {"f(a,b)", "f(a,b)"},   {"a-0", "a-0"},  // a zero is only left out where it stands for a
                                                 // minus sign
    };
    for (const auto& [text, printed] : cases) EXPECT_EQ(Plain(text), printed) << text;
    manager_.Leaf(Kind::Decimal, "1.5");
    const NodeRef power = manager_.Binary(Kind::Power, manager_.Leaf(Kind::Decimal, "1.5"),
                                          manager_.Leaf(Kind::Variable, "x"));
    EXPECT_EQ(PlainPrinter::Print(power.get()), "(1.5)^x");
}

TEST_F(SymbolicPrinter, LatexLayout) {
    EXPECT_EQ(Latex("x/2"), "\\frac{x}{2}");
    EXPECT_EQ(Latex("2*x"), "{2}{x}");
    EXPECT_EQ(Latex("SIN(y)"), "SIN\\left({y}\\right)");
    EXPECT_EQ(Latex("0-x"), "-x");
    EXPECT_EQ(Latex("a-(b+c)"), "a-\\left({{b}+{c}}\\right)");
    EXPECT_EQ(Latex("(a+b)*c"), "{\\left({{a}+{b}}\\right)}{c}");
    EXPECT_EQ(Latex("(a*b)^2"), "{\\left({{a}{b}}\\right)}^{2}");
    EXPECT_EQ(Latex("x^2"), "{x}^{2}");
    EXPECT_EQ(Latex("a+b=c"), "{\\left({{a}+{b}}\\right)}={c}");
}

TEST_F(SymbolicPrinter, PrettyDrawsFractionsPowersAndTallBrackets) {
    EXPECT_EQ(Pretty("a+b"), "a + b\n\n");
    EXPECT_EQ(Pretty("0-x"), "-x\n\n");
    EXPECT_EQ(Pretty("2*x"), "2 x\n\n");
    EXPECT_EQ(Pretty("x/2+1"),
              "x    \n"
              "\u2500 + 1\n"
              "2    \n\n");
    EXPECT_EQ(Pretty("x^2"),
              " 2\n"
              "x \n\n");
    EXPECT_EQ(Pretty("sqrt(x/2)"),
              "    \u250Cx\u2510\n"
              "sqrt\u2502\u2500\u2502\n"
              "    \u25142\u2518\n\n");
}

TEST_F(SymbolicPrinter, PrettyCutsWideResultsIntoStripsOf79Columns) {
    std::string sum = "a0";
    for (int i = 1; i < 30; ++i) sum += "+a" + std::to_string(i);
    const std::string text = Pretty(sum);
    // a0 ... a29 with " + " between them: 167 columns, so strips of 79, 79 and 9 columns,
    // each row ended by a line feed and each strip by one more.
    const size_t firstBreak = text.find('\n');
    EXPECT_EQ(firstBreak, 79u);
    EXPECT_EQ(text.substr(firstBreak, 2), "\n\n");
    EXPECT_EQ(text.size(), 167u + 6u);
    EXPECT_EQ(text.substr(2 * 81, 9), "a28 + a29");
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
}

TEST(SymbolicPrinterRequests, WrappersPrintOnlyTheirArgument) {
    EXPECT_EQ(Result("LATEX(x/2)"), "\\frac{x}{2}");
    EXPECT_EQ(Result("PRETTY(a+b)"), "a + b\n\n");
    EXPECT_EQ(Result("LATEX(2*3*x)"), "{6}{x}");
}

}  // namespace
}  // namespace symbolic
