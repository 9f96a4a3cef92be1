"""Random profile files and calls, written as a cases file for run.py.

Usage: python3 fuzz.py SEED COUNT > cases.py; then run run.py with wine and natively and diff.
"""
import random, sys

rnd = random.Random(int(sys.argv[1]))
TOKENS = ["[", "]", "=", ";", " ", "\t", "\r", "\n", "\r\n", "\r\n", "\r\n", "'", '"', "a", "A", "b", "s", "S",
          "k", "K", "\x00", "\x1a", "\x1c", "\x1f", "\x0b", "\xa0", "x", "[s]", "[S]", "[ t ]", "k=", "a=", "=", "''"]
NAMES = [None, "", " ", "s", "S", " s", "t", "t ", "k", "K", "a", " a ", "b", "x", "[s", ";", "=", "k\x00z", "'a'", "\t"]

def text():
    return "".join(rnd.choice(TOKENS) for _ in range(rnd.randrange(0, 40)))

def op():
    r = rnd.random()
    if r < 0.55:
        return ("R", rnd.choice(NAMES), rnd.choice(NAMES), rnd.choice(["", "d", "dd ", "'q'", "  ", None, "abcdef", '"x']),
                rnd.choice([0, 1, 2, 3, 4, 5, 6, 8, 11, 255]))
    if r < 0.9:
        return ("W", rnd.choice(NAMES[1:]), rnd.choice(NAMES[1:]), rnd.choice([" v ", "", "'w'", "x", "a b", "\t"]))
    if r < 0.95:
        return ("W", rnd.choice(NAMES[1:]), rnd.choice(NAMES[1:]), None)
    return ("W", rnd.choice(NAMES[1:]), None, None)

cases = []
for i in range(int(sys.argv[2])):
    ops = [op() for _ in range(rnd.randrange(1, 6))]
    ops.append(("DUMP",))
    cases.append((f"fuzz{i}", None if rnd.random() < 0.05 else text(), ops))
print("CASES = " + repr(cases))
