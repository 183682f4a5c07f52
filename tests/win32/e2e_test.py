#!/usr/bin/env python3
"""A player's run of lumera8.exe under Wine in Xvfb.

Started in a scratch folder holding a small puzzle file, the program is driven with xdotool
and read back from screenshots: the first-run fallback message, the caption, the board's
pixels, a selection by click, a whole puzzle solved by clicks with the board read back after
every exchange, the congratulation message, the record in the registry, Game > Quit by
Alt+G then Q, a new start on the same puzzle, and the five commands greyed in solver-aid mode.

Letters are read from the board by comparing each cell with glyph templates taken from the
alphabet strip, which the program paints in the same font. Every wait has a timeout.

Needs DISPLAY and WINEPREFIX (tools/test-windows.sh sets up both).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

from PIL import ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util", "win32"))
from wine_session import Click, FindWindows, Keys, Screenshot, WaitFor, WindowGeometry  # noqa: E402
from board_layout import (BOARD_HEIGHT, BOARD_WIDTH, GRID_CELLS, STATUS_RECT, alphabet_rect, centre, puzzle_rect,  # noqa: E402
                          solution_layout as board_solution_layout)

# The board's colours and the window's place, as the game draws them.
RED, WHITE, SILVER, GRAY, BLACK, YELLOW = (255, 0, 0), (255, 255, 255), (192, 192, 192), (128, 128, 128), (0, 0, 0), (255, 255, 0)
WINDOW_POSITION = (173, 137)
WINDOW_SIZE = (614, 314)

PUZZLES = [
    "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG",
    "PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS",
    "SPHINX OF BLACK QUARTZ JUDGE MY VOW",
]
INFORMATION = "Information"
SPLASH_NAME = "^Lumera 8\\.0$"
CONGRATULATIONS = "Congratulations! You have finished this puzzle!"
# The Game menu's items (separator left out) and the five that solver-aid mode disables.
GAME_ITEMS = ["menuNew", "menuSpecifyStart", "menuCheat", "menuQuit", "menuNewPuzzleSet", "menuSolve"]
SOLVER_DISABLED = {"menuNew", "menuCheat", "menuSpecifyStart", "menuNewPuzzleSet", "menuSolve"}

WINDOW_TIMEOUT = 20.0


class Failure(AssertionError):
    pass


def log(text):
    print(text, flush=True)


def check(condition, text):
    if not condition:
        raise Failure(text)


def run(args, timeout=30, check_rc=True):
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout, stdin=subprocess.DEVNULL)
    if check_rc and result.returncode != 0:
        raise Failure(f"{' '.join(args)} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


def wait_for(what, probe, timeout):
    """Polls probe() until it returns something true; a probe's Failure counts as not yet."""
    return WaitFor(probe, timeout, what, tolerate=(Failure,))


def window_name(window):
    return run(["xdotool", "getwindowname", str(window)]).rstrip("\n")


def answer_message(caption, timeout=WINDOW_TIMEOUT):
    """Waits for a message box by its caption and answers it with Return."""
    exact = "^" + re.escape(caption) + "$"
    window = wait_for(f'the message "{caption}"', lambda: FindWindows(exact), timeout)[0]
    Keys(window, "Return")
    wait_for(f'the message "{caption}" to close', lambda: not FindWindows(exact), timeout)
    return window


class Game:
    """One running lumera8.exe."""

    def __init__(self, wine, exe, folder, log_file):
        self.wine, self.exe, self.folder, self.log_file = wine, exe, folder, log_file
        self.process = None
        self.window = None
        self.origin = None  # the client area's top-left corner on the screen

    def start(self):
        out = open(self.log_file, "ab")
        self.process = subprocess.Popen([self.wine, self.exe], cwd=self.folder, stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=out)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                pass

    def find_main_window(self, caption_regex, timeout=WINDOW_TIMEOUT):
        self.window = wait_for("the main window", lambda: FindWindows(caption_regex), timeout)[0]
        x, y, width, height = WindowGeometry(self.window)
        frame = (width - BOARD_WIDTH) // 2
        self.origin = (x + frame, y + height - frame - BOARD_HEIGHT)
        return self.window

    def click(self, x, y):
        Click(self.origin[0] + x, self.origin[1] + y)
        time.sleep(0.1)

    def click_alphabet(self, letter):
        self.click(*centre(alphabet_rect(ord(letter) - ord("A") + 1)))

    def click_puzzle_cell(self, n):
        self.click(*centre(puzzle_rect(n)))

    def board(self):
        shot = Screenshot()
        x, y = self.origin
        return shot.crop((x, y, x + BOARD_WIDTH, y + BOARD_HEIGHT)), shot

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"lumera8.exe still running {timeout:.0f} s after Quit")


