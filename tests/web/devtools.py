"""A small client of Chromium's DevTools protocol (standard library only): the page's input as the
browser's own trusted events, its screenshots, and expressions evaluated in it.

Chromium started with --remote-debugging-port=0 --user-data-dir=PROFILE writes the port it chose
to PROFILE/DevToolsActivePort; page_connection(PROFILE) connects to its first page."""

import base64
import json
import os
import socket
import struct
import time
import urllib.request


class DevTools:
    def __init__(self, ws_url, timeout=30):
        if not ws_url.startswith("ws://"):
            raise ValueError(f"not a websocket address: {ws_url}")
        host_port, path = ws_url[len("ws://"):].split("/", 1)
        host, port = host_port.rsplit(":", 1)
        self.sock = socket.create_connection((host, int(port)), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET /{path} HTTP/1.1\r\nHost: {host_port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\nSec-WebSocket-Version: 13\r\n\r\n").encode())
        head = b""
        while b"\r\n\r\n" not in head:
            head += self._exactly(1)
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise OSError("the browser refused the websocket: " + head.decode(errors="replace"))
        self.last_id = 0

    def close(self):
        self.sock.close()

    def _exactly(self, count):
        data = b""
        while len(data) < count:
            chunk = self.sock.recv(count - len(data))
            if not chunk:
                raise OSError("the browser closed the websocket")
            data += chunk
        return data

    def _message(self):
        parts = []
        while True:
            first, second = self._exactly(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._exactly(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._exactly(8))[0]
            payload = self._exactly(length)
            opcode = first & 0x0F
            if opcode == 8:
                raise OSError("the browser closed the websocket")
            if opcode in (9, 10):  # ping, pong
                continue
            parts.append(payload)
            if first & 0x80:
                return b"".join(parts)

    def call(self, method, **params):
        """Sends one command and returns its result; events that come meanwhile are dropped."""
        self.last_id += 1
        data = json.dumps({"id": self.last_id, "method": method, "params": params}).encode()
        if len(data) < 126:
            header = bytes([0x81, 0x80 | len(data)])
        elif len(data) < 65536:
            header = bytes([0x81, 0x80 | 126]) + struct.pack(">H", len(data))
        else:
            header = bytes([0x81, 0x80 | 127]) + struct.pack(">Q", len(data))
        mask = os.urandom(4)
        self.sock.sendall(header + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))
        while True:
            message = json.loads(self._message())
            if message.get("id") == self.last_id:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result.get("result", {}).get("value")

    def click(self, x, y, pause=0.1):
        """The pointer moves to (x, y) of the page, and the left button is pressed and released
        there, as the player's own mouse does."""
        self.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        time.sleep(pause)
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
            time.sleep(pause)

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))


def page_connection(profile, deadline_s=30):
    """Connects to the first page of the Chromium using PROFILE, waiting for it to start."""
    port_file = os.path.join(profile, "DevToolsActivePort")
    end = time.monotonic() + deadline_s
    while time.monotonic() < end:
        try:
            with open(port_file) as f:
                port = f.read().split()[0]
            with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=5) as answer:
                pages = [t for t in json.load(answer) if t.get("type") == "page"]
            if pages:
                return DevTools(pages[0]["webSocketDebuggerUrl"])
        except (OSError, IndexError, ValueError):
            pass
        time.sleep(0.2)
    raise SystemExit(f"page-test: the browser's DevTools did not answer within {deadline_s} s")
