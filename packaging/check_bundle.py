#!/usr/bin/python3
"""Checks the release bundle: the zip holds the DLL as built, the installer,
the README and the licence under one folder, and SHA256SUMS matches both
downloads.

Usage: check_bundle.py DIST_DIR NAME DLL
"""
import hashlib
import os
import sys
import zipfile


def main(dist, name, dll):
    failures = []

    def check(condition, message):
        print(("ok   " if condition else "FAIL ") + message)
        if not condition:
            failures.append(message)

    installer = f"{name}-setup.exe"
    with zipfile.ZipFile(os.path.join(dist, name + ".zip")) as z:
        names = sorted(z.namelist())
        expected = sorted(f"{name}/{n}" for n in (installer, "gen_vireo.dll", "README.md", "LICENSE"))
        check(names == expected, f"zip holds {expected} ({names})")
        with open(dll, "rb") as f:
            check(z.read(f"{name}/gen_vireo.dll") == f.read(), "zip's DLL is the built one")
        with open(os.path.join(dist, installer), "rb") as f:
            check(z.read(f"{name}/{installer}") == f.read(), "zip's installer is the one beside it")
        check(b"MIT License" in z.read(f"{name}/LICENSE"), "licence is MIT")
    with open(os.path.join(dist, "SHA256SUMS")) as f:
        lines = f.read().splitlines()
    listed = dict(reversed(line.split("  ", 1)) for line in lines)
    check(sorted(listed) == sorted([name + ".zip", installer]), f"SHA256SUMS lists the zip and installer ({lines})")
    for file, digest in listed.items():
        with open(os.path.join(dist, file), "rb") as f:
            check(hashlib.sha256(f.read()).hexdigest() == digest, f"SHA-256 of {file}")
    print(f"{len(failures)} failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
