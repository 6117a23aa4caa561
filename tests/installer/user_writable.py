#!/usr/bin/env python3
# Which installed files and folders standard users may write, worked out from the icacls calls
# setup made (one command line a line) and the installed tree, inherited rights included. Paths
# setup made start from their parent's rights; the system folders they sit in grant standard users
# no writing, as Windows has them.
#
# usage: user_writable.py <icacls log> <drive_c folder> <installed path (C:\...)>...
# Prints every such path, and fails when one is a program or DLL, a folder holding one, or a
# folder a shortcut among the installed paths names (the program's folder, its working folder).
import os
import re
import sys

# Users, Everyone, Authenticated Users; "owner" stands for an owner, who may always change rights.
USERS = {"S-1-5-32-545", "S-1-1-0", "S-1-5-11", "owner"}
WRITES = {"F", "M", "W", "D", "DE", "WDAC", "WO", "MA", "GA", "GW", "WD", "AD", "WEA", "DC", "WA"}
CODE = (".exe", ".dll")


def grant(text):  # "*S-1-5-32-545:(OI)(CI)M" -> (sid, inheritance flags, whether it writes)
    sid, _, perm = text.partition(":")  # NP is taken as absent: at worst more counts as writable
    tokens = set(re.split(r"[(),]+", perm))
    return sid.lstrip("*"), {"OI", "CI", "IO"} & tokens, bool(WRITES & tokens)


def apply(acl, args):  # acl: {"protected": bool, "aces": [(sid, flags, writes)], "owner": sid}
    for option, values in re.findall(r"(/\S+)((?:\s+[^/\s]\S*)*)", " ".join(args).lower()):
        values = [v.lstrip("*").upper() for v in values.split()]
        if option in ("/grant", "/grant:r"):
            grants = [grant(v) for v in values]
            if option == "/grant:r":
                acl["aces"] = [a for a in acl["aces"] if a[0] not in {g[0] for g in grants}]
            acl["aces"] += grants
        elif option in ("/inheritance:r", "/reset"):
            acl["protected"] = option == "/inheritance:r"
            acl["aces"] = [] if option == "/reset" else acl["aces"]
        elif option == "/setowner":
            acl["owner"] = values[0]
        else:
            sys.exit(f"user_writable: no model for icacls {option}")


def main(log, drive_c, roots):
    acls = {}
    for line in filter(str.strip, open(log, encoding="utf-8")):
        args = [a or b for a, b in re.findall(r'"([^"]*)"|(\S+)', line)]
        apply(acls.setdefault(args[1].lower(), {"protected": False, "aces": []}), args[2:])

    def host(path):  # the Windows path's file in this prefix
        return os.path.join(drive_c, *path[3:].split("\\"))

    tree = list(roots)
    for root in roots:
        for top, dirs, files in os.walk(host(root)):
            here = root + top[len(host(root)):].replace("/", "\\")
            tree += [here + "\\" + name for name in dirs + files]

    def aces(path):  # every entry that reaches path: (sid, flags, writes, applies to it)
        acl = acls.get(path.lower(), {"protected": False, "aces": []})
        parent = path.rsplit("\\", 1)[0]
        mine = [(sid, f, w, "IO" not in f) for sid, f, w in acl["aces"]]
        mine.append(("owner", set(), acl.get("owner") in USERS, True))
        if acl["protected"] or parent == path:
            return mine
        folder = os.path.isdir(host(path))
        for sid, f, w, _ in aces(parent):
            if "OI" in f and not folder:
                mine.append((sid, set(), w, True))
            elif "CI" in f and folder:
                mine.append((sid, f - {"IO"}, w, True))
            elif "OI" in f and folder:
                mine.append((sid, {"OI", "IO"}, w, False))
        return mine

    named = set()  # folders a shortcut names: found as text, not by parsing the link format
    for lnk in (p for p in tree if p.lower().endswith(".lnk")):
        data = open(host(lnk), "rb").read()
        text = "".join(d.decode(e, "ignore") for d in (data, data[1:]) for e in ("latin-1", "utf-16-le"))
        for path in tree:
            if re.search(re.escape(path) + r"(?!\\)", text, re.I):
                named.add(path if os.path.isdir(host(path)) else path.rsplit("\\", 1)[0])

    failed = False
    for path in tree:
        if not any(sid in USERS and w and own for sid, _, w, own in aces(path)):
            continue
        print(f"   users may write: {path}")
        inside = os.listdir(host(path)) if os.path.isdir(host(path)) else []
        faults = [path.lower().endswith(CODE) and "a program users may replace",
                  any(n.lower().endswith(CODE) for n in inside) and "a folder users may write holds code",
                  path in named and "a shortcut starts in or from a folder users may write"]
        for fault in filter(None, faults):
            print(f"   FAIL: {fault}: {path}")
            failed = True
    return int(failed)

if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