def black_pixels(image, rect):
    """The black pixels inside a cell's outline, relative to the cell's corner."""
    left, top, right, bottom = rect
    pixels = image.load()
    found = set()
    for y in range(top + 1, bottom):
        for x in range(left + 1, right):
            r, g, b = pixels[x, y]
            if r < 64 and g < 64 and b < 64:
                found.add((x - left, y - top))
    return frozenset(found)


def check_cell_frame(image, rect, fill, where):
    """Outline corners black, a fill pixel of the given colour, the grey gap beside the cell."""
    left, top, right, bottom = rect
    pixels = image.load()
    for corner in ((left, top), (right, top), (left, bottom), (right, bottom)):
        check(pixels[corner] == BLACK, f"{where}: outline pixel {corner} is {pixels[corner]}, not black")
    check(pixels[left + 1, top + 1] == fill, f"{where}: fill {pixels[left + 1, top + 1]}, expected {fill}")
    if right + 1 < BOARD_WIDTH:
        check(pixels[right + 1, top + 5] == GRAY, f"{where}: gap right of the cell is {pixels[right + 1, top + 5]}")


class BoardReader:
    """Reads letters and fills from a board image with templates from the alphabet strip."""

    def __init__(self, image):
        self.templates = {}
        for n in range(1, 27):
            glyph = black_pixels(image, alphabet_rect(n))
            check(glyph, f"alphabet cell {n} shows no letter")
            self.templates[glyph] = chr(ord("A") + n - 1)
        check(len(self.templates) == 26, "the alphabet strip's 26 letters are not all different")

    def letter(self, image, rect, where):
        glyph = black_pixels(image, rect)
        if not glyph:
            return " "
        if glyph in self.templates:
            return self.templates[glyph]
        raise Failure(f"{where}: a glyph that is no letter of the alphabet strip")

    def read(self, image):
        """(working text of 270 cells, fills of the 270 cells, selected letters)."""
        pixels = image.load()
        text, fills = [], []
        for n in range(1, 271):
            rect = puzzle_rect(n)
            text.append(self.letter(image, rect, f"cell {n}"))
            fills.append(pixels[rect[0] + 1, rect[1] + 1])
        selected = [chr(ord("A") + n - 1) for n in range(1, 27) if pixels[alphabet_rect(n)[0] + 1, alphabet_rect(n)[1] + 1] == RED]
        return "".join(text), fills, selected


def solution_layout(working, puzzle):
    """The solution as laid out on the board, from the board's own pattern of words and blanks."""
    layout = board_solution_layout(working, puzzle)
    check(layout is not None, f"the board {working!r} does not have the shape of {puzzle!r}")
    return layout


def check_substitution(working, solution):
    """The working board is the solution under one letter-for-letter key."""
    key = {}
    for w, s in zip(working, solution):
        check((w == " ") == (s == " "), "blanks of the board and the solution differ")
        if s != " ":
            check(key.setdefault(s, w) == w, f"solution letter {s} shows as two letters")
    check(len(set(key.values())) == len(key), "two solution letters show as one")


def expected_fills(working, solution, puzzle_length):
    return [SILVER if n >= puzzle_length or working[n] == solution[n] else WHITE for n in range(GRID_CELLS)]


