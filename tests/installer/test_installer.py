#!/usr/bin/env python3
"""The Windows downloads under Wine: a silent install into a scratch prefix, the files and the
Start menu shortcut it puts in place, the installed game started from its folder, a silent
uninstall that keeps the player's settings, and the portable zip played where it is unpacked.

    test_installer.py BUILD_DIR
Needs DISPLAY (an X server such as Xvfb), wine (LUMERA_WINE or wine on PATH), xdotool.
Every wait has a timeout; a hung Wine program fails the test.
"""

import glob
import os
import struct
import sys
import time
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util", "win32"))
from wine_session import FindWindow, Keys, QuitGame, WaitFor, WinePrefix  # noqa: E402

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.getcwd()
VERSION = "8.0.0"
INSTALLED_FILES = ["lumera8.exe", "Lumera8.dat", "lumera8.html", "licence.txt"]
CAPTION = "Lumera 8.0 by lumera.example - [Lumera8.dat]"
UNINSTALL_KEY = r"%s\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumera 8.0"


def Zip():
    found = glob.glob(os.path.join(BUILD, "lumera8-%s-win*.zip" % VERSION))
    return found[0] if found else None


def ParseShortcut(data):
    """The target path and working folder of a shell link (.lnk) file."""
    header_size, = struct.unpack_from("<I", data, 0)
    flags, = struct.unpack_from("<I", data, 20)
    at = header_size
    if flags & 0x1:  # HasLinkTargetIDList
        id_list_size, = struct.unpack_from("<H", data, at)
        at += 2 + id_list_size
    target = None
    if flags & 0x2:  # HasLinkInfo
        info_size, = struct.unpack_from("<I", data, at)
        info_header, = struct.unpack_from("<I", data, at + 4)
        base_offset, = struct.unpack_from("<I", data, at + 16)
        if info_header >= 0x24:
            unicode_offset, = struct.unpack_from("<I", data, at + 28)
            end = data.index(b"\0\0", at + unicode_offset)
            if (end - at - unicode_offset) % 2:
                end += 1
            target = data[at + unicode_offset:end].decode("utf-16-le").rstrip("\0")
        else:
            end = data.index(b"\0", at + base_offset)
            target = data[at + base_offset:end].decode("cp1252")
        at += info_size
    strings = {}
    unicode = bool(flags & 0x80)
    for flag, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "arguments"), (0x40, "icon")):
        if flags & flag:
            count, = struct.unpack_from("<H", data, at)
            at += 2
            size = count * 2 if unicode else count
            raw = data[at:at + size]
            # Some writers count the terminating NUL as well.
            strings[name] = raw.decode("utf-16-le" if unicode else "cp1252").rstrip("\0")
            at += size
    return target, strings.get("workdir")


def PlayFirstPuzzleAndQuit(prefix, folder):
    """Starts the game in `folder`, answers the first-run message if it comes, checks the
    caption names the bundled puzzle file and quits with Game > Quit. Returns the caption."""
    game = prefix.Start(["lumera8.exe"], cwd=folder)
    try:
        def Ready():
            info = FindWindow("Information")
            if info:
                Keys(info, "Return")
            return FindWindow(CAPTION)
        window = WaitFor(Ready, 60, "the game's window titled %r" % CAPTION)
        # The splash has gone by its timer before the window is used.
        time.sleep(2)
        QuitGame(game, window)
        return CAPTION
    finally:
        if game.poll() is None:
            game.kill()
            game.wait(timeout=10)


def StoredPuzzleIndex(prefix):
    """The puzzle index of the settings record, from HKLM or its per-user fallback."""
    for root in ("HKLM", "HKCU"):
        text = prefix.RegistryQuery(root + r"\Software\Lumera800", "fRegInfo")
        if text and "REG_BINARY" in text:
            hexdigits = text.split("REG_BINARY", 1)[1].split()[0]
            record = bytes.fromhex(hexdigits)
            return struct.unpack_from("<I", record, 148)[0]
    return None


