"""The web release in Debian's headless Chromium, driven over the DevTools protocol.

A Release serves a release folder on 127.0.0.1 from a thread of this process; a Browser starts
Chromium with a fresh profile, opens one page and keeps every console line and uncaught
error the page reports:

    with Release(folder) as site, Browser(width=800, height=600) as browser:
        browser.open(site.url)
        browser.wait_for("quimbo.state === 'ready'")
        browser.click_page(400, 300)
        shot = browser.game_picture()      # the game's 1024x768 picture, as a Pillow image

Nothing here sleeps for luck: every wait polls what the page says or shows.
"""

import base64
import functools
import http.server
import io
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import urllib.request

import websocket
from PIL import Image

from harness import PROJECT_ROOT, SCREEN_H, SCREEN_W
from harness.install import project_version
from harness.xsession import DriverError, Shot, stop_process, wait_for_shot, wait_until

# The release as `make web` leaves it.
RELEASE_DIR = os.path.join(PROJECT_ROOT, "dist", "quimbo-%s-web" % project_version())
ZIP = RELEASE_DIR + ".zip"

CHROMIUM = "/usr/bin/chromium"
# Headless, with no network of its own, no first-run pages, and the software WebGL the
# machines have (Chromium asks for this flag before it uses it).
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                  "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--enable-unsafe-swiftshader",
                  "--mute-audio",
                  "--remote-debugging-port=0", "--remote-allow-origins=*"]
# Loading a page and its first frame can take long on a loaded two-core machine.
TIMEOUT = 60.0

# DevTools key descriptions: key, code, Windows key code, and the text a key types.
KEYS = {
    "ArrowLeft": ("ArrowLeft", "ArrowLeft", 37, ""),
    "ArrowRight": ("ArrowRight", "ArrowRight", 39, ""),
    "ArrowUp": ("ArrowUp", "ArrowUp", 38, ""),
    "ArrowDown": ("ArrowDown", "ArrowDown", 40, ""),
    "Space": (" ", "Space", 32, " "),
    "Control": ("Control", "ControlLeft", 17, ""),
    "P": ("p", "KeyP", 80, "p"),
    "Enter": ("Enter", "Enter", 13, "\r"),
    "Escape": ("Escape", "Escape", 27, ""),
    "F": ("f", "KeyF", 70, "f"),
}


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def end_headers(self):
        # Each test sees the files as they are now, never an earlier test's copy.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


