// String commands and predicates, run from program text.
#include <gtest/gtest.h>

#include "program_fixture.h"

namespace {

using StringCommandsTest = ProgramTest;
using Lines = std::vector<std::string>;

TEST_F(StringCommandsTest, CuttingAndJoining) {
    Run({"$a:=ab", "samen$($b;$a;$a)", "mid$($c;hallo wereld;7;3)", "mid$($d;hallo;2;0)",
         "mid$($e;hallo;9;2)", "mid$($f;hallo;-3;2)", "mid$($g;hallo;2;1E30)",
         "mid$($h;h\xc3\xa9llo;2;2)", "lengte$(n;h\xc3\xa9llo)", "pos$(p;ll;hallo)",
         "pos$(q;;hallo)", "pos$(r;L;hallo)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(String("$b"), "abab");
    EXPECT_EQ(String("$c"), "wer");
    EXPECT_EQ(String("$d"), "");
    EXPECT_EQ(String("$e"), "");
    EXPECT_EQ(String("$f"), "ha");
    EXPECT_EQ(String("$g"), "allo");
    EXPECT_EQ(String("$h"), "\xc3\xa9l");
    EXPECT_EQ(Variable("n"), 5);
    EXPECT_EQ(Variable("n", 4), 5);
    EXPECT_EQ(Variable("p"), 3);
    EXPECT_EQ(Variable("q"), 0);
    EXPECT_EQ(Variable("r"), 0);
}

TEST_F(StringCommandsTest, BetweenReplaceAndSplit) {
    Run({"tussen$($a;f(g(x));(;))", "tussen$($b;f(g(x);(;))", "tussen$($c;|a|;|;|)",
         "vervang$($d;aaaa;aa;a)", "vervang$($e;abc;;x)", "split$($l;$r;sleutel=waarde;=)",
         "split$($m;$n;a::b;::)", "split$($o;$p;geen;)"});
    EXPECT_EQ(String("$a"), "g(x)");
    EXPECT_EQ(String("$b"), "f(g(x)");
    EXPECT_EQ(String("$c"), "|a|");
    EXPECT_EQ(String("$d"), "aa");
    EXPECT_EQ(String("$e"), "abc");
    EXPECT_EQ(String("$l"), "sleutel");
    EXPECT_EQ(String("$r"), "waarde");
    EXPECT_EQ(String("$m"), "a");
    EXPECT_EQ(String("$n"), ":b");  // the rest starts after the separator's first character
    EXPECT_EQ(String("$o"), "");
    EXPECT_EQ(String("$p"), "geen");
}

TEST_F(StringCommandsTest, ExpressionTextCanBeEvaluatedLater) {
    Run({"*$($e;x+1;x-1)", "x:=3", "w:=$e", "^$($k;2;$e)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(String("$e"), "(x+1)*(x-1)");
    EXPECT_EQ(Variable("w"), 8);
    EXPECT_EQ(String("$k"), "(2)^((x+1)*(x-1))");
}

TEST_F(StringCommandsTest, NumbersAndRomanNumerals) {
    Run({"getalnaar$($a;1/3)", "getalnaar$($b;10^20)", "getalnaarromeins$($r;1994.9)",
         "romeinsnaargetal$(mmxxvi;j)", "getalnaarromeins$($z;0)"});
    EXPECT_EQ(String("$a"), "0.333333333333333");
    EXPECT_EQ(String("$b"), "1E20");
    EXPECT_EQ(String("$r"), "MCMXCIV");
    EXPECT_EQ(Variable("j"), 2026);
    EXPECT_EQ(String("$z"), "");

    Run({"romeinsnaargetal$(IIII;j)", "k:=1"});
    EXPECT_EQ(MessageTexts(), Lines{"Geen geldig Romeins getal: IIII"});
    EXPECT_TRUE(runner.LastRunFailed());
}

TEST_F(StringCommandsTest, Predicates) {
    Run({"$p:=aBC", "g:=$gelijk$(Abc,$p)", "h:=?gelijk$(Abc,abd)",
         "e:=$equivalent$((x+1)^2,x^2+2*x+1,x,-5,5)", "f:=?equivalent$(x,abs(x),x,-1,1)",
         "$q:=sqrt(x)", "s:=?equivalent$($q,x^0.5,x,-1,1)"});
    EXPECT_EQ(Variable("g"), 1);
    EXPECT_EQ(Variable("h"), 0);
    EXPECT_EQ(Variable("e"), 1);
    EXPECT_EQ(Variable("f"), 0);
    EXPECT_EQ(Variable("s"), 0);  // no value left of 0: not equivalent, no crash

    Run({"e:=?equivalent$(x+,x,x,0,1)"});
    EXPECT_EQ(MessageTexts(), Lines{"Er zit een fout in: x+"});
    EXPECT_EQ(Variable("e"), 0);
}

TEST_F(StringCommandsTest, CoupledFieldsKeepWhatTheUserTyped) {
    Run({"koppel$(user1;$d;AG,BH)", "koppel$(F;$f;x^2)", "koppel$(onzin;$o;$d)"});
    EXPECT_EQ(runner.Interface().fields[0].text, "AG,BH");
    EXPECT_EQ(String("$d"), "AG,BH");
    EXPECT_EQ(runner.Settings().functions[0], "x^2");
    EXPECT_EQ(String("$o"), "$d");  // as written

    runner.Interface().fields[0].text = "CE";
    Run({"koppel$(user1;$d;AG,BH)"});
    EXPECT_EQ(String("$d"), "CE");
    EXPECT_EQ(runner.Interface().fields[0].text, "CE");
}

TEST_F(StringCommandsTest, ChoiceIsOneOfTheList) {
    for (int i = 0; i < 20; ++i) {
        Run({"keus$($k;rood,groen,blauw)"});
        const std::string k = String("$k");
        EXPECT_TRUE(k == "rood" || k == "groen" || k == "blauw") << k;
    }
}

using TextOutputTest = ProgramTest;

TEST_F(TextOutputTest, PanelLinesAndOutputWindow) {
    runner.Panel().SetFixedText("Presentatie");
    Run({"rtfregel", "rtftekst(a)", "rtftekst(b)", "rtftab", "rtfuitvoer(1/4)", "rtfregel",
         "rtftekst(c)", "schrijf(c;65)", "schrijf(t;B)", "schrijfregel(u;2/3)",
         "schrijfregel(tekst;$niets)", "schrijf(onbekend;1)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(runner.Panel().ProgramLines(), (Lines{"", " ab\t0.25", " c"}));
    EXPECT_EQ(runner.Output().Lines(), (Lines{"AB", "0.666666666666666667", ""}));
    EXPECT_TRUE(runner.Output().ShowRequested());

    Run({"rtftekst(tweede)", "schrijfregel(t;x)"});
    EXPECT_EQ(runner.Panel().Text(), "Presentatietweede");
    EXPECT_EQ(runner.Output().Lines(), (Lines{"AB", "0.666666666666666667", "", "x"}));
}

TEST_F(TextOutputTest, BigIntegerRegistersAsText) {
    runner.Register('a').AssignText("123456789012345678901234567890");
    Run({"schrijfregel(#;#A)", "schrijfregel(#;a)"});
    EXPECT_EQ(runner.Output().Lines(), (Lines{"123456789012345678901234567890"}));
    EXPECT_TRUE(runner.LastRunFailed());
}

}  // namespace
