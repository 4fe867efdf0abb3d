// Big integers next to GMP on the same core: one line "NAME ratio_gmp=R" per
// measurement, R being our time divided by GMP's.
#include <gmp.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "bigint/integer.h"

namespace {

using bigint::TInteger;

// Best time of repeated runs within about half a second.
double BestSeconds(const std::function<void()>& work) {
    double best = 1e30, total = 0;
    for (int round = 0; round < 1000 && (round < 3 || total < 0.5); ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
        total += elapsed.count();
    }
    return best;
}

// Fast work is repeated so that one timing is long enough to measure.
double BestSecondsEach(int repeat, const std::function<void()>& work) {
    return BestSeconds([&] {
               for (int i = 0; i < repeat; ++i) work();
           }) /
           repeat;
}

std::string RandomDigits(size_t count, std::mt19937_64& random) {
    std::string text(1, static_cast<char>('1' + random() % 9));
    for (size_t i = 1; i < count; ++i) text += static_cast<char>('0' + random() % 10);
    return text;
}

// An odd number of exactly `bits` bits, as decimal text.
std::string RandomOddBits(size_t bits, std::mt19937_64& random) {
    mpz_t x;
    mpz_init(x);
    for (size_t i = 0; i < bits; ++i) {
        if (i == 0 || i + 1 == bits || random() % 2 == 1) mpz_setbit(x, i);
    }
    char* text = mpz_get_str(nullptr, 10, x);
    std::string out = text;
    free(text);
    mpz_clear(x);
    return out;
}

class Gmp {
public:
    explicit Gmp(const std::string& text = "0") { mpz_init_set_str(value_, text.c_str(), 10); }
    ~Gmp() { mpz_clear(value_); }
    Gmp(const Gmp&) = delete;
    Gmp& operator=(const Gmp&) = delete;
    mpz_t& operator*() { return value_; }

private:
    mpz_t value_;
};

size_t sink = 0;  // keeps results alive

void Report(const char* name, double ours, double gmp) {
    std::printf("%s ratio_gmp=%.2f\n", name, ours / gmp);
    std::fflush(stdout);
}

void Factorial() {
    const double ours = BestSeconds([] {
        TInteger x(15000);
        x.Factorial();
        sink += x.ToText().size();
    });
    const double gmp = BestSeconds([] {
        Gmp x;
        mpz_fac_ui(*x, 15000);
        char* text = mpz_get_str(nullptr, 10, *x);
        sink += std::char_traits<char>::length(text);
        free(text);
    });
    Report("factorial_15000_text", ours, gmp);
}

void Product(std::mt19937_64& random) {
    const std::string a = RandomDigits(10000, random), b = RandomDigits(10000, random);
    TInteger x, y;
    x.AssignText(a);
    y.AssignText(b);
    Gmp gx(a), gy(b), gr;
    const double ours = BestSecondsEach(20, [&] {
        TInteger r = x;
        r.Multiply(y);
        sink += r.BitLength();
    });
    const double gmp = BestSecondsEach(20, [&] {
        mpz_mul(*gr, *gx, *gy);
        sink += mpz_sizeinbase(*gr, 2);
    });
    Report("multiply_10000_digits", ours, gmp);
}

void LongProduct(std::mt19937_64& random) {
    const std::string a = RandomDigits(1000000, random), b = RandomDigits(1000000, random);
    TInteger x, y;
    x.AssignText(a);
    y.AssignText(b);
    Gmp gx(a), gy(b), gr;
    const double ours = BestSeconds([&] {
        TInteger r = x;
        r.Multiply(y);
        sink += r.BitLength();
    });
    const double gmp = BestSeconds([&] {
        mpz_mul(*gr, *gx, *gy);
        sink += mpz_sizeinbase(*gr, 2);
    });
    Report("multiply_1000000_digits", ours, gmp);
}

void PowerOfTwo() {
    const double ours = BestSeconds([] {
        TInteger x(2);
        x.Power(1000000);
        sink += x.ToText().size();
    });
    const double gmp = BestSeconds([] {
        Gmp x;
        mpz_ui_pow_ui(*x, 2, 1000000);
        char* text = mpz_get_str(nullptr, 10, *x);
        sink += std::char_traits<char>::length(text);
        free(text);
    });
    Report("power_2_1000000_text", ours, gmp);
}

// 4.8 million digits: the text conversion of very large numbers.
void LargePowerOfTwo() {
    const double ours = BestSeconds([] {
        TInteger x(2);
        x.Power(16000000);
        sink += x.ToText().size();
    });
    const double gmp = BestSeconds([] {
        Gmp x;
        mpz_ui_pow_ui(*x, 2, 16000000);
        char* text = mpz_get_str(nullptr, 10, *x);
        sink += std::char_traits<char>::length(text);
        free(text);
    });
    Report("power_2_16000000_text", ours, gmp);
}

void ModularPower(const char* name, size_t bits, std::mt19937_64& random) {
    const std::string base = RandomOddBits(bits - 1, random);
    const std::string exponent = RandomOddBits(bits, random);
    const std::string modulus = RandomOddBits(bits, random);
    TInteger b, e, m;
    b.AssignText(base);
    e.AssignText(exponent);
    m.AssignText(modulus);
    Gmp gb(base), ge(exponent), gm(modulus), gr;
    const double ours = BestSecondsEach(4, [&] {
        TInteger r = b;
        r.ModPow(e, m);
        sink += r.BitLength();
    });
    const double gmp = BestSecondsEach(4, [&] {
        mpz_powm(*gr, *gb, *ge, *gm);
        sink += mpz_sizeinbase(*gr, 2);
    });
    Report(name, ours, gmp);
}

void SquareRoot(std::mt19937_64& random) {
    const std::string text = RandomDigits(2000, random);
    TInteger x;
    x.AssignText(text);
    Gmp gx(text), gr;
    const double ours = BestSecondsEach(200, [&] {
        TInteger r = x;
        r.Sqrt();
        sink += r.BitLength();
    });
    const double gmp = BestSecondsEach(200, [&] {
        mpz_sqrt(*gr, *gx);
        sink += mpz_sizeinbase(*gr, 2);
    });
    Report("sqrt_2000_digits", ours, gmp);
}

}  // namespace

int main() {
    // Both libraries on the same core: the cores of a shared machine can differ
    // in speed at any moment.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof one, &one);
    std::mt19937_64 random(15000);
    Factorial();
    Product(random);
    PowerOfTwo();
    ModularPower("modpow_1024_bits", 1024, random);
    ModularPower("modpow_2048_bits", 2048, random);
    SquareRoot(random);
    LongProduct(random);
    LargePowerOfTwo();
    return sink == 0 ? 1 : 0;
}
