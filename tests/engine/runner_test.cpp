// Whole runs: settings, the line loop, error messages and the graphs drawn afterwards.
#include "engine/runner.h"

#include <gtest/gtest.h>

#include "program_fixture.h"

namespace {

using RunnerTest = ProgramTest;

TEST_F(RunnerTest, EmptyProgramStillDrawsAxesAndGraphs) {
    runner.Settings().functions[0] = "x^2";
    Run({});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(runner.LastRunFailed());
    EXPECT_TRUE(DarkAt(-4.5, 0));  // x-axis
    EXPECT_TRUE(DarkAt(0, 4.5));   // y-axis
    EXPECT_TRUE(DarkAt(2, 4));     // parabola
    EXPECT_TRUE(DarkAt(-1.5, 2.25));
    EXPECT_FALSE(DarkAt(2, -3));
}

TEST_F(RunnerTest, SettingLinesChangeTheRangeBeforeTheRun) {
    Run({"xmin=-4", "a:=xmin", "F=x"});
    EXPECT_EQ(runner.Settings().xmin, "-4");
    EXPECT_EQ(Variable("a"), -4);
    EXPECT_EQ(surface.D2WorldX1(), -4);
    EXPECT_EQ(runner.Settings().functions[0], "x");
    // The range stays for the next run.
    Run({});
    EXPECT_EQ(surface.D2WorldX1(), -4);
}

TEST_F(RunnerTest, AssignmentsWriteThreeParsers) {
    Run({"a:=2", "som:=a*a+1", "$s:=3*a", "w:=$s"});
    EXPECT_EQ(Variable("som"), 5);
    EXPECT_EQ(Variable("som", 2), 5);
    EXPECT_EQ(Variable("som", 3), 5);
    EXPECT_FALSE(runner.Parser(4).HasVariable("som"));
    EXPECT_EQ(Variable("w"), 6);
}

TEST_F(RunnerTest, ParseErrorEndsTheRunButGraphsAreDrawn) {
    runner.Settings().functions[0] = "x^2";
    Run({"p:=1", "q:=onbekend+1", "r:=3"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Oeps");
    EXPECT_EQ(host.messages[0].text,
              "Zorvat kan de uitdrukking: \nonbekend+1\nniet verwerken.\nDe oorzaak kan deze "
              "uitdrukking zelf zijn, maar ook een fout in een voorafgaande programmaregel.");
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_FALSE(runner.Running());
    EXPECT_EQ(Variable("p"), 1);
    EXPECT_FALSE(runner.Parser(1).HasVariable("r"));
    EXPECT_TRUE(DarkAt(2, 4));

    // A new run works.
    Run({"r:=3"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("r"), 3);
}

TEST_F(RunnerTest, EvaluationErrorNamesTheArgumentAsWritten) {
    Run({"$n:=0", "a:=ln($n)", "b:=1/$n"});
    // "$n" inside a larger expression is not replaced, so this one is a parse error.
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("ln($n)"), std::string::npos);

    Run({"a:=ln(0)"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Fout bij de evaluatie van ln(0)");
}

// Lines compiled on the first pass of a loop report a later fault the same way.
TEST_F(RunnerTest, EvaluationErrorOnALaterLoopPassNamesTheLine) {
    Run({"for(i;1;3;1)", "a:=ln(2-i)", "volgende"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Fout bij de evaluatie van ln(2-i)");
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_EQ(Variable("i"), 2);
}

TEST_F(RunnerTest, UnassignedStringVariableIsEmptyAndFailsAsANumber) {
    Run({"$t:=$nooit", "a:=$nooit"});
    EXPECT_EQ(runner.Strings().Get("$t"), "");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Oeps");
    EXPECT_TRUE(runner.LastRunFailed());
}

TEST_F(RunnerTest, ErrorInAFunctionInputStillDrawsTheNextOne) {
    runner.Settings().functions[0] = "x^";
    runner.Settings().functions[1] = "x";
    Run({});
    ASSERT_EQ(host.messages.size(), 1u);
    // No hint about earlier program lines when drawing F..I.
    EXPECT_EQ(host.messages[0].text, "Zorvat kan de uitdrukking: \nx^\nniet verwerken.");
    EXPECT_TRUE(DarkAt(3, 3));
}

TEST_F(RunnerTest, RepeatLineUsesThePreviousCommandWord) {
    Run({"_", "a:=1", "_(b;2)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("b"), 2);
}

TEST_F(RunnerTest, EindEndsTheProgram) {
    Run({"a:=1", "eind", "a:=2"});
    EXPECT_EQ(Variable("a"), 1);
}

TEST_F(RunnerTest, BigIntegerPredicatesAsWholeArguments) {
    runner.Register('A').AssignText("12345678901234567890");
    runner.Register('b').AssignText("-7");
    Run({"g:=?groter#(#a,100)", "k:=?kleiner#(#a,#b)", "e:=?gelijk#(#b,-7)", "o:=?isoneven#(#b)",
         "p:=?ispositief#(#b)", "q:=?kleinergelijk#(#b,-7)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("g"), 1);
    EXPECT_EQ(Variable("k"), 0);
    EXPECT_EQ(Variable("e"), 1);
    EXPECT_EQ(Variable("o"), 1);
    EXPECT_EQ(Variable("p"), 0);
    EXPECT_EQ(Variable("q"), 1);
}

TEST_F(RunnerTest, BadRangeReportsAndLeavesTheRunnerUsable) {
    Run({"xmin=abc"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, engine::kGeneralRunError);
    EXPECT_FALSE(runner.Running());
    Run({"xmin=-5", "a:=1"});
    EXPECT_TRUE(host.messages.empty());

    Run({"xmin=3", "xmax=3"});  // an empty world
    EXPECT_EQ(host.messages.size(), 1u);
    Run({"xmax=5"});
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace

// A program that holds or writes without end stops with a message before memory runs
// out, and the next run works as before.
TEST_F(ProgramTest, ProgramsThatGrowWithoutEndStopWithAMessage) {
    Run({"maak$($a;x)", "herhaal", "samen$($a;$a;$a)", "totdat(0)"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"De teksten van het programma worden "
                                                       "samen groter dan 64 MB; het programma is "
                                                       "gestopt."});
    Run({"herhaal", "schrijf(t;0123456789012345678901234567890123456789)", "totdat(0)"});
    EXPECT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0].substr(0, 40), "Het programma schrijft meer dan 64 MB te");
    runner.Output().Clear();
    runner.Strings().Clear();
    Run({"maak$($b;klein)", "schrijfregel(t;$b)"});
    EXPECT_FALSE(runner.LastRunFailed());
    EXPECT_EQ(runner.Output().Lines().back(), "klein");
}
