"""Port 19730 already taken by another program when the real program starts
under Wine: the window opens as usual, no message is shown, and the program
stays silent: it accepts no phone and closes with 0."""

import socket
import time
import unittest

from wine_desktop import PHONE_PORT, Phone, WineDesktop, visible_windows_titled


class PortTaken(unittest.TestCase):
    def test_window_opens_and_stays_silent(self):
        other = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.addCleanup(other.close)
        other.bind(("0.0.0.0", PHONE_PORT))
        other.listen(8)

        desktop = WineDesktop()
        self.addCleanup(desktop.stop)
        window = desktop.start()
        self.assertEqual(window.text("客户进入"), "与手机连接状态")
        self.assertEqual(window.text("安全计时"), "安全")
        # The main window is the only one: no error box.
        self.assertEqual(visible_windows_titled("Quorvant"), 1)

        # A phone reaches the other program; the window never hears of it.
        watcher = desktop.watch(window)
        phone = Phone(source="127.0.0.2")
        self.addCleanup(phone.close)
        accepted, _ = other.accept()
        self.addCleanup(accepted.close)
        phone.send(b"hello")
        self.assertEqual(accepted.recv(16), b"hello")
        time.sleep(1.5)
        self.assertEqual(watcher.texts("客户进入"), ["与手机连接状态"])
        self.assertEqual(desktop.close(), 0)


if __name__ == "__main__":
    unittest.main()
