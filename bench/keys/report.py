#!/usr/bin/env python3
"""Prints the keystroke benchmark's figures from keys_bench.exe's output of both programs."""
import statistics
import sys


def read(path):
    lines = [line.split(" ", 1) for line in open(path) if " " in line]
    values = {}
    for key, value in lines:
        values.setdefault(key, []).append(value.strip())
    return values


def numbers(values, key):
    return [float(v) for v in values.get(key, [])]


def main():
    ours, earlier = read(sys.argv[1]), read(sys.argv[2])
    baseline, rounds = sys.argv[3], int(sys.argv[4])
    rows = []

    def row(label, fn, unit="ms"):
        rows.append((label, fn(ours), fn(earlier), unit))

    row("keystroke wait, median", lambda v: statistics.median(numbers(v, "key_ms")))
    row("keystroke wait, longest", lambda v: max(numbers(v, "key_ms")))
    row("settle after the last key, median", lambda v: statistics.median(numbers(v, "settle_ms")))
    row("program CPU, first key to settle", lambda v: statistics.median(numbers(v, "cpu_ms")))
    answered = lambda v: [n for n in numbers(v, "null_ms") if n >= 0]
    row("WM_NULL during a backup, longest answer", lambda v: max(answered(v), default=float("nan")))
    row("WM_NULL during a backup, unanswered in 2 s",
        lambda v: "%d of %d" % (len(numbers(v, "null_ms")) - len(answered(v)),
                                len(numbers(v, "null_ms"))), "")
    row("hung 5.5 s into the backup", lambda v: "%d of %d" % (sum(numbers(v, "hung")), rounds), "")
    row("program CPU, first 6.5 s of the backup", lambda v: statistics.median(numbers(v, "backup_cpu_ms")))
    scan = statistics.median(numbers(ours, "scan_ms") + numbers(earlier, "scan_ms"))

    print("\nTyping M:\\Archive\\2026, a key every 100 ms; %d rounds, medians of all keys and runs"
          % rounds)
    print("  %-44s %10s %10s" % ("", "ours", "earlier"))
    for label, a, b, unit in rows:
        shown = [("%10.1f" % x) if isinstance(x, float) else ("%10s" % x) for x in (a, b)]
        print("  %-44s %s %s  %s" % (label, shown[0], shown[1], unit))
    print("\nOne refresh of M:\\Archive\\2026 alone: %.1f ms" % scan)

    status = 0
    expected = set(ours["expected"] + earlier["expected"])
    for name, values in (("ours", ours), ("earlier", earlier)):
        got = set("files=" + f.split("files=", 1)[1] for f in values["figures"])
        if got != expected or len(values["figures"]) != rounds:
            print("MISMATCH: %s showed %s at rest, a whole walk gives %s" % (name, got, expected))
            status = 1
    if status == 0:
        print("Figures at rest identical to a whole walk, for both: %s" % expected.pop())

    checks = [
        ("longest keystroke wait <= 100 ms", rows[1][1] <= 100),
        ("settle <= one refresh of the folder + 200 ms (%.1f)" % (scan + 200), rows[2][1] <= scan + 200),
        ("WM_NULL answered within 100 ms during a backup",
         rows[4][1] <= 100 and rows[5][1].startswith("0 ")),
    ]
    print("\nTargets (ours; earlier = %s)" % baseline)
    for label, met in checks:
        print("  %-60s %s" % (label, "met" if met else "NOT MET"))
    return status


if __name__ == "__main__":
    sys.exit(main())