class Release:
    """A plain static file server for one folder on 127.0.0.1, on a free port."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join(10)


class Browser:
    """One headless Chromium with one page, at a given window size. A phone's or tablet's
    (touch=True) has touch events and a coarse pointer, at its device pixel ratio (scale)."""

    def __init__(self, width=SCREEN_W, height=SCREEN_H, touch=False, scale=1):
        self.width, self.height = width, height
        self.touch, self.scale = touch, scale
        self.fingers = {}      # the touch points down now: id -> (x, y)
        self.profile = tempfile.mkdtemp(prefix="quimbo-chromium-")
        self.proc = None
        self.socket = None
        self.next_id = 0
        self.replies = {}
        self.events = queue.Queue()
        self.console = []      # (type, text) of every console call, in order
        self.exceptions = []   # the text of every uncaught error
        self.lock = threading.Lock()
        self.reader = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
        self.proc = subprocess.Popen(
            [CHROMIUM, *CHROMIUM_FLAGS, "--user-data-dir=" + self.profile,
             "--window-size=%d,%d" % (self.width, self.height), "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")

        def port_known():
            if self.proc.poll() is not None:
                raise DriverError("chromium exited with status %d" % self.proc.returncode)
            return os.path.isfile(port_file) and open(port_file).read().count("\n") >= 1
        wait_until(port_known, TIMEOUT, 0.05, "Chromium's DevTools port")
        port = int(open(port_file).read().split("\n")[0])
        with urllib.request.urlopen("http://127.0.0.1:%d/json" % port, timeout=10) as reply:
            targets = json.load(reply)
        page = next(t for t in targets if t["type"] == "page")
        self.socket = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=TIMEOUT,
                                                  suppress_origin=True)
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        for domain in ("Page", "Runtime"):
            self.send(domain + ".enable")
        if self.touch:
            self.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
            self.send("Emulation.setEmitTouchEventsForMouse", enabled=False)
        self.resize(self.width, self.height)

    def close(self):
        if self.socket is not None:
            # Asked to close, Chromium ends its helper processes itself; a signal to the
            # browser alone would leave them behind.
            try:
                self.send("Browser.close", timeout=10)
                self.proc.wait(10)
            except Exception:
                pass
            try:
                self.socket.close()
            except Exception:
                pass
        if self.proc is not None:
            stop_process(self.proc)
        shutil.rmtree(self.profile, ignore_errors=True)

    # The protocol: one reader thread files replies by id and keeps the console and errors.
    def _read(self):
        while True:
            try:
                message = json.loads(self.socket.recv())
            except Exception:
                return
            if "id" in message:
                with self.lock:
                    self.replies[message["id"]] = message
                continue
            method, params = message.get("method"), message.get("params", {})
            if method == "Runtime.consoleAPICalled":
                text = " ".join(str(arg.get("value", arg.get("description", "")))
                                for arg in params.get("args", []))
                self.console.append((params.get("type"), text))
            elif method == "Runtime.exceptionThrown":
                details = params.get("exceptionDetails", {})
                self.exceptions.append(details.get("exception", {}).get("description")
                                       or details.get("text", "error"))
            self.events.put((method, params))

    def send(self, method, timeout=TIMEOUT, **params):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
        self.socket.send(json.dumps({"id": ident, "method": method, "params": params}))
        reply = wait_until(lambda: self.replies.pop(ident, None), timeout, 0.005,
                           "the answer to " + method)
        if "error" in reply:
            raise DriverError("%s: %s" % (method, reply["error"]))
        return reply.get("result", {})

    # What a test does with the page.
    def resize(self, width, height):
        """The window's inner size, as the page sees it (resize events included)."""
        self.width, self.height = width, height
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=self.scale, mobile=self.touch)

    def open(self, url):
        self.send("Page.navigate", url=url)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            raise DriverError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=TIMEOUT, what=None):
        """Polls until the expression is true; one that throws (the page not there yet, say)
        counts as false."""
        guarded = "(function () { try { return (%s); } catch (e) { return false; } })()" \
            % expression
        return wait_until(lambda: self.evaluate(guarded), timeout, 0.05, what or expression)

    def console_lines(self, kind="log"):
        return [text for type_, text in list(self.console) if type_ == kind]

    def count_line(self, line):
        return sum(1 for text in self.console_lines() if text == line)

    def wait_for_line(self, line, count=1, timeout=TIMEOUT):
        wait_until(lambda: self.count_line(line) >= count, timeout, 0.05,
                   "%d x %r in the console" % (count, line))

    def mouse(self, kind, x, y, button="none", clicks=0):
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                  clickCount=clicks)

    def click_page(self, x, y):
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, "left", 1)
        self.mouse("mouseReleased", x, y, "left", 1)

    def game_point(self, x, y):
        """Where a point of the game's picture is on the page, at the canvas's shown size."""
        left, top, width, height = self.canvas_box()
        return left + (x + 0.5) * width / SCREEN_W, top + (y + 0.5) * height / SCREEN_H

    def canvas_box(self):
        return self.box("#canvas")

    def key(self, name, kind="both"):
        key, code, keycode, text = KEYS[name]
        base = dict(key=key, code=code, windowsVirtualKeyCode=keycode,
                    nativeVirtualKeyCode=keycode)
        if kind in ("down", "both"):
            self.send("Input.dispatchKeyEvent", type="keyDown", text=text, **base)
        if kind in ("up", "both"):
            self.send("Input.dispatchKeyEvent", type="keyUp", **base)

    def finger(self, ident, x=None, y=None):
        """Puts finger `ident` down at (x, y), moves it there if it is down, or lifts it
        (no point); the other fingers stay where they are, each its own touch point."""
        if x is None:
            # Chromium lifts the points a touchEnd names.
            x, y = self.fingers.pop(ident)
            self.send("Input.dispatchTouchEvent", type="touchEnd",
                      touchPoints=[dict(x=x, y=y, id=ident)])
            return
        kind = "touchMove" if ident in self.fingers else "touchStart"
        self.fingers[ident] = (x, y)
        points = [dict(x=px, y=py, id=i) for i, (px, py) in sorted(self.fingers.items())]
        self.send("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def cancel_touches(self):
        self.fingers = {}
        self.send("Input.dispatchTouchEvent", type="touchCancel", touchPoints=[])

    def box(self, selector):
        """The CSS pixel box (left, top, width, height) of the first element that matches."""
        return self.evaluate("(function () { var r = document.querySelector(%s)"
                             ".getBoundingClientRect(); return [r.left, r.top, r.width,"
                             " r.height]; })()" % json.dumps(selector))

    def screenshot(self):
        data = self.send("Page.captureScreenshot", format="png")["data"]
        return Image.open(io.BytesIO(base64.b64decode(data))).convert("RGB")

    def game_picture(self):
        """The game's picture as the page shows it, at the canvas's own 1024x768 (a harness
        Shot): Chromium draws the canvas's region at the scale that undoes the page's, so
        each pixel of the game is one pixel here, at any window size."""
        left, top, width, height = self.canvas_box()
        data = self.send("Page.captureScreenshot", format="png",
                         clip=dict(x=left, y=top, width=width, height=height,
                                   scale=SCREEN_W / width))["data"]
        image = Image.open(io.BytesIO(base64.b64decode(data))).convert("RGB")
        if image.size != (SCREEN_W, SCREEN_H):
            image = image.resize((SCREEN_W, SCREEN_H), Image.NEAREST)
        return Shot(image)

    def wait_for_picture(self, condition, what, timeout=TIMEOUT):
        return wait_for_shot(self.game_picture, condition, timeout, what, interval=0.05)
