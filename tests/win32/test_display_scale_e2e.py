#!/usr/bin/env python3
"""lumera8.exe at 150 % and 200 % display scale under Wine, as a player with a high-density screen
starts it: LogPixels 144 and 192 in a prefix of its own, on a screen of its own large enough for
the doubled window. The splash is its size at the scale, the main window's client area holds the
whole board at the scale, and a click on a letter's scaled place selects that letter. (How each
cell is drawn at a scale is the board painter's test.)

    test_display_scale_e2e.py LUMERA8_EXE DATA_DIR
Needs WINEPREFIX (a prefix to copy), wine (LUMERA_WINE), Xvfb, xdotool and ImageMagick's import.
"""

import os
import shutil
import subprocess
import sys
import unittest


sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util", "win32"))
from wine_session import FindWindow, Keys, QuitGame, Screenshot, WaitFor, WindowGeometry, WinePrefix  # noqa: E402

EXE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 2 else None
DATA = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
CAPTION = "Lumera 8.0 by lumera.example - [Lumera8.dat]"
SPLASH = "Lumera 8.0"
BLACK, GRAY, RED, WHITE = (0, 0, 0), (128, 128, 128), (255, 0, 0), (255, 255, 255)


class DisplayScaleOfTheGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Xvfb picks a free display number and writes it to the descriptor it is given.
        read_end, write_end = os.pipe()
        cls.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "2560x1600x24",
                                     "-nolisten", "tcp"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            os.environ["DISPLAY"] = ":" + numbers.readline().strip()  # for xdotool, import and Wine

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.kill()
        cls.xvfb.wait(timeout=10)

    def CheckGameAt(self, dpi):
        def S(x):  # the first device pixel of board pixel x: x * dpi / 96, halves rounded up
            return (x * dpi + 48) // 96

        prefix = WinePrefix()
        prefix.Server("-k")  # every Wine process starts again on this screen, at this scale
        prefix.env["DISPLAY"] = os.environ["DISPLAY"]
        prefix.RegistrySet(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", dpi)
        prefix.Server("-p60")
        folder = os.path.join(prefix.folder, "game")
        os.makedirs(folder)
        shutil.copy(EXE, os.path.join(folder, "lumera8.exe"))
        shutil.copy(os.path.join(DATA, "Lumera8.dat"), folder)
        game = prefix.Start(["lumera8.exe"], cwd=folder)
        main = None
        try:
            splash = WaitFor(lambda: FindWindow(SPLASH), 60, "the splash")
            self.assertEqual(WindowGeometry(splash)[2:], (S(280), S(140)))

            def Ready():
                info = FindWindow("Information")  # the first run falls back to the bundled puzzles
                if info:
                    Keys(info, "Return")
                return FindWindow(CAPTION)
            main = WaitFor(Ready, 60, "the game's window")
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the splash to go")

            # The client area is the board at the scale: Wine draws the frame alike on the left,
            # right and bottom, the caption and menu bar take the rest at the top.
            x, y, width, height = WindowGeometry(main)
            frame = (width - S(606)) // 2
            self.assertGreater(frame, 0, "the window is not wider than the board at the scale")
            left, top = x + frame, y + height - frame - S(268)
            self.assertGreater(top - y, 2 * frame, "no room for the caption and menu bar")
            pixels = Screenshot().load()
            # Whole: the last grid cell's outline, the grey margin to the client area's last
            # pixel, the status box's right edge and the first letter, selected.
            for corner in ((584, 240), (602, 240), (584, 260), (602, 260), (600, 4), (600, 46), (4, 4)):
                self.assertEqual(pixels[left + S(corner[0]), top + S(corner[1])], BLACK, corner)
            self.assertEqual(pixels[left + S(606) - 1, top + S(268) - 1], GRAY)
            self.assertEqual(pixels[left + S(5), top + S(23)], RED)

            # A click on the scaled centre of "M" selects it.
            subprocess.run(["xdotool", "mousemove", "--sync", str(left + S(253)), str(top + S(14)), "click", "1"],
                           timeout=20, check=True)
            def Selected():
                now = Screenshot().load()
                return now[left + S(245), top + S(23)] == RED and now[left + S(5), top + S(23)] == WHITE
            WaitFor(Selected, 10, '"M" to be selected and "A" no longer')
        finally:
            try:
                if main and game.poll() is None:
                    QuitGame(game, main)
            finally:
                if game.poll() is None:
                    game.kill()
                    game.wait(timeout=10)
                prefix.Close()

    def test_one_and_a_half_times(self):
        self.CheckGameAt(144)

    def test_twice(self):
        self.CheckGameAt(192)


if __name__ == "__main__":
    unittest.main(verbosity=2)
