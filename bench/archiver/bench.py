#!/usr/bin/env python3
"""First-run and update-run throughput of wzzip against `zip -r -6` on one deterministic data set.

The data set mixes compressible text (40%), incompressible random data (40%) and many small files
(20%). After the first runs, 5% of the files are rewritten with new content and a newer time, and
each tool updates its own archive (`wzzip -u -p -r`, `zip -r -u -6`). With --wzzip-exe the Windows
build runs too, under Wine, as backups start it; a Wine server kept running for the whole
benchmark serves it, so its times hold the program's start under Wine but not the server's. It is
started by `wine` itself, in the environment the caller set up for the prefix: a shell wrapper
around it would add some 0.03 s to every run, a twentieth of an update. Each
figure is the median of several runs, the tools taking turns: first runs start from no archive,
update runs from a copy of the archive the first run made.
"""
import argparse
import os
import random
import resource
import shutil
import statistics
import subprocess
import time

WORDS = ("backup archive folder monthly photos documents report invoice letter summary "
         "january february march april quarter budget meeting notes draft final").split()


def text_block(rnd, size):
    out, n = [], 0
    while n < size:
        line = " ".join(rnd.choice(WORDS) for _ in range(12)) + f" {rnd.randrange(10**6)}\n"
        out.append(line)
        n += len(line)
    return "".join(out).encode()[:size]


def generate(folder, megabytes, seed=2009):
    rnd = random.Random(seed)
    total = megabytes << 20
    files = []
    # Text: files of 1-8 MB; random: files of 1-16 MB; small: 2-40 KB text and binary.
    budget = {"text": total * 4 // 10, "random": total * 4 // 10, "small": total * 2 // 10}
    pool = text_block(rnd, 4 << 20)
    i = 0
    while budget["text"] > 0:
        size = min(budget["text"], rnd.randrange(1 << 20, 8 << 20))
        start = rnd.randrange(0, len(pool) - (1 << 20))
        data = (pool[start:] + pool[:start]) * (size // len(pool) + 1)
        files.append((f"text/doc{i:03}.txt", data[:size]))
        budget["text"] -= size
        i += 1
    i = 0
    while budget["random"] > 0:
        size = min(budget["random"], rnd.randrange(1 << 20, 16 << 20))
        files.append((f"media/clip{i:03}.bin", rnd.randbytes(size)))
        budget["random"] -= size
        i += 1
    i = 0
    while budget["small"] > 0:
        size = min(budget["small"], rnd.randrange(2000, 40000))
        start = rnd.randrange(0, len(pool) - size)
        data = pool[start:start + size] if i % 3 else rnd.randbytes(size)
        files.append((f"small/{i // 200:03}/f{i:05}.dat", data))
        budget["small"] -= size
        i += 1
    for name, data in files:
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (1262304000, 1262304000))
    return [name for name, _ in files]


def change(folder, names, fraction, seed=6):
    rnd = random.Random(seed)
    chosen = rnd.sample(names, max(1, int(len(names) * fraction)))
    when = time.time()
    changed = 0
    for name in chosen:
        path = os.path.join(folder, name)
        with open(path, "r+b") as f:
            data = bytearray(f.read())
            for _ in range(8):
                data[rnd.randrange(len(data))] = rnd.randrange(256)
            f.seek(0)
            f.write(data)
            changed += len(data)
        os.utime(path, (when, when))
    return len(chosen), changed


def timed(cmd, cwd=None):
    """Wall-clock and CPU seconds (user + system, all threads) of one run."""
    subprocess.run(["sync"])
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    r = subprocess.run(cmd, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if r.returncode != 0:
        raise SystemExit(f"{cmd[0]} failed ({r.returncode}): {r.stderr}")
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return elapsed, cpu


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wzzip", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--wzzip-exe", help="the Windows build, run under Wine")
    parser.add_argument("--wine", default="wine", help="Wine's loader; WINEPREFIX etc. set")
    parser.add_argument("--megabytes", type=int, default=300)
    parser.add_argument("--first-runs", type=int, default=3)
    parser.add_argument("--update-runs", type=int, default=7)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    data = os.path.join(args.work, "data")
    os.makedirs(data)
    names = generate(data, args.megabytes)
    size = sum(os.path.getsize(os.path.join(data, n)) for n in names)
    archives = {tool: os.path.join(args.work, tool + ".zip") for tool in ("zip", "wzzip", "wzzip.exe")}
    runs = {"zip": ["zip", "-q", "-r", "-6", archives["zip"], "."],
            "wzzip": [args.wzzip, "-u", "-p", "-r", archives["wzzip"], data + "/"]}
    if args.wzzip_exe:
        win = lambda path: "Z:" + os.path.abspath(path).replace("/", "\\")
        runs["wzzip.exe"] = [args.wine, args.wzzip_exe, "-u", "-p", "-r",
                             win(archives["wzzip.exe"]), win(data) + "\\*.*"]
    mb = size / 1e6
    print(f"data set: {len(names)} files, {mb:.0f} MB "
          f"(40% text, 40% random, 20% small files); {os.cpu_count()} cores")

    def median(samples):
        return tuple(statistics.median(s[i] for s in samples) for i in range(2))

    first = {tool: [] for tool in runs}
    for _ in range(args.first_runs):
        for tool, cmd in runs.items():
            if os.path.exists(archives[tool]):
                os.remove(archives[tool])
            first[tool].append(timed(cmd, cwd=data))
    first = {tool: median(samples) for tool, samples in first.items()}
    for tool in runs:
        shutil.copyfile(archives[tool], archives[tool] + ".first")
    count, changed = change(data, names, 0.05)
    runs["zip"][3:3] = ["-u"]
    update = {tool: [] for tool in runs}
    for _ in range(args.update_runs):
        for tool, cmd in runs.items():
            shutil.copyfile(archives[tool] + ".first", archives[tool])
            update[tool].append(timed(cmd, cwd=data))
    update = {tool: median(samples) for tool, samples in update.items()}
    sizes = {tool: os.path.getsize(archives[tool]) for tool in runs}

    print(f"{'':10}{'first run':>10}{'(cpu)':>8}{'throughput':>13}{'archive':>11}{'ratio':>7}"
          f"{'update':>9}{'(cpu)':>8}{'update/first':>14}")
    for tool in runs:
        (wall, cpu), (uwall, ucpu) = first[tool], update[tool]
        print(f"{tool:10}{wall:>8.2f} s{cpu:>6.2f} s{mb / wall:>8.1f} MB/s{sizes[tool] / 1e6:>8.1f} MB"
              f"{sizes[tool] / size:>7.3f}{uwall:>7.2f} s{ucpu:>6.2f} s{uwall / wall:>13.1%}")
    print(f"update: {count} files changed ({changed / 1e6:.0f} MB); medians of {args.first_runs} "
          f"first and {args.update_runs} update runs; "
          "cpu = user + system time of all threads (under Wine without the Wine server's)")
    for tool in runs:
        if tool != "zip":
            print(f"{tool} against zip: first run {first['zip'][0] / first[tool][0]:.2f}x as fast "
                  f"({first['zip'][1] / first[tool][1]:.2f}x less cpu), "
                  f"update run {update['zip'][0] / update[tool][0]:.2f}x as fast, "
                  f"archive {sizes[tool] / sizes['zip']:.3f} of zip's size")
    shutil.rmtree(args.work, ignore_errors=True)


if __name__ == "__main__":
    main()
