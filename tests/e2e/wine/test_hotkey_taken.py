"""Ctrl+F11 already held by another program when the real program starts
under Wine: the key does nothing in the program, and the button still dials."""

import time
import unittest

from wine_desktop import Phone, WineDesktop


class HotkeyTaken(unittest.TestCase):
    def test_only_the_button_dials(self):
        desktop = WineDesktop()
        self.addCleanup(desktop.stop)
        holder = desktop.focus_helper(hold_hotkey=True)
        self.assertTrue(holder.wait_for_line("hotkey held"))
        window = desktop.start()
        watcher = desktop.watch(window)
        phone = Phone(source="127.0.0.2")
        self.addCleanup(phone.close)
        self.assertIsNotNone(watcher.wait_for("客户进入", "手机已连接！连接数：1个"))
        initial = window.text("编辑框1")

        desktop.set_clipboard("13700001111")
        pressed = time.monotonic()
        desktop.press_ctrl_f11(holder)
        # The press was made: the program holding the key got it.
        self.assertTrue(holder.wait_for_line("hotkey pressed"))
        self.assertEqual(phone.receive(quiet=1.5), b"")
        self.assertEqual(watcher.texts("编辑框1", since=pressed), [])
        self.assertEqual(desktop.inspect().text("编辑框1"), initial)

        desktop.click(window, "拨号")
        self.assertEqual(phone.receive_exactly(11), b"13700001111")
        self.assertIsNotNone(watcher.wait_for("编辑框1", "13700001111", since=pressed))
        self.assertEqual(desktop.close(), 0)


if __name__ == "__main__":
    unittest.main()
