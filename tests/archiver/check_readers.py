#!/usr/bin/env python3
"""The archiver's archives as other programs see them.

Builds archives with the native wzzip and checks each with unzip -t, Python's zipfile and 7z t,
extracting and comparing byte for byte; then repeated updates, runs that fail half-way (unreadable
files, a read-only destination, a killed run), zip64 by size and by entry count, and the Windows
build under Wine started with a real Windows command line.
"""
import argparse
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import time
import zipfile

FAILURES = []
PASSED = 0


def check(condition, what):
    global PASSED
    if condition:
        PASSED += 1
    else:
        FAILURES.append(what)
        print(f"FAIL: {what}", flush=True)
    return condition


def write(path, data, mtime=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    if mtime is not None:
        os.utime(path, (mtime, mtime))


def sha(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


class Archiver:
    def __init__(self, program):
        self.program = program

    def __call__(self, archive, source, user=None):
        cmd = [self.program, "-u", "-p", "-r", archive, source.rstrip("/") + "/"]
        if user and os.geteuid() == 0:  # root reads anything: run as an ordinary user
            cmd = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] + cmd
        return run(cmd)


def tree(folder):
    """name -> bytes for files, name/ -> None for empty folders, as an archive would list them."""
    found = {}
    for root, dirs, files in os.walk(folder):
        rel = os.path.relpath(root, folder)
        prefix = "" if rel == "." else rel.replace(os.sep, "/") + "/"
        if not dirs and not files and prefix:
            found[prefix] = None
        for name in files:
            with open(os.path.join(root, name), "rb") as f:
                found[prefix + name] = f.read()
    return found


def verify(archive, expected, label, readers=("unzip", "python", "7z")):
    """All three readers accept the archive, and Python's view of it equals `expected`."""
    if "unzip" in readers:
        r = run(["unzip", "-tq", archive])
        check(r.returncode == 0, f"{label}: unzip -t: {r.stdout}{r.stderr}")
    if "7z" in readers:
        r = run(["7z", "t", archive])
        check(r.returncode == 0, f"{label}: 7z t: {r.stdout[-500:]}{r.stderr}")
    if "python" in readers:
        with zipfile.ZipFile(archive) as z:
            check(z.testzip() is None, f"{label}: python zipfile testzip")
            got = {i.filename: (None if i.is_dir() else z.read(i)) for i in z.infolist()}
        if expected is not None:
            missing = sorted(set(expected) - set(got))
            extra = sorted(set(got) - set(expected))
            wrong = sorted(n for n in set(got) & set(expected) if got[n] != expected[n])
            check(not missing and not extra and not wrong,
                  f"{label}: contents differ: missing {missing[:5]}, extra {extra[:5]}, "
                  f"different {wrong[:5]}")


def check_times(archive, source, label):
    """Each file entry carries its file's modification time as local MS-DOS time."""
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            if not info.is_dir():
                t = time.localtime(os.path.getmtime(os.path.join(source, info.filename)))
                want = t[:5] + (t.tm_sec // 2 * 2,)
                check(info.date_time == want, f"{label}: {info.filename} time {info.date_time}, "
                      f"expected {want}")


def extract_and_compare(archive, source, work, label):
    """unzip's extraction is the source folder again, byte for byte, empty folders included."""
    out = os.path.join(work, "extracted")
    shutil.rmtree(out, ignore_errors=True)
    r = run(["unzip", "-q", archive, "-d", out])
    check(r.returncode == 0, f"{label}: unzip extraction: {r.stderr}")
    check(tree(out) == tree(source), f"{label}: extracted tree differs from the source")


def make_source(src):
    rnd = random.Random(6)
    text = "".join(f"{i:08d} the quick brown fox jumps over the lazy dog\n" for i in range(90000))
    files = {
        "notes.txt": b"hello\n",
        "zero-length": b"",
        "-starts with a dash.txt": b"dash",
        "docs/report 2009.txt": text.encode()[: 1 << 20],  # exactly one compression piece
        "docs/long.txt": text.encode()[: (1 << 20) + 1],  # one byte into a second piece
        "docs/big text.txt": text.encode() * 2,  # several pieces
        "photos/random.bin": rnd.randbytes(3 << 20),  # incompressible, several pieces
        "photos/small random.bin": rnd.randbytes(5000),  # stored rather than deflated
        "unicode/été 日本 ü.txt": "données".encode(),
        "a/b/c/d/deep.txt": b"deep",
    }
    for name, data in files.items():
        write(os.path.join(src, name), data, mtime=1262304000)
    os.makedirs(os.path.join(src, "empty folder"))
    os.makedirs(os.path.join(src, "a/empty"))


def check_new_and_updates(wzzip, work):
    src, zip_path = os.path.join(work, "src"), os.path.join(work, "out", "backup.zip")
    make_source(src)
    os.makedirs(os.path.dirname(zip_path))
    r = wzzip(zip_path, src)
    check(r.returncode == 0, f"first run: exit {r.returncode}: {r.stderr}")
    verify(zip_path, tree(src), "new archive")
    extract_and_compare(zip_path, src, work, "new archive")
    check_times(zip_path, src, "new archive")

    # Rounds of edits; deleted files stay in the archive with their last content.
    expected = tree(src)
    rnd = random.Random(7)
    for round_ in range(3):
        names = sorted(n for n, d in tree(src).items() if d is not None)
        for name in rnd.sample(names, 2):
            os.remove(os.path.join(src, name))
        for name in rnd.sample(sorted(tree(src)), 2):
            if not name.endswith("/"):
                write(os.path.join(src, name), f"changed in round {round_}".encode(),
                      mtime=1262304000 + 100 * (round_ + 1))
        write(os.path.join(src, f"new/round {round_}.txt"), rnd.randbytes(2000).hex().encode())
        expected.update({n: d for n, d in tree(src).items()})
        # A folder that got files keeps its entry from when it was empty.
        r = wzzip(zip_path, src)
        check(r.returncode == 0, f"update round {round_}: exit {r.returncode}: {r.stderr}")
        verify(zip_path, expected, f"update round {round_}")

    before = sha(zip_path)
    r = wzzip(zip_path, src)
    check(r.returncode == 0 and sha(zip_path) == before, "a run with nothing to do changes nothing")
    return src, zip_path, expected


def check_failing_runs(wzzip, work, src, zip_path, expected):
    os.chmod(work, 0o755)
    for root, dirs, files in os.walk(work):
        for d in dirs:
            os.chmod(os.path.join(root, d), 0o777)
        for f in files:
            os.chmod(os.path.join(root, f), 0o666)

    # Unreadable files are skipped; an unreadable newer version keeps the older one.
    locked_new = os.path.join(src, "locked new.txt")
    locked_changed = os.path.join(src, "notes.txt")
    write(locked_new, b"secret")
    write(locked_changed, b"new notes", mtime=1262304000 + 10000)
    write(os.path.join(src, "readable new.txt"), b"readable")
    os.chmod(locked_new, 0)
    os.chmod(locked_changed, 0)
    r = wzzip(zip_path, src, user="nobody")
    check(r.returncode == 1, f"unreadable files: exit {r.returncode} (expected 1): {r.stderr}")
    check("locked new.txt" in r.stderr and "notes.txt" in r.stderr,
          f"unreadable files are named on stderr: {r.stderr}")
    expected = dict(expected, **{"readable new.txt": b"readable"})
    verify(zip_path, expected, "after unreadable files")
    os.chmod(locked_new, 0o666)
    os.chmod(locked_changed, 0o666)

    # A destination the run cannot write to: the old archive stays, nothing is left behind.
    write(os.path.join(src, "another.txt"), b"another")
    before = sha(zip_path)
    out_dir = os.path.dirname(zip_path)
    os.chmod(out_dir, 0o555)
    r = wzzip(zip_path, src, user="nobody")
    os.chmod(out_dir, 0o777)
    check(r.returncode == 3, f"read-only destination: exit {r.returncode} (expected 3): {r.stderr}")
    check(sha(zip_path) == before and os.listdir(out_dir) == ["backup.zip"],
          "read-only destination: archive unchanged, no temporary file")

    return expected


def check_zip64(wzzip, work):
    # A sparse file past 4 GiB, killed part-way once: the earlier archive must survive that.
    src, zip_path = os.path.join(work, "big"), os.path.join(work, "big.zip")
    write(os.path.join(src, "first.txt"), b"first")
    r = wzzip(zip_path, src)
    check(r.returncode == 0, f"small archive before the big run: {r.stderr}")
    before = sha(zip_path)
    with open(os.path.join(src, "huge.bin"), "wb") as f:
        f.truncate((4 << 30) + (1 << 16))
    write(os.path.join(src, "z after.txt"), b"after the big one")
    proc = subprocess.Popen([wzzip.program, "-u", "-p", "-r", zip_path, src + "/"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(2)
    check(proc.poll() is None, "the big run was still going when it was killed")
    proc.send_signal(signal.SIGKILL)
    proc.wait()
    check(sha(zip_path) == before, "a killed run leaves the old archive as it was")
    for leftover in os.listdir(work):
        if leftover.startswith("big.zip.") and leftover.endswith(".tmp"):
            os.remove(os.path.join(work, leftover))

    r = wzzip(zip_path, src)
    check(r.returncode == 0, f"big run: exit {r.returncode}: {r.stderr}")
    # Inflating 4 GiB costs each reader tens of seconds; 7z checks the data, the others the records.
    verify(zip_path, None, "zip64 by size", readers=("7z",))
    r = run(["unzip", "-l", zip_path])
    check(r.returncode == 0 and "4295032832" in r.stdout, f"unzip lists the zip64 size: {r.stdout}")
    with zipfile.ZipFile(zip_path) as z:
        sizes = {i.filename: i.file_size for i in z.infolist()}
        check(sizes.get("huge.bin") == (4 << 30) + (1 << 16), f"python reads the size: {sizes}")
        check(z.read("z after.txt") == b"after the big one", "python reads the entry after it")
    # An update reads the zip64 records back and copies the big entry as it is.
    write(os.path.join(src, "first.txt"), b"first, changed", mtime=time.time() + 5)
    r = wzzip(zip_path, src)
    check(r.returncode == 0 and "1 replaced, 2 kept" in r.stdout,
          f"zip64 update: {r.stdout}{r.stderr}")
    with zipfile.ZipFile(zip_path) as z:
        check(z.read("first.txt") == b"first, changed" and z.getinfo("huge.bin").file_size ==
              (4 << 30) + (1 << 16), "python reads the updated zip64 archive")
    shutil.rmtree(src)
    os.remove(zip_path)


def check_many_entries(wzzip, work):
    src, zip_path = os.path.join(work, "many"), os.path.join(work, "many.zip")
    for d in range(66):
        os.makedirs(os.path.join(src, f"d{d:02}"))
        for i in range(1000):
            with open(os.path.join(src, f"d{d:02}", f"{i}.txt"), "wb") as f:
                f.write(b"%d" % i)
    r = wzzip(zip_path, src)
    check(r.returncode == 0, f"66,000 entries: exit {r.returncode}: {r.stderr}")
    verify(zip_path, tree(src), "zip64 by entry count")
    shutil.rmtree(src)


def check_windows(exe, work):
    """wzzip.exe under Wine, started by cmd with the exact line a backup builds."""
    base = os.path.join(work, "wine")  # stands for a C: drive
    os.makedirs(base)
    scripts = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")
    r = run([os.path.join(scripts, "install-archiver.sh"), base])
    installed = os.path.join(base, "Program Files", "WinZip")
    check(r.returncode == 0 and os.path.isfile(os.path.join(installed, "winzip32.exe")) and
          sha(os.path.join(installed, "wzzip.exe")) == sha(exe), f"install-archiver.sh: {r.stderr}")
    os.makedirs(os.path.join(base, "Backup Zips"))
    src = os.path.join(base, "My Photos")
    make_source(src)
    win = run(["winepath", "-w", base]).stdout.strip()
    wine_run = os.path.join(scripts, "wine-run")

    def line(options, source):
        return (f'"{win}\\Program Files\\WinZip\\wzzip.exe" {options} '
                f'"{win}\\Backup Zips\\Photos-2009.zip" "{source}"')

    for label, text, code in [
            ("trailing backslash", line("-u -p -r", f"{win}\\My Photos\\"), 0),
            ("folder and *.*", line("-u -p -r", f"{win}\\My Photos\\*.*"), 0),
            ("unknown option", line("-u -x -r", f"{win}\\My Photos\\"), 2)]:
        with open(os.path.join(base, "run.bat"), "w", newline="\r\n") as f:
            f.write(f"@{text}\n@exit /b %errorlevel%\n")
        r = run([wine_run, "cmd", "/c", f"{win}\\run.bat"])
        check(r.returncode == code, f"wine, {label}: exit {r.returncode} (expected {code}): "
              f"{r.stdout}{r.stderr}")
    archive = os.path.join(base, "Backup Zips", "Photos-2009.zip")
    verify(archive, tree(src), "wine")
    extract_and_compare(archive, src, work, "wine")
    check_times(archive, src, "wine")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wzzip", required=True)
    parser.add_argument("--wzzip-exe", help="the Windows build, checked under Wine when given")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    wzzip = Archiver(os.path.abspath(args.wzzip))
    start = time.time()
    src, zip_path, expected = check_new_and_updates(wzzip, args.work)
    print(f"   new archive and updates ({time.time() - start:.0f} s)", flush=True)
    for label, step in [
            ("failing runs", lambda: check_failing_runs(wzzip, args.work, src, zip_path, expected)),
            ("zip64 by size", lambda: check_zip64(wzzip, args.work)),
            ("zip64 by entry count", lambda: check_many_entries(wzzip, args.work)),
            ("Windows build under Wine",
             lambda: args.wzzip_exe and check_windows(os.path.abspath(args.wzzip_exe), args.work))]:
        start = time.time()
        step()
        print(f"   {label} ({time.time() - start:.0f} s)", flush=True)
    shutil.rmtree(args.work, ignore_errors=True)
    print(f"archiver: {PASSED} passed, {len(FAILURES)} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