def check_board_frame(image, status_colour):
    pixels = image.load()
    check(pixels[1, 1] == GRAY and pixels[2, 55] == GRAY and pixels[600, 264] == GRAY, "the background is not grey")
    left, top, right, bottom = STATUS_RECT
    for corner in ((left, top), (right, top), (left, bottom), (right, bottom)):
        check(pixels[corner] == BLACK, f"status box outline at {corner} is {pixels[corner]}")
    check(pixels[left + 1, top + 1] == status_colour, f"status box is {pixels[left + 1, top + 1]}, expected {status_colour}")
    check(pixels[right - 2, bottom - 2] == status_colour, "the status box's far corner is not filled")
    for n in (1, 13, 14, 26):
        fill = pixels[alphabet_rect(n)[0] + 1, alphabet_rect(n)[1] + 1]
        check_cell_frame(image, alphabet_rect(n), fill if fill in (RED, WHITE) else WHITE, f"alphabet cell {n}")
    for n in (1, 30, 241, 270):
        fill = pixels[puzzle_rect(n)[0] + 1, puzzle_rect(n)[1] + 1]
        check_cell_frame(image, puzzle_rect(n), fill if fill in (SILVER, WHITE) else SILVER, f"puzzle cell {n}")


def registry_record(wine):
    """The stored settings record and the root it was found under."""
    for root in ("HKLM", "HKCU"):
        result = subprocess.run([wine, "reg", "query", root + "\\Software\\Lumera800", "/v", "fRegInfo"],
                                capture_output=True, text=True, timeout=30, stdin=subprocess.DEVNULL)
        match = re.search(r"fRegInfo\s+(REG_\w+)\s+([0-9A-Fa-f]*)", result.stdout)
        if result.returncode == 0 and match:
            check(match.group(1) == "REG_BINARY", f"fRegInfo is {match.group(1)}, not REG_BINARY")
            return bytes.fromhex(match.group(2)), root
    raise Failure("no fRegInfo under HKLM or HKCU\\Software\\Lumera800")


def record_fields(record):
    check(len(record) == 152, f"the record has {len(record)} bytes, not 152")
    short = lambda data, capacity: data[1:1 + min(data[0], capacity)].decode("cp1252")
    return {
        "version": short(record[0:11], 10),
        "file": short(record[11:145], 133),
        "show_correct": record[145],
        "sound": record[146],
        "index": int.from_bytes(record[148:152], "little"),
    }


def menu_item_states(game, shot_before):
    """Opens the Game menu with a click on its title and reads each item as enabled (black
    text) or disabled (grey text) from the popup's pixels; closes it again."""
    menu_bar_y = game.origin[1] - 10
    run(["xdotool", "mousemove", "--sync", str(game.origin[0] + 18), str(menu_bar_y), "click", "1"])
    time.sleep(0.6)
    shot = Screenshot()
    # The popup is what changed over the board (the frame may change too, as the window
    # loses the focus to the popup).
    ox, oy = game.origin
    difference = ImageChops.difference(shot, shot_before).convert("L").point(lambda v: 255 if v else 0)
    box = difference.crop((ox, oy, ox + BOARD_WIDTH, oy + BOARD_HEIGHT)).getbbox()
    Keys(game.window, "Escape")
    time.sleep(0.3)
    check(box is not None, "the Game menu did not open")
    left, top, right, bottom = box[0] + ox, box[1] + oy, box[2] + ox, box[3] + oy
    pixels = shot.load()
    rows = []
    for y in range(top, bottom):
        dark = grey = 0
        for x in range(left + 3, right - 3):
            r, g, b = pixels[x, y]
            if max(r, g, b) < 80:
                dark += 1
            elif abs(r - g) < 12 and abs(g - b) < 12 and 96 <= r <= 176:
                grey += 1
        rows.append((dark, grey))
    # Bands of rows with text; a band of one or two rows is the separator's etched line.
    bands, start = [], None
    for i, (dark, grey) in enumerate(rows + [(0, 0)]):
        if (dark or grey) and start is None:
            start = i
        elif not (dark or grey) and start is not None:
            bands.append((start, i))
            start = None
    states = []
    for start, end in bands:
        if end - start <= 2:
            continue
        dark = sum(rows[i][0] for i in range(start, end))
        grey = sum(rows[i][1] for i in range(start, end))
        states.append(dark > 0)
        if dark == 0:
            check(grey > 0, "an item band with neither black nor grey text")
    shot.crop((left, top, right, bottom)).save(os.path.join(game.folder, f"menu-{int(time.time() * 1000)}.png"))
    check(len(states) == len(GAME_ITEMS), f"the Game menu shows {len(states)} items, expected {len(GAME_ITEMS)}")
    return dict(zip(GAME_ITEMS, states))


