#!/usr/bin/env python3
"""Checks the library's derivatives and antiderivatives against SymPy at sample points.

Input lines: kind (diff, int or definite), the expression (for definite "f|a|b"), the
library's answer, its signed length, separated by tabs. Output: one verdict a line: agree,
disagree or refused (an error answer naming not_implemented, or for a divergent definite
integral __singularity__).
"""
import sys

import sympy as sp

X = sp.Symbol("x")
NAMES = {
    "x": X, "pi": sp.pi, "ln": sp.log, "exp": sp.exp, "sqrt": sp.sqrt, "abs": sp.Abs,
    "sign": sp.sign, "sin": sp.sin, "cos": sp.cos, "tan": sp.tan, "cot": sp.cot,
    "asin": sp.asin, "acos": sp.acos, "atan": sp.atan, "acot": sp.acot, "sinh": sp.sinh,
    "cosh": sp.cosh, "tanh": sp.tanh,
}
# Inside (0, 1), where every test expression is defined.
POINTS = [0.21, 0.38, 0.53, 0.67, 0.84]


def parse(text):
    return sp.sympify(text.lower().replace("^", "**"), locals=NAMES)


def values(expression):
    return [complex(sp.N(expression.subs(X, point), 30)) for point in POINTS]


def close(a, b):
    return abs(a - b) <= 1e-9 * (1 + abs(b))


def definite_verdict(expression, answer, length):
    f, a, b = (parse(part) for part in expression.split("|"))
    reference = sp.integrate(f, (X, a, b))
    # A divergent integral comes back as oo or nan.
    finite = reference.is_finite is True and not reference.has(sp.Integral)
    if length < 0:
        if "not_implemented" in answer or ("__singularity__(" in answer and not finite):
            return "refused"
        return "disagree"
    if not finite:
        return "disagree"
    return "agree" if close(complex(sp.N(parse(answer), 20)), complex(reference)) else "disagree"


def verdict(kind, expression, answer, length):
    if kind == "definite":
        return definite_verdict(expression, answer, length)
    if length < 0:
        return "refused" if "not_implemented" in answer else "disagree"
    f = parse(expression)
    ours = parse(answer)
    if kind == "diff":
        return "agree" if all(map(close, values(ours), values(sp.diff(f, X)))) else "disagree"
    reference = sp.integrate(f, X)
    if reference.has(sp.Integral):
        # SymPy found no closed form: our answer must at least differentiate back to f.
        derivative = values(sp.diff(ours, X))
        return "agree" if all(map(close, derivative, values(f))) else "disagree"
    differences = [a - b for a, b in zip(values(ours), values(reference))]
    return "agree" if all(close(d, differences[0]) for d in differences) else "disagree"


def main():
    for line in open(sys.argv[1], encoding="utf-8"):
        kind, expression, answer, length = line.rstrip("\n").split("\t")
        try:
            print(verdict(kind, expression, answer, int(length)))
        except Exception as error:  # an unreadable answer counts as wrong
            print("disagree", error)
        sys.stdout.flush()


if __name__ == "__main__":
    main()
