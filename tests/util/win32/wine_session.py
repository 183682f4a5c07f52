"""A Wine session for tests that drive the Windows programs as a player would: a scratch prefix
with its own wineserver, windows found by name on the X display, keys and clicks by xdotool,
and the screen read with ImageMagick. Every wait has a timeout. Shared by every end-to-end run
of the Windows programs.
"""

import glob
import io
import os
import shutil
import subprocess
import tempfile
import time

WINE = os.environ.get("LUMERA_WINE") or shutil.which("wine") or "wine"


class WinePrefix:
    """A Wine prefix of its own, with one wineserver kept alive for it."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="lumera-setup-")
        self.env = dict(os.environ)
        self.env.update(WINEPREFIX=os.path.join(self.folder, "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        source = os.environ.get("WINEPREFIX")
        if source and os.path.isfile(os.path.join(source, "system.reg")):
            # A copy of the test run's prefix is made in seconds, and its font cache is warm.
            subprocess.run(["cp", "-a", source, self.env["WINEPREFIX"]], check=True, timeout=120)
        else:
            self.Run(["wineboot", "-i"], timeout=180)
            self.Server("-w", timeout=60)
        for font in glob.glob("/usr/share/wine/fonts/*.ttf"):
            link = os.path.join(self.Drive(), "windows", "Fonts", os.path.basename(font))
            if not os.path.exists(link):
                os.symlink(font, link)
        for name in ("Managed", "Decorated"):
            self.Run(["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", name, "/d", "N", "/f"])
        # A new player: no settings and no donation state from earlier tests.
        for key in (r"HKLM\Software\Lumera800", r"HKCU\Software\Lumera800", r"HKCU\Software\lumera8"):
            self.Run(["reg", "delete", key, "/f"])
        self.Server("-p60")

    def Drive(self):
        return os.path.join(self.env["WINEPREFIX"], "drive_c")

    def Run(self, arguments, timeout=60, cwd=None):
        # Output goes through files: Wine's helper processes inherit the descriptors and would
        # keep a pipe open long after the program has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            result = subprocess.run([WINE] + arguments, env=self.env, cwd=cwd, timeout=timeout,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(result.args, result.returncode, out.read(), err.read())

    def Start(self, arguments, cwd):
        return subprocess.Popen([WINE] + arguments, env=self.env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def Server(self, option, timeout=30):
        server = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
        subprocess.run([server, option], env=self.env, timeout=timeout)

    def RegistryQuery(self, key, value):
        result = self.Run(["reg", "query", key, "/v", value])
        return result.stdout.decode("latin-1") if result.returncode == 0 else None

    def RegistrySet(self, key, value, kind, data):
        self.Run(["reg", "add", key, "/v", value, "/t", kind, "/d", str(data), "/f"])

    def Close(self):
        try:
            self.Server("-k")
        finally:
            shutil.rmtree(self.folder, ignore_errors=True)


def WaitFor(condition, seconds, what, tolerate=()):
    """Polls condition() until it returns something true, which it returns; an exception of the
    kinds in `tolerate` counts as not yet and is told on the timeout."""
    end = time.monotonic() + seconds
    last_error = None
    while time.monotonic() < end:
        try:
            result = condition()
            if result:
                return result
        except tolerate as error:
            last_error = error
        time.sleep(0.2)
    raise AssertionError("timed out after %d s waiting for %s" % (seconds, what) +
                         (" (%s)" % last_error if last_error else ""))


def FindWindows(pattern):
    """The visible X windows whose names match the regular expression, as xdotool ids."""
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=20)
    return [window.decode() for window in result.stdout.split()]


def FindWindow(name):
    """The X window whose name is exactly `name`, or None."""
    ids = FindWindows("^%s$" % Escape(name))
    return ids[0] if ids else None


def Escape(text):
    return "".join("\\" + c if c in r"\.[]()*+?^$|{}" else c for c in text)


def Keys(window, *keys):
    """Focuses the window and types the keys into it, as a player would (modifiers left over
    from an earlier key are let go first)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], timeout=20, check=False)
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], timeout=20, check=False)
        time.sleep(0.2)


def WindowGeometry(window):
    """(left, top, width, height) of an X window."""
    result = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, timeout=20)
    values = dict(line.split("=", 1) for line in result.stdout.decode().split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def Screenshot():
    """The whole screen as a PIL image in RGB."""
    from PIL import Image
    data = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True, timeout=30,
                          stdin=subprocess.DEVNULL).stdout
    return Image.open(io.BytesIO(data)).convert("RGB")


def ScreenPixel(x, y):
    """The (red, green, blue) of a screen pixel."""
    result = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "rgb:-"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30)
    return tuple(result.stdout[:3])


def Click(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], timeout=20, check=False)
    subprocess.run(["xdotool", "click", "1"], timeout=20, check=False)


def QuitGame(process, window, attempts=3):
    """Game > Quit by its keys, again if a key went astray, until the program has ended."""
    for _ in range(attempts):
        Keys(window, "Escape", "alt+g", "q")
        try:
            process.wait(timeout=10)
            return
        except subprocess.TimeoutExpired:
            pass
    raise AssertionError("the game did not end after Game > Quit")
