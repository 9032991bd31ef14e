#!/usr/bin/python3
"""Runs the shipped installer and its uninstaller silently under 32-bit Wine
against fake Winamp folders (an empty winamp.exe and a Plugins folder) in the
test prefix's C: drive, and checks what they leave behind. The fake game runs
them beside its window (of the game's or of Winamp's class), or holding the
DLL open as the game holds it on Windows (where Wine would let it go).

Usage: test_installer.py WINE_RUN PREFIX INSTALLER DLL SETTINGS_KEY VERSION_TEXT FAKE_GAME
The caller holds the machine's lock: the prefix's registry is shared.
"""
import os
import re
import shutil
import subprocess
import sys

ARP_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vireo"
WINAMP_ARP_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
SESSION_MANAGER = r"HKLM\System\CurrentControlSet\Control\Session Manager"
MARKER = "VireoInstallerTestMarker"
EXIT_REFUSED, EXIT_RESTART = 2, 3010

wine_run, prefix, installer, dll, settings_key, version, fake_game = sys.argv[1:8]
installer_on_z = "Z:" + installer.replace("/", "\\")  # the path that Windows programs see
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


def beside_fake_game(fake_options, command_line):
    """Runs the command line from the fake game, once its window exists: the
    command's exit code (None when it did not run)."""
    _, out = wine(fake_game, "--no-copies", *fake_options, "--run", command_line)
    found = re.search(r"^exit code (\d+)", out, re.M)
    return int(found.group(1)) if found else None


def snapshot(unix):
    """Every file of a Winamp folder with its bytes, and the uninstall entry."""
    files = {}
    for root, _, names in os.walk(unix):
        for name in names:
            with open(os.path.join(root, name), "rb") as f:
                files[os.path.relpath(os.path.join(root, name), unix)] = f.read()
    return files, reg_values(ARP_KEY)


def volatile(key):
    """True when the key is volatile (gone at the next restart): Windows
    refuses it a lasting subkey."""
    code, _ = wine("reg", "add", key + "\\VireoVolatileProbe", "/f")
    if code == 0:
        wine("reg", "delete", key + "\\VireoVolatileProbe", "/f")
    return code != 0


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
    check(not volatile(ARP_KEY), "uninstall entry lasts across restarts")

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


def pending_deletions():
    """The files Windows deletes at the next restart."""
    _, out = wine("reg", "query", SESSION_MANAGER, "/v", "PendingFileRenameOperations")
    found = re.search(r"REG_MULTI_SZ\s+(.*)", out)
    items = found.group(1).split("\\0") if found else []
    return {items[i].removeprefix("\\??\\") for i in range(0, len(items) - 1, 2) if items[i + 1] == ""}


def refused_while_in_use():
    # An older Vireo (other bytes) is installed; neither program may touch it
    # while Winamp or the game could hold it.
    unix, windows = fake_winamp("InUse")
    plugins = windows + "\\Plugins"
    wine(installer, "/S", "/D=" + windows)
    with open(os.path.join(unix, "Plugins", "gen_vireo.dll"), "wb") as f:
        f.write(b"an older gen_vireo.dll")
    setup = f'"{installer_on_z}" /S /D={windows}'
    uninstall = f'"{plugins}\\Vireo-uninstall.exe" /S _?={plugins}'
    game, winamp = ["--window-class", "Half-Life"], ["--window-class", "Winamp v1.x"]
    held = ["--window-class", "VireoTestHolder", "--hold-file", plugins + "\\gen_vireo.dll"]
    for beside, options, program, line in (
            ("the game's window", game, "install", setup), ("the game's window", game, "uninstall", uninstall),
            ("Winamp's window", winamp, "install", setup), ("Winamp's window", winamp, "uninstall", uninstall),
            ("the DLL held open", held, "install", setup)):
        before = snapshot(unix)
        code = beside_fake_game(options, line)
        check(code == EXIT_REFUSED and snapshot(unix) == before,
              f"silent {program} beside {beside} exits {EXIT_REFUSED} ({code}) and changes nothing")
    wine(plugins + "\\Vireo-uninstall.exe", "/S", "_?=" + plugins)


