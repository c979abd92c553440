"""The main window of the real program under Wine: title, frame, size and
place on the 1920x1080 screen, the controls where the window description puts
them, and what they show before any phone has connected."""

import unittest

from wine_desktop import (ADDRESS_PREFIX, PLACEMENTS, Phone, WineDesktop, darkest_pixel,
                          expected_local_address, is_black)


class MainWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = WineDesktop()
        try:
            cls.window = cls.desktop.start()
        except Exception:
            cls.desktop.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.stop()

    def test_title_frame_size_and_centred_place(self):
        data = self.window.data
        self.assertEqual(data["title"], "Quorvant")
        # Outer rectangle: (1920 - 248) / 2 = 836, (1080 - 151) / 2 = 464.
        self.assertEqual(self.window.outer, (836, 464, 248, 151))
        self.assertFalse(data["maximize_box"])
        self.assertFalse(data["sizable"])
        self.assertTrue(data["minimize_box"])
        self.assertTrue(data["system_menu"])
        width, height = self.window.client[2:]
        self.assertGreaterEqual(width, 240)
        self.assertGreaterEqual(height, 120)

    def test_controls_stand_where_the_description_puts_them(self):
        classes = {name: control["class"].lower() for name, control in self.window.controls.items()}
        self.assertEqual(classes, {"安全计时": "static", "客户进入": "static", "标签1": "static",
                                   "编辑框1": "edit", "拨号": "button"})
        self.assertEqual(len(self.window.data["controls"]), len(PLACEMENTS))

    def test_captions_before_any_phone(self):
        self.assertEqual(self.window.text("标签1"), ADDRESS_PREFIX + expected_local_address())
        self.assertEqual(self.window.text("安全计时"), "安全")
        self.assertEqual(self.window.text("客户进入"), "与手机连接状态")
        self.assertEqual(self.window.text("拨号"), "拨号")
        number = self.window.text("编辑框1")
        self.assertEqual(len(number), 11)
        self.assertTrue(number.isdigit())

    def test_labels_are_drawn_in_black(self):
        for name in ("标签1", "客户进入", "安全计时"):
            with self.subTest(label=name):
                self.assertTrue(is_black(darkest_pixel(self.window.screen_rect(name))))

    def test_tab_leads_from_the_edit_box_to_the_button(self):
        phone = Phone(source="127.0.0.2")
        self.addCleanup(phone.close)
        watcher = self.desktop.watch(self.window)
        self.assertIsNotNone(watcher.wait_for("客户进入", "手机已连接！连接数：1个"))
        self.desktop.set_clipboard("13511112222")
        self.desktop.focus_program()
        self.desktop.click(self.window, "编辑框1")
        # Space on the focused button presses it; in the edit box it would be
        # typed instead.
        self.desktop.press_keys("Tab", "space")
        self.assertEqual(phone.receive_exactly(11), b"13511112222")


if __name__ == "__main__":
    unittest.main()
