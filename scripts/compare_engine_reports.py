#!/usr/bin/env python3
"""Runs two velpra executables on the same generated data sets and checks that
their reports, console texts and exit statuses agree byte for byte.

    scripts/compare_engine_reports.py [--console-crlf] OLD_VELPRA NEW_VELPRA [COUNT] [SEED]

NEW_VELPRA may be a wrapper that runs the program under Wine. With
--console-crlf the console texts of NEW_VELPRA are compared with their CR LF
line ends read as LF (a Windows console's line end); reports are always
compared byte for byte.

The data sets mix plain tables with the awkward cases: readings flagged W,
infinite and NaN results, fields too wide for their columns, slashes, null
values, odd number spellings, truncated readings, garbage, LF-only files and
tables longer than the 1000 readings the engine processes.
"""
import os
import random
import subprocess
import sys
import tempfile


def number(rng, value):
    form = rng.randrange(6)
    if form == 0:
        return repr(value)
    if form == 1:
        return f"{value:.{rng.randrange(0, 8)}f}"
    if form == 2:
        return f"{value:.{rng.randrange(1, 9)}{rng.choice('eE')}}".replace("e", rng.choice("eEdDqQ"))
    if form == 3:
        return f"{value:+.5f}"
    if form == 4:
        return f"{value:.5f}".replace("0.", ".", 1) if abs(value) < 1 else f"{value:.5f}"
    return f"{value:.9g}"


def odd_value(rng):
    return rng.choice([0.0, -0.0, 1e-45, -1.0, 1e38, 3.4e38, 1e39, -1e39, 1e-40, 99999.0, 1e7])


def reading(rng):
    dtheta = rng.uniform(0.005, 0.5)
    tmed = rng.uniform(1, 3000)
    ratio = rng.choice([rng.uniform(1.5, 40), rng.uniform(0.5, 3), rng.uniform(20, 200)])
    values = [dtheta, tmed, tmed * ratio]
    if rng.random() < 0.08:
        values[rng.randrange(3)] = odd_value(rng)
    return values


def data_set(rng, i):
    eol = "\r\n" if rng.random() < 0.8 else "\n"
    desc = rng.choice(["Site %d" % i, "'quoted, with / slash'", "", "x" * 70, "\"two  words\"", "d\tt"])
    ri = rng.choice([0.018, 0.05, rng.uniform(0.001, 0.2)]) if rng.random() < 0.9 else odd_value(rng)
    h0 = rng.choice([0.3, rng.uniform(0.01, 2.0)]) if rng.random() < 0.9 else odd_value(rng)
    count = rng.choice([0, 1, 3, 10, 40, 100]) if i % 40 else rng.choice([999, 1000, 1001, 1200])
    lines = [desc, number(rng, ri) + rng.choice([" , ", ",", " ", "\t"]) + number(rng, h0)]
    for _ in range(count):
        items = [number(rng, v) for v in reading(rng)]
        shape = rng.random()
        if shape < 0.03:
            lines.append(" ".join(items[:rng.randrange(1, 3)]) + " /")  # the rest keeps last values
        elif shape < 0.05:
            lines.append(",".join(items[:1]) + ",," + items[2])  # a null value
        elif shape < 0.07:
            lines.extend(items)  # one item per record
        else:
            lines.append(rng.choice([" ", "  ", "\t", " , "]).join(items))
    tail = rng.random()
    if tail < 0.05:
        lines.append("junk")
    elif tail < 0.1:
        lines.append(number(rng, 0.2) + " 300")  # a partial last reading
    text = eol.join(lines)
    return text if rng.random() < 0.1 else text + eol


def run(exe, folder, name, text, crlf_console=False):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "w", newline="") as f:
        f.write(text)
    report = os.path.join(folder, "pd.out")
    if os.path.exists(report):
        os.remove(report)
    p = subprocess.run([exe, name], cwd=folder, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    body = open(report, "rb").read() if os.path.exists(report) else None
    out, err = p.stdout, p.stderr
    if crlf_console:
        out, err = out.replace(b"\r\n", b"\n"), err.replace(b"\r\n", b"\n")
    return p.returncode, out, err, body


def main():
    args = sys.argv[1:]
    crlf_console = "--console-crlf" in args
    args = [a for a in args if a != "--console-crlf"]
    old, new = (os.path.abspath(a) for a in args[0:2])
    count = int(args[2]) if len(args) > 2 else 500
    rng = random.Random(int(args[3]) if len(args) > 3 else 1)
    examples = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
    cases = [open(os.path.join(examples, f), newline="").read() for f in sorted(os.listdir(examples))]
    cases += [data_set(rng, i) for i in range(count)]
    failures = rows = flagged = odd = errors = waits = 0
    with tempfile.TemporaryDirectory() as tmp:
        for i, text in enumerate(cases):
            name = "data.pd" if i % 50 else "n" * rng.randrange(190, 240) + ".pd"  # cut at 200
            a = run(old, os.path.join(tmp, "old"), name, text)
            b = run(new, os.path.join(tmp, "new"), name, text, crlf_console)
            if a != b:
                failures += 1
                with open(f"mismatch_{i}.pd", "w", newline="") as f:
                    f.write(text)
                print(f"case {i}: differs (kept as mismatch_{i}.pd)")
                continue
            waits += a[1].count(b"**zbrent")
            if a[0] == 0 and a[3]:
                table = a[3].split(b"\r\n")[23:-4]
                rows += len(table)
                flagged += sum(1 for r in table if r[58:60] == b" *")
                odd += sum(1 for r in table if b"**" in r or b"Inf" in r or b"NaN" in r)
            else:
                errors += 1
    print(f"{len(cases)} data sets ({errors} ending in a diagnostic), {rows} rows "
          f"({flagged} flagged W, {odd} with overflow, Inf or NaN), {waits} root-finder messages, "
          f"{failures} differing")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
