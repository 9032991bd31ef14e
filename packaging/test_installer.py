#!/usr/bin/python3
"""Runs the shipped installer and its uninstaller silently under 32-bit Wine
against fake Winamp folders (an empty winamp.exe and a Plugins folder) in the
test prefix's C: drive, and checks what they leave behind. The fake game runs
them beside its window (of the game's or of Winamp's class), or holding the
DLL open as the game holds it on Windows (where Wine would let it go), for
good or for the while that a closing program takes to let it go.

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
    command's exit code (None when it did not run) and the fake's output."""
    _, out = wine(fake_game, "--no-copies", *fake_options, "--run", command_line)
    found = re.search(r"^exit code (\d+)", out, re.M)
    return (int(found.group(1)) if found else None), out


def keys_under(key):
    """The paths of the key and of every key under it, in lower case."""
    _, out = wine("reg", "query", key, "/s")
    return {line.strip().lower() for line in out.splitlines() if line.startswith("HKEY_")}


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
        code, _ = beside_fake_game(options, line)
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
    code, _ = beside_fake_game(held, f'"{plugins}\\Vireo-uninstall.exe" /S _?={plugins}')
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


def uninstall_waits_for_a_closing_program():
    # The DLL is let go 1.5 s after the uninstaller starts, as Winamp lets it go
    # a while after its window has gone: the uninstaller waits for it.
    unix, windows = fake_winamp("Closing")
    plugins = windows + "\\Plugins"
    wine(installer, "/S", "/D=" + windows)
    held = ["--window-class", "VireoTestHolder", "--hold-file", plugins + "\\gen_vireo.dll", "--release-after", "1500"]
    code, out = beside_fake_game(held, f'"{plugins}\\Vireo-uninstall.exe" /S _?={plugins}')
    check("released while running" in out, "the DLL was held while the uninstaller started")
    check(code == 0, f"silent uninstall of a DLL let go after 1.5 s succeeds, no restart ({code})")
    check(not os.path.exists(os.path.join(unix, "Plugins", "gen_vireo.dll")) and reg_values(ARP_KEY) is None,
          "gen_vireo.dll and the uninstall entry are gone")


def uninstall_removes_settings_on_request():
    # /REMOVESETTINGS: the machine's key goes, and in every user's hive under
    # HKEY_USERS (the Wine user's and a second one) the user's key and the
    # VirtualStore copy of the machine's key; each parent once nothing else is
    # in it (here another product of the publisher, in one of each). Other
    # makers' keys stay, and so do the keys of hives that are not a user's.
    publisher, vireo = settings_key.rsplit("\\", 2)[0], settings_key.rsplit("\\", 1)[0]
    before = keys_under("HKU")
    wine_user = next(k for k in before if re.fullmatch(r"hkey_users\\s-1-5-21-[\d-]+", k))
    second = r"hkey_users\s-1-5-21-1004336348-1177238915-682003330-1001"
    virtual_store = "\\software\\classes\\virtualstore\\machine"
    roots = ["HKEY_LOCAL_MACHINE"] + [hive + place for hive in (wine_user, second) for place in ("", virtual_store)]
    with_other = (roots[1], roots[4])
    not_users = (second + "_classes", r"hkey_users\s-1-5-18")
    saved, planted = [], ["REGEDIT4", ""]
    os.makedirs(os.path.join(prefix, "drive_c", "vireo-installer-test"), exist_ok=True)
    for i, root in enumerate(roots[:3]):
        windows_file = f"C:\\vireo-installer-test\\saved{i}.reg"
        if wine("reg", "export", f"{root}\\{publisher}", windows_file, "/y")[0] == 0:
            saved.append(windows_file)
        wine("reg", "delete", f"{root}\\{publisher}", "/f")
    for key in ([f"{root}\\{settings_key}" for root in roots + list(not_users)]
                + [f"{root}\\{publisher}\\Other" for root in with_other]
                + [f"{hive}\\Software\\OtherMaker" for hive in (wine_user, second)]):
        planted += [f"[{key}]", f'"{MARKER}"="1"', ""]
    with open(os.path.join(prefix, "drive_c", "vireo-installer-test", "planted.reg"), "w") as f:
        f.write("\r\n".join(planted))
    wine("reg", "import", "C:\\vireo-installer-test\\planted.reg")
    unix, windows = fake_winamp("Settings")
    wine(installer, "/S", "/D=" + windows)
    code, _ = wine(windows + "\\Plugins\\Vireo-uninstall.exe", "/S", "/REMOVESETTINGS", "_?=" + windows + "\\Plugins")
    check(code == 0, f"silent uninstall with /REMOVESETTINGS succeeds ({code})")
    left = keys_under("HKU")
    for root in roots:
        kept = root in with_other
        if root == roots[0]:
            gone, publisher_kept = reg_values(f"{root}\\{vireo}") is None, reg_values(f"{root}\\{publisher}") is not None
        else:
            gone, publisher_kept = f"{root}\\{vireo}".lower() not in left, f"{root}\\{publisher}".lower() in left
        check(gone and publisher_kept == kept,
              f"{root}\\{settings_key} removed, and its parents " + ("but the publisher's" if kept else "too"))
    stayed = [f"{hive}\\{settings_key}" for hive in not_users] + [f"{hive}\\software\\othermaker" for hive in (wine_user, second)]
    check(all(key.lower() in left for key in stayed), "other makers' keys, and those of hives not a user's, stay")
    for root in roots[:3]:
        wine("reg", "delete", f"{root}\\{publisher}", "/f")
    wine("reg", "delete", wine_user + "\\Software\\OtherMaker", "/f")
    for hive in (second,) + not_users:
        if hive not in before:
            wine("reg", "delete", hive, "/f")
    for windows_file in saved:
        wine("reg", "import", windows_file)


for case in (install_and_uninstall, found_through_winamp_entry, refuses_folder_without_winamp,
             refused_while_in_use, uninstall_waits_for_restart, uninstall_waits_for_a_closing_program,
             uninstall_removes_settings_on_request):
    print(f"-- {case.__name__}", flush=True)
    case()
shutil.rmtree(os.path.join(prefix, "drive_c", "vireo-installer-test"), ignore_errors=True)
print(f"{len(failures)} failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
