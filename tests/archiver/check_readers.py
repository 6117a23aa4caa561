#!/usr/bin/env python3
"""wzzip.exe under Wine, started as backups start it, its archives read by zipfile, unzip and 7zz:
a new archive, an update, a run killed half-way, zip64 by size and by entry count."""
import os, pathlib, shutil, signal, subprocess, sys, time, zipfile

WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "wine.sh")
HUGE, HUGE_CRC = (4 << 30) + (1 << 16), 0xE50D43F3  # a sparse file of zeros past 4 GiB
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print(f"FAIL: {what}", flush=True)


def run(*cmd):
    return subprocess.run(cmd, capture_output=True, text=True, stdin=subprocess.DEVNULL)


def write(path, data, mtime=1262304000):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    pathlib.Path(path).write_bytes(data)
    os.utime(path, (mtime, mtime))


def main(work):
    shutil.rmtree(work, ignore_errors=True)
    zips, src, win = f"{work}/Backup Zips", f"{work}/My Photos", "Z:" + work.replace("/", "\\")
    os.makedirs(zips)
    check(run(os.path.join(os.path.dirname(WINE), "install-archiver.sh"), work).returncode == 0, "install")
    line = [f"{win}\\Program Files\\WinZip\\wzzip.exe", "-u", "-p", "-r", f"{win}\\Backup Zips\\"]
    text = b"".join(b"%08d the quick brown fox jumps over the lazy dog\n" % i for i in range(50000))
    for name, data in {"notes.txt": b"hi\n", "zero": b"", "-dash.txt": b"-", "a/b/c/deep.txt": b"d",
                       "docs/one piece.txt": text[: 1 << 20], "docs/long.txt": text[: (1 << 20) + 1],
                       "docs/big.txt": text * 2, "photos/random.bin": os.urandom(3 << 20),
                       "photos/small.bin": os.urandom(5000), "été 日本.txt": "données".encode()}.items():
        write(f"{src}/{name}", data)
    os.makedirs(f"{src}/empty folder")
    archive, expected = f"{zips}/Photos-2009.zip", f"{work}/expected"
    # The exact lines the two backups build, started by cmd from a batch file: a new archive, then
    # an update after a change, an addition and a deletion, which removes the leftover of a killed
    # run and keeps a look-alike. Each reader's extraction is the source, deleted files included.
    for source, summary in (("My Photos\\", "11 added"), ("My Photos\\*.*", "1 added, 1 replaced, 10 kept")):
        if "kept" in summary:
            write(f"{src}/notes.txt", b"changed\n", time.time())
            write(f"{src}/new/added.txt", b"added")
            os.remove(f"{src}/docs/long.txt")
            write(f"{archive}.4242-7-0.tmp", b"left by a killed run")
            write(f"{archive}.4242-7.tmp", b"not a name of wzzip's")
        shutil.copytree(src, expected, dirs_exist_ok=True)
        with open(f"{work}/run.bat", "w", newline="\r\n") as f:
            f.write(f'@"{line[0]}" -u -p -r "{line[4]}Photos-2009.zip" "{win}\\{source}"\n@exit /b %errorlevel%\n')
        r = run(WINE, "cmd", "/c", f"{win}\\run.bat")
        check(r.returncode == 0 and summary in r.stdout, r.stdout)
        for extract in (lambda out: zipfile.ZipFile(archive).extractall(out),
                        lambda out: run("unzip", "-q", archive, "-d", out), lambda out: run("7zz", "x", archive, "-o" + out)):
            extract(f"{work}/x")
            check(run("diff", "-r", expected, f"{work}/x").returncode == 0, f"{source}: {extract}")
            shutil.rmtree(f"{work}/x")
    check(sorted(os.listdir(zips)) == ["Photos-2009.zip", "Photos-2009.zip.4242-7.tmp"], "leftovers")
    with zipfile.ZipFile(archive) as z:
        t = {i.date_time for i in z.infolist() if i.filename.startswith("docs/")}
        check(t == {time.localtime(1262304000)[:6]}, f"MS-DOS times {t}")

    # 65,535 entries of another writer, with data descriptors; then a file past 4 GiB, killed
    # half-way (the archive stays as it was) and run to the end: zip64 by count and by size.
    many = f"{zips}/Many-2009.zip"
    with open(many, "wb") as f:  # not seekable, so zipfile writes data descriptors
        with zipfile.ZipFile(type("Stream", (), {"write": f.write, "flush": f.flush})(), "w") as z:
            for i in range(65535):
                z.writestr(f"old/{i}", b"%d" % i)
    before = open(many, "rb").read()
    write(f"{src}/huge.bin", b"")
    os.truncate(f"{src}/huge.bin", HUGE)
    line = [WINE] + line[:4] + [line[4] + "Many-2009.zip", f"{win}\\My Photos\\*.*"]
    proc = subprocess.Popen(line, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    while len(os.listdir(zips)) < 4 and proc.poll() is None:
        time.sleep(0.05)
    time.sleep(0.5)
    proc.send_signal(signal.SIGKILL)
    check(proc.wait() == -9 and open(many, "rb").read() == before, "killed half-way")
    r = run(*line)
    check(r.returncode == 0 and "removed" in r.stdout and len(os.listdir(zips)) == 3, r.stdout)
    count = 65535 + 12  # the source's 11 files (docs/long.txt went, huge.bin came) and a folder
    with zipfile.ZipFile(many) as z:
        huge = z.getinfo("huge.bin")
        check((len(z.infolist()), huge.file_size, huge.CRC) == (count, HUGE, HUGE_CRC), "zipfile")
        check(z.open(huge).read(1 << 20) == bytes(1 << 20) and z.read("old/65534") == b"65534", "")
    r = run("7zz", "l", "-slt", many)
    check(r.stdout.count("\nPath = ") == count + 1 and f"Size = {HUGE}\n" in r.stdout, "7zz -l")
    r = run("unzip", "-l", many)
    check(f"{HUGE}  " in r.stdout and r.stdout.rstrip().endswith(f"{count} files"), "unzip -l")
    shutil.rmtree(work)
    print(f"archiver under Wine: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(os.path.abspath(sys.argv[1])))
