#!/usr/bin/env python3
"""lumera8.exe at 150 % and 200 % display scale under Wine, as a player with a high-density screen
starts it: LogPixels 144 and 192 in a prefix of its own, on a screen of its own large enough for
the doubled window. The splash and About are their size at the scale; the main window's client
area holds the whole board at the scale; every cell, the status box and the gaps lie where the
scaled geometry puts them, with outlines as wide as a board pixel at the scale and letters in
two colours only; a click on a letter's scaled place selects that letter.

    test_display_scale_e2e.py LUMERA8_EXE DATA_DIR
Needs WINEPREFIX (a prefix to copy), wine (LUMERA_WINE), Xvfb, xdotool and ImageMagick's import.
"""

import io
import os
import shutil
import subprocess
import sys
import time
import unittest

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util", "win32"))
from wine_session import FindWindow, Keys, QuitGame, WaitFor, WindowGeometry, WinePrefix  # noqa: E402

EXE = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 2 else None
DATA = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else None
CAPTION = "Lumera 8.0 by lumera.example - [Lumera8.dat]"
SPLASH = "Lumera 8.0"
BOARD_WIDTH, BOARD_HEIGHT = 606, 268
SPLASH_WIDTH, SPLASH_HEIGHT = 280, 140
STATUS_RECT = (272, 4, 600, 46)
BLACK, GRAY, WHITE, SILVER, RED = (0, 0, 0), (128, 128, 128), (255, 255, 255), (192, 192, 192), (255, 0, 0)


def scaled(x, dpi):
    """The first device pixel of board pixel x: x * dpi / 96 with halves rounded up."""
    return (x * dpi + 48) // 96


