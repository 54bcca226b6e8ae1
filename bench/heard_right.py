"""The listening check run by heard-right.sh; its settings come from the environment."""

import collections
import os
import random
import re
import shutil
import subprocess
import wave
from pathlib import Path

N = int(os.environ["N"])
SEED = int(os.environ["SEED"])
CALC = os.environ["CALC"]
SOUNDS = Path(os.environ["SOUNDS"])
WORK = Path(os.environ["WORK"])
GENERATE = os.environ["GENERATE"]
TREE = Path(os.environ["TREE"])
MODEL = Path("/usr/share/pocketsphinx/model/en-us")
# The recogniser's dictionary lacks these.
EXTRA_PRONUNCIATIONS = {"cosine": "K OW S AY N", "radian": "R EY D IY AH N"}


def read_words():
    """Word file -> (group, phrase) from res/sounds/words.txt."""
    words = {}
    for line in (TREE / "words.txt").read_text().splitlines():
        if line.startswith("#") or not line.strip():
            continue
        name, group, phrase = line.split(None, 2)
        words[name + ".wav"] = (group, re.split(r"[=|*]", phrase)[0].strip())
    return words


WORDS = read_words()
CALC_GROUPS = {"number", "sign", "function"}
# What results, expressions and pairs can say: numbers, signs, functions, the exponent mark, x.
CALC_PHRASES = sorted({p for f, (g, p) in WORDS.items() if g in CALC_GROUPS} | {"e", "x"})
ALL_PHRASES = sorted({p for g, p in WORDS.values()})


def number(rng, digits):
    text = str(rng.randint(1, 9)) + "".join(str(rng.randint(0, 9)) for _ in range(digits - 1))
    return text


def random_result(rng):
    kind = rng.random()
    sign = "-" if rng.random() < 0.2 else ""
    if kind < 0.5:
        return sign + number(rng, rng.choice([1, 1, 2, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11]))
    if kind < 0.85:
        whole = "0" if rng.random() < 0.3 else number(rng, rng.randint(1, 5))
        frac = "".join(str(rng.randint(0, 9)) for _ in range(rng.randint(0, 5)))
        return sign + whole + "." + frac + str(rng.randint(1, 9))
    mant = f"{rng.randint(1, 9)}.{rng.randint(0, 999):03d}".rstrip("0").rstrip(".")
    return f"{sign}{mant}E{rng.choice('+-')}{rng.randint(7, 99)}"


FUNCTIONS = ["Sin", "Cos", "Tan", "Sqrt", "Log", "Ln", "Exp", "Abs", "Int", "Arcsin", "Sinh"]


def operand(rng, depth=0):
    r = rng.random()
    if r < 0.15 and depth == 0:
        return rng.choice(FUNCTIONS) + "(" + operand(rng, 1) + ")"
    if r < 0.25 and depth == 0:
        return "(" + operand(rng, 1) + rng.choice("+-*/") + operand(rng, 1) + ")"
    if r < 0.4:
        return number(rng, rng.randint(1, 3)) + "." + str(rng.randint(1, 9))
    return number(rng, rng.randint(1, 4))


def random_expression(rng):
    text = operand(rng)
    for _ in range(rng.randint(1, 3)):
        text += rng.choice("+-*/^") + operand(rng)
    return text


def word_plan(command, text):
    out = subprocess.run([CALC, "--words", command, text], capture_output=True, text=True,
                         check=True).stdout
    return [line for line in out.splitlines() if line and not line.startswith("pause")]


def reference(files):
    return [WORDS[f][1] for f in files]


def wav_seconds(path):
    with wave.open(str(path)) as w:
        return w.getnframes() / w.getframerate()


def write_grammar(path, phrases, repeat="+"):
    rule = " | ".join(phrases)
    path.write_text(f"#JSGF V1.0;\ngrammar calc;\npublic <utt> = <w>{repeat};\n<w> = {rule};\n")


