"""Phones on loopback against the real program under Wine: what they send is
read and dropped, the label 客户进入 counts them (black when one arrives,
grey when one leaves), and closing the window closes every connection and
exits with 0."""

import time
import unittest

from wine_desktop import Phone, WineDesktop, darkest_pixel, is_black, is_grey

CONNECTED = "手机已连接！连接数：{}个"
DISCONNECTED = "手机已断开！连接数：{}个"


class ConnectedPhones(unittest.TestCase):
    def setUp(self):
        self.desktop = WineDesktop()
        self.addCleanup(self.desktop.stop)
        self.window = self.desktop.start()
        self.watcher = self.desktop.watch(self.window)
        self.phones = []

    def phone(self, source):
        phone = Phone(source=source)
        self.phones.append(phone)
        self.addCleanup(phone.close)
        return phone

    def expect_label(self, text, ink_test, since):
        seen = self.watcher.wait_for("客户进入", text, since=since)
        self.assertIsNotNone(seen, f"客户进入 never showed {text!r}; it showed "
                                   f"{self.watcher.texts('客户进入')}")
        # The repaint follows the caption; give it a moment.
        end = time.monotonic() + 3
        while True:
            ink = darkest_pixel(self.window.screen_rect("客户进入"))
            if ink_test(ink) or time.monotonic() > end:
                break
            time.sleep(0.1)
        self.assertTrue(ink_test(ink), f"{text!r} drawn in {ink}")
        return seen

    def test_phones_arrive_reconnect_and_leave(self):
        start = time.monotonic()
        a = self.phone("127.0.0.2")
        t = self.expect_label(CONNECTED.format(1), is_black, start)

        # What a phone sends is read and dropped: no reply, no change.
        a.send(b"ring ring\n" * 300)
        self.assertEqual(a.receive(quiet=1.5), b"")
        self.assertEqual(self.watcher.texts("客户进入", since=t + 0.001), [])

        b = self.phone("127.0.0.55")
        t = self.expect_label(CONNECTED.format(2), is_black, t)
        c = self.phone("127.0.0.3")
        t = self.expect_label(CONNECTED.format(3), is_black, t)
        c.close()
        t = self.expect_label(DISCONNECTED.format(2), is_grey, t)

        # The phone at 127.0.0.2 comes back on a new port: its entry is
        # brought up to date, not doubled.
        a_again = self.phone("127.0.0.2")
        t = self.expect_label(CONNECTED.format(2), is_black, t)
        # Its old connection's close names an entry that is gone: the count
        # stays, the label turns grey.
        a.close()
        t = self.expect_label(DISCONNECTED.format(2), is_grey, t)
        b.close()
        t = self.expect_label(DISCONNECTED.format(1), is_grey, t)

        d = self.phone("127.0.0.55")
        self.expect_label(CONNECTED.format(2), is_black, t)

        # Closing asks nothing, closes both connections and exits with 0.
        self.assertEqual(self.desktop.close(), 0)
        self.assertTrue(a_again.closed_by_desktop())
        self.assertTrue(d.closed_by_desktop())


if __name__ == "__main__":
    unittest.main()
