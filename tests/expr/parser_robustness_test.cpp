// Malformed and oversized input: every text gives a value or a parser error
// quickly, without crashing, hanging or running out of stack.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "expr/parser.h"

namespace expr {
namespace {

using Clock = std::chrono::steady_clock;

// Compiles and evaluates; returns the error text, or "" for a value.
std::string Outcome(TParser& parser, const std::string& text) {
    try {
        parser.SetExpression(text);
        parser.Value();
        return "";
    } catch (const EMathParserError& error) {
        return error.what();
    } catch (const EMathError& error) {
        return error.what();
    }
}

std::string Repeat(const std::string& piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(ParserRobustnessTest, RandomJunkGivesAnAnswer) {
    TParser parser;
    parser.AssignVariable("div_mod", 1);
    // Characters the classifier reacts to, so that junk often looks almost right.
    const std::string alphabet = "0123456789.E+-*/^(),XYPIDVMOSNQRT_ ";
    std::mt19937 random(20240601);
    const auto start = Clock::now();
    int values = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text(1 + random() % 40, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        if (Outcome(parser, text).empty()) ++values;
    }
    EXPECT_GT(values, 0);
    // Binary junk, NUL bytes included.
    for (int round = 0; round < 2000; ++round) {
        std::string text(1 + random() % 200, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        Outcome(parser, text);
    }
    // Not a speed goal: a bound that only a hang or a quadratic blow-up passes.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(60));
}

TEST(ParserRobustnessTest, HugeAndDeepTextsAreHandledQuickly) {
    TParser parser;
    parser.X() = 2;
    constexpr size_t kMegabyte = 1 << 20;
    struct Case {
        std::string text;
        std::string outcome;  // "" for a value
    };
    const std::string nestings = "Expression contains too many nestings";
    const std::string tooComplex = "Expression is too complex";
    const Case cases[] = {
        {Repeat("(", 10000) + "x" + Repeat(")", 10000), ""},
        {Repeat("(", kMegabyte / 2) + "x" + Repeat(")", kMegabyte / 2), ""},
        {Repeat("sin(", 10000) + "x" + Repeat(")", 10000), nestings},
        {Repeat("(1+", 10000) + "x" + Repeat(")", 10000), nestings},
        {Repeat("x+", kMegabyte / 2) + "x", nestings},
        {Repeat("x*", kMegabyte / 2) + "x", nestings},
        // Left-grouping chains need quadratic trial splitting: bounded work.
        {Repeat("x-", kMegabyte / 2) + "x", tooComplex},
        {Repeat("x/", kMegabyte / 2) + "x", tooComplex},
        {Repeat("x^", kMegabyte / 2) + "x", tooComplex},
        {"0." + Repeat("0", kMegabyte) + "1", ""},
        // The message names the last split tried: at the last "DIV".
        {"x" + Repeat("DIV", 10000) + "+1",
         "Error parsing expression:\rX" + Repeat("DIV", 9999) + "\r+1"},
        {"x" + Repeat("DIV", kMegabyte / 3) + "+1", tooComplex},
        {Repeat("(", kMegabyte / 2) + Repeat(")", kMegabyte / 2 + 1),
         "Missing brackets in expression"},
    };
    for (const Case& c : cases) {
        const auto start = Clock::now();
        const std::string outcome = Outcome(parser, c.text);
        EXPECT_TRUE(outcome == c.outcome)
            << c.text.substr(0, 40) << " gave " << outcome.substr(0, 60);
        // Not a speed goal: only a hang or a quadratic blow-up passes this bound.
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << c.text.substr(0, 40);
    }
    // The parser stays usable afterwards.
    EXPECT_EQ(Outcome(parser, "x*3"), "");
    EXPECT_EQ(parser.Value(), 6);
}

}  // namespace
}  // namespace expr
