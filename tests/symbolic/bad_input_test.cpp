// Hostile requests: every one gets an answer, errors with a negative length, none crashes.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "symbolic_answer.h"

namespace {

TEST(SymbolicBadInput, RandomBytesNeverCrash) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 60);
    for (int i = 0; i < 3000; ++i) {
        std::string request;
        for (int n = length(random); n > 0; --n) request.push_back(static_cast<char>(byte(random)));
        const SymbolicAnswer answer = Ask(request);
        EXPECT_EQ(std::abs(answer.length), static_cast<int>(answer.text.size())) << request;
    }
    // Bytes drawn from the language's own characters reach deeper into the grammar.
    const std::string alphabet = "x1+-*/^()(),.#$[]= ";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 3000; ++i) {
        std::string request;
        for (int n = length(random); n > 0; --n) request.push_back(alphabet[pick(random)]);
        const SymbolicAnswer answer = Ask(request);
        EXPECT_EQ(std::abs(answer.length), static_cast<int>(answer.text.size())) << request;
    }
}

TEST(SymbolicBadInput, MalformedRequestsGiveErrors) {
    for (const char* request : {"((x+1)", "x+1))", "sin(x", "diff(x^2,x", "x\t+1", "x\n+1", "x+\r1",
                                "\xff\xfe", "1..2", "#99999999999999999999"}) {
        const SymbolicAnswer answer = Ask(request);
        EXPECT_LT(answer.length, 0) << request;
    }
}

TEST(SymbolicBadInput, HugeRequestsAnswerQuickly) {
    const auto start = std::chrono::steady_clock::now();
    const std::string megabyteSum = [] {
        std::string text = "x";
        while (text.size() < (1 << 20)) text += "+x";
        return text;
    }();
    EXPECT_EQ(Result(megabyteSum), "error: expression nested too deeply");
    EXPECT_LT(Ask(std::string(1 << 20, '(')).length, 0);
    EXPECT_LT(Ask(std::string(1 << 20, '9')).length, 0);
    const SymbolicAnswer longName = Ask(std::string(1 << 20, 'x'));
    EXPECT_EQ(longName.length, (1 << 20) - 1);  // cut to the test's buffer
    EXPECT_EQ(longName.text, std::string(longName.text.size(), 'x'));
    EXPECT_LT(Ask("10^100000").length, 0);
    // A name 100000 characters wide beside a tower 900 rows high: too large to draw.
    std::string tower = "x";
    for (int i = 0; i < 899; ++i) tower += "^x";
    EXPECT_EQ(Result("PRETTY(" + std::string(100000, 'a') + "+" + tower + ")"),
              "error: result too large to draw");
    EXPECT_LT(Ask("9^9^9^9").length, 0);
    // Regression: the derivative of sin nested 995 deep took over eight minutes.
    std::string nested = "x";
    for (int i = 0; i < 995; ++i) nested = "sin(" + nested + ")";
    EXPECT_EQ(Result("diff(" + nested + ",x)"), "error: too many rewrite steps");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