def forget_settings(wine):
    """Removes the game's settings and donation state from the prefix's registry."""
    for key in ("HKLM\\Software\\Lumera800", "HKCU\\Software\\Lumera800", "HKCU\\Software\\lumera8"):
        subprocess.run([wine, "reg", "delete", key, "/f"], capture_output=True, timeout=30, stdin=subprocess.DEVNULL)


def start_game(game, caption_regex, expect_information):
    """Starts the program and finds its window; one retry when the window does not appear,
    a known Wine flake (about one start in sixteen)."""
    for attempt in (1, 2):
        game.start()
        try:
            if expect_information:
                answer_message(INFORMATION)
            game.find_main_window(caption_regex)
            return
        except Failure as error:
            if attempt == 2:
                raise
            log(f"start {attempt} failed ({error}); retrying the start once (known Wine flake)")
            game.stop()
            time.sleep(1)


def wait_for_board(game, status_colour, what):
    def probe():
        # The start-up splash lies over the board's middle until Timer1's first tick takes it away.
        check(not FindWindows(SPLASH_NAME), "the splash is still up")
        image, _ = game.board()
        check_board_frame(image, status_colour)
        return image
    return wait_for(what, probe, WINDOW_TIMEOUT)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--wine", required=True)
    parser.add_argument("--publisher-header", required=True, help="src/util/publisher.h, for the caption")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder")
    args = parser.parse_args()
    for variable in ("DISPLAY", "WINEPREFIX"):
        check(os.environ.get(variable), f"{variable} is not set: run through tools/test-windows.sh")
    site = re.search(r'kPublisherSite\[\] = "([^"]+)"', open(args.publisher_header).read()).group(1)
    app_caption = "Lumera 8.0 by " + site

    folder = tempfile.mkdtemp(prefix="lumera-e2e-")
    shutil.copy(args.exe, os.path.join(folder, "lumera8.exe"))
    with open(os.path.join(folder, "Lumera8.dat"), "wb") as out:
        out.write("\r\n".join(PUZZLES).encode("cp1252") + b"\r\n")
    log_file = os.path.join(folder, "wine.log")
    exe = os.path.join(folder, "lumera8.exe")
    game = Game(args.wine, exe, folder, log_file)
    main_caption = "^" + re.escape(app_caption + " - [Lumera8.dat]") + "$"
    passed = False
    try:
        # A first run: nothing stored yet.
        forget_settings(args.wine)

        # 1. The stored file "Lumera2.dat" is missing: the fallback message, then the window.
        start_game(game, main_caption, expect_information=True)
        log(f"first start: fallback message answered, window {game.window} '{window_name(game.window)}'")

        # 2. The board: frame, colours, "A" selected, the deal readable and a true scramble.
        image = wait_for_board(game, RED, "the board after the splash")
        reader = BoardReader(image)
        working, fills, selected = reader.read(image)
        check(selected == ["A"], f"selected letters at start: {selected}")
        solution = solution_layout(working, PUZZLES[0])
        check_substitution(working, solution)
        check(working != solution, "the deal is not scrambled")
        puzzle_length = len(solution.rstrip())
        check(fills == expected_fills(working, solution, puzzle_length), "cell fills differ from the shaded-correct rule")
        log("board read: " + working[:60].rstrip())

        # 3. The Game menu in play: every item enabled.
        states = menu_item_states(game, Screenshot())
        check(all(states.values()), f"Game menu items disabled in play: {states}")

        # 4. A selection by click: the letter turns red, "A" turns white.
        game.click_alphabet("Q")
        image, _ = game.board()
        _, _, selected = reader.read(image)
        check(selected == ["Q"], f"after clicking Q the selected letters are {selected}")
        check_cell_frame(image, alphabet_rect(1), WHITE, "alphabet cell A after the selection moved")

        # 5. The whole puzzle solved by clicks: for each cell whose letter is wrong, select the
        #    solution's letter and click the cell; the board is read back after every exchange.
        model = list(working)
        exchanges = 0
        for n in range(puzzle_length):
            if model[n] == " " or model[n] == solution[n]:
                continue
            wanted, shown = solution[n], model[n]
            game.click_alphabet(wanted)
            model = [shown if c == wanted else wanted if c == shown else c for c in model]
            exchanges += 1
            game.click_puzzle_cell(n + 1)
            if "".join(model) == solution:
                break
            image, _ = game.board()
            working, fills, selected = reader.read(image)
            check(working == "".join(model), f"after exchange {exchanges} ({wanted}<->{shown}) the board shows "
                                             f"{working[:60]!r}, expected {''.join(model)[:60]!r}")
            check(fills == expected_fills(working, solution, puzzle_length), f"fills after exchange {exchanges}")
            check(selected == [wanted], f"selected after exchange {exchanges}: {selected}")
        log(f"puzzle 1 solved in {exchanges} exchanges")

        # 6. The congratulation message; then the next puzzle is dealt.
        answer_message(CONGRATULATIONS)
        image = wait_for_board(game, RED, "the next puzzle")
        working, _, _ = reader.read(image)
        check_substitution(working, solution_layout(working, PUZZLES[1]))

        # 7. The record in the registry: the puzzle just solved is stored as the position.
        record, root = registry_record(args.wine)
        fields = record_fields(record)
        log(f"record under {root}: {fields}")
        check(fields["file"] == "Lumera8.dat" and fields["version"] == "Lumera 7.0", f"record fields {fields}")
        check(fields["show_correct"] == 1 and fields["sound"] == 1 and fields["index"] == 0, f"record fields {fields}")

        # 8. Game > Quit by Alt+G, Q: the program ends and stores the puzzle on show.
        Keys(game.window, "alt+g")
        time.sleep(0.4)
        Keys(game.window, "q")
        game.wait_exit(WINDOW_TIMEOUT)
        wait_for("the window to go", lambda: not FindWindows(main_caption), WINDOW_TIMEOUT)
        fields = record_fields(registry_record(args.wine)[0])
        check(fields["index"] == 1, f"after Quit the stored index is {fields['index']}, expected 1")
        log("quit by Alt+G, Q")

        # 9. A new start shows the same puzzle, without the fallback message.
        start_game(game, main_caption, expect_information=False)
        image = wait_for_board(game, RED, "the board on the second start")
        check(not FindWindows("^" + INFORMATION + "$"), "a message on the second start")
        working, _, _ = reader.read(image)
        check_substitution(working, solution_layout(working, PUZZLES[1]))
        log("second start shows puzzle 2")

        # 10. Solver-aid mode greys exactly the five commands; the status box turns yellow.
        Keys(game.window, "alt+g")
        time.sleep(0.4)
        Keys(game.window, "Up", "Return")  # the last item, "Use Lumera to help Solve a cryptogram!"
        box = wait_for("the cryptogram input box", lambda: FindWindows("^" + re.escape(app_caption) + "$"),
                       WINDOW_TIMEOUT)[0]
        run(["xdotool", "windowfocus", "--sync", str(box)])
        run(["xdotool", "key", "--clearmodifiers", "ctrl+a"])
        run(["xdotool", "type", "--delay", "20", "XYZZY PLUGH"])
        Keys(box, "Return")
        image = wait_for_board(game, YELLOW, "solver-aid mode")
        working, _, _ = reader.read(image)
        check(working.startswith("XYZZY PLUGH"), f"solver-aid board shows {working[:30]!r}")
        states = menu_item_states(game, Screenshot())
        disabled = {name for name, enabled in states.items() if not enabled}
        check(disabled == SOLVER_DISABLED, f"solver-aid mode disabled {sorted(disabled)}")
        log(f"solver-aid mode greys {sorted(disabled)}")

        # Back to the game by the status box: the commands return.
        game.click(*centre(STATUS_RECT))
        wait_for_board(game, RED, "the game after solver-aid mode")
        states = menu_item_states(game, Screenshot())
        check(all(states.values()), f"Game menu items still disabled after returning: {states}")
        Keys(game.window, "alt+g")
        time.sleep(0.4)
        Keys(game.window, "q")
        game.wait_exit(WINDOW_TIMEOUT)
        passed = True
        log("PASSED: the player's run of lumera8.exe")
    except (AssertionError, subprocess.TimeoutExpired) as error:
        try:
            Screenshot().save(os.path.join(folder, "failure.png"))
        except Exception:
            pass
        log(f"FAILED: {error}")
        log(f"screenshot and Wine's log kept in {folder}")
    finally:
        game.stop()
        # The prefix is shared with the other tests of the run: leave no settings behind.
        forget_settings(args.wine)
        if passed and not args.keep:
            shutil.rmtree(folder, ignore_errors=True)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
