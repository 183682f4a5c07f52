#!/usr/bin/python3
"""An exchange made with Orca itself, as a blind player makes it, and heard as one utterance.

The game is started in a scratch folder (with atspi_play.py's helpers), Speech Dispatcher with its dummy output module and
Orca with a debug file of its own; what Orca would say is read from that file. Orca's own
commands do the play, typed on the virtual display: flat review reads the alphabet's top row,
moves to "B" and clicks it (KP_Divide), goes down to the grid's first row and clicks its first
cell. The exchange must come out as one utterance that names both letters, and nothing else
may be said for it.

Run inside tests/window/a11y_session.sh. Exits 77 (skipped) without orca, speech-dispatcher or
xdotool.
"""

import os
import pty
import re
import shutil
import subprocess
import sys
import threading
import time
import tty

from atspi_play import Failure, check, log, run_in_scratch_folder, wait_for


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout.split()


for tool in ("orca", "speech-dispatcher", "xdotool"):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed: skipped")
        sys.exit(77)

SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*[\[{]")
CLICK = "Handler is Perform left click on current flat review item"


def start_speech_dispatcher(folder):
    """Speech Dispatcher on its dummy module, into a sound device that takes anything."""
    conf = os.path.join(folder, "speechd")
    shutil.copytree("/etc/speech-dispatcher", conf)
    with open(os.path.join(conf, "speechd.conf"), "a") as out:
        out.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                  'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n')
    subprocess.run(["speech-dispatcher", "-d", "-t", "0", "-C", conf], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "pid", "speech-dispatcher.pid")


class Orca:
    """Orca with its debug output on a terminal of ours: Orca writes a file line by line only
    when it is a terminal, and what it has said must be read while it runs."""

    def __init__(self, folder):
        prefs = os.path.join(folder, "orca-prefs")
        os.mkdir(prefs)
        self.terminal, speaker = pty.openpty()
        tty.setraw(speaker)
        self.output = []
        self.lock = threading.Lock()
        self.process = subprocess.Popen(["orca", "-u", prefs, f"--debug-file={os.ttyname(speaker)}"],
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        # Kept open here: a terminal with no writer left ends the reading.
        self.speaker = speaker
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        while True:
            try:
                chunk = os.read(self.terminal, 65536)
            except OSError:
                return
            if not chunk:
                return
            with self.lock:
                self.output.append(chunk)

    def lines(self):
        with self.lock:
            return b"".join(self.output).decode(errors="replace").splitlines()

    def said(self, after=None):
        """What Orca said, in order; after the last line holding `after`, when given."""
        lines = self.lines()
        if after is not None:
            marks = [i for i, line in enumerate(lines) if after in line]
            lines = lines[marks[-1] + 1:] if marks else []
        return [m.group(1) for m in map(SPOKEN.search, lines) if m]

    def press(self, key, expected):
        """Types one of Orca's keys and waits until Orca has said something that matches."""
        count = len(self.said())
        xdotool("key", key)
        return wait_for(f"Orca to answer {key} with {expected}",
                        lambda: next((s for s in self.said()[count:] if re.fullmatch(expected, s)), None))

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(5)


def play(program, folder):
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(folder, "config"))
    with open(os.path.join(folder, "game.log"), "wb") as out:
        game = subprocess.Popen([program], cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=out)
    speechd_pid = start_speech_dispatcher(folder)
    orca = None
    try:
        # A first start names a puzzle file that is not there: the game says so and takes Lumera8.dat.
        information = xdotool("search", "--sync", "--all", "--onlyvisible", "--pid", str(game.pid),
                              "--name", "^Information$")[0]
        xdotool("windowfocus", information)
        xdotool("key", "Return")
        # The splash goes with Timer1's first tick, 1.5 s after the start; then the main window
        # is given the keyboard, which is where Orca hears the keys from.
        time.sleep(2.0)
        window = xdotool("search", "--all", "--onlyvisible", "--pid", str(game.pid), "--name", "^Lumera 8")[0]
        wait_for("the main window to have the keyboard", lambda: subprocess.run(
            ["xdotool", "windowfocus", window], capture_output=True).returncode == 0 and xdotool("getwindowfocus") == [window])
        # Orca is started on the game's window, so that it finds the window shown and active.
        orca = Orca(folder)
        wait_for("Orca's start to end", lambda: any("Startup complete" in line for line in orca.lines()))
        check(any("Active window is [frame | Lumera 8" in line for line in orca.lines()),
              "Orca did not take the game's main window for the active one")

        orca.press("KP_Up", "A B C D E F G H I J K L M")
        orca.press("KP_Right", "B")
        xdotool("key", "KP_Divide")
        wait_for("B to be selected", lambda: any(
            "object:state-changed:selected" in line and "push button | B]" in line for line in orca.lines()))
        for _ in range(3):
            row = orca.press("KP_Prior", r".+")
        check(len(row.split()) == 30, f"the grid's first row reads {row!r}")
        first = orca.press("KP_Begin", r"\S")
        clicks = sum(CLICK in line for line in orca.lines())
        xdotool("key", "KP_Divide")
        wait_for("the exchange to be spoken",
                 lambda: sum(CLICK in line for line in orca.lines()) > clicks and orca.said(after=CLICK))
        time.sleep(1.0)  # anything else Orca would say for the same move
        heard = orca.said(after=CLICK)
        log(f"flat review read {row!r}; clicking B and then the first cell ({first!r}), Orca said {heard}")
        cells = r"in (no|\d+) cells?"
        if first == "B":
            expected = rf"notification B {cells}\."
        else:
            expected = rf"notification B {cells}, {re.escape(first)} {cells}\."
        check(len(heard) == 1 and re.fullmatch(expected, heard[0]),
              f"the exchange was heard as {heard}, not as one utterance naming B and {first}")
    except Failure:
        if orca:
            log(f"Orca said: {orca.said()}")
        raise
    finally:
        if orca:
            orca.stop()
        game.kill()
        game.wait(10)
        try:
            with open(speechd_pid) as pid:
                os.kill(int(pid.read()), 15)
        except (OSError, ValueError):
            pass


if __name__ == "__main__":
    sys.exit(run_in_scratch_folder("lumera8-orca-", play))