class WindowsDownloads(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.setup = os.path.join(BUILD, "lumera8-%s-setup.exe" % VERSION)
        if not os.path.exists(cls.setup) or Zip() is None:
            raise AssertionError("%s or the zip is missing: run tools/build-windows.sh" % cls.setup)
        cls.prefix = WinePrefix()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.Close()

    def Install(self, option, folder_pattern):
        """Installs silently with the option; checks the files, the shortcut and the uninstall
        entry, and returns (install folder, shortcut, root key of the entry)."""
        result = self.prefix.Run([self.setup, "/S"] + ([option] if option else []), timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr.decode("latin-1")[-2000:])
        folders = glob.glob(os.path.join(self.prefix.Drive(), *folder_pattern))
        self.assertEqual(len(folders), 1, folders)
        folder = folders[0]
        for name in INSTALLED_FILES + ["uninstall.exe"]:
            self.assertTrue(os.path.isfile(os.path.join(folder, name)), name)
        with open(os.path.join(folder, "lumera8.exe"), "rb") as installed, \
                open(os.path.join(BUILD, "lumera8.exe"), "rb") as built:
            self.assertEqual(installed.read(), built.read())

        shortcuts = glob.glob(os.path.join(self.prefix.Drive(), "**", "Start Menu", "Programs", "Lumera 8.0.lnk"),
                              recursive=True)
        self.assertEqual(len(shortcuts), 1, shortcuts)
        with open(shortcuts[0], "rb") as link:
            target, workdir = ParseShortcut(link.read())
        windows_folder = "C:\\" + os.path.relpath(folder, self.prefix.Drive()).replace("/", "\\")
        self.assertEqual(target.lower(), (windows_folder + "\\lumera8.exe").lower())
        self.assertEqual(workdir.lower(), windows_folder.lower())

        roots = [root for root in ("HKLM", "HKCU") if self.prefix.RegistryQuery(UNINSTALL_KEY % root, "UninstallString")]
        self.assertEqual(len(roots), 1, "uninstall entries under %s" % roots)
        self.assertIn("uninstall.exe", self.prefix.RegistryQuery(UNINSTALL_KEY % roots[0], "UninstallString"))
        return folder, shortcuts[0], roots[0]

    def Uninstall(self, folder, shortcut, arguments):
        result = self.prefix.Run([os.path.join(folder, "uninstall.exe")] + arguments, timeout=120)
        self.assertEqual(result.returncode, 0)
        # The uninstaller goes on from a copy of itself; wait until it is done.
        WaitFor(lambda: not os.path.exists(folder), 60, "the install folder to go")
        self.assertFalse(os.path.exists(shortcut))
        for root in ("HKLM", "HKCU"):
            self.assertIsNone(self.prefix.RegistryQuery(UNINSTALL_KEY % root, "UninstallString"))

    def test_1_silent_install_puts_files_shortcut_and_uninstall_entry_in_place(self):
        # The test's Wine user is an administrator: the install is for everyone.
        folder, shortcut, root = self.Install(None, ["Program Files*", "Lumera 8.0"])
        self.assertEqual(root, "HKLM")
        type(self).folder, type(self).shortcut = folder, shortcut

    def test_2_installed_game_starts_from_its_folder_on_puzzle_1(self):
        PlayFirstPuzzleAndQuit(self.prefix, self.folder)
        # Quit stores the position of the puzzle on the board: the first, index 0.
        self.assertEqual(StoredPuzzleIndex(self.prefix), 0)

    def test_3_silent_uninstall_removes_the_files_and_keeps_the_settings(self):
        self.Uninstall(self.folder, self.shortcut, ["/S"])
        self.assertIsNotNone(StoredPuzzleIndex(self.prefix))
        self.assertIn("REG_DWORD", self.prefix.RegistryQuery(r"HKCU\Software\lumera8\DonateForm", "DonateStatus") or "")

    def test_4_portable_zip_plays_where_it_is_unpacked(self):
        unpacked = os.path.join(self.prefix.folder, "portable")
        with zipfile.ZipFile(Zip()) as archive:
            self.assertEqual(sorted(os.path.basename(n) for n in archive.namelist() if not n.endswith("/")),
                             sorted(INSTALLED_FILES))
            self.assertTrue(all(n.startswith("Lumera 8.0/") for n in archive.namelist()))
            archive.extractall(unpacked)
        folder = os.path.join(unpacked, "Lumera 8.0")
        PlayFirstPuzzleAndQuit(self.prefix, folder)
        self.assertEqual(StoredPuzzleIndex(self.prefix), 0)


    def test_5_per_user_install_goes_to_the_users_own_folder_and_uninstalls(self):
        # What a player without administrator rights gets.
        folder, shortcut, root = self.Install("/CurrentUser", ["users", "*", "AppData", "Local", "Programs",
                                                               "Lumera 8.0"])
        self.assertEqual(root, "HKCU")
        self.assertIn(os.sep + "Roaming" + os.sep, shortcut)
        quiet = self.prefix.RegistryQuery(UNINSTALL_KEY % root, "QuietUninstallString")
        self.assertIn("/CurrentUser /S", quiet)
        self.Uninstall(folder, shortcut, ["/CurrentUser", "/S"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
