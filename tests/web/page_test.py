#!/usr/bin/env python3
"""The demo's playthrough in the web page, in headless Chromium, against the native engine.

    page_test.py --native BUILD --site SITE [--work DIR] [--timeout SECONDS] [--chromium PROGRAM]

BUILD holds the native vellum, vellum-pack and vellum-movie; SITE is the published page (make web:
index.html, vellum.js, vellum.wasm, game.json and game.data holding the demo). The demo is packed
and played natively with the playthrough, taking its shots; the page is copied with the
playthrough added to its package, served with the isolation headers, and opened in Chromium with
the same playthrough and shots, which the page sends back. The page is then loaded again in the
same browser profile at the same address, and a second replay loads the save the playthrough made
from the browser's storage (as the native engine does with the save it left). The test passes when
both page runs end with status 0 and print the same story as the native runs, and their title,
story page, save screen and loaded-save shots match the native ones within the software
renderer's tolerance. Last, a new player starts the page as a player does (no --headless, no
replay, a fresh browser profile): the browser's own mouse clicks "Click to start", "启动" in the
start-up settings dialog and the title's leave button, through Chromium's DevTools protocol; that
run must end with status 0 and its --audio-out recording must hold the title's music. The runs'
files stay in DIR (default: a scratch folder, removed afterwards)."""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave
from array import array

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
from compare_shots import matches  # noqa: E402
from devtools import page_connection  # noqa: E402

PLAYTHROUGH = os.path.join(ROOT, "examples", "demo", "playthrough.txt")
# After the playthrough the page is loaded again: the save it made is loaded from the browser's
# storage.
RELOAD = os.path.join(HERE, "reload-playthrough.txt")
RELOAD_SHOTS = ["loaded"]
SERVE = os.path.join(ROOT, "scripts", "web", "serve.py")
COMPARED_SHOTS = ["title", "first-page", "save"]
# --headless: the engine prints the story lines on stdout only in a headless run.
PAGE = "/index.html?args=--headless%20--input%20{}%20--shots%20/out&upload=1"
# A player's start: no --headless and no replay. The player clicks "Click to start" (the gesture
# that lets the page make sound), "启动" in the start-up settings dialog drawn in the canvas, and then
# the title's leave button, all with the browser's own mouse events; the title's music is recorded.
REAL_PAGE = "/index.html?args=--audio-out%20/out/sound.wav&upload=1&autostart=0"
# The start-up dialog's "启动" in its own pixels (its title bar included), and the title's leave
# button in the demo's 1280x720.
DIALOG_START_BUTTON = (484, 198)
GAME_SIZE = (1280, 720)
TITLE_LEAVE_BUTTON = (640, 640)
CHROMIUM_FLAGS = [
    "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
    "--disable-gpu-sandbox", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--window-size=1280,720",
    # The page's console in chromium.log, for when the engine stops early.
    "--enable-logging=stderr", "--v=0",
]


def log(text):
    print(f"page-test: {text}", flush=True)


def private_runtime_dir(work):
    # Each run keeps its instance lock to itself, so a copy of the game running elsewhere cannot
    # turn it away.
    path = os.path.join(work, "runtime")
    os.makedirs(path, exist_ok=True)
    os.chmod(path, 0o700)
    return path


def run_native(native, work, env):
    """The playthrough, then the reload replay on the saves it left, as the page plays them."""
    game = os.path.join(work, "game")
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "pack-demo.sh"), native, game], check=True,
                   stdout=subprocess.DEVNULL, env=env)
    for replay, name in ((PLAYTHROUGH, "native"), (RELOAD, "native-reload")):
        shots = os.path.join(work, name + "-shots")
        shutil.rmtree(shots, ignore_errors=True)
        started = time.monotonic()
        with open(os.path.join(work, name + ".txt"), "wb") as out, open(os.path.join(work, name + ".err"), "wb") as err:
            status = subprocess.run([os.path.join(native, "vellum"), "--headless", "--game", game, "--input", replay,
                                     "--shots", shots], stdout=out, stderr=err, env=env, timeout=300).returncode
        log(f"{name} run: status {status}, {time.monotonic() - started:.1f} s")
        if status != 0:
            raise SystemExit(f"page-test: the native engine ended with status {status} (see {work}/{name}.err)")


def add_to_package(site, name, data):
    """Appends a file to the page's package (game.json lists it, game.data holds its bytes)."""
    listing_path = os.path.join(site, "game.json")
    with open(listing_path) as f:
        listing = json.load(f)
    data_path = os.path.join(site, "game.data")
    offset = os.path.getsize(data_path)
    with open(data_path, "ab") as f:
        f.write(data)
    listing["files"] = [e for e in listing["files"] if e["path"] != name]
    listing["files"].append({"path": name, "offset": offset, "size": len(data)})
    with open(listing_path, "w") as f:
        json.dump(listing, f)


