// The numerical commands run from program text.
#include <gtest/gtest.h>

#include "program_fixture.h"

namespace {

using NumericalCommandsTest = ProgramTest;
using Lines = std::vector<std::string>;

TEST_F(NumericalCommandsTest, ResultsGoToTheNamedVariable) {
    Run({"integraal(x^2;0;1;1E-10;simpson;I)", "integraal(x^2;0;1;1E-10;gauss;G)",
         "integraal(x^2;1;1;1E-10;kronrod;K)", "nulpunt(x^2-2;0;2;1;1E-12;r)",
         "helling(x^3;2;0.001;h)", "iteratie(cos(x);1;100;c)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_NEAR(static_cast<double>(Variable("I")), 1.0 / 3, 1e-9);
    EXPECT_NEAR(static_cast<double>(Variable("G")), 1.0 / 3, 1e-9);
    EXPECT_EQ(Variable("K"), 0);
    EXPECT_NEAR(static_cast<double>(Variable("r", 3)), 1.4142135623730951, 1e-12);
    EXPECT_NEAR(static_cast<double>(Variable("h")), 12.000001, 1e-9);
    EXPECT_NEAR(static_cast<double>(Variable("c")), 0.739085, 1e-6);
    EXPECT_FALSE(runner.Parser(4).HasVariable("h"));
}

TEST_F(NumericalCommandsTest, UnknownMethodAndFailingFunction) {
    Run({"integraal(x;0;1;1E-6;midden;I)", "klaar:=1"});
    EXPECT_EQ(MessageTexts(),
              Lines{"Onbekende integratiemethode: midden. Kies trapezium, simpson, romberg, gauss "
                    "of kronrod."});
    EXPECT_FALSE(runner.Parser(1).HasVariable("klaar"));

    Run({"integraal(ln(x);-1;1;1E-6;gauss;I)"});
    EXPECT_EQ(MessageTexts(), Lines{"Fout bij de evaluatie van ln(x)"});
}

TEST_F(NumericalCommandsTest, FunctionsOfTheProgramParsers) {
    Run({"L1(3):=4", "a:=L1(3)+groter(2,1)", "b:=ggd(12,18)"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Variable("a"), 5);
    EXPECT_EQ(Variable("b"), 6);
    runner.Settings().functions[0] = "groter(x,0)";
    Run({});
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