def alphabet_rect(n):
    left, top = ((n - 1) % 13) * 20 + 4, ((n - 1) // 13) * 22 + 4
    return left, top, left + 18, top + 20


def puzzle_rect(n):
    left, top = ((n - 1) % 30) * 20 + 4, ((n - 1) // 30) * 22 + 64
    return left, top, left + 18, top + 20


class Screen:
    """An X screen of our own, 2560 x 1600, for as long as the test runs."""

    def __init__(self):
        # Xvfb picks a free display number and writes it to the descriptor it is given.
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "2560x1600x24",
                                         "-nolisten", "tcp"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def Shot(self):
        data = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True, timeout=30,
                              stdin=subprocess.DEVNULL).stdout
        return Image.open(io.BytesIO(data)).convert("RGB")

    def Close(self):
        self.process.kill()
        self.process.wait(timeout=10)


class GameAtAScale:
    """lumera8.exe in a prefix of its own whose desktop is at `dpi` dots per inch."""

    def __init__(self, dpi, screen):
        self.dpi = dpi
        self.prefix = WinePrefix()
        self.prefix.env["DISPLAY"] = screen.display
        os.environ["DISPLAY"] = screen.display  # xdotool and import, run from here
        self.prefix.Server("-k")
        self.prefix.RegistrySet(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", dpi)
        self.prefix.Server("-p60")
        self.folder = os.path.join(self.prefix.folder, "game")
        os.makedirs(self.folder)
        shutil.copy(EXE, os.path.join(self.folder, "lumera8.exe"))
        shutil.copy(os.path.join(DATA, "Lumera8.dat"), self.folder)
        self.process = self.prefix.Start(["lumera8.exe"], cwd=self.folder)

    def S(self, x):
        return scaled(x, self.dpi)

    def MainWindow(self):
        def Ready():
            info = FindWindow("Information")  # the first run falls back to the bundled puzzles
            if info:
                Keys(info, "Return")
            return FindWindow(CAPTION)
        return WaitFor(Ready, 60, "the game's window")

    def Close(self, main):
        try:
            if main and self.process.poll() is None:
                QuitGame(self.process, main)
        finally:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait(timeout=10)
            self.prefix.Close()


class DisplayScaleOfTheGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.screen = Screen()

    @classmethod
    def tearDownClass(cls):
        cls.screen.Close()

    def CheckPart(self, pixels, origin, rect, fills, where, game):
        """Outline black over the whole scaled width of its board pixels, the fill one of
        `fills` just inside it, the grey gap beside and below it."""
        S = game.S
        left, top, right, bottom = rect
        x0, y0 = origin
        line = S(left + 1) - S(left)
        for dx in range(S(left), S(right + 1)):
            for dy in (S(top), S(top) + line - 1, S(bottom), S(bottom) + line - 1):
                self.assertEqual(pixels[x0 + dx, y0 + dy], BLACK, f"{where}: outline at {dx},{dy}")
        for dy in range(S(top), S(bottom + 1)):
            for dx in (S(left), S(left) + line - 1, S(right), S(right) + line - 1):
                self.assertEqual(pixels[x0 + dx, y0 + dy], BLACK, f"{where}: outline at {dx},{dy}")
        self.assertIn(pixels[x0 + S(left + 1), y0 + S(bottom) - 1], fills, f"{where}: fill")
        self.assertEqual(pixels[x0 + S(right + 1), y0 + S(top + 5)], GRAY, f"{where}: the gap on the right")
        self.assertEqual(pixels[x0 + S(left + 5), y0 + S(bottom + 1)], GRAY, f"{where}: the gap below")

    def CheckGameAt(self, dpi):
        game = GameAtAScale(dpi, self.screen)
        main = None
        try:
            S = game.S
            splash = WaitFor(lambda: FindWindow(SPLASH), 60, "the splash")
            self.assertEqual(WindowGeometry(splash)[2:], (S(SPLASH_WIDTH), S(SPLASH_HEIGHT)))
            main = game.MainWindow()
            WaitFor(lambda: not FindWindow(SPLASH), 15, "the splash to go")
            time.sleep(0.5)

            # The client area is the board at the scale: the frame takes the same on the left,
            # right and bottom (Wine draws it), the caption and menu bar the rest at the top.
            x, y, width, height = WindowGeometry(main)
            frame = (width - S(BOARD_WIDTH)) // 2
            self.assertGreater(frame, 0, "the window is not wider than the board at the scale")
            self.assertGreater(height - frame - S(BOARD_HEIGHT), 2 * frame, "no room for caption and menu bar")
            origin = (x + frame, y + height - frame - S(BOARD_HEIGHT))
            shot = self.screen.Shot()
            pixels = shot.load()
            for n in range(1, 27):
                self.CheckPart(pixels, origin, alphabet_rect(n), (RED, ) if n == 1 else (WHITE, ), f"letter {n}", game)
            for n in range(1, 271):
                self.CheckPart(pixels, origin, puzzle_rect(n), (WHITE, SILVER), f"cell {n}", game)
            self.CheckPart(pixels, origin, STATUS_RECT, (RED, ), "the status box", game)
            # The board's grey margin reaches the client area's last row and column.
            self.assertEqual(pixels[origin[0] + S(BOARD_WIDTH) - 1, origin[1] + S(BOARD_HEIGHT) - 1], GRAY)

            # Letters at the scale, sharp: ink and fill only, about the scale times as tall as
            # the 12 ink rows of "A" at 96 dots per inch.
            left, top, right, bottom = alphabet_rect(2)
            box = (origin[0] + S(left + 1), origin[1] + S(top + 1), origin[0] + S(right), origin[1] + S(bottom))
            letter = shot.crop(box)
            self.assertEqual({colour for _, colour in letter.getcolors()}, {BLACK, WHITE})
            ink_rows = sum(1 for row in range(letter.height)
                           if any(letter.getpixel((column, row)) == BLACK for column in range(letter.width)))
            self.assertGreaterEqual(ink_rows, S(11))

            # A click on the scaled centre of "M" selects it.
            left, top, right, bottom = alphabet_rect(13)
            subprocess.run(["xdotool", "mousemove", "--sync", str(origin[0] + S((left + right) // 2)),
                            str(origin[1] + S((top + bottom) // 2)), "click", "1"], timeout=20, check=True)
            def Selected():
                pixels = self.screen.Shot().load()
                return (pixels[origin[0] + S(left + 1), origin[1] + S(bottom) - 1] == RED and
                        pixels[origin[0] + S(5), origin[1] + S(23)] == WHITE)
            WaitFor(Selected, 10, '"M" to be selected and "A" no longer')

            # About is the splash's size at the scale too.
            Keys(main, "alt+h", "a")
            about = WaitFor(lambda: FindWindow(SPLASH), 20, "the about window")
            self.assertEqual(WindowGeometry(about)[2:], (S(SPLASH_WIDTH), S(SPLASH_HEIGHT)))
            ax, ay, aw, ah = WindowGeometry(about)
            subprocess.run(["xdotool", "mousemove", "--sync", str(ax + S(20)), str(ay + ah - S(20)), "click", "1"],
                           timeout=20, check=True)
            WaitFor(lambda: not FindWindow(SPLASH), 20, "the about window to close")
        finally:
            game.Close(main)

    def test_one_and_a_half_times(self):
        self.CheckGameAt(144)

    def test_twice(self):
        self.CheckGameAt(192)


if __name__ == "__main__":
    unittest.main(verbosity=2)
