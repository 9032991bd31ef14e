#!/usr/bin/python3
"""Checks the release bundle: the zip holds the DLL as built, the installer,
and the source tree's README, licence, settings guide and pictures under one
folder, every relative link of its documents leads to a file in it (the
README reads whole where the zip is unpacked), making it again gives the same
bytes, and SHA256SUMS matches both downloads.

Usage: check_bundle.py DIST_DIR NAME DLL SOURCE_DIR
"""
import hashlib
import os
import posixpath
import re
import sys
import tempfile
import zipfile

import make_bundle

# Markdown links and pictures: [text](target) and ![text](target).
LINK = re.compile(r"\]\(([^)\s]+)\)")


def main(dist, name, dll, source):
    failures = []

    def check(condition, message):
        print(("ok   " if condition else "FAIL ") + message)
        if not condition:
            failures.append(message)

    installer = f"{name}-setup.exe"
    images = sorted("docs/images/" + n for n in os.listdir(os.path.join(source, "docs", "images")))
    documents = ["README.md", "LICENSE", "docs/settings.md"] + images
    archive = os.path.join(dist, name + ".zip")
    with zipfile.ZipFile(archive) as z:
        names = z.namelist()
        expected = [f"{name}/{n}" for n in [installer, "gen_vireo.dll"] + documents]
        check(sorted(names) == sorted(expected), f"zip holds {expected} ({names})")
        with open(dll, "rb") as f:
            check(z.read(f"{name}/gen_vireo.dll") == f.read(), "zip's DLL is the built one")
        with open(os.path.join(dist, installer), "rb") as f:
            check(z.read(f"{name}/{installer}") == f.read(), "zip's installer is the one beside it")
        for document in documents:
            with open(os.path.join(source, document), "rb") as f:
                check(z.read(f"{name}/{document}") == f.read(), f"zip's {document} is the source tree's")
        check(b"MIT License" in z.read(f"{name}/LICENSE"), "licence is MIT")
        for document in (n for n in names if n.endswith(".md")):
            text = z.read(document).decode("utf-8")
            for target in LINK.findall(text):
                if re.match(r"[a-z]+:|#", target):
                    continue
                path = posixpath.normpath(posixpath.join(posixpath.dirname(document), target))
                check(path in names, f"{document} links {target}, in the zip")
        # The same inputs, later: the same bytes.
        with tempfile.TemporaryDirectory() as again:
            make_bundle.main(again, name, source, os.path.join(dist, installer), dll, documents)
            with open(archive, "rb") as a, open(os.path.join(again, name + ".zip"), "rb") as b:
                check(a.read() == b.read(), "making the zip again gives the same bytes")
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
    sys.exit(main(*sys.argv[1:5]))