def write_dictionary(path):
    wanted = {w for p in ALL_PHRASES for w in p.split()}
    lines = [f"{w} {p}" for w, p in EXTRA_PRONUNCIATIONS.items()]
    for line in (MODEL / "cmudict-en-us.dict").read_text().splitlines():
        head = line.split(" ", 1)[0]
        base = re.sub(r"\(\d+\)$", "", head)
        if base in wanted and base not in EXTRA_PRONUNCIATIONS:
            lines.append(line)
    path.write_text("\n".join(lines) + "\n")


def recognise(names, grammar):
    """Runs pocketsphinx_batch over WORK/<name>.wav; returns name -> list of English words."""
    ctl = WORK / "list.ctl"
    hyp = WORK / "hyp.txt"
    ctl.write_text("\n".join(names) + "\n")
    subprocess.run(["pocketsphinx_batch", "-hmm", str(MODEL / "en-us"), "-dict",
                    str(WORK / "calc.dict"), "-jsgf", str(grammar), "-ctl", str(ctl),
                    "-cepdir", str(WORK), "-cepext", ".wav", "-adcin", "yes", "-hyp", str(hyp),
                    "-logfn", "/dev/null"], check=True)
    heard = {}
    for line in hyp.read_text().splitlines():
        m = re.match(r"^(.*?)\s*\((\S+)(?:\s+-?\d+)?\)$", line)
        if m:
            heard[m.group(2)] = m.group(1).split()
    return heard


def phrases_of(words, phrases):
    """Splits recognised English words back into phrases, longest first."""
    by_length = sorted((p.split() for p in phrases), key=len, reverse=True)
    out, i = [], 0
    while i < len(words):
        for p in by_length:
            if words[i:i + len(p)] == p:
                out.append(" ".join(p))
                i += len(p)
                break
        else:
            out.append(words[i])
            i += 1
    return out


def align(ref, hyp):
    """Edit operations turning ref into hyp: (kind, ref word, hyp word)."""
    n, m = len(ref), len(hyp)
    d = [[0] * (m + 1) for _ in range(n + 1)]
    for i in range(n + 1):
        d[i][0] = i
    for j in range(m + 1):
        d[0][j] = j
    for i in range(1, n + 1):
        for j in range(1, m + 1):
            d[i][j] = min(d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]))
    ops, i, j = [], n, m
    while i or j:
        if i and j and d[i][j] == d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]):
            if ref[i - 1] != hyp[j - 1]:
                ops.append(("sub", ref[i - 1], hyp[j - 1]))
            i, j = i - 1, j - 1
        elif i and d[i][j] == d[i - 1][j] + 1:
            ops.append(("del", ref[i - 1], ""))
            i -= 1
        else:
            ops.append(("ins", "", hyp[j - 1]))
            j -= 1
    return ops


def whole_sentence_seconds(sentence, name):
    raw, trimmed = WORK / f"{name}.raw.wav", WORK / f"{name}.whole.wav"
    subprocess.run(["bash", GENERATE, "--say", sentence, str(raw)], check=True,
                   capture_output=True)
    trim(raw, trimmed)
    return wav_seconds(trimmed)


def trim(src, dst):
    subprocess.run(["sox", str(src), str(dst), "silence", "1", "0.01", "0.1%", "reverse",
                    "silence", "1", "0.01", "0.1%", "reverse"], check=True)


