// TInteger against Python 3's integers on random operands of 1 to 2000 digits
// (and a few much larger ones), every arithmetic operation.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "bigint/integer.h"
#include "test_folder.h"

namespace {

using bigint::TInteger;

// Python computes one result line per case line "op a b [c]". Division is
// truncated like ours; modular powers carry the sign of x^e.
constexpr const char* kOracle = R"(
import sys, math
if hasattr(sys, 'set_int_max_str_digits'): sys.set_int_max_str_digits(0)
def tdivmod(a, b):
    q = abs(a) // abs(b)
    if (a < 0) != (b < 0): q = -q
    return q, a - q * b
def iroot(x, n):
    if n < 2 or x <= 0: return 0
    g = 1 << ((x.bit_length() + n - 1) // n)
    while True:
        y = ((n - 1) * g + x // g ** (n - 1)) // n
        if y >= g: return g
        g = y
def invmod(a, m):
    m = abs(m)
    if a == 0 or m <= 1: return 0
    try: return pow(a, -1, m)
    except ValueError: return 0
for line in open(sys.argv[1]):
    op, *args = line.split()
    v = [int(a) for a in args]
    if op == 'add': r = v[0] + v[1]
    elif op == 'sub': r = v[0] - v[1]
    elif op == 'mul': r = v[0] * v[1]
    elif op == 'sqr': r = v[0] * v[0]
    elif op == 'div': r = tdivmod(v[0], v[1])[0]
    elif op == 'mod': r = tdivmod(v[0], v[1])[1]
    elif op == 'gcd': r = math.gcd(v[0], v[1])
    elif op == 'powmod':
        r = pow(abs(v[0]), v[1], abs(v[2]))
        if v[0] < 0 and v[1] % 2 == 1: r = -r
    elif op == 'sqrt': r = math.isqrt(v[0]) if v[0] > 0 else 0
    elif op == 'root': r = iroot(v[0], v[1])
    elif op == 'inv': r = invmod(v[0], v[1])
    elif op == 'pow': r = v[0] ** v[1]
    elif op == 'fac': r = math.factorial(v[0])
    elif op == 'text': r = v[0]
    print(r)
)";

class Operands {
public:
    explicit Operands(unsigned seed) : random_(seed) {}
    // A decimal number of 1 .. maxDigits digits, sometimes all nines or 10..01.
    std::string Number(size_t maxDigits, bool allowNegative = true) {
        const size_t digits = std::uniform_int_distribution<size_t>(1, maxDigits)(random_);
        std::string text;
        const int shape = std::uniform_int_distribution<int>(0, 9)(random_);
        if (shape == 0) {
            text.assign(digits, '9');
        } else if (shape == 1) {
            text = "1" + std::string(digits > 1 ? digits - 2 : 0, '0') + (digits > 1 ? "1" : "");
        } else {
            text += static_cast<char>('1' + random_() % 9);
            for (size_t i = 1; i < digits; ++i) text += static_cast<char>('0' + random_() % 10);
        }
        if (allowNegative && random_() % 3 == 0) text = "-" + text;
        return text;
    }
    unsigned Small(unsigned low, unsigned high) {
        return std::uniform_int_distribution<unsigned>(low, high)(random_);
    }

private:
    std::mt19937_64 random_;
};

struct Case {
    std::string op;
    std::vector<std::string> args;
    std::string ours;
};

std::string Compute(const Case& c) {
    TInteger x, y, z;
    x.AssignText(c.args[0]);
    if (c.args.size() > 1) y.AssignText(c.args[1]);
    if (c.args.size() > 2) z.AssignText(c.args[2]);
    if (c.op == "add") x.Add(y);
    if (c.op == "sub") x.Subtract(y);
    if (c.op == "mul") x.Multiply(y);
    if (c.op == "sqr") x.Multiply(x);
    if (c.op == "div") x.DivideBy(y);
    if (c.op == "mod") x.ModBy(y);
    if (c.op == "gcd") x.Gcd(y);
    if (c.op == "powmod") x.ModPow(y, z);
    if (c.op == "sqrt") x.Sqrt();
    if (c.op == "root") x.NthRoot(y.ToInt64());
    if (c.op == "inv") x.InverseMod(y);
    if (c.op == "pow") x.Power(y.ToInt64());
    if (c.op == "fac") x.Factorial();
    return x.ToText();
}

std::vector<std::string> RunOracle(const std::vector<Case>& cases) {
    const auto folder = MakeTestFolder();
    const std::string input = folder / "cases.txt", script = folder / "oracle.py";
    {
        std::ofstream out(input);
        for (const auto& c : cases) {
            out << c.op;
            for (const auto& a : c.args) out << ' ' << a;
            out << '\n';
        }
        std::ofstream(script) << kOracle;
    }
    const std::string command = "python3 " + script + " " + input;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> lines;
    if (!pipe) return lines;
    std::string current;
    char buffer[65536];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) current.append(buffer, count);
    std::istringstream stream(current);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

TEST(IntegerOracleTest, EveryOperationAgreesWithPython) {
    Operands make(2026);
    std::vector<Case> cases;
    constexpr int kPerOperation = 300;
    for (const char* op : {"add", "sub", "mul", "div", "mod", "gcd"}) {
        for (int i = 0; i < kPerOperation; ++i) {
            std::string a = make.Number(2000), b = make.Number(2000);
            if (std::string(op) == "div" || std::string(op) == "mod") {
                // Products make dividends longer than the divisors.
                if (i % 2 == 0) {
                    TInteger p;
                    p.AssignText(a);
                    TInteger q;
                    q.AssignText(make.Number(2000));
                    p.Multiply(q);
                    p.Add(TInteger(static_cast<int64_t>(make.Small(0, 1000)) - 500));
                    a = p.ToText();
                }
                if (b == "0" || b == "-0") b = "7";
            }
            cases.push_back({op, {a, b}, ""});
        }
    }
    for (int i = 0; i < kPerOperation; ++i) {
        cases.push_back({"sqr", {make.Number(2000)}, ""});
        cases.push_back({"sqrt", {make.Number(2000, false)}, ""});
        cases.push_back(
            {"root", {make.Number(2000, false), std::to_string(make.Small(3, 40))}, ""});
        cases.push_back({"text", {make.Number(2000)}, ""});
    }
    for (int i = 0; i < 100; ++i) {
        const std::string m = make.Number(i < 50 ? 40 : 700, false);
        cases.push_back({"powmod", {make.Number(700), make.Number(300, false), m}, ""});
        cases.push_back({"inv", {make.Number(600), make.Number(600)}, ""});
        cases.push_back({"pow", {make.Number(30), std::to_string(make.Small(0, 150))}, ""});
    }
    // Squares and their neighbours take the root's correction step; powers of
    // two around the limb size give quotients of exactly a power of the base.
    for (int i = 0; i < 60; ++i) {
        TInteger root;
        root.AssignText(make.Number(i < 30 ? 40 : 3000, false));
        TInteger square = root;
        square.Multiply(root);
        for (int64_t step : {-1, 0, 1}) {
            TInteger near = square;
            near.Add(TInteger(step));
            cases.push_back({"sqrt", {near.ToText()}, ""});
        }
    }
    for (int64_t bits : {64, 126, 127, 128, 129, 192, 256, 4096}) {
        TInteger power(2);
        power.Power(bits);
        for (int64_t step : {-1, 0, 1}) {
            TInteger near = power;
            near.Add(TInteger(step));
            cases.push_back({"sqrt", {near.ToText()}, ""});
        }
    }
    // Around powers of two the halving recursion of the factorial changes depth.
    for (unsigned n : {0U,  1U,  2U,  3U,  4U,  5U,   7U,   8U,   9U,    20U,   21U,   31U,
                       32U, 33U, 63U, 64U, 65U, 100U, 127U, 129U, 1000U, 3000U, 15000U}) {
        cases.push_back({"fac", {std::to_string(n)}, ""});
    }
    // Long operands: the Newton division and the split text conversion.
    for (int i = 0; i < 6; ++i) {
        const std::string a = make.Number(30000), b = make.Number(12000);
        const std::string longer = a + make.Number(30000, false);
        cases.push_back({"div", {longer, b}, ""});
        cases.push_back({"mod", {longer, b}, ""});
        cases.push_back({"sqrt", {make.Number(20000, false)}, ""});
        cases.push_back({"mul", {a, b}, ""});
    }

    const std::vector<std::string> expected = RunOracle(cases);
    ASSERT_EQ(expected.size(), cases.size()) << "python3 must run the oracle";
    int failures = 0;
    for (size_t i = 0; i < cases.size() && failures < 5; ++i) {
        const std::string ours = Compute(cases[i]);
        if (ours != expected[i]) {
            ++failures;
            ADD_FAILURE() << cases[i].op << " of " << cases[i].args[0].substr(0, 60) << "... "
                          << (cases[i].args.size() > 1 ? cases[i].args[1].substr(0, 60) : "")
                          << "\n ours   " << ours.substr(0, 80) << "\n python "
                          << expected[i].substr(0, 80);
        }
    }
}

// Operands of 10 000 to 200 000 digits: Toom-3, the transforms, their squares,
// unbalanced products, and the division, root and text that rest on them.
TEST(IntegerOracleTest, HugeOperandsAgreeWithPython) {
    Operands make(18);
    const auto digits = [&make](size_t count) {
        std::string text = make.Number(1, false);
        while (text.size() < count) text += make.Number(count - text.size(), false);
        return text.substr(0, count);
    };
    std::vector<Case> cases;
    for (size_t n : {10000U, 40000U, 100000U})
        cases.push_back({"mul", {digits(n), "-" + digits(n)}, ""});
    cases.push_back({"mul", {digits(200000), digits(15000)}, ""});
    cases.push_back({"mul", {std::string(60000, '9'), std::string(60000, '9')}, ""});
    cases.push_back({"sqr", {digits(60000)}, ""});
    cases.push_back({"div", {digits(80000), digits(40000)}, ""});
    cases.push_back({"mod", {digits(80000), digits(30000)}, ""});
    cases.push_back({"sqrt", {digits(60000)}, ""});
    cases.push_back({"text", {digits(200000)}, ""});
    cases.push_back({"pow", {"7", "50000"}, ""});

    const std::vector<std::string> expected = RunOracle(cases);
    ASSERT_EQ(expected.size(), cases.size()) << "python3 must run the oracle";
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string ours = Compute(cases[i]);
        EXPECT_TRUE(ours == expected[i])
            << cases[i].op << " of " << cases[i].args[0].size() << " digits\n ours   "
            << ours.substr(0, 60) << "\n python " << expected[i].substr(0, 60);
    }
}

}  // namespace
