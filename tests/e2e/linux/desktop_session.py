"""What the end-to-end tests of the Linux program share: starting the real
program on the sandbox's X display, finding its window, and the X tools
(xdotool, xclip, xprop, xwininfo) that play the user and other programs."""

import contextlib
import importlib
import os
import re
import subprocess
import sys
import time
import unittest

PROGRAM = None  # path of the built program, from the command line
SOURCE_DIR = None  # the repository, for tests/e2e/phone.py
KEY_GRABBER = None  # the rival X client that holds Ctrl+F11, when given

# Client-area offset of the centre of the 拨号 button.
DIAL_BUTTON_CENTRE = (128 + 48 // 2, 48 + 40 // 2)


def main():
    """Runs the unittest cases of the calling script with
    `script PROGRAM SOURCE_DIR [KEY_GRABBER]`."""
    global PROGRAM, SOURCE_DIR, KEY_GRABBER
    if len(sys.argv) < 3:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM SOURCE_DIR [KEY_GRABBER]")
    PROGRAM, SOURCE_DIR = sys.argv[1], sys.argv[2]
    KEY_GRABBER = sys.argv[3] if len(sys.argv) > 3 else None
    unittest.main(argv=[sys.argv[0], "-v"], module="__main__")


def e2e_module(name):
    """A module of tests/e2e that the Wine tests share (phone, clipboard)."""
    path = os.path.join(SOURCE_DIR, "tests", "e2e")
    if path not in sys.path:
        sys.path.insert(0, path)
    return importlib.import_module(name)


def phone_module():
    return e2e_module("phone")


def wait_until(condition, timeout=10.0, step=0.05):
    """The first true value of condition(), or None after `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            return None
        time.sleep(step)


def tool(*args, check=False):
    result = subprocess.run(args, capture_output=True, text=True, timeout=30)
    if check and result.returncode != 0:
        raise AssertionError(f"{args} failed: {result.stderr}")
    return result.stdout


def find_window(name):
    """The id of a visible window with exactly this title, or None."""
    ids = tool("xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(name)}$").split()
    return int(ids[0]) if ids else None


def client_origin(window):
    """Top-left corner of the window's client area on the screen."""
    info = tool("xwininfo", "-id", str(window))
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
    return x, y


def frame_extents(window):
    """(left, right, top, bottom) of the frame the window manager drew."""
    text = tool("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
    numbers = re.findall(r"\d+", text.split("=", 1)[-1]) if "=" in text else []
    return tuple(int(n) for n in numbers) if len(numbers) == 4 else None


def size_hints(window):
    """WM_NORMAL_HINTS as {'minimum': (w, h), 'maximum': (w, h), ...}."""
    text = tool("xprop", "-id", str(window), "WM_NORMAL_HINTS")
    hints = {}
    for kind in ("minimum", "maximum"):
        match = re.search(rf"{kind} size: (\d+) by (\d+)", text)
        if match:
            hints[kind] = (int(match.group(1)), int(match.group(2)))
    return hints


def port_listening(port=19730):
    """True when a socket of this network namespace listens on `port`, read
    from /proc so that asking opens no connection."""
    with open("/proc/net/tcp") as table:
        for line in table.readlines()[1:]:
            fields = line.split()
            local, state = fields[1], fields[3]
            if int(local.split(":")[1], 16) == port and state == "0A":
                return True
    return False


def press(keys):
    tool("xdotool", "key", keys, check=True)


def click_at(x, y):
    # One command, no --sync (it hangs when the pointer is already there): the
    # server takes the move and the click in order.
    tool("xdotool", "mousemove", str(x), str(y), "click", "1", check=True)


def focused_window():
    out = tool("xdotool", "getwindowfocus").strip()
    return int(out) if out else None


class Program:
    """The real program, started on the sandbox's display."""

    def __init__(self, env=None):
        self.stderr = open(os.path.join(os.environ.get("XDG_RUNTIME_DIR", "/tmp"),
                                        f"quorvant-{time.monotonic_ns()}.err"), "w+")
        self.process = subprocess.Popen([PROGRAM], stdout=subprocess.DEVNULL,
                                        stderr=self.stderr, env=env)
        self.window = None

    def wait_window(self, timeout=15.0):
        self.window = wait_until(lambda: self.running() and find_window("Quorvant"), timeout)
        if self.window is None:
            raise AssertionError("the Quorvant window did not appear\n" + self.error_output())
        return self.window

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=15.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def click_dial(self):
        x, y = client_origin(self.window)
        click_at(x + DIAL_BUTTON_CENTRE[0], y + DIAL_BUTTON_CENTRE[1])

    def error_output(self):
        self.stderr.flush()
        self.stderr.seek(0)
        return self.stderr.read()

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        self.stderr.close()


@contextlib.contextmanager
def running_program():
    """The program with its window up; killed at the end if still running."""
    program = Program()
    try:
        program.wait_window()
        yield program
    finally:
        program.stop()


@contextlib.contextmanager
def clipboard(text):
    """Another client owns the X clipboard with `text` while inside."""
    owner = e2e_module("clipboard").ClipboardOwner(text)
    try:
        yield
    finally:
        owner.release()


@contextlib.contextmanager
def focused_xterm():
    """An xterm, not a Qt program, with the keyboard focus."""
    title = f"focus-{os.getpid()}"
    term = subprocess.Popen(["xterm", "-title", title, "-e", "sleep", "600"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = wait_until(lambda: find_window(title), 10.0)
        if window is None:
            raise AssertionError("xterm did not show up")
        tool("xdotool", "windowactivate", "--sync", str(window))
        if wait_until(lambda: focused_window() == window, 5.0) is None:
            raise AssertionError("xterm did not get the focus")
        yield window
    finally:
        term.kill()
        term.wait()


@contextlib.contextmanager
def rival_key_grab():
    """Another X client holds every lock combination of Ctrl+F11."""
    grabber = subprocess.Popen([KEY_GRABBER, "hold", "all"], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    try:
        if grabber.stdout.readline().strip() != "held":
            raise AssertionError("the rival could not grab Ctrl+F11")
        yield
    finally:
        grabber.stdin.close()
        grabber.wait(10)
        grabber.stdout.close()
