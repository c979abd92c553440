"""The X clipboard for the end-to-end tests. X keeps no clipboard contents:
its owner, xclip here, must stay alive for as long as the text is to be read."""

import subprocess
import time


class ClipboardOwner:
    """Another client that owns the X clipboard with `text` until released."""

    def __init__(self, text, timeout=10.0):
        self.process = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"],
                                        stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.process.stdin.write(text.encode("utf-8"))
        self.process.stdin.close()
        # The text is there only once xclip owns the selection and answers.
        end = time.monotonic() + timeout
        while True:
            read = subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                  capture_output=True, timeout=5)
            if read.stdout.decode("utf-8", "replace") == text:
                return
            if time.monotonic() > end:
                self.release()
                raise AssertionError(f"xclip did not take the clipboard with {text!r}")
            time.sleep(0.1)

    def release(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
