#!/usr/bin/python3
"""Checks the shipped gen_vireo.dll with pefile: what a player copies into
Winamp's Plugins folder must be one self-contained 32-bit DLL."""
import sys

import pefile

ALLOWED_IMPORTS = {
    "kernel32.dll", "user32.dll", "advapi32.dll", "ws2_32.dll", "shell32.dll",
    "gdi32.dll", "comctl32.dll", "msvcrt.dll", "comdlg32.dll", "ole32.dll",
    "oleaut32.dll", "version.dll", "wsock32.dll",
}
EXPECTED_STRINGS = {
    "Comments": "In-game Winamp control for Half-Life and its mods.",
    "CompanyName": "Oskel",
    "FileDescription": "Vireo Plugin DLL",
    "FileVersion": "1.31",
    "InternalName": "Vireo130",
    "OriginalFilename": "gen_vireo.dll",
    "ProductName": "Vireo",
    "ProductVersion": "1.31",
}
SHARED_FLAGS = {
    "IMAGE_SCN_CNT_INITIALIZED_DATA": 0x00000040,
    "IMAGE_SCN_MEM_SHARED": 0x10000000,
    "IMAGE_SCN_MEM_READ": 0x40000000,
    "IMAGE_SCN_MEM_WRITE": 0x80000000,
}

failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message)
    if not condition:
        failures.append(message)


def version_strings(pe):
    found, translations = {}, []
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            if entry.Key == b"StringFileInfo":
                for table in entry.StringTable:
                    for key, value in table.entries.items():
                        found[key.decode()] = value.decode()
            elif entry.Key == b"VarFileInfo":
                for var in entry.Var:
                    translations.extend(var.entry.values())
    return found, translations


def main(path):
    pe = pefile.PE(path)
    check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"], "machine is i386")
    check(pe.is_dll(), "file is a DLL")

    exports = pe.DIRECTORY_ENTRY_EXPORT
    names = [s.name.decode() for s in exports.symbols if s.name]
    check(names == ["winampGetGeneralPurposePlugin"], f"exactly one export, undecorated: {names}")
    check(pe.get_string_at_rva(exports.struct.Name) == b"gen_vireo.dll", "export table names gen_vireo.dll")

    shared = [s for s in pe.sections if s.Name.rstrip(b"\0") == b".shared"]
    check(len(shared) == 1, "one .shared section")
    if shared:
        section = shared[0]
        for flag, bit in SHARED_FLAGS.items():
            check(section.Characteristics & bit == bit, f".shared has {flag}")
        check(section.Characteristics & 0x20000000 == 0, ".shared is not executable")
        check(section.Misc_VirtualSize == 1536, f".shared holds 1536 bytes ({section.Misc_VirtualSize})")
        check(set(section.get_data()[:1536]) <= {0}, ".shared is zero at load")

    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    check(set(imports) <= ALLOWED_IMPORTS, f"imports only system DLLs: {imports}")

    fixed = pe.VS_FIXEDFILEINFO[0]
    check((fixed.FileVersionMS, fixed.FileVersionLS) == (0x00010000, 0x00000000), "file version 1.0.0.0")
    check((fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x00010003, 0x00010000), "product version 1.3.1.0")
    strings, translations = version_strings(pe)
    for key, value in EXPECTED_STRINGS.items():
        check(strings.get(key) == value, f"version string {key} = {value!r} ({strings.get(key)!r})")
    check(any(str(t).lower() == "0x0409 0x04b0" for t in translations), f"translation 0x0409/1200 ({translations})")

    print(f"{len(failures)} failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
