#!/usr/bin/env python3
"""Serves a web build of a game for trying it in a browser.

    serve.py DIR [--port N] [--bind ADDR] [--save-to OUTDIR --once] [--timeout SECONDS]

The engine runs its workers as threads, which browsers allow only on a cross-origin-isolated
page: every answer carries Cross-Origin-Opener-Policy: same-origin and
Cross-Origin-Embedder-Policy: require-corp, and .wasm goes out as application/wasm.

With --save-to, the page's uploads are kept: a POST to /out/NAME stores its body as OUTDIR/NAME,
and a POST to /done (body: the engine's exit status) ends the run; with --once the server then
exits with status 0, after printing "done: STATUS". --timeout bounds the server's life: past it,
it exits with status 124, so a test that drives a browser never hangs.
"""

import argparse
import http.server
import os
import posixpath
import sys
import tempfile
import threading
import urllib.parse

MAX_UPLOAD = 512 * 1024 * 1024

EXTRA_TYPES = {
    ".wasm": "application/wasm",
    ".js": "text/javascript",
    ".mjs": "text/javascript",
    ".html": "text/html; charset=utf-8",
    ".json": "application/json",
    ".data": "application/octet-stream",
    ".dat": "application/octet-stream",
    ".txt": "text/plain; charset=utf-8",
    ".ogg": "audio/ogg",
    ".ogv": "video/ogg",
    ".ttf": "font/ttf",
    ".otf": "font/otf",
}


def safe_relative(name):
    """The upload's name as a relative path inside the output folder, or None."""
    parts = [p for p in name.split("/") if p not in ("", ".")]
    if not parts or any(p == ".." or "\\" in p or "\0" in p for p in parts):
        return None
    return os.path.join(*parts)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, handler, root, save_to, once):
        super().__init__(address, handler)
        self.root = root
        self.save_to = save_to
        self.once = once
        self.done_status = None


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **EXTRA_TYPES}

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=kwargs.pop("directory", None), **kwargs)

    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        self.send_header("Cross-Origin-Resource-Policy", "same-origin")
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def translate_path(self, path):
        # The served folder, never outside it (SimpleHTTPRequestHandler already drops "..").
        path = urllib.parse.unquote(urllib.parse.urlsplit(path).path)
        result = self.server.root
        for part in posixpath.normpath(path).split("/"):
            if part and part not in (".", "..") and os.sep not in part:
                result = os.path.join(result, part)
        return result

    def reply(self, code, text):
        body = (text + "\n").encode()
        self.send_response(code)
        self.send_header("Content-Type", "text/plain; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def read_body(self):
        length = self.headers.get("Content-Length")
        if length is None or not length.isdigit():
            self.reply(411, "a Content-Length is needed")
            return None
        length = int(length)
        if length > MAX_UPLOAD:
            self.reply(413, "upload too large")
            return None
        data = bytearray()
        while len(data) < length:
            chunk = self.rfile.read(min(1 << 20, length - len(data)))
            if not chunk:
                self.reply(400, "upload cut short")
                return None
            data += chunk
        return bytes(data)

    def do_POST(self):
        if self.server.save_to is None:
            self.reply(405, "uploads are off (start the server with --save-to)")
            return
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        body = self.read_body()
        if body is None:
            return
        if path == "/done":
            text = body.decode("utf-8", "replace").strip()
            self.reply(200, "ok")
            self.server.done_status = text
            with open(os.path.join(self.server.save_to, "status.txt"), "w") as f:
                f.write(text + "\n")
            print(f"done: {text}", flush=True)
            if self.server.once:
                threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        if not path.startswith("/out/"):
            self.reply(404, "uploads go to /out/NAME or /done")
            return
        relative = safe_relative(path[len("/out/"):])
        if relative is None:
            self.reply(400, "bad upload name")
            return
        target = os.path.join(self.server.save_to, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        # Written beside its place, then renamed: a reader never sees half a file.
        fd, temporary = tempfile.mkstemp(dir=os.path.dirname(target), prefix=".upload-")
        with os.fdopen(fd, "wb") as f:
            f.write(body)
        os.chmod(temporary, 0o644)
        os.replace(temporary, target)
        self.reply(200, "stored")

    def log_message(self, format, *args):
        if self.server.verbose:
            super().log_message(format, *args)


def main():
    parser = argparse.ArgumentParser(description="Serve a web build with the cross-origin isolation headers.")
    parser.add_argument("dir", help="the folder to serve (index.html and the engine's files)")
    parser.add_argument("--port", type=int, default=8000, help="port (0 picks a free one; default 8000)")
    parser.add_argument("--bind", default="127.0.0.1", help="address to listen on (default 127.0.0.1)")
    parser.add_argument("--save-to", help="keep files POSTed to /out/NAME in this folder")
    parser.add_argument("--once", action="store_true", help="exit after the page POSTs /done")
    parser.add_argument("--timeout", type=float, help="exit with status 124 after this many seconds")
    parser.add_argument("--verbose", action="store_true", help="log every request")
    args = parser.parse_args()

    root = os.path.abspath(args.dir)
    if not os.path.isdir(root):
        parser.error(f"{args.dir} is not a folder")
    if args.once and not args.save_to:
        parser.error("--once needs --save-to")
    save_to = None
    if args.save_to:
        save_to = os.path.abspath(args.save_to)
        os.makedirs(save_to, exist_ok=True)

    server = Server((args.bind, args.port), lambda *a, **k: Handler(*a, directory=root, **k), root, save_to, args.once)
    server.verbose = args.verbose
    host, port = server.server_address[:2]
    print(f"serving {root} at http://{host}:{port}/", flush=True)

    timed_out = threading.Event()
    if args.timeout:
        def expire():
            timed_out.set()
            server.shutdown()
        timer = threading.Timer(args.timeout, expire)
        timer.daemon = True
        timer.start()
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    if timed_out.is_set() and server.done_status is None:
        print(f"serve: no /done within {args.timeout:g} s", file=sys.stderr, flush=True)
        return 124
    return 0


if __name__ == "__main__":
    sys.exit(main())
