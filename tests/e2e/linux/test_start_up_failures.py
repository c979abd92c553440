"""Start-up when something is missing: no X display at all, or port 19730
already taken by another program."""

import os
import socket
import subprocess
import unittest

import desktop_session as ds


class NoDisplayTest(unittest.TestCase):
    def run_without(self, env):
        result = subprocess.run([ds.PROGRAM], env=env, capture_output=True, text=True,
                                timeout=30)
        return result.returncode, result.stderr

    def test_says_so_plainly_and_exits_with_an_error(self):
        cases = {
            "DISPLAY unset": {k: v for k, v in os.environ.items() if k != "DISPLAY"},
            "DISPLAY names no server": dict(os.environ, DISPLAY=":4242"),
        }
        for what, env in cases.items():
            with self.subTest(what):
                code, stderr = self.run_without(env)
                # 1, not a signal (negative) or an abort's 134.
                self.assertEqual(code, 1, stderr)
                self.assertIn("Quorvant needs an X11 display", stderr)
                self.assertEqual(len(stderr.strip().splitlines()), 1, stderr)


class PortTakenTest(unittest.TestCase):
    def test_window_opens_and_stays_up_but_no_phone_gets_in(self):
        blocker = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        blocker.bind(("0.0.0.0", 19730))
        blocker.listen(1)
        try:
            with ds.running_program() as program:
                # It does not give up, and does not try again either.
                self.assertIsNone(program.wait_exit(timeout=1.5))
                blocker.close()
                self.assertFalse(ds.port_listening())
                probe = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                probe.bind(("127.0.0.2", 0))
                with self.assertRaises(ConnectionRefusedError):
                    probe.connect(("127.0.0.1", 19730))
                probe.close()

                ds.tool("xdotool", "windowclose", str(program.window), check=True)
                self.assertEqual(program.wait_exit(), 0, program.error_output())
        finally:
            blocker.close()


if __name__ == "__main__":
    ds.main()
