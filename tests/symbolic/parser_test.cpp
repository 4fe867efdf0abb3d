// The scanner and grammar: tree shapes, shared nodes and every parser message.
#include <gtest/gtest.h>

#include "node_manager.h"
#include "parsertyp.h"
#include "plain_printer.h"
#include "symbolic_answer.h"
#include "symbolic_error.h"

namespace symbolic {
namespace {

// The parsed tree, printed without rewriting it.
std::string Parsed(const std::string& text, bool ruleMode = false) {
    NodeManager manager;
    Parsertyp parser(manager, ruleMode);
    try {
        return PlainPrinter::Print(parser.Parse(text).get());
    } catch (const ESymbolicError& error) {
        return std::string("error: ") + error.what();
    }
}

TEST(SymbolicParser, BuildsTheTreeTheGrammarDescribes) {
    const std::pair<const char*, const char*> cases[] = {
        {"2x", "2*x"},
        {"x2", "x2"},
        {"2x^2", "2*x^2"},
        {"3(x+1)", "3*(x+1)"},
        {"-x^2", "-x^2"},
        {"2^-1", "2^(-1)"},
        {"a^b^c", "a^(b^c)"},
        {"a--b", "a+b"},
        {"a+-b", "a-b"},
        {"a-(b+c)", "a-(b+c)"},
        {"0.5", "5/10"},
        {"2.25", "225/100"},
        {"007", "7"},
        {"f(a,b,c)", "f(a,b,c)"},
        {"f(a=b)", "f(a=b)"},
        {"a  +  /* note */ b", "a+b"},
        {"a+b // rest of the line", "a+b"},
        {"x<y", "x<y"},
    };
    for (const auto& [text, tree] : cases) EXPECT_EQ(Parsed(text), tree) << text;
}

TEST(SymbolicParser, GivesEachMessageExactly) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.", "number expected"},
        {"2.x", "number expected"},
        {"#", "need number after #"},
        {"#1", "cannot refer to expression"},
        {"#0", "cannot access 0th expression"},
        {"(a+b", ") expected"},
        {"(a=b)", ") expected"},
        {"f(a", ") expected"},
        {"$f(x)", "need identifier or number"},
        {"[a]", "need identifier or number"},
        {"", "need identifier or number"},
        {"a+", "need identifier or number"},
        {"a b", "end of expr. expected, but found more"},
        {"a)", "end of expr. expected, but found more"},
        {"a=b=c", "end of expr. expected, but found more"},
        {"a\tb", "end of expr. expected, but found more"},
        {"a+\nb", "need identifier or number"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(Parsed(text), std::string("error: ") + message) << text;
        // The entry point answers the same text with a negative length.
        const SymbolicAnswer answer = Ask(text);
        EXPECT_EQ(answer.text, message) << text;
        EXPECT_EQ(answer.length, -static_cast<int>(answer.text.size())) << text;
    }
}

TEST(SymbolicParser, RuleModeAcceptsDollarNamesAndLists) {
    EXPECT_EQ(Parsed("$f(x)", true), "$f(x)");
    EXPECT_EQ(Parsed("$f([sin,cos])", true), "$f([sin,cos])");
    EXPECT_EQ(Parsed("$", true), "error: need ident");
    EXPECT_EQ(Parsed("[a,b", true), "error: expect ]");
}

TEST(SymbolicParser, EqualExpressionsShareOneNode) {
    NodeManager manager;
    Parsertyp parser(manager, false);
    const NodeRef a = parser.Parse("sin(t)+PI*T");
    const NodeRef b = parser.Parse("SIN(T)+pi*t");
    EXPECT_EQ(a.get(), b.get());
    // The first spelling is kept.
    EXPECT_EQ(PlainPrinter::Print(b.get()), "sin(t)+PI*t");
    EXPECT_EQ(parser.Parse("Pi").get(), parser.Parse("pI").get());
    EXPECT_EQ(parser.Parse("Pi")->kind(), Kind::Pi);
}

TEST(SymbolicParser, NodesAreFreedWithTheirLastReference) {
    NodeManager manager;
    {
        Parsertyp parser(manager, false);
        const NodeRef tree = parser.Parse("(a+b)*(a+b)-c");
        EXPECT_EQ(manager.NodeCount(), 6u);  // a, b, a+b, product, c, difference
    }
    EXPECT_EQ(manager.NodeCount(), 0u);
}

// Regression: freeing recursed once per node, so dropping the head of a long chain of cached
// normal forms overflowed the stack.
TEST(SymbolicParser, FreesLongChainsWithoutRecursion) {
    NodeManager manager;
    {
        const NodeRef head = manager.Leaf(Kind::Variable, "v0");
        Knoten* last = head.get();
        for (int i = 1; i < 150000; ++i) {
            last->normalForm = manager.Leaf(Kind::Variable, "v" + std::to_string(i));
            last = last->normalForm.get();
        }
        EXPECT_EQ(manager.NodeCount(), 150000u);
    }
    EXPECT_EQ(manager.NodeCount(), 0u);
}

// Regression: deeply nested input used to exhaust the stack.
TEST(SymbolicParser, RefusesDeepNestingWithAMessage) {
    const std::string deep = std::string(10000, '(') + "x" + std::string(10000, ')');
    EXPECT_EQ(Parsed(deep), "error: expression nested too deeply");
    std::string powers = "2";
    for (int i = 0; i < 5000; ++i) powers += "^2";
    EXPECT_EQ(Parsed(powers), "error: expression nested too deeply");
    std::string sum = "x";
    for (int i = 0; i < 5000; ++i) sum += "+x";
    EXPECT_EQ(Parsed(sum), "error: expression nested too deeply");
    // Regression: only brackets counted, so a power chain 31 000 deep overflowed the stack.
    for (const std::string link : {"x^", "-x^", "2x^+"}) {
        std::string chain;
        for (int i = 0; i < 31000; ++i) chain += link;
        EXPECT_EQ(Parsed(chain + "x"), "error: expression nested too deeply") << link;
    }
    EXPECT_EQ(Parsed(std::string(400, '(') + "x" + std::string(400, ')')), "x");
}

}  // namespace
}  // namespace symbolic
