// The symbolic commands and impliciet3, run from program text.
#include <gtest/gtest.h>

#include <cmath>

#include "program_fixture.h"
#include "symbolic.h"

namespace {

using SymbolicCommandsTest = ProgramTest;

TEST_F(SymbolicCommandsTest, RequestsAreBuiltFromTheArguments) {
    Run({"$e:=x^2", "diff$($d;$e;x)", "diffn$($n;x^3;x;2)", "int$($i;x^2;x)", "subst$($s;x+1;x;3)",
         "symb$($l;LATEX(x/2))"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(String("$d"), engine::SymbolicCall("diff(x^2,x)"));
    EXPECT_EQ(String("$n"), engine::SymbolicCall("diff(x^3,x,2)"));
    EXPECT_EQ(String("$i"), engine::SymbolicCall("int(x^2,x)"));
    EXPECT_EQ(String("$s"), engine::SymbolicCall("subst(x+1,x,3)"));
    EXPECT_EQ(String("$l"), engine::SymbolicCall("LATEX(x/2)"));
    EXPECT_FALSE(String("$d").empty());
}

TEST(SymbolicCall, AnswersAreCutTo999Characters) {
    std::string sum = "x1";
    for (int i = 2; i < 400; ++i) sum += "+x" + std::to_string(i);
    const std::string answer = engine::SymbolicCall(sum);
    EXPECT_LE(answer.size(), 999u);
    char buffer[1000];
    const int length = symbolic_calculate(sum.c_str(), buffer, sizeof buffer);
    EXPECT_EQ(answer.size(), std::min<size_t>(std::abs(length), 999));
}

TEST_F(SymbolicCommandsTest, ImplicitTraceFollowsTheCircle) {
    Run({"assen=geen", "impliciet3(x^2+y^2-4;2.3;0.2;0.01;2000)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(DarkAt(2, 0));
    EXPECT_TRUE(DarkAt(0, 2));
    EXPECT_TRUE(DarkAt(-2, 0));
    EXPECT_TRUE(DarkAt(std::sqrt(2.0L), -std::sqrt(2.0L)));
    EXPECT_FALSE(DarkAt(0, 0));

    // A trace ends where y falls below 1.4 times a positive lower bound of the world.
    Run({"assen=geen", "ymin=1", "ymax=10", "impliciet3(x^2+(y-5)^2-16;4;5;0.01;5000)"});
    EXPECT_TRUE(DarkAt(4, 5));
    EXPECT_TRUE(DarkAt(0, 9));
    EXPECT_FALSE(DarkAt(0, 1.1L));
    Run({"ymin=-5", "ymax=5"});

    // Far from the curve neither correction reaches it: nothing is drawn, no message.
    Run({"assen=geen", "impliciet3(x^2+y^2+1;0;0;0.01;100)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(DarkAt(0, 0));
}

}  // namespace
