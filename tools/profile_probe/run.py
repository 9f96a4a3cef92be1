"""Runs probe.exe under wine on the cases of a Python file and prints readable results.

Usage: [PROBE=probe.exe|native-binary] python3 run.py cases.py   (cases.py defines CASES = [(name, file_bytes|None, [ops])])
ops: ("R", sec, key, default, size) | ("W", sec, key, value) | ("RO",) | ("PATH", winpath) | ("DUMP",)
"""
import os, runpy, subprocess, sys

def enc(v):
    if v is None:
        return "-"
    if isinstance(v, str):
        v = v.encode("latin-1")
    return "x" + v.hex()

def main():
    cases = runpy.run_path(sys.argv[1])["CASES"]
    os.makedirs("/tmp/probe", exist_ok=True)
    lines = []
    for i, (name, content, ops) in enumerate(cases):
        lines.append(f"CASE {i} {name}")
        lines.append("PATH " + enc(f"Z:\\tmp\\probe\\c{i}.ini"))
        lines.append("FILE " + ("-" if content is None else enc(content)))
        for op in ops:
            lines.append(" ".join([op[0]] + [str(a) if isinstance(a, int) else enc(a) for a in op[1:]]))
    with open("/tmp/probe/script.txt", "w") as f:
        f.write("\n".join(lines) + "\n")
    probe = os.environ.get("PROBE", "/tmp/probe.exe")
    if probe.endswith(".exe"):
        cmd = ["wine", probe, "Z:\\tmp\\probe\\script.txt"]
    else:
        cmd = [probe, "/tmp/probe/script.txt"]
    out = subprocess.run(cmd, capture_output=True, env=dict(os.environ, WINEDEBUG="-all")).stdout.decode()
    for line in out.splitlines():
        parts = line.split(" ")
        if parts[0] in ("R", "F") and parts[-1].endswith("x"):
            parts[-1] = repr(bytes.fromhex(parts[-1][:-1]))
        print(" ".join(parts))

main()
