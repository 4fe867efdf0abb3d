// Control flow and procedures, run from program text.
#include <gtest/gtest.h>

#include <cstdlib>

#include "program_fixture.h"

namespace {

using StatementsTest = ProgramTest;
using Lines = std::vector<std::string>;

TEST_F(StatementsTest, CountedLoopsRunTheirBodyAtLeastOnce) {
    const std::pair<std::string, Lines> cases[] = {
        {"for(i;1;0;1)", {"1"}},
        {"for(i;0;1;0.25)", {"0", "0.25", "0.5", "0.75", "1"}},
        {"met(i;5;1;-2)", {"5", "3", "1"}},
        {"for(i;1;10;0)", {"1"}},
    };
    for (const auto& [loop, values] : cases) {
        runner.Output().Clear();
        Run({loop, "schrijfregel(u;i)", "volgende"});
        EXPECT_TRUE(host.messages.empty()) << loop;
        EXPECT_EQ(runner.Output().Lines(), values) << loop;
    }
}

TEST_F(StatementsTest, AssigningTheLoopVariableEndsTheLoopWithAMessage) {
    Run({"n:=0", "for(i;1;5;1)", "i:=10", "n:=n+1", "volgende", "k:=1"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "foutje");
    EXPECT_EQ(host.messages[0].text, "Toekenning aan lusvariabele niet toegestaan");
    EXPECT_EQ(Variable("k"), 1);  // the run goes on after volgende
    EXPECT_FALSE(runner.LastRunFailed());
}

TEST_F(StatementsTest, FalseConditionSkipsNestedBlocksWhole) {
    Run({"a:=0", "als(0)", "als(1)", "a:=1", "anders", "a:=2", "eindals", "a:=3", "anders",
         "a:=a+10", "eindals", "b:=1"});
    EXPECT_EQ(Variable("a"), 10);
    EXPECT_EQ(Variable("b"), 1);

    Run({"a:=0", "als(1)", "a:=1", "als(0)", "a:=2", "anders", "a:=a+5", "eindals", "anders",
         "a:=100", "eindals"});
    EXPECT_EQ(Variable("a"), 6);
}

// From the second pass on, loops of assignments and conditions run without their
// handlers: every pass must still do what the handlers do.
TEST_F(StatementsTest, LoopPassesAfterTheFirstKeepTheStatementsMeaning) {
    struct Case {
        Lines program;
        std::vector<std::pair<const char*, expr::Real>> values;
        Lines messages;
    };
    const Case cases[] = {
        {{"a:=0", "b:=0", "c:=0", "for(i;1;9;1)", "als(heav(i-4.5))", "als(heav(i-7.5))", "a:=a+1",
          "anders", "b:=b+1", "eindals", "anders", "c:=c+1", "eindals", "volgende"},
         {{"a", 2}, {"b", 3}, {"c", 4}, {"i", 9}},
         {}},
        // a variable first made on the third pass
        {{"s:=0", "for(i;1;4;1)", "als(heav(i-2.5))", "m:=i*10", "eindals", "s:=s+i", "volgende"},
         {{"m", 40}, {"s", 10}},
         {}},
        {{"n:=0", "met(i;1;5;1)", "n:=n+1", "als(1-zero(i-3))", "i:=10", "eindals", "volgende",
          "k:=1"},
         {{"n", 3}, {"k", 1}, {"i", 10}},
         {"Toekenning aan lusvariabele niet toegestaan"}},
        // a fault on the third pass stores nothing
        {{"y:=7", "for(i;1;5;1)", "y:=1/(i-3)", "volgende"},
         {{"y", -1}, {"i", 3}},
         {"Fout bij de evaluatie van 1/(i-3)"}},
        // a body with a line for its handler runs through the handlers
        {{"s:=0", "for(i;1;3;1)", "s:=s+i", "inc(s;100)", "volgende"}, {{"s", 306}}, {}},
        {{"for(i;5;1;-2)", "als(0)", "anders", "t:=i", "eindals", "volgende"}, {{"t", 1}}, {}},
    };
    for (const Case& c : cases) {
        Run(c.program);
        EXPECT_EQ(MessageTexts(), c.messages) << c.program[0];
        for (const auto& [name, value] : c.values) {
            EXPECT_EQ(Variable(name), value) << c.program[0] << " " << name;
            EXPECT_EQ(Variable(name, 3), value) << c.program[0] << " " << name;
        }
    }
    Run({"for(i;1;5;1)", "y:=1/(i-3)", "volgende"});
    EXPECT_EQ(runner.FailedStatement(), 5u);  // the maak of y:=1/(i-3)
}

// Whole starts and steps count in integers, the rest adds the step in 80 bits:
// each value must be the one that adding the step gives, on both sides of the
// limits of counting, with the body writing the variable's own value back.
TEST_F(StatementsTest, CountedLoopsTakeTheValuesOfAddingTheStep) {
    struct Case {
        const char* start;
        const char* end;
        const char* step;
    };
    const Case cases[] = {
        {"1", "10", "1"},
        {"10", "1", "-3"},
        {"0.5", "3", "1"},
        {"1", "2", "0.25"},
        {"1", "10.1", "1"},  // an end that no double holds
        {"10", "-0.5", "-3"},
        {"1", "-1E4000", "1"},  // ends beyond any integer
        {"1", "1E4000", "-1"},
        {"1", "5", "0"},     // one pass
        {"4611686018427387900", "4611686018427387910", "3"},  // past 2^62
        {"-4611686018427387900", "-4611686018427387910", "-3"},
        {"0", "36028797018963968", "18014398509481984"},  // a step of 2^54
    };
    for (const Case& c : cases) {
        const auto value = [](const char* text) { return std::strtold(text, nullptr); };
        expr::Real sum = 0, last = 0;
        const expr::Real end = value(c.end), step = value(c.step);
        int passes = 0;
        for (expr::Real i = value(c.start);; i += step) {
            sum += i;
            last = i;
            ++passes;
            const expr::Real next = i + step;
            if (!((step > 0 && next <= end) || (step < 0 && next >= end))) break;
        }
        Run({"s:=0", "n:=0", std::string("for(i;") + c.start + ";" + c.end + ";" + c.step + ")",
             "s:=s+i", "n:=n+1", "i:=i", "volgende"});
        EXPECT_TRUE(host.messages.empty()) << c.start;
        EXPECT_EQ(Variable("n"), passes) << c.start;
        EXPECT_EQ(Variable("s"), sum) << c.start;
        EXPECT_EQ(Variable("i"), last) << c.start;
    }
}

TEST_F(StatementsTest, RepeatUntilRunsAtLeastOnce) {
    Run({"n:=0", "herhaal", "n:=n+1", "totdat(1)", "m:=0", "herhaal", "m:=m+1",
         "totdat(1-zero(m-4))"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("n"), 1);
    EXPECT_EQ(Variable("m"), 4);
}

TEST_F(StatementsTest, ListLoopTakesItsValuesFromAStringVariable) {
    Run({"$lijst:=2,3,5", "s:=0", "voorelke(p;$lijst)", "s:=s+p", "volgende"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("s"), 10);

    Run({"voorelke(p;$leeg)", "s:=99", "volgende", "k:=1"});
    EXPECT_EQ(MessageTexts(), Lines{"Ongeldige expressie: $leeg"});
    EXPECT_EQ(Variable("s"), 10);
    EXPECT_EQ(Variable("k"), 1);
}

TEST_F(StatementsTest, IncAddsAPlainNumberOnly) {
    Run({"n:=1", "inc(n;2)", "inc(n;-0.5)"});
    EXPECT_EQ(Variable("n"), 2.5);
    EXPECT_EQ(Variable("n", 3), 2.5);
    Run({"a:=1", "inc(n;a)"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_EQ(MessageTexts(), Lines{engine::kGeneralRunError});
}

TEST_F(StatementsTest, VariableParameterWritesBackAndRestoresTheGlobal) {
    Run({"x:=1", "y:=50", "proc verdubbel(x)", "eind", "defproc verdubbel(^y)", "y:=y*2",
         "eindproc"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("x"), 2);
    EXPECT_EQ(Variable("y"), 50);
}

TEST_F(StatementsTest, ValueParametersAndLocalsAreRestored) {
    Run({"n:=7", "t:=3", "proc f(2;n+1)", "eind", "defproc f(n;m)", "local(t)", "t:=n*m", "r:=t",
         "eindproc"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("r"), 16);
    EXPECT_EQ(Variable("n"), 7);
    EXPECT_EQ(Variable("t"), 3);
    EXPECT_FALSE(runner.Parser(1).HasVariable("m") && Variable("m") != 0);
}

TEST_F(StatementsTest, RecursionWorks99LevelsDeepAndStopsAtTheHundredth) {
    const Lines factorial = {
        "proc fac(n)",   "eind",   "defproc fac(k)", "als(1-zero(k-1))",  "f:=1",    "anders",
        "proc fac(k-1)", "f:=f*k", "eindals",        "schrijfregel(u;f)", "eindproc"};
    Lines program = factorial;
    program.insert(program.begin(), "n:=99");
    Run(program);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(runner.Output().Lines().size(), 99u);
    EXPECT_EQ(runner.Output().Lines()[4], "120");
    EXPECT_NEAR(static_cast<double>(Variable("f") / 9.33262154439441526817e155L), 1.0, 1e-15);

    program[0] = "n:=100";
    runner.Output().Clear();
    Run(program);
    EXPECT_EQ(MessageTexts(), Lines{"Het aantal geneste procedures is beperkt tot 100"});
    EXPECT_TRUE(runner.LastRunFailed());
    EXPECT_TRUE(runner.Output().Lines().empty());
}

TEST_F(StatementsTest, ProcedureMessagesEndTheRun) {
    Run({"proc teken(1)", "a:=1"});
    EXPECT_EQ(MessageTexts(), Lines{"eind niet gevonden"});
    EXPECT_FALSE(runner.Parser(1).HasVariable("a") && Variable("a") == 1);

    Run({"proc teken(1)", "b:=1", "eind", "defproc tekenen(x)", "eindproc"});
    EXPECT_EQ(MessageTexts(), Lines{"proc teken niet gevonden."});
    EXPECT_TRUE(runner.LastRunFailed());
}

TEST_F(StatementsTest, ExtraCallArgumentsAreNotRunAsCommands) {
    Run({"proc p(1;2;3)", "eind", "defproc p(a)", "eindproc"});
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(StatementsTest, TableLimitsGiveAMessage) {
    Lines loops;
    for (int i = 0; i < 21; ++i) loops.push_back("for(i" + std::to_string(i) + ";1;1;1)");
    for (int i = 0; i < 21; ++i) loops.push_back("volgende");
    Run(loops);
    EXPECT_EQ(MessageTexts(), Lines{"Er kunnen hoogstens 20 lussen tegelijk open zijn."});

    Run(Lines(101, "herhaal"));
    EXPECT_EQ(MessageTexts(), Lines{"Er kunnen hoogstens 100 herhaal-lussen tegelijk open zijn."});

    Run({"proc p(1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17)", "eind",
         "defproc p(a;b;c;d;e;f;g;h;i;j;k;l;m;n;o;q;r)", "eindproc"});
    EXPECT_EQ(MessageTexts(),
              Lines{"Een procedure kan hoogstens 16 parameters en lokale variabelen hebben."});
}

TEST_F(StatementsTest, BrokenBlocksNeverHang) {
    const Lines programs[] = {
        {"als(0)", "a:=1"},
        {"herhaal", "a:=1"},
        {"for(i;1;3;1)", "a:=1"},
        {"volgende"},
        {"totdat(1)"},
        {"eindproc"},
        {"eind", "defproc p", "a:=1"},
        {"anders", "a:=1"},
        Lines(10000, "als(1)"),
        Lines(10000, "anders"),
    };
    for (const auto& program : programs) {
        Run(program);
        EXPECT_FALSE(runner.Running());
        EXPECT_LE(host.messages.size(), 1u);
    }
}

class StopAfterEvents : public RecordingHost {
public:
    int events = 0;
    void ProcessEvents() override { ++events; }
    bool TakeStopRequest() override { return events >= 3; }
};

TEST(StatementsStop, StopRequestEndsRunawayLoopsAtTheirEnd) {
    EnsureGuiApplication();
    StopAfterEvents host;
    plot::TPlotSurface surface(50, 50);
    engine::Runner runner(host, surface);
    runner.Program() = engine::CompileProgram(
        {"n:=0", "herhaal", "n:=n+1", "totdat(0)", "for(i;1;1E9;1)", "volgende", "k:=1"});
    runner.Run();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(runner.Parser(1).ReadVariable("n"), 3);
    EXPECT_EQ(runner.Parser(1).ReadVariable("k"), 1);
    EXPECT_LT(runner.Parser(1).ReadVariable("i"), 10);

    // With checking off no events are processed inside loops.
    host.events = 0;
    runner.Program() = engine::CompileProgram({"checking=nee", "for(i;1;100;1)", "volgende"});
    runner.Run();
    EXPECT_EQ(host.events, 0);
    EXPECT_EQ(runner.Parser(1).ReadVariable("i"), 100);
}

class SleepRecorder : public RecordingHost {
public:
    std::vector<int> sleeps;
    void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
};

TEST(StatementsPause, PauseSleepsRoundedAndIgnoresNegativeTimes) {
    EnsureGuiApplication();
    SleepRecorder host;
    plot::TPlotSurface surface(50, 50);
    engine::Runner runner(host, surface);
    runner.Program() = engine::CompileProgram({"pauze(20.6)", "pauze(-5)", "pauze(0)"});
    runner.Run();
    EXPECT_EQ(host.sleeps, (std::vector<int>{21, 0}));
    EXPECT_FALSE(runner.Paused());
}

}  // namespace
