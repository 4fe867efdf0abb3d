"""Reference answers for the list analyses, by NumPy and SciPy.

Reads the data sets that analysis_peer_test writes and prints, per set, one line
of numbers: mean, sd, weighted mean, weighted sd, then slope, intercept and r of
linreg, expreg, pwrreg and lnreg (scipy.stats.linregress on the transformed
data), then the polynomial coefficients from the constant term up (numpy.polyfit).
Polygon lines get 1 or 0 per point from a plain even-odd test.
"""
import math
import sys

import numpy as np
from scipy import stats


def even_odd(px, py, xs, ys):
    inside = False
    j = len(xs) - 1
    for i in range(len(xs)):
        if (ys[i] > py) != (ys[j] > py) and px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i]:
            inside = not inside
        j = i
    return inside


def numbers(line):
    return [float(v) for v in line.split()[1:]]


def main(path):
    lines = open(path).read().splitlines()
    out = []
    i = 0
    while i < len(lines):
        kind = lines[i].split()[0]
        if kind == "set":
            x = np.array(numbers(lines[i + 1]))
            y = np.array(numbers(lines[i + 2]))
            w = np.array(numbers(lines[i + 3]))
            degree = int(lines[i + 4].split()[1])
            i += 5
            row = [np.mean(x), np.std(x)]
            mean = np.average(x, weights=w)
            row += [mean, math.sqrt(np.average((x - mean) ** 2, weights=w))]
            for tx, ty in ((x, y), (x, np.log(y)), (np.log(x), np.log(y)), (np.log(x), y)):
                fit = stats.linregress(tx, ty)
                row += [fit.slope, fit.intercept, fit.rvalue]
            row += list(np.polyfit(x, y, degree)[::-1])
            out.append(" ".join(repr(float(v)) for v in row))
        else:  # polygon
            xs = numbers(lines[i + 1])
            ys = numbers(lines[i + 2])
            px = numbers(lines[i + 3])
            py = numbers(lines[i + 4])
            i += 5
            out.append(" ".join("1" if even_odd(a, b, xs, ys) else "0" for a, b in zip(px, py)))
    print("\n".join(out))


if __name__ == "__main__":
    main(sys.argv[1])
