// Big-integer commands and predicates, run from program text.
#include <gtest/gtest.h>

#include "bigint/integer.h"
#include "program_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class BigIntProgramTest : public ProgramTest {
protected:
    std::string Reg(char letter) { return runner.Register(letter).ToText(); }
    Lines RunForOutput(const std::vector<std::string>& source) {
        runner.Output().Clear();
        Run(source);
        return runner.Output().Lines();
    }
};

TEST_F(BigIntProgramTest, OperandsAndAssignments) {
    Run({"maak#(#a;12345678901234567890)", "maak#(#b;2^10)", "getalnaar#(#c;2^10)", "maak#(#D;-42)",
         "maak#(#e;#d)", "#f:=abc", "getalnaar#(#g;2^100)", "getalnaar#(#h;-7.9)", "$s:=1 000 001",
         "maak#(#i;$s)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Reg('a'), "12345678901234567890");
    EXPECT_EQ(Reg('b'), "210");  // only the digits of the text count
    EXPECT_EQ(Reg('c'), "1024");
    EXPECT_EQ(Reg('d'), "-42");  // #D and #d are one register
    EXPECT_EQ(Reg('e'), "-42");
    EXPECT_EQ(Reg('f'), "0");
    EXPECT_EQ(Reg('g'), "1267650600228229401496703205376");
    EXPECT_EQ(Reg('h'), "-7");
    EXPECT_EQ(Reg('i'), "1000001");
}

TEST_F(BigIntProgramTest, ArithmeticCommands) {
    Run({"#a:=100",         "divmod#(#a;7;#b)",
         "#c:=-7",          "mod#(#c;2)",
         "#d:=-7",          "div#(#d;2)",
         "#e:=10",          "nCr#(#e;3)",
         "#f:=2",           "nCr#(#f;3)",
         "#g:=10",          "nPr#(#g;3)",
         "#h:=3",           "macht#(#h;40)",
         "#i:=3",           "modpow#(#i;200;1000007)",
         "#j:=6",           "invmod#(#j;9)",
         "#k:=3",           "invmod#(#k;7)",
         "#l:=-16",         "wortel#(#l)",
         "#m:=1000000",     "nwortel#(#m;3)",
         "#n:=12",          "ggd#(#n;-18)",
         "#s:=5",           "modpow#(#s;0;1)",
         "#t:=100",         "nwortel#(#t;-3)",
         "#o:=5",           "telop#(#o;#o)",
         "trekaf#(#o;100)", "#p:=-9",
         "kwadraat#(#p)",   "#q:=100",
         "nCr#(#q;98)",     "#r:=2",
         "macht#(#r;-1)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Reg('a'), "14");
    EXPECT_EQ(Reg('b'), "2");
    EXPECT_EQ(Reg('c'), "-1");  // the remainder keeps the dividend's sign
    EXPECT_EQ(Reg('d'), "-3");
    EXPECT_EQ(Reg('e'), "120");
    EXPECT_EQ(Reg('f'), "0");
    EXPECT_EQ(Reg('g'), "720");
    EXPECT_EQ(Reg('h'), "12157665459056928801");
    bigint::TInteger expected(1);
    for (int i = 0; i < 200; ++i) {
        expected.Multiply(bigint::TInteger(3));
        expected.ModBy(bigint::TInteger(1000007));
    }
    EXPECT_EQ(Reg('i'), expected.ToText());
    EXPECT_EQ(Reg('j'), "0");
    EXPECT_EQ(Reg('k'), "5");
    EXPECT_EQ(Reg('l'), "0");
    EXPECT_EQ(Reg('m'), "100");
    EXPECT_EQ(Reg('n'), "6");
    EXPECT_EQ(Reg('o'), "-90");
    EXPECT_EQ(Reg('p'), "81");
    EXPECT_EQ(Reg('q'), "4950");
    EXPECT_EQ(Reg('r'), "0");
    EXPECT_EQ(Reg('s'), "0");  // everything is 0 modulo 1
    EXPECT_EQ(Reg('t'), "0");
}

TEST_F(BigIntProgramTest, ComparisonsAndPredicates) {
    Run({"#a:=12345678901234567890", "vergelijk#(#a;100;r)", "#b:=12345678901234567891",
         "vergelijk#(#a;#b;s)", "vergelijk#(#a;1E30;t)", "naargetal#(#a;u)", "g:=?groter#(#a,100)",
         "k:=?kleiner#(#a,#b)", "p:=?ispriem#(#c)", "#c:=1000003", "q:=?ispriem#(#c)",
         "o:=?isoneven#(#c)", "#d:=-5", "w:=?ispriem#(#d)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("r"), 1);
    EXPECT_EQ(Variable("r", 4), 1);
    EXPECT_EQ(Variable("s"), -1);
    EXPECT_EQ(Variable("t"), -1);
    EXPECT_EQ(Variable("u"), 12345678901234567890.0L);
    EXPECT_EQ(Variable("u", 4), 12345678901234567890.0L);
    EXPECT_EQ(Variable("g"), 1);
    EXPECT_EQ(Variable("k"), 1);
    EXPECT_EQ(Variable("q"), 1);
    EXPECT_EQ(Variable("o"), 1);
    EXPECT_EQ(Variable("w"), 0);
}

TEST_F(BigIntProgramTest, FactorsAndPrimes) {
    Run({"#a:=91", "factor#(#a)", "#b:=97", "factor#(#b)", "#c:=13", "volgendepriem#(#c)", "#d:=0",
         "volgendepriem#(#d)", "#e:=2", "volgendepriem#(#e)", "#f:=0", "factor#(#f)", "#g:=1",
         "factor#(#g)", "#h:=-91", "factor#(#h)", "#i:=1000000000100000000002379", "factor#(#i)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Reg('a'), "7");
    EXPECT_EQ(Reg('b'), "97");
    EXPECT_EQ(Reg('c'), "17");
    EXPECT_EQ(Reg('d'), "2");
    EXPECT_EQ(Reg('e'), "3");
    EXPECT_EQ(Reg('f'), "0");
    EXPECT_EQ(Reg('g'), "1");
    EXPECT_EQ(Reg('h'), "7");
    EXPECT_TRUE(Reg('i') == "1000000000039" || Reg('i') == "1000000000061") << Reg('i');
}

class StopAfterEvents : public RecordingHost {
public:
    int events = 0;
    int stopAfter = 1000000;
    void ProcessEvents() override { ++events; }
    bool TakeStopRequest() override { return events >= stopAfter; }
};

TEST(BigIntSearch, FactorKeepsTheWindowResponsiveAndStopsOnRequest) {
    EnsureGuiApplication();
    StopAfterEvents host;
    plot::TPlotSurface surface(50, 50);
    engine::Runner runner(host, surface);
    runner.Program() =
        engine::CompileProgram({"#a:=1000000000100000000002379", "factor#(#a)", "k:=1"});
    runner.Run();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_GT(host.events, 1);
    EXPECT_EQ(runner.Parser(1).ReadVariable("k"), 1);
    const std::string factor = runner.Register('a').ToText();
    EXPECT_TRUE(factor == "1000000000039" || factor == "1000000000061") << factor;

    // Escape during the search: the number stays and the program goes on.
    host.events = 0;
    host.stopAfter = 3;
    runner.Program() =
        engine::CompileProgram({"#b:=1000000000100000000002379", "factor#(#b)", "m:=1"});
    runner.Run();
    EXPECT_EQ(host.events, 3);
    EXPECT_EQ(runner.Register('b').ToText(), "1000000000100000000002379");
    EXPECT_EQ(runner.Parser(1).ReadVariable("m"), 1);
}

// A prime test of thousands of digits could not be stopped: Escape waited for all ten
// rounds, and with millions of digits for each product (found by fuzzing, with
// numbers of the form x^(2^n)).
TEST(BigIntSearch, APrimeTestOfThousandsOfDigitsStopsOnRequest) {
    EnsureGuiApplication();
    StopAfterEvents host;
    host.stopAfter = 3;
    plot::TPlotSurface surface(50, 50);
    engine::Runner runner(host, surface);
    // 2^4423 - 1 is prime: every round would run to its end.
    runner.Program() =
        engine::CompileProgram({"#a:=2", "macht#(#a;4423)", "trekaf#(#a;1)", "p:=?ispriem#(#a)"});
    runner.Run();
    EXPECT_EQ(host.events, 3);
    EXPECT_EQ(runner.Parser(1).ReadVariable("p"), 0);

    host.events = 0;
    host.stopAfter = 1000000;
    runner.Run();
    EXPECT_GT(host.events, 10);
    EXPECT_EQ(runner.Parser(1).ReadVariable("p"), 1);

    // A million digits: each product took seconds, and the first request came after fifteen.
    host.events = 0;
    host.stopAfter = 3;
    runner.Program() = engine::CompileProgram(
        {"#a:=2", "macht#(#a;3321929)", "trekaf#(#a;1)", "p:=?ispriem#(#a)", "k:=1"});
    runner.Run();
    EXPECT_EQ(host.events, 3);
    EXPECT_EQ(runner.Parser(1).ReadVariable("p"), 0);
    EXPECT_EQ(runner.Parser(1).ReadVariable("k"), 1);

    // factor# began with a prime test that asked nobody.
    host.events = 0;
    runner.Program() = engine::CompileProgram(
        {"#a:=2", "macht#(#a;3321929)", "trekaf#(#a;1)", "factor#(#a)", "m:=1"});
    runner.Run();
    EXPECT_LE(host.events, 6);
    EXPECT_EQ(runner.Parser(1).ReadVariable("m"), 1);
}

TEST_F(BigIntProgramTest, FaultsAreShownAndTheProgramGoesOn) {
    Run({"#a:=42", "div#(#a;0)", "#b:=42", "mod#(#b;#z)", "#c:=5", "divmod#(#c;abc;#d)", "#e:=5",
         "modpow#(#e;3;0)", "k:=1"});
    EXPECT_EQ(MessageTexts(), (Lines{"Division Overflow", "Division Overflow", "Division Overflow",
                                     "Division Overflow"}));
    EXPECT_FALSE(runner.LastRunFailed());
    EXPECT_EQ(Variable("k"), 1);
    EXPECT_EQ(Reg('a'), "0");
    EXPECT_EQ(Reg('b'), "42");
    EXPECT_EQ(Reg('c'), "0");
    EXPECT_EQ(Reg('d'), "5");
    EXPECT_EQ(Reg('e'), "5");
}

TEST_F(BigIntProgramTest, OversizedRequestsAreRefused) {
    const struct {
        std::vector<std::string> program;
        const char* message;
    } cases[] = {
        {{"#a:=-1", "faculteit#(#a)"}, "faculteit#: het getal moet tussen 0 en 100000 liggen"},
        {{"#a:=100001", "faculteit#(#a)"}, "faculteit#: het getal moet tussen 0 en 100000 liggen"},
        {{"#a:=2", "macht#(#a;10^15)"},
         "macht#: de uitkomst wordt te groot (meer dan vijf miljoen cijfers)"},
        {{"#a:=3", "macht#(#a;11000000)"},
         "macht#: de uitkomst wordt te groot (meer dan vijf miljoen cijfers)"},
        {{"#a:=-1", "nPr#(#a;10^12)"},
         "nPr#: de uitkomst wordt te groot (meer dan vijf miljoen cijfers)"},
        {{"#a:=99999999999999999999", "nCr#(#a;3)"}, "nCr#: het getal past niet in 64 bits"},
        {{"#a:=1", "getalnaar#(#a;1/0)"}, nullptr},
    };
    for (const auto& c : cases) {
        Run(c.program);
        EXPECT_TRUE(runner.LastRunFailed()) << c.program.back();
        if (c.message != nullptr) {
            EXPECT_EQ(MessageTexts(), Lines{c.message}) << c.program.back();
        }
    }
    Run({"#a:=-1", "macht#(#a;10^15)", "#b:=1", "macht#(#b;-3)", "#c:=100000", "faculteit#(#c)",
         "#d:=7", "nCr#(#d;10^15)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Reg('a'), "1");  // an even power of -1
    EXPECT_EQ(Reg('b'), "1");
    EXPECT_EQ(runner.Register('c').ToText().size(), 456574U);
    EXPECT_EQ(Reg('d'), "0");
}

TEST_F(BigIntProgramTest, ProgramPrintsFibonacciFactorialPrimesAndFactors) {
    const Lines output = RunForOutput({
        "#a:=0",
        "#b:=1",
        "for(i;1;1000;1)",
        "maak#(#c;#a)",
        "telop#(#c;#b)",
        "maak#(#a;#b)",
        "maak#(#b;#c)",
        "volgende",
        "schrijfregel(#;#a)",
        "#f:=1000",
        "faculteit#(#f)",
        "schrijfregel(#;#f)",
        "#p:=1",
        "for(i;1;100;1)",
        "volgendepriem#(#p)",
        "schrijfregel(#;#p)",
        "volgende",
        "#n:=18446744073709551617",
        "herhaal",
        "maak#(#d;#n)",
        "factor#(#d)",
        "schrijfregel(#;#d)",
        "div#(#n;#d)",
        "totdat(?gelijk#(#n,1))",
    });
    EXPECT_TRUE(host.messages.empty());
    ASSERT_GE(output.size(), 104U);
    EXPECT_EQ(output[0],
              "434665576869374564356885276750406258025646605173717804024817290895365554179490518904"
              "038798400792551692959225930803226347752096896232398733224711616429964409065331879382"
              "98969649928516003704476137795166849228875");
    bigint::TInteger factorial(1);
    for (int i = 2; i <= 1000; ++i) factorial.Multiply(bigint::TInteger(i));
    EXPECT_EQ(output[1], factorial.ToText());
    std::vector<std::string> primes;
    for (int n = 2; primes.size() < 100; ++n) {
        bool prime = true;
        for (int d = 2; d * d <= n; ++d) prime = prime && n % d != 0;
        if (prime) primes.push_back(std::to_string(n));
    }
    EXPECT_EQ(Lines(output.begin() + 2, output.begin() + 102), primes);
    EXPECT_EQ(Lines(output.begin() + 102, output.end()), (Lines{"274177", "67280421310721"}));
}

}  // namespace