def prepare_site(site, work):
    copy = os.path.join(work, "site")
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(site, copy)
    for needed in ("index.html", "vellum.js", "vellum.wasm", "game.json", "game.data"):
        if not os.path.isfile(os.path.join(copy, needed)):
            raise SystemExit(f"page-test: {site} has no {needed} (make web builds the page)")
    for replay in (PLAYTHROUGH, RELOAD):
        with open(replay, "rb") as f:
            # The engine's working folder in the page is the file system's root.
            add_to_package(copy, "/" + os.path.basename(replay), f.read())
    return copy


def stop(process):
    """Ends a process this test started, with everything it started (its own process group)."""
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait(timeout=10)
        except (ProcessLookupError, subprocess.TimeoutExpired):
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait()


def run_page(site, work, chromium, timeout, page, profile, port=0, name="web", drive=None):
    """Serves the site and opens the page in Chromium until the page reports its end. The same
    profile and port (the page's origin) give a later run the browser storage of an earlier one.
    With `drive`, the browser listens for DevTools and drive(devtools, server, deadline) plays the
    player's part until the server has ended. Returns the folder of what the page sent back, its
    exit status and the port."""
    out = os.path.join(work, name + "-out")
    shutil.rmtree(out, ignore_errors=True)
    server = subprocess.Popen([sys.executable, SERVE, site, "--port", str(port), "--save-to", out, "--once",
                               "--timeout", str(timeout)], stdout=subprocess.PIPE, text=True, start_new_session=True)
    browser = None
    try:
        first = server.stdout.readline()
        if not first.startswith("serving "):
            raise SystemExit("page-test: the server did not start")
        base = first.split(" at ", 1)[1].strip().rstrip("/")
        url = base + page
        log(f"opening {url}")
        started = time.monotonic()
        with open(os.path.join(work, name + "-chromium.log"), "wb") as browser_log:
            devtools_flags = ["--remote-debugging-port=0"] if drive else []
            browser = subprocess.Popen([chromium, *CHROMIUM_FLAGS, *devtools_flags, f"--user-data-dir={profile}", url],
                                       stdout=browser_log, stderr=subprocess.STDOUT, start_new_session=True)
            if drive:
                devtools = page_connection(profile)
                try:
                    drive(devtools, server, started + timeout)
                finally:
                    devtools.close()
            # The server ends by itself after /done, or after its timeout.
            try:
                server.wait(timeout=timeout + 30)
            except subprocess.TimeoutExpired:
                pass
        rest = server.stdout.read() if server.poll() is not None else ""
        log(f"{name} page run: {time.monotonic() - started:.1f} s {rest.strip()}")
        if server.returncode != 0:
            raise SystemExit(f"page-test: the page did not finish within {timeout} s (see {work}/{name}-chromium.log)")
    finally:
        if browser is not None:
            stop(browser)
        stop(server)
    with open(os.path.join(out, "status.txt")) as f:
        status = f.read().strip()
    return out, status, int(base.rsplit(":", 1)[1])


def check_run(work, native_name, out, status, shots, failures):
    """The page's status, story and shots against the native run's."""
    if status != "0":
        failures.append(f"the page's engine ended with status {status} ({out})")
    native_story_path = os.path.join(work, native_name + ".txt")
    with open(native_story_path, "rb") as f:
        native_story = f.read()
    web_story_path = os.path.join(out, "stdout.txt")
    web_story = open(web_story_path, "rb").read() if os.path.isfile(web_story_path) else b""
    if web_story != native_story:
        failures.append(f"the page told a different story: diff {native_story_path} {web_story_path}")
    else:
        lines = native_story.count(b"\n")
        log(f"the same story ({lines} lines)")
    for shot in shots:
        ok, why = matches(os.path.join(work, native_name + "-shots", shot + ".png"), os.path.join(out, shot + ".png"))
        log(f"{shot}: {'match' if ok else 'DIFFERENT'}: {why}")
        if not ok:
            failures.append(f"{shot}.png differs from the native shot")


def wait_for(devtools, expression, deadline, what):
    """Waits until the expression is true in the page."""
    while not devtools.evaluate(expression):
        if time.monotonic() > deadline:
            raise SystemExit(f"page-test: {what} did not happen in time")
        time.sleep(0.2)


def canvas_point(devtools, x, y, width, height):
    """(x, y) of a picture of width x height that fills the canvas, in the page's pixels."""
    left, top, shown_w, shown_h = devtools.evaluate(
        "(function () { var b = document.getElementById('canvas').getBoundingClientRect();"
        " return [b.left, b.top, b.width, b.height]; })()")
    return left + x * shown_w / width, top + y * shown_h / height


