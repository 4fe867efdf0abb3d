// The calculator window's operations and its factorisation, without a window.
#include <gtest/gtest.h>

#include "bigint/big_calculator.h"
#include "bigint/factorisation.h"

namespace {

using bigint::CalculatorOperation;

struct Case {
    const char* operation;
    const char* x;
    const char* y;
    const char* z;
    const char* answer;   // empty: refused
    const char* message;  // "" when none
};

TEST(BigCalculator, EveryButton) {
    const Case cases[] = {
        {"add", "12", "5", "", "17", ""},
        {"mod", "12", "5", "", "2", ""},
        {"ncr", "12", "5", "", "792", ""},
        {"ncr", "5", "12", "", "0", ""},
        {"ncr", "5", "-1", "", "0", ""},
        {"npr", "10", "3", "", "720", ""},
        {"sub", "1.000", "1 001", "", "-1", ""},  // separators and blanks are ignored
        {"mul", "", "5", "", "0", ""},            // an empty field is 0
        {"div", "-7", "2", "", "-3", ""},
        {"div", "7", "0", "", "", "deling door nul"},
        {"pow", "2", "100", "", "1.267.650.600.228.229.401.496.703.205.376", ""},
        {"pow", "2", "1234567890123456789012345678901234567890", "", "",
         "de exponent y is te groot"},
        {"pow", "3", "100000000", "", "",
         "de uitkomst wordt te groot (meer dan vijf miljoen cijfers)"},
        {"powmod", "4", "13", "497", "445", ""},
        {"powmod", "4", "13", "0", "", "deling door nul"},
        {"sqrt", "1000000", "", "", "1.000", ""},
        {"square", "-1000", "", "", "1.000.000", ""},
        {"root", "1000000", "3", "", "100", ""},  // a root is written without grouping
        {"prime", "1000003", "", "", "misschien priem", ""},
        {"prime", "1000001", "", "", "niet priem", ""},
        {"gcd", "84", "-36", "", "12", ""},
        {"inv", "3", "7", "", "5", ""},
        {"inv", "4", "6", "", "", "x heeft geen inverse modulo y: ggd(x, y) is niet 1"},
        {"inv", "4", "0", "", "", "deling door nul"},
    };
    for (const Case& c : cases) {
        const auto operation = bigint::OperationNamed(c.operation);
        ASSERT_TRUE(operation) << c.operation;
        const auto answer = bigint::Calculate(*operation, c.x, c.y, c.z);
        EXPECT_EQ(answer.answer, c.answer) << c.operation << " " << c.x << " " << c.y;
        EXPECT_EQ(answer.message, c.message) << c.operation << " " << c.x << " " << c.y;
        EXPECT_EQ(answer.refused, std::string(c.answer).empty()) << c.operation;
    }
    EXPECT_FALSE(bigint::OperationNamed("factor"));  // not a plain operation
}

TEST(BigCalculator, FactorialsStopAt15000) {
    const auto answer = bigint::Calculate(CalculatorOperation::Factorial, "1000000000", "", "");
    EXPECT_EQ(answer.message, "Input truncated to 15000");
    const auto limit = bigint::Calculate(CalculatorOperation::Factorial, "15000", "", "");
    EXPECT_EQ(answer.answer, limit.answer);
    EXPECT_EQ(limit.message, "");
    const auto binomial =
        bigint::Calculate(CalculatorOperation::Combinations, "200000", "100000", "");
    EXPECT_EQ(binomial.message, "aantal cijfers kan te groot zijn om correct weer te geven");
}

std::vector<std::string> Factor(const std::string& x, bigint::Factorisation::Outside outside = {}) {
    std::vector<std::string> lines;
    bigint::TInteger number;
    number.AssignText(x);
    bigint::FactorisationSettings quick;
    quick.firstRhoSeconds = 0.2;
    bigint::Factorisation work([&lines](const std::string& line) { lines.push_back(line); },
                               std::move(outside), {}, quick);
    work.Run(number);
    return lines;
}

TEST(Factorisation, WritesEveryFindingALine) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(Factor("3072"), (Lines{"kleine factoren uitdelen", "2^10", "3^1", "klaar"}));
    EXPECT_EQ(Factor("1000003"), (Lines{"1000003"}));
    EXPECT_EQ(Factor("1"), (Lines{"1"}));
    EXPECT_EQ(Factor("-6"), (Lines{"-1", "kleine factoren uitdelen", "2^1", "3^1", "klaar"}));
    EXPECT_EQ(Factor("0"), (Lines{"0 heeft geen ontbinding in priemfactoren"}));
    // Two primes close together: Fermat's method splits them.
    EXPECT_EQ(Factor("1000000016000000063"),  // 1000000007 * 1000000009
              (Lines{"kleine factoren uitdelen", "verder verwerken van 1000000016000000063",
                     "1000000007", "1000000009", "klaar"}));
    EXPECT_EQ(Factor("1000000014000000049000000000"),
              (Lines{"kleine factoren uitdelen", "2^9", "5^9", "1000000007^2", "klaar"}));
    // Regression: a perfect power was written as r^k and then r once more.
    EXPECT_EQ(Factor("1000000016000000063000000000000000000000"),
              (Lines{"kleine factoren uitdelen", "2^21", "5^21",
                     "verder verwerken van "
                     "1000000016000000063",
                     "1000000007", "1000000009", "klaar"}));
    EXPECT_EQ(Factor("1000000032000000382000002016000003969"),  // (1000000007 * 1000000009)^2
              (Lines{"kleine factoren uitdelen", "verder verwerken van 1000000016000000063",
                     "1000000007^2", "1000000009^2", "klaar"}));
}

TEST(Factorisation, WhatRhoCannotSplitGoesOutside) {
    const std::string p = "133633875393759633089593145317", q = "189036763918308522137049928897";
    bigint::TInteger n;
    n.AssignText("25261715354298798059614466984426179320823040470353438525349");
    bool asked = false;
    const auto lines = Factor(n.ToText(), [&](const bigint::TInteger& number) {
        asked = number == n;
        bigint::TInteger a, b;
        a.AssignText(p);
        b.AssignText(q);
        return bigint::OutsideFactors{{a, b}, ""};
    });
    EXPECT_TRUE(asked);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 6],
              "start gp: kwadratische zeef en ECM om " + n.ToText() + " te factoriseren");
    EXPECT_EQ((std::vector<std::string>(lines.end() - 5, lines.end())),
              (std::vector<std::string>{"extern programma", "tijdsduur beperkt tot 2 minuten", p, q,
                                        "klaar"}));
    // Without the outside program the lines say so, and the work still ends.
    const auto alone = Factor(n.ToText(), [](const bigint::TInteger&) {
        return bigint::OutsideFactors{{}, "extern programma gp niet gevonden"};
    });
    EXPECT_EQ(alone[alone.size() - 2], "extern programma gp niet gevonden");
    EXPECT_EQ(alone.back(), "klaar");
}

TEST(Factorisation, OnlyARealFactorisationFromOutsideIsBelieved) {
    bigint::TInteger n(15);
    EXPECT_TRUE(bigint::ReadOutsideFactors("3\n5\n", n));
    EXPECT_TRUE(bigint::ReadOutsideFactors("5\r\n3\r\n\r\n", n));
    for (const char* output : {"", "15\n", "3\n", "3\n5\n5\n", "hallo\n", "3\n5x\n", "1\n15\n"}) {
        EXPECT_FALSE(bigint::ReadOutsideFactors(output, n)) << output;
    }
}

}  // namespace
