#!/usr/bin/env python3
"""Differential test of the precise functions against mpmath on seeded random arguments.

Usage: precise_mpmath.py PROBE [SEED]. QUORVEL_PRECISE_SEED chooses the seed too; without
either a fresh one is drawn. Every value must lie within half a unit of its last place.
Exit 77 (skipped) when mpmath is missing: Debian package python3-mpmath.
"""
import os
import random
import subprocess
import sys

try:
    import mpmath
    from mpmath import mp, mpf
except ImportError:
    print("mpmath is not installed (Debian package python3-mpmath): skipped")
    sys.exit(77)


def decimal(rng, low, high, digits):
    return f"{rng.uniform(low, high):.{digits}f}"


def magnitude(rng, low_exp, high_exp, digits=25):
    m = f"{rng.uniform(1, 10):.{digits}f}"
    e = rng.randint(low_exp, high_exp)
    v = mpf(m) * mpf(10) ** e
    return mpmath.nstr(v, digits + 1, min_fixed=-10**6, max_fixed=10**6, strip_zeros=False)


def plain(text):
    """mpmath's fixed form may still carry an exponent for tiny values; the probe reads none."""
    v = mpf(text)
    s = mpmath.nstr(v, 60, min_fixed=-10**6, max_fixed=10**6)
    return s if "e" not in s else format(mpmath.mpf(text), "f")


TRIG = {"sin": mpmath.sin, "cos": mpmath.cos, "tan": mpmath.tan}
INVERSE = {"arcsin": mpmath.asin, "arccos": mpmath.acos, "arctan": mpmath.atan}
OTHER = {"sqrt": mpmath.sqrt, "exp": mpmath.exp, "ln": mpmath.log, "log": mpmath.log10,
         "sinh": mpmath.sinh, "cosh": mpmath.cosh, "tanh": mpmath.tanh}


def arguments(rng, name):
    if name in TRIG:
        return [decimal(rng, -10, 10, 20), decimal(rng, -1e6, 1e6, 15), decimal(rng, -400, 400, 3)]
    if name in ("arcsin", "arccos"):
        return [decimal(rng, -1, 1, 25), "0." + "9" * rng.randint(5, 20) + str(rng.randint(1, 8))]
    if name == "arctan":
        return [decimal(rng, -2, 2, 20), magnitude(rng, -5, 6)]
    if name in ("sqrt", "ln", "log"):
        return [magnitude(rng, -40, 40), decimal(rng, 0.5, 2, 30)]
    if name in ("exp", "sinh", "cosh"):
        return [decimal(rng, -60, 60, 20), decimal(rng, -1, 1, 30)]
    if name == "tanh":
        return [decimal(rng, -30, 30, 20)]
    if name == "pow":
        base = magnitude(rng, -3, 3)
        exponent = decimal(rng, -25, 25, 7)
        return [base + "^" + exponent]
    raise ValueError(name)


def truth(name, argument, unit):
    if name == "pow":
        base, exponent = argument.split("^")
        return mpf(base) ** mpf(exponent)
    x = mpf(argument)
    if name in TRIG:
        return TRIG[name](mpmath.radians(x) if unit == "deg" else x)
    if name in INVERSE:
        a = INVERSE[name](x)
        return mpmath.degrees(a) if unit == "deg" else a
    return OTHER[name](x)


def main():
    probe = sys.argv[1]
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else int(
        os.environ.get("QUORVEL_PRECISE_SEED", random.SystemRandom().randrange(10**9)))
    rng = random.Random(seed)
    cases = []
    for places, rounds in ((30, 6), (100, 3), (1000, 1)):
        mp.dps = 60
        for name in list(TRIG) + list(INVERSE) + list(OTHER) + ["pow"]:
            units = ("rad", "deg") if name in TRIG or name in INVERSE else ("rad",)
            for _ in range(rounds):
                for unit in units:
                    for argument in arguments(rng, name):
                        if name != "pow":
                            argument = plain(argument)
                        cases.append((name, argument, places, unit))
    text = "".join(f"{n} {a} {p} {u}\n" for n, a, p, u in cases)
    out = subprocess.run([probe], input=text, capture_output=True, text=True, check=True)
    answers = out.stdout.splitlines()
    failures = 0
    for (name, argument, places, unit), answer in zip(cases, answers, strict=True):
        mp.dps = places + 150  # results have up to about 100 integer digits
        want = truth(name, argument, unit)
        if answer == "none":
            failures += 1
            print(f"refused: {name}({argument}) {unit} at {places} places")
            continue
        error = abs(mpf(answer) - want)
        if error > mpf(10) ** (-places) / 2 * (1 + mpf(10) ** -20):
            failures += 1
            print(f"{name}({argument}) {unit} at {places} places: got {answer[:80]}..., "
                  f"off by {mpmath.nstr(error * mpf(10) ** places, 5)} units of the last place")
    print(f"{len(cases)} values compared with mpmath, {failures} wrong (seed {seed})")
    if failures:
        print(f"rerun with: {sys.argv[0]} {probe} {seed}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