def play_as_player(work):
    def drive(devtools, server, deadline):
        # A headless browser's page never has the focus a player's click gives a page.
        devtools.call("Emulation.setFocusEmulationEnabled", enabled=True)
        wait_for(devtools, "!document.getElementById('start').hidden", deadline, "the page's Click to start")
        devtools.click(*devtools.evaluate("(function () { var b = document.getElementById('start').getBoundingClientRect();"
                                          " return [b.left + b.width / 2, b.top + b.height / 2]; })()"))
        # The dialog is drawn: "启动", until the game's own screen takes the canvas.
        wait_for(devtools, "window.vellumFirstFrameMs !== undefined", deadline, "the start-up dialog")
        dialog = devtools.evaluate("[document.getElementById('canvas').width, document.getElementById('canvas').height]")
        while devtools.evaluate("document.getElementById('canvas').width") == dialog[0] and server.poll() is None:
            if time.monotonic() > deadline:
                raise SystemExit("page-test: the start-up dialog did not take the click on its start button")
            devtools.click(*canvas_point(devtools, *DIALOG_START_BUTTON, *dialog))
            time.sleep(0.5)
        # The opening, then the title: a click skips what it can, and on the leave button ends the game.
        while server.poll() is None and time.monotonic() < deadline:
            devtools.screenshot(os.path.join(work, "player-page.png"))
            devtools.click(*canvas_point(devtools, *TITLE_LEAVE_BUTTON, *GAME_SIZE), pause=0.2)
            time.sleep(1)
    return drive


def loudest_sample(path):
    """The largest magnitude of the 16-bit samples of a WAV file (0 when it holds none)."""
    with wave.open(path, "rb") as f:
        if f.getsampwidth() != 2:
            return 0
        samples = array("h", f.readframes(f.getnframes()))
    return max((abs(v) for v in samples), default=0)


def check_player_run(out, status, failures):
    if status != "0":
        failures.append(f"the player's page run ended with status {status} ({out})")
    sound = os.path.join(out, "sound.wav")
    loudest = loudest_sample(sound) if os.path.isfile(sound) else 0
    log(f"player run: the title's music peaks at {loudest} of 32767")
    if loudest < 256:
        failures.append(f"the player's page run recorded no music ({sound})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--native", required=True, help="native build folder (vellum, vellum-pack, vellum-movie)")
    parser.add_argument("--site", required=True, help="the published page (make web)")
    parser.add_argument("--work", help="keep both runs' files here")
    parser.add_argument("--timeout", type=int, default=420, help="seconds the page may take (default 420)")
    parser.add_argument("--chromium", default=shutil.which("chromium") or "chromium")
    # --headless: the engine prints the story lines on stdout only in a headless run.
    parser.add_argument("--page", default=PAGE.format("playthrough.txt"), help="the page and its query")
    parser.add_argument("--skip-native", action="store_true", help="reuse the native run already in --work")
    args = parser.parse_args()

    native = os.path.abspath(args.native)
    if args.work:
        work = os.path.abspath(args.work)
        os.makedirs(work, exist_ok=True)
        scratch = None
    else:
        work = scratch = tempfile.mkdtemp(prefix="page-test-")
    env = dict(os.environ, XDG_RUNTIME_DIR=private_runtime_dir(work))
    profile = tempfile.mkdtemp(prefix="page-test-profile-")
    try:
        if not (args.skip_native and os.path.isdir(os.path.join(work, "native-reload-shots"))):
            run_native(native, work, env)
        site = prepare_site(os.path.abspath(args.site), work)
        failures = []
        out, status, port = run_page(site, work, args.chromium, args.timeout, args.page, profile)
        check_run(work, "native", out, status, COMPARED_SHOTS, failures)
        # The same browser profile and origin: the page finds the save in the browser's storage.
        reload_out, status, _ = run_page(site, work, args.chromium, args.timeout, PAGE.format("reload-playthrough.txt"),
                                         profile, port, "reload")
        check_run(work, "native-reload", reload_out, status, RELOAD_SHOTS, failures)
        # A new player in a fresh browser profile, with the browser's own mouse.
        player_profile = tempfile.mkdtemp(prefix="page-test-profile-")
        try:
            # A click that never arrives would leave the page waiting: it ends within two minutes.
            player_out, status, _ = run_page(site, work, args.chromium, min(args.timeout, 120), REAL_PAGE,
                                             player_profile, name="player", drive=play_as_player(work))
        finally:
            shutil.rmtree(player_profile, ignore_errors=True)
        check_player_run(player_out, status, failures)
        first_frame = os.path.join(out, "first-frame-ms.txt")
        if os.path.isfile(first_frame):
            log(f"first frame after {open(first_frame).read().strip()} ms")
        if failures:
            for failure in failures:
                print(f"page-test: FAILED: {failure}", file=sys.stderr)
            if scratch:
                log(f"files kept in {work}")
                scratch = None
            return 1
        log("passed")
        return 0
    finally:
        shutil.rmtree(profile, ignore_errors=True)
        if scratch:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
