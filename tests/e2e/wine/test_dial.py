"""Dialling with the real program under Wine: the clipboard (set with xclip,
read by the program as CF_UNICODETEXT) goes to the last phone as CP936 bytes
on Ctrl+F11 (pressed while another Wine window has the focus) or on a real
click of 拨号; at most one dial per 10 whole seconds, counted down in 安全计时."""

import re
import time
import unittest

from wine_desktop import Phone, WineDesktop

WAIT = re.compile(r"^等待(-?\d+)秒$")


def wait_seconds(text):
    match = WAIT.match(text)
    return int(match.group(1)) if match else None


class Dialling(unittest.TestCase):
    def setUp(self):
        self.desktop = WineDesktop()
        self.addCleanup(self.desktop.stop)
        self.focus = self.desktop.focus_helper()
        self.window = self.desktop.start()
        self.watcher = self.desktop.watch(self.window)
        self.phone = Phone(source="127.0.0.2")
        self.addCleanup(self.phone.close)
        self.assertIsNotNone(self.watcher.wait_for("客户进入", "手机已连接！连接数：1个"))

    def expect_box(self, text, since):
        self.assertIsNotNone(self.watcher.wait_for("编辑框1", text, since=since),
                             f"编辑框1 showed {self.watcher.texts('编辑框1')}")

    def expect_dial(self, wanted):
        """The phone gets exactly these bytes, with nothing before or after."""
        got = self.phone.receive_exactly(len(wanted))
        arrived = time.monotonic()
        self.assertEqual(got, wanted)
        self.assertEqual(self.phone.receive(quiet=0.5, limit=1.0), b"")
        return arrived

    def expect_countdown_starts(self, since):
        first = self.watcher.wait_for("安全计时", lambda text: text != "安全", since=since)
        self.assertIsNotNone(first, "安全计时 never left 安全 after a dial")
        shown = self.watcher.texts("安全计时", since=first)[0]
        self.assertIn(shown, ("等待10秒", "等待9秒"))

    def test_dials_are_sent_at_most_once_per_ten_seconds(self):
        # The first dial goes through at once, by the hot key.
        self.desktop.set_clipboard("13912345678")
        pressed = time.monotonic()
        self.desktop.press_ctrl_f11(self.focus)
        first = self.expect_dial(b"13912345678")
        self.expect_box("13912345678", pressed)
        self.expect_countdown_starts(pressed)

        # Five seconds later a click pastes the new text but sends nothing.
        time.sleep(max(0.0, first + 5 - time.monotonic()))
        self.desktop.set_clipboard("张三 13800138000")
        clicked = time.monotonic()
        self.desktop.click(self.window, "拨号")
        self.expect_box("张三 13800138000", clicked)
        self.assertEqual(self.phone.receive(quiet=1.5), b"")

        # The wait ends 10 whole seconds after the first dial, undisturbed by
        # the refused one: the countdown only goes down, to 安全.
        safe = self.watcher.wait_for("安全计时", "安全", timeout=15, since=first)
        self.assertIsNotNone(safe)
        self.assertGreater(safe - first, 8.0)
        countdown = [wait_seconds(t) for t in self.watcher.texts("安全计时", since=pressed)]
        countdown = countdown[:countdown.index(None)] if None in countdown else countdown
        self.assertEqual(countdown, sorted(countdown, reverse=True))
        self.assertIn(countdown[-1], (1, 0))
        self.assertLessEqual(len(countdown), 11)

        # Ten seconds after the first dial the hot key sends again: the text
        # as GBK bytes.
        time.sleep(max(0.0, first + 10.4 - time.monotonic()))
        pressed = time.monotonic()
        self.desktop.press_ctrl_f11(self.focus)
        second = self.expect_dial("张三 13800138000".encode("gbk"))
        self.assertEqual("张三 13800138000".encode("gbk")[:5], b"\xd5\xc5\xc8\xfd\x20")
        self.expect_countdown_starts(pressed)

        # A character that code page 936 lacks arrives as one '?'.
        time.sleep(max(0.0, second + 10.4 - time.monotonic()))
        self.desktop.set_clipboard("138\U0001F4DE0000")
        clicked = time.monotonic()
        self.desktop.click(self.window, "拨号")
        self.expect_dial(b"138?0000")
        self.expect_box("138?0000", clicked)


if __name__ == "__main__":
    unittest.main()
