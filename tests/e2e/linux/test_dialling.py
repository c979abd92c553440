"""Dialling end to end: a real clipboard (xclip), Ctrl+F11 pressed with
xdotool while an xterm has the focus, clicks on 拨号, and scripted phones that
check the exact bytes that arrive."""

import time
import unittest

import desktop_session as ds

NUMBER = "13800138000"
ZHANG_SAN = "张三 13800138000"
ZHANG_SAN_CP936 = bytes.fromhex("d5 c5 c8 fd 20") + b"13800138000"


class DialTest(unittest.TestCase):
    def setUp(self):
        self.phone = ds.phone_module()

    def expect_exactly(self, phone, data):
        self.assertEqual(phone.receive_exactly(len(data), limit=5.0), data)
        # Nothing before, nothing after: no prefix, terminator or reply.
        self.assertEqual(phone.receive(quiet=0.5), b"")

    def test_ctrl_f11_from_another_program_with_the_guard_in_between(self):
        with ds.running_program() as program, ds.focused_xterm() as term:
            phone = self.phone.Phone(source="127.0.0.2")
            with ds.clipboard(NUMBER):
                ds.press("ctrl+F11")
                self.expect_exactly(phone, NUMBER.encode())
            first_dial = time.monotonic()

            # Five seconds on, the guard still holds: nothing is sent.
            with ds.clipboard(ZHANG_SAN):
                time.sleep(max(0.0, first_dial + 5.0 - time.monotonic()))
                ds.press("ctrl+F11")
                self.assertEqual(phone.receive(quiet=1.5), b"")

                # Ten seconds after the first the key dials again, Num Lock on,
                # and the number travels as its CP936 bytes.
                ds.press("Num_Lock")
                try:
                    time.sleep(max(0.0, first_dial + 10.2 - time.monotonic()))
                    ds.press("ctrl+F11")
                    self.expect_exactly(phone, ZHANG_SAN_CP936)
                finally:
                    ds.press("Num_Lock")
            self.assertEqual(ds.focused_window(), term, "the xterm lost the focus")
            self.assertTrue(program.running())
            phone.close()

    def test_the_button_sends_only_to_the_last_phone_and_replaces_what_cp936_lacks(self):
        with ds.running_program() as program:
            first = self.phone.Phone(source="127.0.0.2")
            last = self.phone.Phone(source="127.0.0.55")
            time.sleep(0.3)
            with ds.clipboard("a😀 " + NUMBER):
                program.click_dial()
                self.expect_exactly(last, b"a? " + NUMBER.encode())
            self.assertEqual(first.receive(quiet=0.5), b"")
            first.close()
            last.close()

    def test_the_button_still_dials_when_another_program_holds_ctrl_f11(self):
        with ds.rival_key_grab(), ds.running_program() as program:
            phone = self.phone.Phone(source="127.0.0.2")
            with ds.clipboard(NUMBER):
                ds.press("ctrl+F11")
                self.assertEqual(phone.receive(quiet=1.0), b"")
                program.click_dial()
                self.expect_exactly(phone, NUMBER.encode())
            phone.close()


if __name__ == "__main__":
    ds.main()
