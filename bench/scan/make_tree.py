#!/usr/bin/env python3
"""Builds the deterministic tree for the folder-scan benchmark.

About 50,000 files in about 5,000 folders, some of both dot-named, sizes from zero to several
GiB. Sizes are set with truncate, so the tree takes almost no disk space. The same arguments
always give the same tree: names, shape and sizes come from a seeded generator.
"""
import argparse
import os
import random
import shutil


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("root", help="folder to create (replaced when it exists)")
    parser.add_argument("--folders", type=int, default=5000)
    parser.add_argument("--files", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=20110805)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    if os.path.exists(args.root):
        shutil.rmtree(args.root)
    os.makedirs(args.root)

    # Each new folder hangs below a recent one, which gives depth; the depth cap keeps every
    # path well inside MAX_PATH for the ANSI baseline.
    folders = [(args.root, 0)]
    for i in range(1, args.folders):
        parent, depth = folders[rng.randrange(max(0, len(folders) - 50), len(folders))]
        if depth >= 7:
            parent, depth = folders[rng.randrange(len(folders))]
            if depth >= 7:
                parent, depth = args.root, 0
        dot = "." if rng.random() < 0.03 else ""
        path = os.path.join(parent, f"{dot}folder{i:05d}")
        os.mkdir(path)
        folders.append((path, depth + 1))

    for i in range(args.files):
        folder, _ = folders[rng.randrange(len(folders))]
        dot = "." if rng.random() < 0.02 else ""
        roll = rng.random()
        if roll < 0.05:
            size = 0
        elif roll < 0.9995:
            size = int(2 ** rng.uniform(0, 20))  # 1 byte to 1 MiB, log-uniform
        else:
            size = rng.randrange(2**32, 6 * 2**30 + 1)  # past the 32-bit size word
        with open(os.path.join(folder, f"{dot}file{i:05d}.dat"), "wb") as f:
            f.truncate(size)


if __name__ == "__main__":
    main()
