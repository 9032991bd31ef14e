#!/usr/bin/python3
"""Makes the release bundle: a zip under one folder named after the release,
holding the installer and the DLL, then the source tree's documents at their
paths in the tree (the README and the pictures and guides it links), and a
SHA-256 list (sha256sum's format) of the zip and of the installer beside it.
The zip is the same bytes for the same inputs: fixed dates and permissions,
files in the order given.

Usage: make_bundle.py DIST_DIR NAME SOURCE_DIR INSTALLER DLL [DOCUMENT...]
(each DOCUMENT a path relative to SOURCE_DIR, with forward slashes)
"""
import hashlib
import os
import sys
import zipfile

FIXED_DATE = (2026, 1, 1, 0, 0, 0)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 16), b""):
            digest.update(block)
    return digest.hexdigest()


def main(dist, name, source, installer, dll, documents):
    os.makedirs(dist, exist_ok=True)
    archive = os.path.join(dist, name + ".zip")
    entries = [(os.path.basename(p), p) for p in (installer, dll)]
    entries += [(d, os.path.join(source, d)) for d in documents]
    with zipfile.ZipFile(archive + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for entry_name, path in entries:
            entry = zipfile.ZipInfo(f"{name}/{entry_name}", FIXED_DATE)
            entry.external_attr = 0o644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(entry, f.read())
    os.replace(archive + ".part", archive)
    sums = "".join(f"{sha256(p)}  {os.path.basename(p)}\n" for p in (archive, installer))
    with open(os.path.join(dist, "SHA256SUMS"), "w") as f:
        f.write(sums)
    return sums


if __name__ == "__main__":
    print(main(*sys.argv[1:6], sys.argv[6:]), end="")
