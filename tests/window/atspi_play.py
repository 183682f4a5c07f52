#!/usr/bin/python3
"""A screen reader's game of lumera8, over AT-SPI alone.

Started in a scratch folder that holds a one-line puzzle file, the game is found on the
accessibility bus by its process; its messages are found there too and answered with their OK
button's action. The board is read back (the toolbar of 26 alphabet buttons, the status button
and the grid's 270 cells, by name) and the puzzle is solved by the parts' actions alone: select the
letter, click the cell. After every exchange the cells' names must show it, and the name-changed
events must have come once for each cell whose name changed; a selection must come with the
selected-state events. The congratulation message must carry the quotation.

Run inside tests/window/a11y_session.sh. Exits 77 (skipped) without python3-pyatspi.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
    import pyatspi
except (ImportError, ValueError) as error:
    print(f"python3-pyatspi is not usable ({error}): skipped")
    sys.exit(77)

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "util"))
from board_layout import GRID_CELLS, GRID_COLUMNS, solution_layout as board_solution_layout  # noqa: E402

QUOTATION = "THE EARLY BIRD CATCHES THE WORM."
INFORMATION = "Information"
CONGRATULATIONS = "Congratulations! You have finished this puzzle!"
LAST_PUZZLE = "Last puzzle is 1! Starting back at puzzle 1. Press OK to continue."
TIMEOUT = 20.0


class Failure(Exception):
    pass


def check(condition, text):
    if not condition:
        raise Failure(text)


def log(text):
    print(text, flush=True)


def pump(milliseconds=50):
    """Runs the main loop for a moment, which delivers the events that have arrived (the
    context's pending() misses messages read during a blocking call)."""
    loop = GLib.MainLoop()
    GLib.timeout_add(milliseconds, loop.quit)
    loop.run()


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump()
        value = probe()
        if value:
            return value
    raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def find(accessible, match, depth=8):
    """The first descendant (or the object itself) that matches, depth first."""
    if accessible is None:
        return None
    if match(accessible):
        return accessible
    if depth == 0:
        return None
    for child in children(accessible):
        found = find(child, match, depth - 1)
        if found is not None:
            return found
    return None


def role(accessible):
    return accessible.getRoleName()


def click(accessible):
    """A board part's one action."""
    action = accessible.queryAction()
    check(action.nActions == 1, f"{accessible.name!r} has {action.nActions} actions, not one")
    check(action.doAction(0), f"the action of {accessible.name!r} failed")


def press(button):
    """A dialog button's press action, among the others Qt gives it."""
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check("Press" in names, f"{button.name!r} has no press action, only {names}")
    check(action.doAction(names.index("Press")), f"pressing {button.name!r} failed")


def is_selected(accessible):
    return accessible.getState().contains(pyatspi.STATE_SELECTED)


class Game:
    def __init__(self, program, folder):
        self.log_path = os.path.join(folder, "game.log")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(folder, "config"))
        with open(self.log_path, "wb") as out:
            self.process = subprocess.Popen([program], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                            stdout=out, stderr=out)
        self.app = wait_for("the game on the accessibility bus", self.find_application)
        # Every read goes to the game: what is heard must come from the game, not a cache.
        self.app.set_cache_mask(Atspi.Cache.NONE)

    def find_application(self):
        check(self.process.poll() is None, f"the game exited with {self.process.returncode}")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)

    def window(self, caption):
        for window in children(self.app):
            if window is not None and window.name == caption:
                return window
        return None

    def answer(self, caption, expected_text=None):
        """Waits for a message by its caption, checks its text, and presses its OK button."""
        box = wait_for(f'the message "{caption}"', lambda: self.window(caption))
        if expected_text is not None:
            label = find(box, lambda a: role(a) == "label" and a.name == expected_text)
            check(label is not None, f'the message "{caption}" does not say "{expected_text}"')
        ok = find(box, lambda a: role(a) == "push button" and a.name.replace("&", "") == "OK")
        check(ok is not None, f'the message "{caption}" has no OK button')
        press(ok)
        wait_for(f'the message "{caption}" to close', lambda: self.window(caption) is None)


