#!/usr/bin/python3
"""Arguments and mpmath references (30 digits) for the long double functions.

Writes one line per argument to the file named on the command line:
  NAME CATEGORY SIGN MANTISSA EXPONENT   then either   REF_SIGN REF_MANTISSA REF_EXPONENT FRACTION
                                or            S   (zero, subnormal or overflowing result)
where the argument is SIGN * MANTISSA * 2^EXPONENT with a 64-bit mantissa, the
reference is the true value rounded to 64 bits, and FRACTION is how far the
true value lies from it, in units in the last place. pow has a second argument,
SIGN MANTISSA EXPONENT again, before the reference."""
import random
import sys

from mpmath import mp, mpf, sin, cos, tan, exp, sinh, cosh, log, log10, atan, asin, acos, sqrt, ldexp, frexp, floor, nint, pi

mp.dps = 30
COUNT = 100000
MIN_NORMAL = ldexp(mpf(1), -16382)
MAX_VALUE = ldexp(mpf(2) ** 64 - 1, 16384 - 64)
rng = random.Random(20261209)


def to_long_double(x):
    """x rounded to the nearest long double, as (sign, mantissa, exponent)."""
    if x == 0:
        return 0, 0, 0
    sign = -1 if x < 0 else 1
    m, e = frexp(abs(x))
    mantissa = int(nint(ldexp(m, 64)))
    if mantissa == 2 ** 64:
        mantissa, e = 2 ** 63, e + 1
    exponent = e - 64
    if exponent < -16382 - 63:  # subnormal: fewer mantissa bits
        shift = -16382 - 63 - exponent
        mantissa = int(nint(mpf(mantissa) / 2 ** shift))
        exponent += shift
    return sign, mantissa, exponent


def value(t):
    sign, mantissa, exponent = t
    return sign * ldexp(mpf(mantissa), exponent)


def log_uniform(low, high):
    return mpf(10) ** (rng.uniform(float(log10(low)), float(log10(high))))


def big_log_uniform(low_exp10, high_exp10):
    return mpf(10) ** mpf(rng.uniform(low_exp10, high_exp10))


def signed(x):
    return x if rng.random() < 0.5 else -x


def trig_arguments():
    for _ in range(40000):
        yield "uniform", mpf(rng.uniform(-10, 10))
    for _ in range(25000):  # within a few units of the last place of k pi/2
        k = rng.randint(1, 40000)
        s, m, e = to_long_double(k * pi / 2)
        yield "near_k_pi/2", signed(value((s, m + rng.randint(-5, 5), e)))
    for _ in range(10000):
        yield "near_0", signed(log_uniform(mpf("1e-12"), mpf("0.1")))
    for _ in range(15000):
        yield "large", signed(log_uniform(10, 65536))
    for _ in range(5000):  # beyond the reduction: the C library's
        yield "beyond_2^16", signed(log_uniform(65536, mpf("1e30")))
    for _ in range(5000):
        yield "tiny", signed(big_log_uniform(-4940, -12))


def exp_arguments():
    for _ in range(40000):
        yield "uniform", mpf(rng.uniform(-20, 20))
    for _ in range(15000):
        yield "near_0", signed(log_uniform(mpf("1e-20"), mpf("0.01")))
    for _ in range(25000):
        yield "large", signed(mpf(rng.uniform(20, 11340)))
    for _ in range(10000):
        yield "near_overflow", signed(mpf(rng.uniform(11340, 11400)))
    for _ in range(10000):
        yield "tiny", signed(big_log_uniform(-4940, -20))


def log_arguments():
    for _ in range(40000):
        yield "uniform", mpf(rng.uniform(0, 100))
    for _ in range(20000):
        yield "near_1", 1 + signed(log_uniform(mpf("1e-19"), mpf("0.01")))
    for _ in range(15000):
        yield "large", big_log_uniform(2, 4931)
    for _ in range(15000):
        yield "small", big_log_uniform(-4931, -1)
    for _ in range(5000):  # subnormal: the C library's
        yield "subnormal", big_log_uniform(-4950, -4932)
    for _ in range(5000):
        power = mpf(2) ** rng.randint(-16000, 16000)
        yield "powers", power if rng.random() < 0.5 else mpf(10) ** rng.randint(-4900, 4900)


