"""What the Wine end-to-end tests share: the real quorvant.exe started under
Wine, read from outside with inspect.exe, driven with real key presses and
clicks (xdotool) and a real clipboard (xclip), and the scripted phone.

run.sh sets the environment: WINEPREFIX (a private copy), DISPLAY (the
sandbox's Xvfb) and the paths of the three programs."""

import os
import json
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from phone import Phone, port_open, PHONE_PORT  # noqa: E402,F401
from clipboard import ClipboardOwner  # noqa: E402

QUORVANT_EXE = os.environ["QUORVANT_EXE"]
INSPECT_EXE = os.environ["QUORVANT_INSPECT_EXE"]
FOCUS_EXE = os.environ["QUORVANT_FOCUS_EXE"]

# Where the window description puts each control, in client coordinates.
PLACEMENTS = {
    "安全计时": (184, 48, 56, 40),
    "客户进入": (16, 96, 208, 24),
    "编辑框1": (16, 48, 104, 40),
    "拨号": (128, 48, 48, 40),
    "标签1": (24, 8, 160, 32),
}
ADDRESS_PREFIX = "手机输入IP:"


def expected_local_address():
    """The first IPv4 address of an interface that is up and not loopback.
    Under Wine the host's own name resolves to exactly these addresses, and
    the program falls back to them as well; "" when there is none."""
    out = subprocess.run(["ip", "-4", "-o", "addr", "show", "up"],
                         capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        fields = line.split()
        address = fields[3].split("/")[0]
        if fields[1] != "lo" and not address.startswith("127."):
            return address
    return ""


def visible_windows_titled(title):
    """How many shown X windows carry exactly this title (an error box of the
    program would be one more)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True).stdout.split()
    return len(found)


def run_wine(program, *args, timeout=20):
    """Runs a Windows program to its end and returns (exit code, stdout bytes).
    Output goes through a file, not a pipe: the first Wine program of a
    prefix starts Wine's own services, which keep its pipes open for good."""
    with tempfile.TemporaryFile() as out:
        process = subprocess.run(["wine", program, *args], stdout=out, stderr=subprocess.DEVNULL,
                                 stdin=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return process.returncode, out.read()


def run_inspect():
    return run_wine(INSPECT_EXE)


class Window:
    """One reading of the main window by inspect.exe."""

    def __init__(self, data):
        self.data = data
        self.outer = tuple(data["outer"])
        self.client = tuple(data["client"])
        self.controls = {}
        for control in data["controls"]:
            for name, placement in PLACEMENTS.items():
                if tuple(control["rect"]) == placement:
                    self.controls[name] = control

    def text(self, name):
        return self.controls[name]["text"]

    def screen_rect(self, name):
        left, top, width, height = PLACEMENTS[name]
        return (self.client[0] + left, self.client[1] + top, width, height)

    def centre(self, name):
        left, top, width, height = self.screen_rect(name)
        return (left + width // 2, top + height // 2)


def darkest_pixel(rect):
    """The darkest pixel on screen inside rect (left, top, width, height):
    the colour of a label's text, whose glyphs are drawn in it and blended
    only toward the lighter background."""
    left, top, width, height = rect
    ppm = subprocess.run(
        ["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}", "+repage",
         "ppm:-"], capture_output=True, check=True).stdout
    # P6 header: magic, width, height, maximum value, then the RGB bytes.
    fields = ppm.split(maxsplit=4)
    pixels = fields[4]
    best = (255, 255, 255)
    for i in range(0, len(pixels) - 2, 3):
        pixel = (pixels[i], pixels[i + 1], pixels[i + 2])
        if sum(pixel) < sum(best):
            best = pixel
    return best


def is_black(pixel):
    return max(pixel) < 48


def is_grey(pixel):
    return all(100 <= c <= 156 for c in pixel) and max(pixel) - min(pixel) < 16


class Watcher:
    """inspect.exe --watch in the background: every text each control shows,
    with the moment it was seen."""

    def __init__(self, window):
        self.names = {c["id"]: name for name, c in window.controls.items()}
        self.events = []  # (monotonic time, control name, text)
        self.lock = threading.Condition()
        self.process = subprocess.Popen(["wine", INSPECT_EXE, "--watch"], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        for line in self.process.stdout:
            try:
                entry = json.loads(line.decode("utf-8"))
            except ValueError:
                continue
            name = self.names.get(entry["id"])
            if name is None:
                continue
            with self.lock:
                self.events.append((time.monotonic(), name, entry["text"]))
                self.lock.notify_all()

    def texts(self, name, since=0.0):
        with self.lock:
            return [text for when, n, text in self.events if n == name and when >= since]

    def latest(self, name):
        texts = self.texts(name)
        return texts[-1] if texts else None

    def wait_for(self, name, wanted, timeout=10.0, since=0.0):
        """Waits until `name` has shown `wanted` (a text, or a predicate on the
        text) at or after `since`; returns that moment, or None."""
        matches = wanted if callable(wanted) else (lambda text: text == wanted)
        end = time.monotonic() + timeout
        with self.lock:
            while True:
                for when, n, text in self.events:
                    if n == name and when >= since and matches(text):
                        return when
                left = end - time.monotonic()
                if left <= 0:
                    return None
                self.lock.wait(left)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class FocusHelper:
    """focus.exe: a Wine window that holds the keyboard focus while keys are
    pressed (Wine hands registered hot keys only to a focused Wine window)."""

    def __init__(self, hold_hotkey=False):
        args = ["wine", FOCUS_EXE] + (["--hold-hotkey"] if hold_hotkey else [])
        self.lines = []
        self.lock = threading.Condition()
        self.process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        threading.Thread(target=self._read, daemon=True).start()
        self.window = None
        end = time.monotonic() + 20
        while self.window is None and time.monotonic() < end:
            found = subprocess.run(["xdotool", "search", "--name", "^Focus helper$"],
                                   capture_output=True, text=True).stdout.split()
            if found:
                self.window = found[0]
            else:
                time.sleep(0.2)
        if self.window is None:
            raise RuntimeError("focus.exe did not open its window")

    def _read(self):
        for line in self.process.stdout:
            with self.lock:
                self.lines.append(line.decode().strip())
                self.lock.notify_all()

    def wait_for_line(self, wanted, timeout=10.0):
        end = time.monotonic() + timeout
        with self.lock:
            while wanted not in self.lines:
                left = end - time.monotonic()
                if left <= 0:
                    return False
                self.lock.wait(left)
            return True

    def count(self, wanted):
        with self.lock:
            return self.lines.count(wanted)

    def take_focus(self):
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], check=True)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()


class WineDesktop:
    """The program under test and the tools around it, cleaned up by stop()."""

    def __init__(self):
        self.program = None
        self.clipboard_owner = None
        self.helpers = []

    # The program -------------------------------------------------------------

    def start(self):
        self.program = subprocess.Popen(["wine", QUORVANT_EXE], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return self.wait_for_window()

    def wait_for_window(self, timeout=30.0):
        """The window once it is shown, with the address already filled in."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.program.poll() is not None:
                raise RuntimeError(f"quorvant.exe ended early with {self.program.returncode}")
            code, out = run_inspect()
            if code == 0:
                window = Window(json.loads(out.decode("utf-8")))
                if window.data["visible"]:
                    return window
            time.sleep(0.2)
        raise RuntimeError("the Quorvant window did not appear")

    def inspect(self):
        code, out = run_inspect()
        if code != 0:
            raise RuntimeError("the Quorvant window is gone")
        return Window(json.loads(out.decode("utf-8")))

    def close(self, timeout=20.0):
        """Closes the window as a user would (WM_CLOSE) and returns the exit code."""
        run_wine("taskkill", "/im", "quorvant.exe", timeout=timeout)
        return self.program.wait(timeout=timeout)

    # Helpers -----------------------------------------------------------------

    def watch(self, window):
        watcher = Watcher(window)
        self.helpers.append(watcher)
        return watcher

    def focus_helper(self, hold_hotkey=False):
        helper = FocusHelper(hold_hotkey)
        self.helpers.append(helper)
        return helper

    def set_clipboard(self, text):
        """Puts text on the X clipboard and waits until it can be read back."""
        if self.clipboard_owner is not None:
            self.clipboard_owner.release()
        self.clipboard_owner = ClipboardOwner(text)

    @staticmethod
    def focus_program():
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quorvant$"],
                               capture_output=True, text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", found[0]], check=True)

    @staticmethod
    def press_keys(*keys):
        subprocess.run(["xdotool", "key", "--delay", "100", *keys], check=True)

    @staticmethod
    def press_ctrl_f11(focus_helper):
        focus_helper.take_focus()
        subprocess.run(["xdotool", "key", "ctrl+F11"], check=True)

    @staticmethod
    def click(window, name):
        x, y = window.centre(name)
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"],
                       check=True)

    def stop(self):
        for helper in self.helpers:
            helper.stop()
        if self.clipboard_owner is not None:
            self.clipboard_owner.release()
        if self.program is not None and self.program.poll() is None:
            self.program.kill()
        subprocess.run(["wineserver", "-k"], capture_output=True)
        if self.program is not None:
            self.program.wait()
