#!/usr/bin/env python3
"""lumera8.exe under Wine as a player meets its small windows: the splash at start and gone after
the first tick of Timer1, Help > About with "X" whose web address goes to the shell (a stub
xdg-open records it) while the window stays, and the donation reminder stored in the registry,
offered at the close on the seventh day and answered there.

    test_small_windows_e2e.py LUMERA8_EXE DATA_DIR
Needs DISPLAY (Xvfb), wine (LUMERA_WINE), xdotool and ImageMagick's import.
"""

import datetime
import os
import shutil
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "util", "win32"))
from wine_session import (Click, FindWindow, Keys, QuitGame, ScreenPixel, WaitFor, WindowGeometry,  # noqa: E402
                          WinePrefix)

EXE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 2 else None
DATA = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
CAPTION = "Lumera 8.0 by lumera.example - [Lumera8.dat]"
SPLASH = "Lumera 8.0"
DONATE_KEY = r"HKCU\Software\lumera8\DonateForm"
WHITE = (255, 255, 255)


def Today():
    return (datetime.date.today() - datetime.date(1899, 12, 30)).days


def MainWindow():
    """The game's window, once it is up; a first-run message on the way is answered."""
    def Ready():
        info = FindWindow("Information")
        if info:
            Keys(info, "Return")
        return FindWindow(CAPTION)
    return WaitFor(Ready, 60, "the game's window")


class SmallWindowsOfTheGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = WinePrefix()
        cls.folder = os.path.join(cls.prefix.folder, "game")
        os.makedirs(cls.folder)
        shutil.copy(EXE, os.path.join(cls.folder, "lumera8.exe"))
        for name in ("Lumera8.dat", "lumera8.html"):
            shutil.copy(os.path.join(DATA, name), cls.folder)
        # The shell hands web addresses to xdg-open; this one writes them down.
        stub = os.path.join(cls.prefix.folder, "bin")
        os.makedirs(stub)
        cls.opened = os.path.join(cls.prefix.folder, "opened.txt")
        with open(os.path.join(stub, "xdg-open"), "w") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % cls.opened)
        os.chmod(os.path.join(stub, "xdg-open"), 0o755)
        cls.prefix.env["PATH"] = stub + os.pathsep + cls.prefix.env.get("PATH", "")
        cls.prefix.Run(["reg", "add", r"HKCR\.html", "/ve", "/d", "htmlfile", "/f"])
        # One run to store the settings: later starts show no first-run message, which Wine
        # stacks over the topmost splash. The donation state starts afresh after it.
        game = cls.prefix.Start(["lumera8.exe"], cwd=cls.folder)
        try:
            main = MainWindow()
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the splash to go")
            QuitGame(game, main)
        finally:
            if game.poll() is None:
                game.kill()
                game.wait(timeout=10)
        cls.prefix.Run(["reg", "delete", r"HKCU\Software\lumera8", "/f"])

    @classmethod
    def tearDownClass(cls):
        cls.prefix.Close()

    def Start(self):
        self.game = self.prefix.Start(["lumera8.exe"], cwd=self.folder)

    def Ended(self):
        try:
            # A failed test leaves the game as it is: no need to wait for it to end.
            self.game.wait(timeout=2 if sys.exc_info()[0] else 30)
        finally:
            if self.game.poll() is None:
                self.game.kill()
                self.game.wait(timeout=10)

    def StoredDword(self, name):
        text = self.prefix.RegistryQuery(DONATE_KEY, name) or ""
        for line in text.splitlines():
            if "REG_DWORD" in line:
                return int(line.split()[-1], 16)
        return None

    def test_1_splash_goes_at_the_first_tick_and_about_opens_the_home_page(self):
        self.Start()
        try:
            splash = WaitFor(lambda: FindWindow(SPLASH), 60, "the splash")
            seen = time.monotonic()
            left, top, width, height = WindowGeometry(splash)
            self.assertEqual((width, height), (280, 140))
            # Centred on the 1024 x 768 screen; no "X" in the start-up mode.
            self.assertLessEqual(abs(left - (1024 - 280) // 2), 1)
            self.assertLessEqual(abs(top - (768 - 140) // 2), 1)
            self.assertEqual(ScreenPixel(left + 261, top + 18), WHITE)
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the splash to go")
            self.assertLess(time.monotonic() - seen, 5)

            main = MainWindow()
            Keys(main, "alt+h", "a")
            about = WaitFor(lambda: FindWindow(SPLASH), 15, "the about window")
            left, top, width, height = WindowGeometry(about)
            self.assertEqual((width, height), (280, 140))
            mainLeft, mainTop, mainWidth, mainHeight = WindowGeometry(main)
            self.assertLessEqual(abs((left + width // 2) - (mainLeft + mainWidth // 2)), 2)
            self.assertLessEqual(abs((top + height // 2) - (mainTop + mainHeight // 2)), 2)
            # "X" shows its face where the start-up splash shows the white picture.
            self.assertNotEqual(ScreenPixel(left + 261, top + 18), WHITE)

            Click(left + 140, top + 118)  # the web address
            WaitFor(lambda: os.path.exists(self.opened), 20, "the shell to get the home page")
            time.sleep(0.5)
            with open(self.opened) as recorded:
                self.assertIn("https://lumera.example/", recorded.read())
            self.assertEqual(FindWindow(SPLASH), about)

            Click(left + 266, top + 14)  # "X"
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the about window to go")
            QuitGame(self.game, main)
        finally:
            self.Ended()
        # The first run stores answer 4 and today + 6.
        self.assertEqual(self.StoredDword("DonateStatus"), 4)
        self.assertEqual(self.StoredDword("DonateLastPrompt"), Today() + 6)

    def test_2_seventh_day_offers_the_dialog_at_close_and_stores_the_answer(self):
        # As if the first run was seven days ago.
        self.prefix.RegistrySet(DONATE_KEY, "DonateStatus", "REG_DWORD", 4)
        self.prefix.RegistrySet(DONATE_KEY, "DonateLastPrompt", "REG_DWORD", Today() - 1)
        self.Start()
        try:
            main = MainWindow()
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the splash to go")
            dialog = None
            for _ in range(3):
                # Game > Quit; again if a key went astray.
                Keys(main, "Escape", "alt+g", "q")
                try:
                    dialog = WaitFor(lambda: FindWindow("Make a Donation"), 10, "the donation dialog")
                    break
                except AssertionError:
                    pass
            self.assertIsNotNone(dialog, "no donation dialog at the close")
            left, top, width, height = WindowGeometry(dialog)
            # Wine draws the frame: equal borders, a caption above the 366 x 473 client area.
            border = (width - 366) // 2
            self.assertEqual(width - 2 * border, 366)
            self.assertTrue(0 <= border <= 8, border)
            clientLeft, clientTop = left + border, top + height - border - 473
            self.assertTrue(15 <= clientTop - top - border <= 40, height)
            self.assertEqual(ScreenPixel(clientLeft + 4, clientTop + 148), (192, 220, 192))
            self.assertEqual(ScreenPixel(clientLeft + 8 + 345, clientTop + 152 + 60), (255, 251, 240))
            # Answer 1 ("two weeks"), then "Proceed".
            Click(clientLeft + 8 + 8 + 7, clientTop + 152 + 15 + 25 + 12)
            time.sleep(0.3)
            Click(clientLeft + 224 + 66, clientTop + 432 + 16)
        finally:
            self.Ended()
        self.assertEqual(self.StoredDword("DonateStatus"), 1)
        self.assertEqual(self.StoredDword("DonateLastPrompt"), Today())


if __name__ == "__main__":
    if EXE is None or DATA is None:
        sys.exit("usage: test_small_windows_e2e.py LUMERA8_EXE DATA_DIR")
    unittest.main(verbosity=2)