def atan_arguments():
    for _ in range(45000):
        yield "uniform", mpf(rng.uniform(-10, 10))
    for _ in range(15000):
        yield "near_0", signed(log_uniform(mpf("1e-12"), mpf("0.1")))
    for _ in range(10000):
        yield "near_1", signed(1 + signed(log_uniform(mpf("1e-19"), mpf("0.01"))))
    for _ in range(20000):
        yield "large", signed(log_uniform(10, mpf("1e19")))
    for _ in range(5000):  # beyond 2^64: the C library's
        yield "beyond_2^64", signed(big_log_uniform(20, 4931))
    for _ in range(5000):
        yield "tiny", signed(big_log_uniform(-4940, -12))


def inverse_sine_arguments():
    for _ in range(50000):
        yield "uniform", mpf(rng.uniform(-1, 1))
    for _ in range(20000):
        yield "near_1", signed(1 - log_uniform(mpf("1e-19"), mpf("0.01")))
    for _ in range(10000):
        yield "near_1/sqrt2", signed(1 / sqrt(2) + signed(log_uniform(mpf("1e-19"), mpf("0.01"))))
    for _ in range(15000):
        yield "near_0", signed(log_uniform(mpf("1e-12"), mpf("0.1")))
    for _ in range(5000):
        yield "tiny", signed(big_log_uniform(-4940, -12))


def power_arguments():
    """(x, y) pairs; y mostly chosen through y ln x, which sets the result."""
    def through_product(x, z):
        return x, z / log(x)

    for _ in range(40000):
        yield "uniform", (mpf(rng.uniform(1e-6, 100)), mpf(rng.uniform(-20, 20)))
    for _ in range(25000):
        x = log_uniform(mpf("1e-30"), mpf("1e30"))
        if abs(log(x)) > mpf("1e-3"):
            yield "large", through_product(x, mpf(rng.uniform(-11340, 11340)))
    for _ in range(15000):
        x = 1 + signed(log_uniform(mpf("1e-18"), mpf("1e-3")))
        yield "near_1", through_product(x, mpf(rng.uniform(-200, 200)))
    for _ in range(10000):
        x = log_uniform(mpf("1e-30"), mpf("1e30"))
        if abs(log(x)) > mpf("1e-3"):
            yield "near_overflow", through_product(x, signed(mpf(rng.uniform(11340, 11400))))
    for _ in range(15000):
        yield "small_y", (mpf(rng.uniform(1e-6, 1e6)), signed(log_uniform(mpf("1e-20"), mpf("1e-3"))))


FUNCTIONS = [
    ("sin", sin, trig_arguments),
    ("cos", cos, trig_arguments),
    ("tan", tan, trig_arguments),
    ("exp", exp, exp_arguments),
    ("sinh", sinh, exp_arguments),
    ("cosh", cosh, exp_arguments),
    ("ln", log, log_arguments),
    ("log10", log10, log_arguments),
    ("log2", lambda x: log(x, 2), log_arguments),
    ("atan", atan, atan_arguments),
    ("asin", asin, inverse_sine_arguments),
    ("acos", acos, inverse_sine_arguments),
    ("pow", None, power_arguments),
]


def main():
    with open(sys.argv[1], "w") as out:
        for name, function, arguments in FUNCTIONS:
            written = 0
            for category, raw in arguments():
                if function is None:  # pow
                    arg, second = to_long_double(raw[0]), to_long_double(raw[1])
                    if arg[1] == 0 or arg[0] < 0 or second[1] == 0:
                        continue
                    x, y = value(arg), value(second)
                    line = "%s %s %d %d %d %d %d %d" % ((name, category) + arg + second)
                    with mp.workdps(45):  # |y ln x| up to 2^14 costs digits
                        true = +(x ** y)
                else:
                    arg = to_long_double(raw)
                    if arg[1] == 0:
                        continue
                    x = value(arg)
                    line = "%s %s %d %d %d" % (name, category, arg[0], arg[1], arg[2])
                    true = function(x)
                if abs(true) < MIN_NORMAL or abs(true) > MAX_VALUE:
                    out.write(line + " S\n")
                else:
                    ref = to_long_double(true)
                    ulp = ldexp(mpf(1), ref[2])
                    fraction = (true - value(ref)) / ulp
                    out.write(line + " %d %d %d %.6f\n" % (ref[0], ref[1], ref[2], float(fraction)))
                written += 1
            assert written >= COUNT, name


main()
