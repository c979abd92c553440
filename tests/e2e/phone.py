"""A scripted phone for the end-to-end tests: connects to the desktop over
loopback, from a chosen 127.x address, and reads what the desktop sends."""

import socket
import time

PHONE_PORT = 19730


class Phone:
    def __init__(self, source="127.0.0.1", host="127.0.0.1", port=PHONE_PORT, timeout=10.0):
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.bind((source, 0))
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.sock.connect((host, port))
                break
            except (ConnectionRefusedError, OSError):
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)
                self.sock.close()
                self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                self.sock.bind((source, 0))
        self.source, self.source_port = self.sock.getsockname()

    @property
    def phone_id(self):
        """The name the desktop gives this connection."""
        return f"{self.source}:{self.source_port}"

    def send(self, data: bytes):
        self.sock.sendall(data)

    def receive(self, quiet=1.0, limit=5.0) -> bytes:
        """Everything that arrives until nothing has come for `quiet` seconds
        (or `limit` seconds in all). b"" when the desktop sent nothing."""
        data = b""
        end = time.monotonic() + limit
        while time.monotonic() < end:
            self.sock.settimeout(min(quiet, max(0.01, end - time.monotonic())))
            try:
                chunk = self.sock.recv(65536)
            except socket.timeout:
                break
            if not chunk:
                break
            data += chunk
        return data

    def receive_exactly(self, count, limit=10.0) -> bytes:
        data = b""
        end = time.monotonic() + limit
        while len(data) < count and time.monotonic() < end:
            self.sock.settimeout(max(0.01, end - time.monotonic()))
            try:
                chunk = self.sock.recv(count - len(data))
            except socket.timeout:
                break
            if not chunk:
                break
            data += chunk
        return data

    def closed_by_desktop(self, limit=10.0) -> bool:
        """True once the desktop has closed the connection (EOF or reset)."""
        self.sock.settimeout(limit)
        try:
            while True:
                chunk = self.sock.recv(65536)
                if not chunk:
                    return True
        except (ConnectionResetError, BrokenPipeError):
            return True
        except socket.timeout:
            return False

    def close(self):
        self.sock.close()


def port_open(host="127.0.0.1", port=PHONE_PORT) -> bool:
    try:
        with socket.create_connection((host, port), timeout=1.0):
            return True
    except OSError:
        return False
