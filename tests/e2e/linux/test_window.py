"""The real program's window and port, seen from outside: title, fixed size,
centred position, the listening port, a phone that talks into the void, and
the two ways the window can be closed."""

import unittest

import desktop_session as ds


class WindowTest(unittest.TestCase):
    def test_titled_fixed_size_and_centred_on_the_screen(self):
        with ds.running_program() as program:
            window = program.window
            self.assertEqual(ds.tool("xdotool", "getwindowname", str(window)).strip(), "Quorvant")
            hints = ds.size_hints(window)
            self.assertEqual(hints.get("minimum"), (240, 120))
            self.assertEqual(hints.get("maximum"), (240, 120))

            # The outer top-left corner, frame included, sits at the centre
            # of the 1920 x 1080 screen: ((1920 - 248) / 2, (1080 - 151) / 2).
            extents = ds.wait_until(lambda: ds.frame_extents(window), 5.0)
            self.assertIsNotNone(extents, "openbox drew no frame")
            left, _, top, _ = extents
            x, y = ds.client_origin(window)
            self.assertEqual((x - left, y - top), (836, 464))

            actions = ds.tool("xprop", "-id", str(window), "_NET_WM_ALLOWED_ACTIONS")
            self.assertIn("_NET_WM_ACTION_CLOSE", actions)
            self.assertIn("_NET_WM_ACTION_MINIMIZE", actions)
            self.assertNotIn("MAXIMIZE", actions)
            self.assertNotIn("_NET_WM_ACTION_RESIZE", actions)

            # The application's icon, as width, height and pixels.
            icon = ds.tool("xprop", "-id", str(window), "-notype", "32c", "_NET_WM_ICON")
            self.assertRegex(icon, r"_NET_WM_ICON = \d+, \d+, \d+")

            # Closing through the window manager (Alt+F4) ends the program.
            ds.tool("xdotool", "windowactivate", "--sync", str(window), check=True)
            ds.press("alt+F4")
            self.assertEqual(program.wait_exit(), 0, program.error_output())

    def test_a_phone_is_heard_not_answered_and_sees_the_close(self):
        phone = ds.phone_module()
        with ds.running_program() as program:
            self.assertTrue(ds.port_listening())
            a = phone.Phone(source="127.0.0.2")
            a.send(b"hello desktop\r\n" * 100)
            self.assertEqual(a.receive(quiet=1.0), b"")
            self.assertTrue(program.running())

            # Another client destroys the X window outright.
            ds.tool("xdotool", "windowclose", str(program.window), check=True)
            self.assertEqual(program.wait_exit(), 0, program.error_output())
            self.assertTrue(a.closed_by_desktop(limit=5.0))
            self.assertFalse(ds.port_listening())
            a.close()


if __name__ == "__main__":
    ds.main()