class Board:
    """The board as the game exposes it: the alphabet's toolbar, the status, the grid table."""

    def __init__(self, grid):
        self.grid = grid
        self.board = grid.parent
        table = grid.queryTable()
        check((table.nRows, table.nColumns) == (9, 30), f"the grid is {table.nRows} x {table.nColumns}, not 9 x 30")
        check(grid.childCount == GRID_CELLS, f"the grid has {grid.childCount} cells")
        self.cells = [table.getAccessibleAt(n // GRID_COLUMNS, n % GRID_COLUMNS) for n in range(GRID_CELLS)]
        groups = children(self.board)
        heard = [(role(group), group.name) for group in groups[:3]]
        check([name for _, name in heard] == ["Alphabet", "Status", "Puzzle"] and heard[0][0] == "tool bar",
              f"the board's groups are {heard}")
        buttons = [child for group in groups[:2] for child in children(group) if role(child) == "push button"]
        self.alphabet = {button.name: button for button in buttons if len(button.name) == 1}
        check(sorted(self.alphabet) == [chr(c) for c in range(ord("A"), ord("Z") + 1)],
              f"the alphabet buttons are {sorted(self.alphabet)}")
        statuses = [button for button in buttons if len(button.name) > 1]
        check(len(statuses) == 1, f"{len(statuses)} status buttons")
        self.status = statuses[0]
        self.index_of = {cell.path: n for n, cell in enumerate(self.cells)}
        self.letter_of = {button.path: letter for letter, button in self.alphabet.items()}

    def names(self):
        """The grid as a string of 270 characters, a blank cell as a space."""
        text = []
        for n, cell in enumerate(self.cells):
            name = cell.name
            check(name == "blank" or len(name) == 1, f"cell {n + 1} is named {name!r}")
            text.append(" " if name == "blank" else name)
        return "".join(text)

    def selected(self):
        return [letter for letter, button in self.alphabet.items() if is_selected(button)]


class Events:
    """Name-changed and selected-state events heard from the game."""

    def __init__(self):
        self.heard = []
        pyatspi.Registry.registerEventListener(self.hear, "object:property-change:accessible-name",
                                               "object:state-changed:selected")

    def hear(self, event):
        self.heard.append(event)

    def take(self):
        pump()
        heard, self.heard = self.heard, []
        return heard


def solution_layout(shown):
    """The quotation as laid out on the board, from the board's own runs of non-blank cells."""
    layout = board_solution_layout(shown, QUOTATION)
    check(layout is not None, f"the board {shown!r} does not have the shape of {QUOTATION!r}")
    return layout


def check_enciphered(shown, solution):
    """The board shows the quotation under one letter-for-letter key, other characters as they are."""
    key = {}
    for n, (w, s) in enumerate(zip(shown, solution)):
        if "A" <= s <= "Z":
            check("A" <= w <= "Z", f"cell {n + 1} shows {w!r} where the quotation has a letter")
            check(key.setdefault(s, w) == w, f"{s} shows as two letters")
        else:
            check(w == s, f"cell {n + 1} shows {w!r}, not {s!r}")
    check(len(set(key.values())) == len(key), "two letters of the quotation show as one")


def exchanged(shown, a, b):
    return "".join(b if c == a else a if c == b else c for c in shown)


def check_name_events(events, board, before, after):
    """One name-changed event per cell whose name changed, and none for any other part of the board."""
    counts = {}
    for event in events:
        if event.type != "object:property-change:accessible-name":
            continue
        path = event.source.path
        check(path not in board.letter_of and path != board.status.path,
              f"a name-changed event for the unchanged part {event.source.name!r}")
        n = board.index_of.get(path)
        if n is not None:  # not the message that the last exchange opens
            counts[n] = counts.get(n, 0) + 1
    changed = {n: 1 for n in range(GRID_CELLS) if before[n] != after[n]}
    check(counts == changed, f"name-changed events for cells {sorted(counts.items())}, "
                             f"but the cells that changed are {sorted(changed)}")
    return len(changed)


def select(board, events, letter, previous):
    click(board.alphabet[letter])
    wait_for(f"{letter} to be selected", lambda: board.selected() == [letter])
    # The game sent the events before it answered with the new state.
    heard = {}
    for event in events.take():
        check(event.type == "object:state-changed:selected", f"selecting {letter} sent {event.type}")
        source = board.letter_of.get(event.source.path, event.source.name)
        check(source not in heard, f"selecting {letter} announced {source} twice")
        heard[source] = event.detail1
    expected = {letter: 1}
    if previous and previous != letter:
        expected[previous] = 0
    check(heard == expected, f"selecting {letter} was announced as {heard}, expected {expected}")


def play(program, folder):
    events = Events()
    game = Game(program, folder)
    try:
        # A first start names a puzzle file that is not there: the game says so and takes Lumera8.dat.
        game.answer(INFORMATION)
        grid = wait_for("the board's grid", lambda: find(game.app, lambda a: role(a) == "table"))
        board = Board(grid)
        check(board.status.name == "Puzzle # 1", f"the status button is named {board.status.name!r}")
        shown = board.names()
        solution = solution_layout(shown)
        check_enciphered(shown, solution)
        log(f"read the board: 26 alphabet buttons, the status button {board.status.name!r}, and the grid: {shown.strip()!r}")

        selected = (board.selected() or [None])[0]
        exchanges = announced = 0
        events.take()
        while True:
            n = next(i for i in range(GRID_CELLS) if shown[i] != solution[i])
            letter = solution[n]
            if selected != letter:
                select(board, events, letter, selected)
                selected = letter
            expected = exchanged(shown, letter, shown[n])
            click(board.cells[n])
            exchanges += 1
            if expected == solution:
                # The last exchange is on the board before the congratulation message opens over it.
                wait_for("the congratulation message", lambda: game.window(CONGRATULATIONS))
                check(board.names() == solution, "the board does not show the solution under the congratulation")
            else:
                wait_for(f"cell {n + 1} to show {letter}", lambda: board.names() == expected)
            announced += check_name_events(events.take(), board, shown, expected)
            shown = expected
            if shown == solution:
                break

        game.answer(CONGRATULATIONS, QUOTATION)
        log(f"solved in {exchanges} exchanges by the parts' actions alone; {announced} cell names changed, "
            "each announced once")
        game.answer(INFORMATION, LAST_PUZZLE)
        dealt = wait_for("the next deal", lambda: (lambda names: names != solution and names)(board.names()))
        check_enciphered(dealt, solution)
        check(board.status.name == "Puzzle # 1", f"the status button is named {board.status.name!r} after the restart")
        log(f"the puzzle was dealt anew: {dealt.strip()!r}")
    finally:
        game.stop()


def run_in_scratch_folder(prefix, play):
    """Runs play(program, folder) with the game given on the command line and a scratch folder
    holding a one-puzzle Lumera8.dat; prints PASS or FAIL (with the game's output, if any) and
    returns the exit code."""
    program = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix=prefix)
    try:
        with open(os.path.join(folder, "Lumera8.dat"), "w", encoding="cp1252") as puzzles:
            puzzles.write(QUOTATION + "\n")
        play(program, folder)
    except Failure as error:
        log(f"FAIL: {error}")
        log_path = os.path.join(folder, "game.log")
        if os.path.exists(log_path):
            with open(log_path, errors="replace") as game_log:
                log("game output:\n" + game_log.read())
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    log("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(run_in_scratch_folder("lumera8-atspi-", play))