def main():
    rng = random.Random(SEED)
    cases = []  # (name, kind, command, text)
    for i in range(N):
        cases.append((f"r{i:03d}", "result", "result", random_result(rng)))
    for i in range(max(1, N // 4)):
        cases.append((f"x{i:03d}", "expression", "input", random_expression(rng)))
    for i in range(max(1, N // 10)):
        pair = random_expression(rng) + "----" + random_result(rng)
        cases.append((f"p{i:03d}", "pair", "inputresult", pair))

    write_dictionary(WORK / "calc.dict")
    calc_grammar, all_grammar = WORK / "calc.gram", WORK / "all.gram"
    write_grammar(calc_grammar, CALC_PHRASES)
    # Letters and buttons are said alone, by a key or a window: one word of all of them.
    write_grammar(all_grammar, ALL_PHRASES, repeat="")

    refs = {}
    for name, _, command, text in cases:
        refs[name] = reference(word_plan(command, text))
        subprocess.run([CALC, "--speak-to", str(WORK / f"{name}.wav"), command, text],
                       check=True)
    heard = recognise([c[0] for c in cases], calc_grammar)

    stats = collections.defaultdict(lambda: [0, 0, 0])  # words, errors, fully right
    confusions = collections.Counter()
    for name, kind, command, text in cases:
        ref = refs[name]
        hyp = phrases_of(heard.get(name, []), CALC_PHRASES)
        ops = align(ref, hyp)
        s = stats[kind]
        s[0] += len(ref)
        s[1] += len(ops)
        s[2] += not ops
        for op, r, h in ops:
            confusions[f"{r or '-'} -> {h or '-'}"] += 1

    print(f"heard-right: seed {SEED}, recogniser pocketsphinx en-us, calculator grammar")
    total_words = total_errors = 0
    for kind in ("result", "expression", "pair"):
        words, errors, right = stats[kind]
        count = sum(1 for c in cases if c[1] == kind)
        total_words += words
        total_errors += errors
        print(f"  {kind + 's':12} {count:4}  word error rate {100 * errors / words:5.1f} %"
              f"  fully right {right:4} ({100 * right / count:5.1f} %)")
    print(f"  {'all':12} {len(cases):4}  word error rate {100 * total_errors / total_words:5.1f} %"
          f"  words right {100 * (1 - total_errors / total_words):5.1f} %")
    print("  most common confusions (reference -> heard, '-' none):")
    for what, count in confusions.most_common(12):
        print(f"    {count:4}  {what}")

    # Each recording on its own: calculator words with the calculator grammar (any number of
    # words, so a vowel running on is heard as an extra word), letters and buttons as one word.
    names_calc, names_rest = [], []
    for f, (group, _) in sorted(WORDS.items()):
        name = "w_" + f[:-4]
        shutil.copy(SOUNDS / f, WORK / f"{name}.wav")
        (names_calc if group in CALC_GROUPS or f in ("e.wav", "x.wav") else names_rest).append(name)
    wrong, right = [], {}
    for group, names, grammar, phrases in (
            ("calculator words", names_calc, calc_grammar, CALC_PHRASES),
            ("letters and buttons", names_rest, all_grammar, ALL_PHRASES)):
        alone = recognise(names, grammar)
        right[group] = (len(names), len(names))
        for name in names:
            phrase = WORDS[name[2:] + ".wav"][1]
            got = " ".join(phrases_of(alone.get(name, []), phrases))
            if got != phrase:
                wrong.append(f"{name[2:]}.wav as '{got}'")
                right[group] = (right[group][0] - 1, len(names))
    print("  word files heard as their word on their own: " +
          ", ".join(f"{group} {r} of {n}" for group, (r, n) in right.items()))
    for line in wrong:
        print(f"    {line}")

    if subprocess.run(["bash", GENERATE, "--check"], capture_output=True).returncode != 0:
        print("  speaking time: skipped, the synthesiser of generate.sh is not installed")
        return
    ratios = []
    for name, kind, _, _ in cases[:50]:
        if kind != "result":
            continue
        ours = WORK / f"{name}.trim.wav"
        trim(WORK / f"{name}.wav", ours)
        ratios.append(wav_seconds(ours) / whole_sentence_seconds(" ".join(refs[name]), name))
    ratios.sort()
    print(f"  speaking time of {len(ratios)} results / the voice saying them whole: mean "
          f"{sum(ratios) / len(ratios):.2f}, median {ratios[len(ratios) // 2]:.2f}")


main()