def uninstall_waits_for_restart():
    # The DLL held open: Windows deletes it and the uninstaller at the next
    # restart, and the entry, volatile, goes with that restart.
    unix, windows = fake_winamp("Pending")
    plugins = windows + "\\Plugins"
    wine(installer, "/S", "/D=" + windows)
    entry = reg_values(ARP_KEY)
    already_pending = pending_deletions()
    held = ["--window-class", "VireoTestHolder", "--hold-file", plugins + "\\gen_vireo.dll"]
    code = beside_fake_game(held, f'"{plugins}\\Vireo-uninstall.exe" /S _?={plugins}')
    check(code == EXIT_RESTART, f"silent uninstall of a held DLL exits {EXIT_RESTART} ({code})")
    check(sorted(os.listdir(os.path.join(unix, "Plugins"))) == ["Vireo-uninstall.exe", "gen_vireo.dll"],
          "the DLL and the uninstaller stay until the restart")
    waiting = reg_values(ARP_KEY) or {}
    changed = {k: waiting.get(k) for k in set(entry) | set(waiting) if waiting.get(k) != entry.get(k)}
    check(changed == {"PendingRemoval": plugins + "\\gen_vireo.dll"},
          f"the entry stays, naming the DLL that the restart removes ({changed})")
    check(volatile(ARP_KEY), "the entry is volatile: it goes with the restart")
    scheduled = pending_deletions() - already_pending
    expected = {plugins + "\\gen_vireo.dll", plugins + "\\Vireo-uninstall.exe"}
    check(scheduled == expected, f"Windows deletes the DLL and the uninstaller at the restart ({scheduled})")
    # Until the restart, both programs refuse and change nothing.
    before = snapshot(unix)
    code, _ = wine(installer, "/S", "/D=" + windows)
    check(code == EXIT_REFUSED and snapshot(unix) == before,
          f"silent install exits {EXIT_REFUSED} until the restart ({code}), changes nothing")
    code, _ = wine(plugins + "\\Vireo-uninstall.exe", "/S", "_?=" + plugins)
    check(code == EXIT_RESTART % 256 and snapshot(unix) == before,
          f"silent uninstall exits {EXIT_RESTART} again ({code} modulo 256), changes nothing")
    # The restart's part, so that the prefix stays as it was.
    wine("reg", "delete", ARP_KEY, "/f")
    if not already_pending:
        wine("reg", "delete", SESSION_MANAGER, "/v", "PendingFileRenameOperations", "/f")


def uninstall_removes_settings_on_request():
    # /REMOVESETTINGS: the machine's key, the player's key and the player's
    # VirtualStore copy of the machine's key go, and each parent once nothing
    # else is in it (here the player's publisher key holds another product).
    publisher = settings_key.rsplit("\\", 2)[0]
    roots = ("HKLM\\", "HKCU\\", "HKCU\\Software\\Classes\\VirtualStore\\MACHINE\\")
    saved = []
    os.makedirs(os.path.join(prefix, "drive_c", "vireo-installer-test"), exist_ok=True)
    for i, root in enumerate(roots):
        windows_file = f"C:\\vireo-installer-test\\saved{i}.reg"
        if wine("reg", "export", root + publisher, windows_file, "/y")[0] == 0:
            saved.append(windows_file)
        wine("reg", "delete", root + publisher, "/f")
        wine("reg", "add", root + settings_key, "/v", MARKER, "/d", "1", "/f")
    wine("reg", "add", "HKCU\\" + publisher + "\\Other", "/f")
    unix, windows = fake_winamp("Settings")
    wine(installer, "/S", "/D=" + windows)
    code, _ = wine(windows + "\\Plugins\\Vireo-uninstall.exe", "/S", "/REMOVESETTINGS", "_?=" + windows + "\\Plugins")
    check(code == 0, f"silent uninstall with /REMOVESETTINGS succeeds ({code})")
    for root in roots:
        kept = root == "HKCU\\"
        check(reg_values(root + settings_key.rsplit("\\", 1)[0]) is None
              and (reg_values(root + publisher) is not None) == kept,
              f"{root}{settings_key} removed, and its parents " + ("but the publisher's" if kept else "too"))
    for root in roots:
        wine("reg", "delete", root + publisher, "/f")
    for windows_file in saved:
        wine("reg", "import", windows_file)


for case in (install_and_uninstall, found_through_winamp_entry, refuses_folder_without_winamp,
             refused_while_in_use, uninstall_waits_for_restart, uninstall_removes_settings_on_request):
    print(f"-- {case.__name__}", flush=True)
    case()
shutil.rmtree(os.path.join(prefix, "drive_c", "vireo-installer-test"), ignore_errors=True)
print(f"{len(failures)} failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
