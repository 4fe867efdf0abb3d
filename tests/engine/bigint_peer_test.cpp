// The big-integer calculator against Python's integers and SymPy, and the outside
// factoring stage against real PARI/GP.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "bigint/big_calculator.h"
#include "bigint/factorisation.h"
#include "engine/outside_factoring.h"
#include "peer_tools.h"
#include "program_fixture.h"
#include "test_folder.h"

namespace {

namespace fs = std::filesystem;

std::string RandomDigits(std::mt19937_64& random, int digits) {
    std::string text(1, static_cast<char>('1' + random() % 9));
    for (int i = 1; i < digits; ++i) text += static_cast<char>('0' + random() % 10);
    return (random() % 4 == 0 ? "-" : "") + text;
}

// Python checks every answer; the window's grouping dots are taken out there.
constexpr const char* kChecker = R"(
import math, sys
from sympy import isprime
if hasattr(sys, 'set_int_max_str_digits'): sys.set_int_max_str_digits(0)
def trunc_div(x, y):
    q = abs(x) // abs(y)
    return q if (x < 0) == (y < 0) else -q
def iroot(x, n):
    lo, hi = 0, 1 << (x.bit_length() // n + 1)
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if mid ** n <= x: lo = mid
        else: hi = mid - 1
    return lo
bad = 0
for line in open(sys.argv[1]):
    op, x, y, z, answer = line.rstrip('\n').split('\t')
    x, y, z = int(x or 0), int(y or 0), int(z or 0)
    if op == 'add': want = x + y
    elif op == 'sub': want = x - y
    elif op == 'mul': want = x * y
    elif op == 'div': want = trunc_div(x, y)
    elif op == 'mod': want = x - trunc_div(x, y) * y
    elif op == 'gcd': want = math.gcd(x, y)
    elif op == 'square': want = x * x
    elif op == 'sqrt': want = math.isqrt(x)
    elif op == 'root': want = iroot(x, y)
    elif op == 'pow': want = x ** y
    elif op == 'powmod': want = pow(x, y, z)
    elif op == 'inv': want = pow(x, -1, y)
    elif op == 'ncr': want = math.comb(x, y)
    elif op == 'npr': want = math.perm(x, y)
    elif op == 'fac': want = math.factorial(x)
    elif op == 'prime': want = 'misschien priem' if isprime(x) else 'niet priem'
    got = answer if op == 'prime' else int(answer.replace('.', ''))
    if got != want:
        bad += 1
        print(op, x, y, z, 'gave', answer, 'want', want)
print('checked, wrong:', bad)
)";

TEST(BigCalculatorPeer, EveryOperationAgreesWithPythonsIntegers) {
    const fs::path folder = MakeTestFolder();
    std::mt19937_64 random(20261209);
    std::ofstream cases(folder / "cases.tsv");
    int count = 0;
    const auto run = [&](const char* name, const std::string& x, const std::string& y,
                         const std::string& z) {
        const auto answer = bigint::Calculate(*bigint::OperationNamed(name), x, y, z);
        ASSERT_FALSE(answer.refused) << name << " " << x << " " << y << ": " << answer.message;
        cases << name << '\t' << x << '\t' << y << '\t' << z << '\t' << answer.answer << '\n';
        ++count;
    };
    for (int round = 0; round < 25; ++round) {
        const int size = 1 + static_cast<int>(random() % 500);
        const std::string x = RandomDigits(random, size);
        const std::string y = RandomDigits(random, 1 + static_cast<int>(random() % 500));
        const std::string positiveX = x[0] == '-' ? x.substr(1) : x;
        const std::string positiveY = y[0] == '-' ? y.substr(1) : y;
        for (const char* name : {"add", "sub", "mul", "div", "mod", "gcd", "square"}) {
            run(name, x, y, "");
        }
        run("sqrt", positiveX, "", "");
        run("root", positiveX, std::to_string(2 + random() % 9), "");
        run("pow", RandomDigits(random, 1 + static_cast<int>(random() % 20)),
            std::to_string(random() % 60), "");
        const std::string modulus = RandomDigits(random, 1 + static_cast<int>(random() % 300));
        run("powmod", positiveX, positiveY, modulus[0] == '-' ? modulus.substr(1) : modulus);
        run("ncr", std::to_string(random() % 2000), std::to_string(random() % 80), "");
        run("npr", positiveX.substr(0, 30), std::to_string(random() % 40), "");
        run("fac", std::to_string(random() % 3000), "", "");
        run("prime", positiveX.substr(0, 1 + random() % 40), "", "");
    }
    // Inverses where they exist: a prime modulus.
    for (const char* prime : {"1000003", "170141183460469231731687303715884105727"}) {
        run("inv", RandomDigits(random, 60).substr(1), prime, "");
    }
    cases.close();
    std::ofstream(folder / "check.py") << kChecker;
    const ToolResult check = RunTool("python3 '" + (folder / "check.py").string() + "' '" +
                                     (folder / "cases.tsv").string() + "'");
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_NE(check.output.find("checked, wrong: 0"), std::string::npos) << check.output;
    std::cout << count << " operations checked\n";
    fs::remove_all(folder);
}

struct Semiprime {
    int digits;
    const char* p;
    const char* q;
};

constexpr Semiprime kSemiprimes[] = {
    {15, "155564639800637", "106797434004593"},
    {20, "11736392818365009979", "13960482443532128003"},
    {25, "1524239605277427685216481", "1290943336135701033735329"},
    {30, "133633875393759633089593145317", "189036763918308522137049928897"},
};

bigint::TInteger Product(const Semiprime& s) {
    bigint::TInteger p, q;
    p.AssignText(s.p);
    q.AssignText(s.q);
    p.Multiply(q);
    return p;
}

// The window's pipeline with short rho budgets, so that the larger ones reach gp.
TEST(FactorisationPeer, ProductsOfTwoPrimesSplitIntoThem) {
    for (const Semiprime& s : kSemiprimes) {
        std::vector<std::string> lines;
        bigint::FactorisationSettings quick;
        quick.firstRhoSeconds = 1;
        bigint::Factorisation work(
            [&lines](const std::string& line) { lines.push_back(line); },
            [](const bigint::TInteger& n) { return engine::FactorWithGp(n, [] { return true; }); },
            {}, quick);
        work.Run(Product(s));
        ASSERT_GE(lines.size(), 3u) << s.digits;
        std::vector<std::string> found(lines.end() - 3, lines.end() - 1);
        std::sort(found.begin(), found.end());
        std::vector<std::string> want = {s.p, s.q};
        std::sort(want.begin(), want.end());
        EXPECT_EQ(found, want) << s.digits << " digits: " << testing::PrintToString(lines);
        EXPECT_EQ(lines.back(), "klaar");
    }
}

// factor# gives a prime factor where rho alone gives up after its 20 seconds.
class FactorCommandPeer : public ProgramTest {};

TEST_F(FactorCommandPeer, TwentyDigitPrimesAreFoundWithTheOutsideProgram) {
    Run({std::string("#a:=") + Product(kSemiprimes[1]).ToText(), "factor#(#a)"});
    const std::string factor = runner.Register('a').ToText();
    EXPECT_TRUE(factor == kSemiprimes[1].p || factor == kSemiprimes[1].q) << factor;
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
