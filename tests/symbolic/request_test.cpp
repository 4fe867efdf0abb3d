// The request interface: answer lengths and signs, truncation, rules added at run time.
#include <gtest/gtest.h>

#include <cstring>

#include "symbolic_answer.h"

namespace {

TEST(SymbolicRequest, NullRequestAnswersMinusOneAndWritesNothing) {
    char buffer[8] = "keep";
    EXPECT_EQ(symbolic_calculate(nullptr, buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "keep");
}

TEST(SymbolicRequest, TruncatesToTheBufferAndReportsTheLengthMinusOne) {
    char buffer[8];
    std::memset(buffer, 'z', sizeof buffer);
    // "1267650600228229401496703205376" has 31 characters.
    EXPECT_EQ(symbolic_calculate("2^100", buffer, 8), 30);
    EXPECT_STREQ(buffer, "1267650");
    // Exactly the text and its zero fit.
    char exact[3];
    EXPECT_EQ(symbolic_calculate("6/4", exact, 4 - 1), 2);  // "3/2" does not fit in 3 bytes
    EXPECT_STREQ(exact, "3/");
    char room[4];
    EXPECT_EQ(symbolic_calculate("6/4", room, 4), 3);
    EXPECT_STREQ(room, "3/2");
    // Errors keep their sign when cut.
    char small[4];
    EXPECT_EQ(symbolic_calculate("(a", small, 4), -9);  // ") expected" has 10 characters
    EXPECT_STREQ(small, ") e");
}

TEST(SymbolicRequest, NothingIsWrittenIntoAnEmptyBuffer) {
    char buffer[4] = "abc";
    EXPECT_EQ(symbolic_calculate("2+3", buffer, 0), 1);
    EXPECT_EQ(symbolic_calculate("2+3", buffer, -5), 1);
    EXPECT_EQ(symbolic_calculate("2+3", nullptr, 10), 1);
    EXPECT_STREQ(buffer, "abc");
}

TEST(SymbolicRequest, AddMacroInsertsOnceAndRefusesTheSameNameAgain) {
    EXPECT_EQ(Result("qube(3)"), "qube(3)");
    const SymbolicAnswer first = Ask("_ADD_MACRO(qube(x),x^3)");
    EXPECT_EQ(first.text, "Macro inserted !");
    EXPECT_EQ(first.length, 16);
    const SymbolicAnswer second = Ask("_ADD_MACRO(qube(x),x^3)");
    EXPECT_EQ(second.text, "Macro has not been inserted");
    EXPECT_EQ(second.length, -27);
    EXPECT_EQ(Result("qube(3)"), "27");
    EXPECT_EQ(Result("qube(y+1)-(y+1)^3"), "0");
    // A rule for a name that built-in rules already use is refused.
    EXPECT_EQ(Ask("_ADD_MACRO(sin(u),0)").length, -27);
    // The pattern must be a function application: otherwise it is an ordinary expression.
    EXPECT_EQ(Result("_ADD_MACRO(x,1)"), "_ADD_MACRO(x,1)");
}

// Regression: cot(u) also stands in a built-in rule, so its node outlives the request and kept
// its old normal form after a rule for it was added.
TEST(SymbolicRequest, AnAddedRuleAppliesToExpressionsNormalisedBefore) {
    EXPECT_EQ(Result("cot(u)"), "cot(u)");
    ASSERT_EQ(Ask("_ADD_MACRO(cot(u),cos(u)/sin(u))").length, 16);
    EXPECT_EQ(Result("cot(u)"), "cos(u)/sin(u)");
}

TEST(SymbolicRequest, BucketsFollowTheFirstLetterAsWritten) {
    ASSERT_EQ(Ask("_ADD_MACRO(WOBBLE(x),x+1)").length, 16);
    EXPECT_EQ(Result("WOBBLE(1)"), "2");
    // Lower case lands in another bucket, although names match without regard to case.
    EXPECT_EQ(Result("wobble(2)"), "wobble(2)");
}

// Regression: a rule set that rewrites in a cycle used to hang the program.
TEST(SymbolicRequest, CyclicRulesEndWithAnError) {
    ASSERT_EQ(Ask("_ADD_MACRO(ping(x),pong(x))").length, 16);
    ASSERT_EQ(Ask("_ADD_MACRO(pong(x),ping(x))").length, 16);
    EXPECT_EQ(Result("ping(1)"), "error: too many rewrite steps");
    ASSERT_EQ(Ask("_ADD_MACRO(grow(x),grow(x+1))").length, 16);
    EXPECT_EQ(Result("grow(1)").substr(0, 6), "error:");
    // The library stays usable.
    EXPECT_EQ(Result("2+3*4"), "14");
}

}  // namespace
