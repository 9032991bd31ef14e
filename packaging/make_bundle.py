#!/usr/bin/python3
"""Makes the release bundle: a zip of the given files under one folder named
after the release, and a SHA-256 list (sha256sum's format) of the zip and of
the installer beside it. The zip is the same bytes for the same inputs: fixed
dates and permissions, files in the order given.

Usage: make_bundle.py DIST_DIR NAME INSTALLER FILE...
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


def main(dist, name, installer, files):
    os.makedirs(dist, exist_ok=True)
    archive = os.path.join(dist, name + ".zip")
    with zipfile.ZipFile(archive + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for path in [installer] + files:
            entry = zipfile.ZipInfo(f"{name}/{os.path.basename(path)}", FIXED_DATE)
            entry.external_attr = 0o644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(entry, f.read())
    os.replace(archive + ".part", archive)
    sums = "".join(f"{sha256(p)}  {os.path.basename(p)}\n" for p in (archive, installer))
    with open(os.path.join(dist, "SHA256SUMS"), "w") as f:
        f.write(sums)
    print(sums, end="")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
