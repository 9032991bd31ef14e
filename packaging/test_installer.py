#!/usr/bin/python3
"""Runs the shipped installer and its uninstaller silently under 32-bit Wine
against fake Winamp folders (an empty winamp.exe and a Plugins folder) in the
test prefix's C: drive, and checks what they leave behind.

Usage: test_installer.py WINE_RUN PREFIX INSTALLER DLL SETTINGS_KEY VERSION_TEXT
The caller holds the machine's lock: the prefix's registry is shared.
"""
import os
import shutil
import subprocess
import sys

ARP_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireo"
WINAMP_ARP_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
MARKER = "VireoInstallerTestMarker"

wine_run, prefix, installer, dll, settings_key, version = sys.argv[1:7]
failures = []


def check(condition, message):
    print(("ok   " if condition else "FAIL ") + message, flush=True)
    if not condition:
        failures.append(message)


def wine(*args):
    result = subprocess.run([wine_run, prefix, *args], capture_output=True, text=True,
                            errors="replace", timeout=120)
    return result.returncode, result.stdout


def reg_values(key):
    """The values of a key as {name: data}, or None when the key is absent."""
    code, out = wine("reg", "query", key)
    if code != 0:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2] if len(parts) == 3 else ""
    return values


def fake_winamp(name, with_exe=True):
    """A Winamp folder on the prefix's C: drive: (its Linux path, its Windows path)."""
    unix = os.path.join(prefix, "drive_c", "vireo-installer-test", name)
    shutil.rmtree(unix, ignore_errors=True)
    os.makedirs(os.path.join(unix, "Plugins"))
    if with_exe:
        open(os.path.join(unix, "winamp.exe"), "wb").close()
    return unix, "C:\\vireo-installer-test\\" + name


def same_bytes(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


def install_and_uninstall():
    unix, windows = fake_winamp("Winamp")
    plugins = os.path.join(unix, "Plugins")
    code, _ = wine(installer, "/S", "/D=" + windows)
    check(code == 0, f"silent install into {windows} succeeds ({code})")
    installed = os.path.join(plugins, "gen_vireo.dll")
    check(os.path.isfile(installed) and same_bytes(installed, dll), "Plugins holds the built gen_vireo.dll")
    check(os.path.isfile(os.path.join(plugins, "Vireo-uninstall.exe")), "uninstaller beside it")
    check(sorted(os.listdir(unix)) == ["Plugins", "winamp.exe"], f"nothing else in Winamp's folder ({os.listdir(unix)})")

    entry = reg_values(ARP_KEY) or {}
    uninstaller = windows + "\\Plugins\\Vireo-uninstall.exe"
    for name, data in (("DisplayName", "Vireo " + version), ("DisplayVersion", version),
                       ("Publisher", "Oskel"), ("UninstallString", f'"{uninstaller}"'),
                       ("InstallLocation", windows)):
        check(entry.get(name) == data, f"uninstall entry {name} = {data!r} ({entry.get(name)!r})")
    size = int(entry.get("EstimatedSize", "0"), 0)
    check(size >= os.path.getsize(dll) // 1024, f"uninstall entry EstimatedSize covers the DLL ({size} KB)")

    # A silent uninstall keeps the settings: mark the key, then look again.
    wine("reg", "add", "HKLM\\" + settings_key, "/v", MARKER, "/d", "1", "/f")
    # _?= runs the uninstaller in place and waits for it.
    code, _ = wine(uninstaller, "/S", "_?=" + windows + "\\Plugins")
    check(code == 0, f"silent uninstall succeeds ({code})")
    check(not os.path.exists(installed), "gen_vireo.dll is gone")
    check(reg_values(ARP_KEY) is None, "uninstall entry is gone")
    check(MARKER in (reg_values("HKLM\\" + settings_key) or {}), "settings key kept")
    wine("reg", "delete", "HKLM\\" + settings_key, "/v", MARKER, "/f")


def found_through_winamp_entry():
    # No /D=: the folder comes from Winamp's own uninstall entry.
    unix, windows = fake_winamp("Found")
    wine("reg", "add", WINAMP_ARP_KEY, "/v", "UninstallString", "/d", f'"{windows}\\UninstWA.exe"', "/f")
    code, _ = wine(installer, "/S")
    wine("reg", "delete", WINAMP_ARP_KEY, "/f")
    check(code == 0, f"silent install without a folder succeeds ({code})")
    check(os.path.isfile(os.path.join(unix, "Plugins", "gen_vireo.dll")),
          "installed into the folder of Winamp's uninstall entry")
    wine(windows + "\\Plugins\\Vireo-uninstall.exe", "/S", "_?=" + windows + "\\Plugins")


def refuses_folder_without_winamp():
    unix, windows = fake_winamp("NotWinamp", with_exe=False)
    code, _ = wine(installer, "/S", "/D=" + windows)
    check(code != 0, f"silent install into a folder without winamp.exe fails ({code})")
    check(os.listdir(os.path.join(unix, "Plugins")) == [] and os.listdir(unix) == ["Plugins"],
          "nothing copied")
    check(reg_values(ARP_KEY) is None, "no uninstall entry")


for case in (install_and_uninstall, found_through_winamp_entry, refuses_folder_without_winamp):
    print(f"-- {case.__name__}", flush=True)
    case()
shutil.rmtree(os.path.join(prefix, "drive_c", "vireo-installer-test"), ignore_errors=True)
print(f"{len(failures)} failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
