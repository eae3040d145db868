#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The game's web page as a player meets it, in three browser engines.

Headless Chromium (SwiftShader's WebGL) takes keys as a keyboard sends them (the DevTools
protocol's Input.dispatchKeyEvent): the start view against the desktop game's own frame, a held
key, the title's format and refresh, the separator and drawing buffer of a French high-DPI
browser, a French letter, a tap between two frames, a key held across a switch of tab, the page's
keys kept from scrolling, a lost and restored context, keys the game does not use, the end on
Escape, a page without WebGL, and a console without errors (opened from disk, without any
message). As a phone, Chromium takes touches as a touch screen sends them
(Input.dispatchTouchEvent), with the page's frames stepped by the test: the fit upright and
sideways, opened either way, the touch controls' size and place, a message on the screen, fingers
on them, touches the page may not cancel (while another finger scrolls) and a burst of them without
a word in the console, and the full-screen control; gamepads from a scripted navigator.getGamepads, alone and
beside a key; and idle frames that draw nothing while each kind of change draws at once. Served
from a static host as the web app's folder: installable, kept by its worker, played offline,
updated by the second visit, and sealed by its content security policy.
Firefox ESR (over WebDriver BiDi, with Mesa's WebGL on the X display) shows the start view, takes
keys, writes a French title, takes touches, reads a pad and two at once from its gamepad test
service, and plays offline once served. WebKitGTK (MiniBrowser with Mesa's WebGL, on the X
display) shows the start view, moves the board on a held key and writes the title.

Run under tests/run_with_xvfb.sh, all of them or the ones named:
    tests/web/web_test.py build/web/index.html path/to/desktop/tarnwick [InChromium.test_on_a_phone ...]
"""

import base64
import contextlib
import functools
import http.server
import io
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import websocket
from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service as ChromeService
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.webkitgtk.service import Service as WebKitService

PAGE = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ""
DESKTOP_GAME = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else ""
TITLE = re.compile(r"^Tarnwick Alpha \((\d+)([.,])\d FPS\)$")
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
WEB_SOURCES = os.path.join(os.path.dirname(__file__), "..", "..", "src", "platform", "web")
WEB_ICONS = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "icons", "web")
MAKE_SITE = os.path.join(os.path.dirname(__file__), "..", "..", "cmake", "make_site.py")


def wait_until(condition, seconds=5.0, step=0.05):
    """The condition's first true value, or its last value once the time is up."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


def agreement(a, b, tolerance=24):
    """The share of pixels whose every channel differs by at most the tolerance."""
    if a.size != b.size:
        return 0.0
    same = sum(1 for p, q in zip(a.getdata(), b.getdata()) if max(abs(x - y) for x, y in zip(p, q)) <= tolerance)
    return same / (a.size[0] * a.size[1])


# The overhead camera at the start: pixels per arena unit at the board's top face.
PIXELS_PER_UNIT = 300 / (31.5 * 0.6370702)  # tan(32.5 degrees)


# The page's clock and animation frames, stepped by the test: a frame sees exactly the input given
# before it, and each moves the board by exactly a 60th of a second. onScreen() settles once the
# browser has put on the screen what the stepped frames drew.
STEPPED_FRAMES = """(() => { let now = 0; const waiting = [], browserFrame = requestAnimationFrame.bind(window);
    window.onScreen = () => new Promise((done) => browserFrame(() => browserFrame(done)));
    performance.now = () => now;
    window.requestAnimationFrame = (callback) => waiting.push(callback);
    window.stepFrames = (count) => { let ran = 0; for (let i = 0; i < count; i++) { now += 1000 / 60;
        const due = waiting.splice(0); due.forEach((callback) => callback(now)); ran += due.length; } return ran; };
})();"""

# Up and Left held together from the start for 26 frames: the board drives an arc until block 2's
# corner stops its turn at a heading of -40, and slides on past the corner.
ARC_FRAMES = 26


class Host:
    """A static web host on 127.0.0.1 serving a folder, with the max-age many hosts send, noting the
    path of each request; stopped, it can be started again at the same address."""

    def __init__(self, folder, port=0):
        self.requests = requests = []

        class Handler(http.server.SimpleHTTPRequestHandler):
            def end_headers(self):
                self.send_header("Cache-Control", "max-age=600")
                super().end_headers()

            def log_message(self, *args):
                requests.append(self.path)

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(Handler, directory=folder))
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def app_folder(into, title="Tarnwick Alpha"):
    """The web app's folder, as scripts/build-web made it, in the folder into; with another title,
    as a new version of it."""
    shutil.rmtree(into, ignore_errors=True)
    shutil.copytree(os.path.dirname(PAGE), into)
    if title != "Tarnwick Alpha":
        with open(PAGE, encoding="utf-8") as page:
            changed = page.read().replace("<h1>Tarnwick Alpha</h1>", f"<h1>{title}</h1>")
        with open(os.path.join(into, "index.html"), "w", encoding="utf-8") as page:
            page.write(changed)
        subprocess.run([sys.executable, MAKE_SITE, os.path.join(into, "index.html"),
                        WEB_ICONS, os.path.join(WEB_SOURCES, "service_worker.js"), into],
                       check=True, capture_output=True)


def board_pixel(image, x, z):
    return image.getpixel((int(400 + x * PIXELS_PER_UNIT), int(300 - z * PIXELS_PER_UNIT)))


def is_floor(pixel):
    r, g, b = pixel[:3]
    return 140 < r < 200 and g < 40 and b < 40


@functools.cache
def desktop_start_view():
    """The desktop game's first view, from its own window on this X display (by its class: a
    browser's window may carry the same title)."""
    game = subprocess.Popen([DESKTOP_GAME], env=dict(os.environ, LC_ALL="C"))
    try:
        window = subprocess.run(["xdotool", "search", "--sync", "--class", "^tarnwick$"],
                                capture_output=True, text=True, timeout=20, check=True).stdout.split()[0]
        time.sleep(1)
        png = subprocess.run(["import", "-window", window, "png:-"], capture_output=True, timeout=20,
                             check=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")
    finally:
        game.kill()
        game.wait()


class StartViewChecks:
    """What every engine must show at the start, and its title."""

    def assert_title_refreshes(self, driver):
        """The title is written about once a second, each time in the game's format. (A steady rate
        writes the same text again, so the writes are counted, not the texts.)"""
        titles = driver.execute_async_script("""const done = arguments[arguments.length - 1], titles = [];
            new MutationObserver(() => titles.push(document.title)).observe(document.querySelector('title'),
                { childList: true, characterData: true, subtree: true });
            setTimeout(() => done(titles), 3500);""")
        self.assertTrue(2 <= len(titles) <= 6, f"{len(titles)} titles in 3.5 s")
        for title in titles:
            self.assertRegex(title, TITLE)

    def assert_start_view(self, image):
        self.assertEqual(image.size, (800, 600))
        share = agreement(image, desktop_start_view())
        print(f"{type(self).__name__}: {share:.2%} of the start view's pixels as the desktop draws them")
        # Only the board's top face (about 1 % of the view, where Mesa splits that one quad along
        # its other diagonal) and edge pixels differ.
        self.assertGreater(share, 0.97)
        r, g, b = board_pixel(image, 0.8, -3)
        self.assertTrue(r > 240 and g < 60 and b < 60, "a red board at the centre, red at the rear")
        r, g, b = board_pixel(image, -1.3, 3.8)
        self.assertTrue(r > 200 and g > 170, "its yellow front-left corner")


class InChromium(unittest.TestCase, StartViewChecks):
    @classmethod
    def setUpClass(cls):
        options = webdriver.ChromeOptions()
        for argument in ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                         "--window-size=1000,800", "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync", "--disable-default-apps"]:
            options.add_argument(argument)
        options.binary_location = "/usr/bin/chromium"
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        cls.driver = webdriver.Chrome(options=options, service=ChromeService("/usr/bin/chromedriver"))
        cls.driver.set_script_timeout(10)
        cls.game_tab = None

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    # -- the page and the keyboard

    def open_page(self, url="file://" + PAGE, language="en-US"):
        driver = self.driver
        driver.execute_cdp_cmd("Network.enable", {})
        agent = driver.execute_script("return navigator.userAgent")
        driver.execute_cdp_cmd("Network.setUserAgentOverride", {"userAgent": agent, "acceptLanguage": language})
        started = time.monotonic()
        driver.get(url)
        titled = wait_until(lambda: TITLE.match(driver.title), 10)
        self.assertTrue(titled, f"no frame titled within 10 s: {driver.title!r}")
        return time.monotonic() - started

    def key(self, kind, key, code, keycode, text=None):
        event = {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": keycode,
                 "nativeVirtualKeyCode": keycode}
        if text is not None and kind == "keyDown":
            event["text"] = text
        self.driver.execute_cdp_cmd("Input.dispatchKeyEvent", event)

    KEYS = {"Up": ("ArrowUp", "ArrowUp", 38), "Down": ("ArrowDown", "ArrowDown", 40), "Left": ("ArrowLeft", "ArrowLeft", 37),
            "Space": (" ", "Space", 32), "Escape": ("Escape", "Escape", 27), "P": ("p", "KeyP", 80)}

    def press(self, name, text=None):
        self.key("keyDown", *self.KEYS[name], text)

    def release(self, name):
        self.key("keyUp", *self.KEYS[name])

    def hold(self, name, seconds):
        self.press(name)
        time.sleep(seconds)
        self.release(name)

    def tap(self, name):
        self.press(name, " " if name == "Space" else None)
        self.release(name)

    def view(self):
        """The canvas's pixels, taken without scrolling the page (as an element screenshot would)."""
        left, top, width, height = self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left + scrollX, r.top + scrollY, r.width, r.height];")
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png", "clip": {"x": left, "y": top, "width": width, "height": height, "scale": 1}})
        return Image.open(io.BytesIO(base64.b64decode(shot["data"]))).convert("RGB")

    def settled_view(self):
        """The canvas once two looks 0.2 s apart agree: the game has caught up with the keys."""
        last = self.view()
        for _ in range(25):
            time.sleep(0.2)
            now = self.view()
            if agreement(now, last, 0) == 1:
                return now
            last = now
        return last

    def frames(self):
        """Animation frames seen by a counter of the test's own, which runs beside the game's."""
        return self.driver.execute_script(
            "if (window.testFrames === undefined) { window.testFrames = 0;"
            "  (function count() { window.testFrames++; requestAnimationFrame(count); })(); }"
            "return window.testFrames;")

    def shown(self, message):
        return self.driver.execute_script(f"return !document.getElementById('{message}').hidden")

    def console_errors(self):
        return [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]

    @contextlib.contextmanager
    def before_each_page(self, *sources):
        """The scripts run before any of the page's own, in each page opened meanwhile."""
        scripts = [self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": source})
                   for source in sources]
        try:
            yield
        finally:
            for script in scripts:
                self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                            {"identifier": script["identifier"]})

    @contextlib.contextmanager
    def as_a_phone(self, *sources):
        """A touch screen of five points (the phone's screen set by screen()), with the scripts run
        before each page's own."""
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 5})
        self.controls = {}
        try:
            with self.before_each_page(*sources):
                yield
        finally:
            self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    # -- the checks, in the order a player meets them

    def test_a_page_that_plays(self):
        driver = self.driver
        seconds = self.open_page()
        print(f"Chromium: the first titled frame {seconds:.2f} s after the page was asked for")
        self.assertEqual(driver.execute_script("return document.activeElement.id"), "canvas",
                         "the canvas has the keys from the start")
        self.assertEqual(driver.execute_script(
            "return [...document.querySelectorAll('[data-key]')].filter((c) => c.getClientRects().length).length"),
            0, "touch controls shown without a touch screen")
        start = self.settled_view()
        self.assert_start_view(start)
        self.assertEqual(driver.get_log("browser"), [], "opened from disk, the page logged")

        self.assert_title_refreshes(driver)

        # A held key drives the board; the page does not scroll, though it is taller than the view.
        scrolled = driver.execute_script("return scrollY")
        self.hold("Up", 0.5)
        moved = self.settled_view()
        self.assertLess(agreement(moved, start), 0.9, "Up held for 0.5 s moved the view")
        self.hold("Down", 0.2)
        self.tap("Space")
        self.assertGreater(agreement(self.settled_view(), start, 8), 0.999, "Space put the board back")
        self.assertTrue(driver.execute_script("return document.documentElement.scrollHeight > innerHeight"))
        self.assertEqual(driver.execute_script("return scrollY"), scrolled, "the game's keys scrolled the page")

        # French: the key at the US W position writes z and tilts the board (its front sinks through
        # the floor); the one at US Z writes w, which does nothing.
        self.key("keyDown", "w", "KeyZ", 87, "w")
        time.sleep(0.3)
        self.key("keyUp", "w", "KeyZ", 87)
        self.assertGreater(agreement(self.settled_view(), start, 8), 0.999, "w at US Z changed the view")
        self.key("keyDown", "z", "KeyW", 90, "z")
        time.sleep(0.3)
        self.key("keyUp", "z", "KeyW", 90)
        self.assertTrue(is_floor(board_pixel(self.settled_view(), 0, 3.5)), "z at US W tilted the front down")
        self.tap("Space")

        # A tap that falls between two frames still acts once (sticky keys).
        for _ in range(20):
            self.hold("Up", 0.15)
            before = self.frames()
            self.tap("Space")
            if self.frames() == before:
                break
        else:
            self.fail("no tap fell between two frames in 20 tries")
        self.assertGreater(agreement(self.settled_view(), start, 8), 0.999, "a tap between frames was lost")

        # A key held while the player switches to another tab, whose release the page never sees,
        # does not drive the board on when the player comes back.
        game = driver.current_window_handle
        self.press("Up")
        time.sleep(0.2)
        driver.switch_to.new_window("tab")
        time.sleep(0.5)
        driver.close()
        driver.switch_to.window(game)
        time.sleep(0.3)
        first = self.view()
        time.sleep(0.5)
        self.assertEqual(agreement(self.view(), first, 0), 1, "the board drove on after the switch of tab")
        self.release("Up")
        self.tap("Space")

        # Keys the game does not use: nothing happens, nothing is thrown or logged.
        odd = [("Dead", "BracketLeft", 219), ("Process", "KeyA", 229), ("Unidentified", "", 0),
               ("é", "Digit2", 50), ("😀", "", 0), ("AudioVolumeMute", "AudioVolumeMute", 173),
               ("x" * 60, "KeyX", 88), ("ß", "Minus", 189), ("Ж", "Semicolon", 186)]
        for key, code, keycode in odd:
            self.key("keyDown", key, code, keycode, key if len(key) == 1 else None)
            self.key("keyUp", key, code, keycode)
        self.assertGreater(agreement(self.settled_view(), start, 8), 0.999, "a key the game does not use acted")
        # Tab keeps its meaning: it takes the focus from the canvas; a click gives it back.
        self.key("keyDown", "Tab", "Tab", 9)
        self.key("keyUp", "Tab", "Tab", 9)
        self.assertNotEqual(driver.execute_script("return document.activeElement.id"), "canvas")
        driver.find_element(By.ID, "canvas").click()
        self.assertEqual(driver.execute_script("return document.activeElement.id"), "canvas")

        # A lost WebGL context: the page says so, and the game draws again once it is given back.
        driver.execute_script(
            "window.loseContext = document.getElementById('canvas').getContext('webgl')"
            ".getExtension('WEBGL_lose_context'); window.loseContext.loseContext();")
        self.assertTrue(wait_until(lambda: self.shown("context-lost")), "the page did not say the context was lost")
        driver.execute_script("window.loseContext.restoreContext();")
        self.assertTrue(wait_until(lambda: not self.shown("context-lost")), "the message stayed")
        self.assertGreater(agreement(self.settled_view(), start, 8), 0.999, "not drawn again after the context")
        self.assertEqual(self.console_errors(), [])

        # Escape ends the game: the page says how to play again, the title stops, keys scroll again.
        self.tap("Escape")
        self.assertTrue(wait_until(lambda: self.shown("ended")), "the page did not say the game ended")
        title = driver.title
        time.sleep(1.5)
        self.assertEqual(driver.title, title, "the loop still runs")
        self.press("Down")
        self.release("Down")
        self.assertTrue(wait_until(lambda: driver.execute_script("return scrollY") > scrolled, 2),
                        "ended, the game still keeps the arrows from the page")
        self.assertEqual(self.console_errors(), [])

    def test_a_french_high_dpi_screen(self):
        """A comma in the title; at a pixel ratio of 2, a drawing buffer twice as fine, same view."""
        driver = self.driver
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 1000, "height": 714, "deviceScaleFactor": 2, "mobile": False})
        try:
            self.open_page(language="fr-FR")

            def comma():
                title = TITLE.match(driver.title)
                return title and title.group(2) == "," and title.group(0) != "Tarnwick Alpha (0,0 FPS)"

            self.assertTrue(wait_until(comma), driver.title)
            self.assertEqual(driver.execute_script(
                "const c = document.getElementById('canvas'); return [c.width, c.height, c.clientWidth];"),
                [1600, 1200, 800])
            self.assert_start_view(self.view().resize((800, 600), Image.BOX))
        finally:
            driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    # -- a phone: 390 x 844 CSS pixels at 3 device pixels each, a touch screen of 5 points

    def screen(self, width, height):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 3, "mobile": True, "screenOrientation":
            {"type": "portraitPrimary", "angle": 0} if width < height else {"type": "landscapePrimary", "angle": 90}})

    def step(self, frames):
        return self.driver.execute_script(f"return stepFrames({frames})")

    def touch(self, kind, *fingers):
        """Fingers as a touch screen sends them, each (id, control key or (x, y)); a touchEnd lists
        the fingers that lift."""
        points = []
        for finger, place in fingers:
            x, y = self.controls.get(place, place)
            points.append({"id": finger, "x": x, "y": y})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def up_then_p_by_keys(self):
        """The view after Up held for 30 stepped frames, with P from the 10th, and 2 frames more."""
        self.press("Up")
        self.step(10)
        self.press("P", "p")
        self.step(20)
        self.release("Up")
        self.release("P")
        self.step(2)
        return self.view()

    def arc_by_keys(self):
        """The view after Up and Left held together for the arc's frames, and 2 frames more."""
        self.press("Up")
        self.press("Left")
        self.step(ARC_FRAMES)
        self.release("Up")
        self.release("Left")
        self.step(2)
        return self.view()

    def tap_on(self, place):
        self.touch("touchStart", (1, place))
        self.touch("touchEnd", (1, place))

    # The page as laid out now: refitted once it is laid out at the given width and the drawing
    # buffer is the canvas's size times the pixel ratio.
    LAYOUT = """const box = (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };
        const canvas = document.getElementById('canvas'), [left, top, right, bottom] = box(canvas);
        return { scrollY, refitted: innerWidth === arguments[0] && canvas.width === Math.round((right - left) * devicePixelRatio)
                           && canvas.height === Math.round((bottom - top) * devicePixelRatio),
                 scale: visualViewport.scale, scrollWidth: document.documentElement.scrollWidth, canvas: box(canvas),
                 controls: Object.fromEntries([...document.querySelectorAll('[data-key], [data-action]:not([hidden])')]
                                                .map((e) => [e.dataset.key || e.dataset.action, box(e)])) };"""

    # Whether the message shown is inside the viewport, and whether it covers a control.
    MESSAGE_PLACE = """const box = (e) => e.getBoundingClientRect(), m = box(document.querySelector('.message:not([hidden])'));
        return [m.left >= 0 && m.top >= 0 && m.right <= innerWidth && m.bottom <= innerHeight,
                [...document.querySelectorAll('[data-key]')].map(box).some((c) =>
                    c.left < m.right && m.left < c.right && c.top < m.bottom && m.top < c.bottom)];"""

    def turn_to(self, width, height):
        """The page refitted to the phone held this way: laid out at the screen's width, the picture
        as large as the rules say, the controls by it; the centre of each control."""
        self.screen(width, height)
        return self.fitted(width, height)

    def fitted(self, width, height):
        """turn_to's checks of the page on a screen of that size, as it is now."""

        def refitted():  # at the page's next rendering, and the frame after it
            self.step(1)
            page = self.driver.execute_script(self.LAYOUT, width)
            return page["refitted"] and page

        page = wait_until(refitted)
        self.assertTrue(page, "the page or its drawing buffer was not refitted")
        self.assertEqual((page["scale"], page["scrollWidth"] <= width, page["scrollY"]), (1, True, 0),
                         "zoomed out, scrolls sideways, or scrolled")
        left, top, right, bottom = page["canvas"]
        self.assertAlmostEqual((bottom - top) / (right - left), 0.75, delta=0.005)
        if width < height:
            self.assertGreaterEqual(right - left, 0.9 * width, "the picture upright")
        else:
            self.assertGreaterEqual(bottom - top, 0.8 * height, "the picture sideways")
        boxes = page["controls"]
        self.assertEqual(set(boxes), {"ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "z", "s", "p", "m", " ",
                                      "fullscreen"})
        for key, (x0, y0, x1, y1) in boxes.items():
            self.assertTrue(x1 - x0 >= 44 and y1 - y0 >= 44, f"control {key!r} too small")
            self.assertTrue(x0 >= 0 and y0 >= 0 and x1 <= width and y1 <= height, f"control {key!r} off the screen")
            for other in [page["canvas"]] + [boxes[k] for k in boxes if k != key]:
                self.assertTrue(x1 <= other[0] or other[2] <= x0 or y1 <= other[1] or other[3] <= y0,
                                f"{key!r} overlaps")
            if key != "fullscreen":  # which is over the picture upright, beside it sideways
                self.assertTrue(y0 >= bottom if width < height else x1 <= left or x0 >= right,
                                f"{key!r} not by the picture")
        centres = {key: ((x0 + x1) / 2, (y0 + y1) / 2) for key, (x0, y0, x1, y1) in boxes.items()}
        self.assertTrue(max(centres["ArrowLeft"][0], centres["ArrowRight"][0]) < width / 2 <
                        min(centres["ArrowUp"][0], centres["ArrowDown"][0]), "steering left, driving right")
        return centres

    def test_on_a_phone(self):
        driver = self.driver
        with self.as_a_phone(STEPPED_FRAMES):
            # Opened either way, the page is on the screen at its top, and so is a message, over the
            # picture; turned once scrolled, it is on the screen again.
            for width, height in [(390, 844), (844, 390)]:
                self.screen(width, height)  # the page's first layout is at the phone's width
                driver.get("file://" + PAGE)
                self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
                self.turn_to(width, height)
            driver.execute_script(
                "window.loseContext = document.getElementById('canvas').getContext('webgl')"
                ".getExtension('WEBGL_lose_context'); window.loseContext.loseContext();")
            self.assertTrue(wait_until(lambda: self.shown("context-lost")))
            self.assertEqual(driver.execute_script(self.MESSAGE_PLACE), [True, False], "message off screen, or on a control")
            driver.execute_script("window.loseContext.restoreContext();")
            self.assertTrue(wait_until(lambda: not self.shown("context-lost")))
            for width, height in [(390, 844), (844, 390), (390, 844)]:
                driver.execute_script("scrollTo(0, 300)")
                self.controls = self.turn_to(width, height)
            start = self.view()
            self.assert_start_view(start.resize((800, 600), Image.BOX))

            def after(frames):
                self.step(frames)
                return self.view()

            # A finger on Up reaches the next frame; a second finger on P acts beside it, frame for
            # frame as the keys do.
            self.touch("touchStart", (1, "ArrowUp"))
            self.assertLess(agreement(after(1), start, 0), 1, "the frame after the touch did not move")
            self.step(9)
            self.touch("touchStart", (2, "p"))
            self.step(20)
            self.touch("touchEnd", (1, "ArrowUp"), (2, "p"))
            two_fingers = after(2)
            self.tap_on(" ")
            self.assertEqual(agreement(after(1), start, 0), 1, "Reset did not put the board back")
            self.assertEqual(agreement(self.up_then_p_by_keys(), two_fingers, 0), 1,
                             "two fingers are not the keys held together")
            self.tap_on(" ")
            self.step(1)

            # A finger rocks from Up onto Down, then off the controls (onto the page's name): the
            # board drives back to the start and stays there.
            self.touch("touchStart", (1, "ArrowUp"))
            self.step(10)
            self.touch("touchMove", (1, "ArrowDown"))
            self.step(10)
            self.touch("touchMove", (1, (100, 20)))
            self.assertEqual(agreement(after(10), start, 0), 1, "sliding did not press and let go")
            self.touch("touchEnd", (1, (100, 20)))

            # A tap between two frames counts once; a cancelled touch and a finger held while the
            # player switches tabs let go.
            self.tap_on("ArrowUp")
            tapped = after(1)
            self.assertLess(agreement(tapped, start, 0), 1, "the tap was lost")
            self.assertEqual(agreement(after(5), tapped, 0), 1, "the tap counted more than once")
            for leave in ["cancel", "tab"]:
                self.touch("touchStart", (1, "ArrowUp"), (2, "ArrowLeft"))
                self.step(5)
                if leave == "cancel":
                    self.touch("touchCancel")  # every finger
                else:
                    game = driver.current_window_handle
                    driver.switch_to.new_window("tab")
                    driver.close()
                    driver.switch_to.window(game)
                left = after(2)
                self.assertEqual(agreement(after(10), left, 0), 1, f"the board drove on after a {leave}")
            self.touch("touchEnd", (1, "ArrowUp"), (2, "ArrowLeft"))

            # A swipe that starts on a control does not scroll the page; one on the table does.
            for place, scrolls in [("ArrowUp", False), ((200, 700), True)]:
                x, y = self.controls.get(place, place)
                before = driver.execute_script("return scrollY")
                self.touch("touchStart", (1, (x, y)))
                for lifted in range(20, 220, 20):
                    self.touch("touchMove", (1, (x, y - lifted)))
                self.touch("touchEnd", (1, (x, y - 200)))
                self.assertEqual(wait_until(lambda: driver.execute_script("return scrollY") > before, 1), scrolls)

    def test_touches_the_page_may_not_cancel(self):
        """As a phone: a finger lands on a control while another scrolls the page, which makes the
        browser send their touches as ones the page may not cancel; then a burst of touches with up
        to five fingers, landing on the controls, the picture and the table, sliding anywhere and
        lifted in any order. The console holds no error or warning, and once the last finger is
        lifted every control is let go and the board stands still."""
        driver = self.driver
        with self.as_a_phone(STEPPED_FRAMES):
            self.screen(390, 844)
            driver.get("file://" + PAGE)
            self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
            centres = self.turn_to(390, 844)
            driver.get_log("browser")  # what came before

            def on_screen(place):  # a control's centre where the page is scrolled to now, or a point
                x, y = centres.get(place, place)
                return (x, y - driver.execute_script("return scrollY")) if place in centres else (x, y)

            table = (200, 700)  # below the controls, where a swipe scrolls the page
            self.touch("touchStart", (1, table))
            for lifted in range(20, 220, 20):
                self.touch("touchMove", (1, (table[0], table[1] - lifted)))
            scrolling = (table[0], table[1] - 200)
            self.touch("touchStart", (1, scrolling), (2, on_screen("ArrowUp")))
            self.touch("touchMove", (1, scrolling), (2, on_screen("ArrowLeft")))
            self.touch("touchEnd", (2, on_screen("ArrowLeft")))
            self.touch("touchEnd", (1, scrolling))
            self.step(2)

            chance = random.Random(36)
            places = list(centres) + [(195, 150), (60, 260), (330, 60), table, (20, 820)]
            fingers = {}
            for _ in range(500):
                roll = chance.random()
                if not fingers or (len(fingers) < 5 and roll < 0.3):
                    finger = next(i for i in range(1, 6) if i not in fingers)
                    fingers[finger] = on_screen(chance.choice(places))
                    self.touch("touchStart", *fingers.items())
                elif roll < 0.85:
                    for finger in chance.sample(sorted(fingers), chance.randint(1, len(fingers))):
                        fingers[finger] = (chance.uniform(0, 390), chance.uniform(0, 844))
                    self.touch("touchMove", *fingers.items())
                else:
                    finger = chance.choice(sorted(fingers))
                    self.touch("touchEnd", (finger, fingers.pop(finger)))
                if chance.random() < 0.2:
                    self.step(1)
            for finger in sorted(fingers):
                self.touch("touchEnd", (finger, fingers.pop(finger)))
            self.step(2)
            logged = [entry for entry in driver.get_log("browser") if entry["level"] in ("WARNING", "SEVERE")]
            self.assertEqual(logged, [])
            self.assertEqual(driver.execute_script("return document.querySelectorAll('.held').length"), 0,
                             "a control is still held")
            still = self.view()
            self.step(10)
            self.assertEqual(agreement(self.view(), still, 0), 1, "the board drove on")

    def test_gamepads(self):
        """Pads from a scripted navigator.getGamepads, read by the next stepped frame: a pad holds
        the keys as the keyboard does, frame for frame; a list of pads that are nothing of the kind
        holds nothing and logs nothing."""
        driver = self.driver

        def pads(*listed):
            driver.execute_script("window.testPads = arguments[0]", list(listed))

        def pad(pressed=(), axes=(0, 0, 0, 0), mapping="standard"):
            return {"connected": True, "mapping": mapping, "axes": list(axes),
                    "buttons": [{"value": 1 if b in pressed else 0, "pressed": b in pressed} for b in range(17)]}

        def after(frames):
            self.step(frames)
            return self.view()

        with self.before_each_page(STEPPED_FRAMES, "navigator.getGamepads = () => window.testPads || [];"):
            driver.get("file://" + PAGE)
            self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
            start = after(1)
            pads(pad(pressed=[0]))
            self.assertEqual(agreement(after(3), start, 0), 1, "read before the browser showed a pad")
            driver.execute_script("dispatchEvent(new Event('gamepadconnected'))")
            unusable = [None, 7, "pad", {"connected": True, "buttons": None, "axes": 5},
                        {"connected": True, "mapping": "standard", "buttons": [{"value": "1"}, {}, 1], "axes": ["-1"]},
                        pad(axes=[None, "x", 1e9, -3]), pad(mapping="", pressed=range(17), axes=[0.3, -0.2])]
            pads(*(unusable * 50))
            self.assertEqual(agreement(after(5), start, 0), 1, "something unusable held a key")

            # A, with the right bumper from the 10th frame (Up, then P), against the keys.
            pads(pad(pressed=[0]))
            self.step(10)
            pads(pad(pressed=[0, 5]))
            self.step(20)
            pads(pad())
            by_pad = after(2)
            pads(pad(pressed=[3]))
            self.assertEqual(agreement(after(1), start, 0), 1, "Y did not put the board back")
            pads()
            self.assertEqual(agreement(self.up_then_p_by_keys(), by_pad, 0), 1, "the pad is not the keys held together")

            # Two sources at once, one driving and one turning: the key Up beside the pad's D-pad left.
            self.tap("Space")
            self.step(1)
            self.press("Up")
            pads(pad(pressed=[14]))
            self.step(ARC_FRAMES)
            self.release("Up")
            pads()
            by_key_and_pad = after(2)
            self.tap("Space")
            self.step(1)
            self.assertEqual(agreement(self.arc_by_keys(), by_key_and_pad, 0), 1, "a key and a pad are not both keys")
            self.tap("Space")

            # A pad outside the standard layout drives with its first axes; gone, it lets go at once.
            pads(pad(mapping="", axes=[0, -1]))
            driving = after(5)
            self.assertLess(agreement(driving, by_pad, 0), 1, "its stick did not drive")
            pads()
            gone = after(1)
            self.assertEqual(agreement(after(5), gone, 0), 1, "a pad gone still held its key")
            self.assertEqual(self.console_errors(), [])

    def test_full_screen_on_a_phone(self):
        """Sideways on a phone, a tap on the full-screen control puts the page in full screen and
        asks for the screen to stay sideways, which this browser refuses, quietly; the control stays
        and the page still fits; a tap takes it out again. Where the browser has no full screen, and
        in the app opened full screen, there is no control."""
        driver = self.driver
        watch = """window.locks = []; window.rejections = [];
            const lock = screen.orientation.lock.bind(screen.orientation);
            screen.orientation.lock = (orientation) => { locks.push(orientation); return lock(orientation); };
            addEventListener('unhandledrejection', (event) => rejections.push(String(event.reason)));"""
        with self.as_a_phone(STEPPED_FRAMES, watch):
            self.screen(844, 390)
            driver.get("file://" + PAGE)
            self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
            self.controls = self.turn_to(844, 390)
            for entered in (True, False):
                self.tap_on("fullscreen")
                in_full_screen = "return !!document.fullscreenElement"
                self.assertTrue(wait_until(lambda: driver.execute_script(in_full_screen) == entered),
                                "not in full screen" if entered else "still in full screen")
                self.controls = self.fitted(844, 390)
            self.assertEqual(driver.execute_script("return [locks, rejections]"), [["landscape"], []])
            self.assertEqual(self.console_errors(), [])

            control = "return document.querySelector('[data-action=fullscreen]').hidden"
            for without in ["Object.defineProperty(Document.prototype, 'fullscreenEnabled', { get: () => false });",
                            "const media = matchMedia; window.matchMedia = (query) => query === "
                            "'(display-mode: fullscreen)' ? { matches: true, addEventListener() {} } : media(query);"]:
                with self.before_each_page(without):
                    driver.get("file://" + PAGE)
                    self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
                    self.assertTrue(driver.execute_script(control), f"a full-screen control after {without}")

    def test_idle_frames_draw_nothing(self):
        """On a phone, frames stepped by the test: a frame that would show the picture on the screen
        makes no WebGL call; a key, a touch, a pad's button and stick, a turned phone, a context
        given back and a page shown again each draw at the next frame."""
        driver = self.driver
        counting = """window.webglCalls = 0;
            const context = WebGLRenderingContext.prototype;
            for (const [name, { value }] of Object.entries(Object.getOwnPropertyDescriptors(context))) {
                if (typeof value === 'function') context[name] = function (...args) {
                    webglCalls++; return value.apply(this, args); }; }
            navigator.getGamepads = () => window.testPads || [];"""

        def calls(frames=1):
            return driver.execute_script(f"const before = webglCalls; stepFrames({frames}); return webglCalls - before")

        def idle():
            calls(3)  # a key let go reads pressed once more
            self.assertEqual(calls(30), 0, "an idle frame drew")

        def pads(*listed):
            driver.execute_script("window.testPads = arguments[0]; dispatchEvent(new Event('gamepadconnected'))",
                                  list(listed))

        def pad(pressed=(), axes=(0, 0, 0, 0)):
            return {"connected": True, "mapping": "standard", "axes": list(axes),
                    "buttons": [{"value": 1 if b in pressed else 0, "pressed": b in pressed} for b in range(17)]}

        with self.as_a_phone(STEPPED_FRAMES, counting):
            self.screen(390, 844)
            driver.get("file://" + PAGE)
            self.assertTrue(wait_until(lambda: self.step(1)), "the game did not start")
            self.controls = self.turn_to(390, 844)
            idle()
            start = self.view()
            for name, change, undo in [
                    ("a key", lambda: self.press("Up"), lambda: self.release("Up")),
                    ("a touch", lambda: self.touch("touchStart", (1, "ArrowUp")),
                     lambda: self.touch("touchEnd", (1, "ArrowUp"))),
                    ("a pad's button", lambda: pads(pad(pressed=[0])), lambda: pads(pad())),
                    ("a pad's stick", lambda: pads(pad(axes=[-1, 0, 0, 0])), lambda: pads(pad()))]:
                change()
                self.assertGreater(calls(), 0, f"{name} did not draw at the next frame")
                undo()
                idle()
            self.assertLess(agreement(self.view(), start, 0), 1)
            self.tap_on(" ")
            idle()
            self.assertEqual(agreement(self.view(), start, 0), 1, "the idle picture is not the drawn one")

            # The phone turned: the frame that refits the drawing buffer draws.
            upright_width = driver.execute_script("return canvas.width")
            self.screen(844, 390)

            def refitted():  # once the browser has laid the turned page out, the next frame
                drew = calls()
                return driver.execute_script("return canvas.width") != upright_width and [drew]

            refit = wait_until(refitted)
            self.assertTrue(refit and refit[0] > 0, "the frame that refitted the picture did not draw")
            idle()

            before = self.view()
            driver.execute_script("window.loseContext = document.getElementById('canvas').getContext('webgl')"
                                  ".getExtension('WEBGL_lose_context'); loseContext.loseContext();")
            self.assertTrue(wait_until(lambda: self.shown("context-lost")))
            driver.execute_script("loseContext.restoreContext()")
            self.assertTrue(wait_until(lambda: not self.shown("context-lost")))
            self.assertGreater(calls(), 0, "the context given back was not drawn at once")
            self.assertEqual(agreement(self.view(), before, 0), 1, "the context given back drew another picture")
            idle()

            game = driver.current_window_handle
            driver.switch_to.new_window("tab")
            driver.close()
            driver.switch_to.window(game)
            self.assertGreater(calls(), 0, "the page shown again was not drawn at once")
            idle()
            self.assertEqual(self.console_errors(), [])

    def test_no_webgl_says_so(self):
        driver = self.driver
        try:
            with self.before_each_page("HTMLCanvasElement.prototype.getContext = function () { return null; };"):
                driver.get("file://" + PAGE)
                self.assertTrue(wait_until(lambda: self.shown("cannot-start")), "the page did not say it cannot start")
                text = driver.find_element(By.ID, "cannot-start").text
                self.assertIn("no WebGL", text)
                self.assertFalse(TITLE.match(driver.title), "a frame was drawn without WebGL")
        finally:
            driver.get_log("browser")  # the failure's own line

    # What the service worker keeps, by path, once it is active.
    KEPT = """const done = arguments[arguments.length - 1];
        navigator.serviceWorker.ready.then(async () => {
            const names = await caches.keys(), kept = await (await caches.open(names[0])).keys();
            done({ names, paths: kept.map((request) => new URL(request.url).pathname).sort() });
        });"""

    def test_served_as_an_app(self):
        """The folder on a static host, at a path of its own, sent with a max-age: Chromium finds
        nothing missing to install it; its worker keeps every file; with the host gone the page
        plays; a new version hosted is the one played on the second visit after it; and the page's
        policy stops what would come from elsewhere, and nothing else."""
        driver = self.driver
        root = tempfile.TemporaryDirectory()
        folder = os.path.join(root.name, "games", "tarnwick")
        app_folder(folder)
        host, elsewhere = Host(root.name), Host(root.name)
        url = f"http://127.0.0.1:{host.port}/games/tarnwick/"
        noting_violations = ("window.violations = []; document.addEventListener('securitypolicyviolation',"
                             " (event) => violations.push(event.violatedDirective));")
        try:
            with self.before_each_page(noting_violations):
                self.open_page(url)
                files = sorted(os.listdir(folder))
                kept = driver.execute_async_script(self.KEPT)
                self.assertEqual(kept["paths"], ["/games/tarnwick/" + name for name in files if name != "sw.js"])
                self.assertEqual(wait_until(lambda: driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
                                            ["installabilityErrors"] == [] or None), True, "not installable")
                self.assertTrue(set(host.requests) <= {"/games/tarnwick/" + name for name in ["", *files]},
                                host.requests)

                # The host gone, the page opens and plays.
                host.stop()
                self.open_page(url)
                start = self.settled_view()
                self.hold("Up", 0.3)
                self.assertLess(agreement(self.settled_view(), start), 0.9, "offline, Up did not drive")
                self.assertEqual(driver.execute_script("return violations"), [])

                # A new version on the host: the first visit still plays the one kept, the second the new.
                app_folder(folder, title="Tarnwick Alpha, again")
                host = Host(root.name, host.port)
                for visit, title in [(1, "Tarnwick Alpha"), (2, "Tarnwick Alpha, again")]:
                    self.open_page(url)
                    self.assertEqual(driver.find_element(By.TAG_NAME, "h1").text, title, f"visit {visit}")
                    self.assertEqual(driver.execute_script("return violations"), [])
                    if visit == 1:
                        new_kept = wait_until(lambda: driver.execute_async_script(self.KEPT)["names"] != kept["names"])
                        self.assertTrue(new_kept, "the new version was not kept")
                self.assertEqual(len(driver.execute_async_script(self.KEPT)["names"]), 1,
                                 "the old version's cache stayed")
                self.assertEqual(self.console_errors(), [])

                # Nothing from elsewhere: a fetch and an image from another origin are stopped.
                driver.execute_script(f"fetch('http://127.0.0.1:{elsewhere.port}/').catch(() => {{}});"
                                      f"new Image().src = 'http://127.0.0.1:{elsewhere.port}/icon.png';")
                stopped = wait_until(lambda: len(driver.execute_script("return violations")) == 2 and
                                     driver.execute_script("return violations"))
                self.assertEqual(sorted(stopped), ["connect-src", "img-src"])
                self.assertEqual(elsewhere.requests, [])
        finally:
            driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": url[:url.index("/games")],
                                                                  "storageTypes": "all"})
            host.stop()
            elsewhere.stop()
            root.cleanup()


class InWebKitGTK(unittest.TestCase, StartViewChecks):
    @classmethod
    def setUpClass(cls):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        cls.driver = webdriver.WebKitGTK(options=options, service=WebKitService("/usr/bin/WebKitWebDriver"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def view(self):
        # The driver's element screenshot is offset by the browser's own bar: crop the whole view.
        png = Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")
        left, top = self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect(); return [r.left, r.top];")
        return png.crop((round(left), round(top), round(left) + 800, round(top) + 600))

    def test_the_start_view_a_held_key_and_the_title(self):
        driver = self.driver
        driver.get("file://" + PAGE)
        self.assertTrue(wait_until(lambda: TITLE.match(driver.title), 10), driver.title)
        time.sleep(1)
        start = self.view()
        self.assert_start_view(start)
        ActionChains(driver).key_down(Keys.ARROW_UP).pause(0.5).key_up(Keys.ARROW_UP).perform()
        time.sleep(0.5)
        self.assertLess(agreement(self.view(), start), 0.9, "Up held for 0.5 s moved the view")
        self.assert_title_refreshes(driver)


class InFirefox(unittest.TestCase, StartViewChecks):
    """Firefox ESR, driven over WebDriver BiDi, its own remote protocol (Debian has no
    geckodriver), with Mesa's WebGL on the X display and French as its language."""

    @classmethod
    def setUpClass(cls):
        cls.profile = tempfile.TemporaryDirectory()
        # Its gamepad test service, which stands for a pad, needs a profile and a Firefox that take no
        # connection beyond this machine.
        with open(os.path.join(cls.profile.name, "user.js"), "w") as prefs:
            for pref in ['"intl.accept_languages", "fr-FR"', '"dom.gamepad.test.enabled", true',
                         '"network.disable-non-local-connections", true',
                         '"security.turn_off_all_security_so_that_viruses_can_take_over_this_computer", true']:
                prefs.write(f"user_pref({pref});\n")
        cls.log = log = open(os.path.join(cls.profile.name, "firefox.log"), "w+")
        cls.firefox = subprocess.Popen(["firefox-esr", "--profile", cls.profile.name, "--remote-debugging-port=0",
                                        "--width=1000", "--height=760", "about:blank"], stdout=log, stderr=log,
                                       env=dict(os.environ, MOZ_DISABLE_NONLOCAL_CONNECTIONS="1"))

        def written():
            log.seek(0)
            return log.read()

        address = wait_until(lambda: re.search(r"WebDriver BiDi listening on (\S+)", written()), 60)
        assert address, "Firefox did not start its WebDriver BiDi server:\n" + written()[-2000:]
        # Firefox refuses a WebSocket handshake that names an origin.
        cls.socket = websocket.create_connection(address.group(1) + "/session", suppress_origin=True, timeout=30)
        cls.calls = 0
        cls.errors = []
        cls.call("session.new", capabilities={})
        cls.call("session.subscribe", events=["log.entryAdded"])
        cls.context = cls.call("browsingContext.getTree")["contexts"][0]["context"]

    @classmethod
    def tearDownClass(cls):
        cls.socket.close()
        cls.firefox.terminate()
        cls.firefox.wait()
        cls.log.close()
        cls.profile.cleanup()

    @classmethod
    def call(cls, method, **params):
        cls.calls += 1
        cls.socket.send(json.dumps({"id": cls.calls, "method": method, "params": params}))
        while True:
            message = json.loads(cls.socket.recv())
            if message.get("method") == "log.entryAdded" and message["params"]["level"] == "error":
                cls.errors.append(message["params"]["text"])
            if message.get("id") == cls.calls:
                assert "error" not in message, message
                return message["result"]

    def script(self, expression, settled=False):
        """The expression's value; settled: once the promise it gives has settled."""
        return self.call("script.evaluate", expression=expression, target={"context": self.context},
                         awaitPromise=settled)["result"].get("value")

    def box(self, selector):
        return json.loads(self.script(f"JSON.stringify(document.querySelector('{selector}').getBoundingClientRect())"))

    def hold(self, kind, where, milliseconds=0):
        """A key (kind "key", where its value) or a finger (kind "pointer", where a place in the page)."""
        down, up = ({"type": "keyDown", "value": where}, {"type": "keyUp", "value": where}) if kind == "key" else \
            ({"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0})
        steps = [down, {"type": "pause", "duration": milliseconds}, up]
        source = {"type": kind, "id": kind, "actions": steps} if kind == "key" else {
            "type": kind, "id": kind, "parameters": {"pointerType": "touch"},
            "actions": [{"type": "pointerMove", "x": round(where[0]), "y": round(where[1])}] + steps}
        self.call("input.performActions", context=self.context, actions=[source])

    def view(self):
        box = self.box("#canvas")
        shot = self.call("browsingContext.captureScreenshot", context=self.context, clip={
            "type": "box", "x": box["left"], "y": box["top"], "width": box["width"], "height": box["height"]})
        return Image.open(io.BytesIO(base64.b64decode(shot["data"]))).convert("RGB")

    def test_keys_the_title_and_touch(self):
        self.call("browsingContext.navigate", context=self.context, url="file://" + PAGE, wait="complete")
        title = wait_until(lambda: TITLE.match(self.script("document.title")) or None, 10)
        self.assertTrue(title and title.group(2) == ",", "no rate written with a comma in French")
        time.sleep(0.5)
        start = self.view()
        self.assert_start_view(start)
        self.hold("key", "\ue013", 500)  # Up
        time.sleep(0.3)
        self.assertLess(agreement(self.view(), start), 0.9, "Up held for 0.5 s moved the view")
        self.hold("key", " ")
        time.sleep(0.3)
        self.assertGreater(agreement(self.view(), start, 8), 0.999, "Space put the board back")

        # Firefox says it has no touch screen, so the controls come with the first touch.
        controls = "[...document.querySelectorAll('[data-key]')].filter((c) => c.getClientRects().length).length"
        self.assertEqual(self.script(controls), 0)
        self.hold("pointer", (500, 300))
        self.assertEqual(wait_until(lambda: self.script(controls)), 9, "the first touch brought no controls")
        time.sleep(0.3)
        before = self.view()
        up = self.box("[data-key=ArrowUp]")
        self.hold("pointer", (up["x"] + up["width"] / 2, up["y"] + up["height"] / 2), 500)
        time.sleep(0.3)
        self.assertLess(agreement(self.view(), before), 0.9, "a finger on Up for 0.5 s moved the view")
        self.assertEqual(self.errors, [])

    def test_a_gamepad(self):
        """A pad from Firefox's gamepad test service: A drives, and so does the stick, and a pad
        taken away while it drives lets go."""
        self.call("browsingContext.navigate", context=self.context, url="file://" + PAGE, wait="complete")
        self.assertTrue(wait_until(lambda: TITLE.match(self.script("document.title")), 10))
        index = self.script("(window.pads = navigator.requestGamepadServiceTest())"
                            ".addGamepad('Tarnwick test pad', 'standard', '', 17, 4, 0, 0, 0)", settled=True)
        time.sleep(0.3)
        start = self.view()
        for event, wait in [(f"newButtonEvent({index}, 0, true, true)", 0.5),
                            (f"newButtonEvent({index}, 0, false, false)", 0.3)]:
            self.script(f"pads.{event}", settled=True)
            time.sleep(wait)
        driven = self.view()
        self.assertLess(agreement(driven, start), 0.9, "A held for 0.5 s did not drive")
        time.sleep(0.3)
        self.assertEqual(agreement(self.view(), driven, 0), 1, "A let go, the board drove on")
        self.script(f"pads.newAxisMoveEvent({index}, 1, -1)", settled=True)
        time.sleep(0.3)
        self.script(f"pads.removeGamepad({index})", settled=True)
        time.sleep(0.3)
        gone = self.view()
        self.assertLess(agreement(gone, driven), 0.9, "the stick pushed up did not drive")
        time.sleep(0.3)
        self.assertEqual(agreement(self.view(), gone, 0), 1, "a pad taken away still drove")
        self.assertEqual(self.errors, [])

    def test_offline(self):
        """Served from a static host, the page's worker keeps the folder's files; with the host gone,
        the page opens again and plays."""
        root = tempfile.TemporaryDirectory()
        app_folder(os.path.join(root.name, "tarnwick"))
        host = Host(root.name)
        url = f"http://127.0.0.1:{host.port}/tarnwick/"
        try:
            self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")
            kept = self.script("navigator.serviceWorker.ready.then(async () => (await (await caches.open("
                               "(await caches.keys())[0])).keys()).length)", settled=True)
            self.assertEqual(kept, len(os.listdir(os.path.join(root.name, "tarnwick"))) - 1, "not every file kept")
            host.stop()
            self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")
            self.assertTrue(wait_until(lambda: TITLE.match(self.script("document.title") or "")), "offline, no game")
            time.sleep(0.3)
            start = self.view()
            self.hold("key", "\ue013", 300)  # Up
            time.sleep(0.3)
            self.assertLess(agreement(self.view(), start), 0.9, "offline, Up did not drive")
        finally:
            self.script("navigator.serviceWorker.getRegistrations().then((all) => Promise.all("
                        "all.map((registration) => registration.unregister())))", settled=True)
            self.script("caches.keys().then((names) => Promise.all(names.map((name) => caches.delete(name))))",
                        settled=True)
            host.stop()
            root.cleanup()
        self.assertEqual(self.errors, [])

    def test_two_pads_at_once(self):
        """Frames stepped by the test: pad 1's A driving and pad 2's D-pad left turning, together,
        are the keys Up and Left held over the same frames."""
        preload = self.call("script.addPreloadScript", functionDeclaration=f"() => {{ {STEPPED_FRAMES} }}")["script"]
        try:
            self.call("browsingContext.navigate", context=self.context, url="file://" + PAGE, wait="complete")
            self.assertTrue(wait_until(lambda: self.script("stepFrames(1)")), "the game did not start")
            self.script("window.pads = navigator.requestGamepadServiceTest(); window.connected = 0;"
                        "addEventListener('gamepadconnected', () => connected++)")
            first, second = (self.script(f"pads.addGamepad('Tarnwick test pad {n}', 'standard', '', 17, 4, 0, 0, 0)",
                                         settled=True) for n in (1, 2))

            buttons = [(first, 0), (second, 14)]  # pad 1's A, pad 2's D-pad left

            def pads(down):
                state = "true" if down else "false"
                for pad, button in buttons:
                    self.script(f"pads.newButtonEvent({pad}, {button}, {state}, {state})", settled=True)
                reached = " && ".join(f"navigator.getGamepads()[{pad}]?.buttons[{button}].pressed === {state}"
                                      for pad, button in buttons)
                self.assertTrue(wait_until(lambda: self.script(reached)), "the pads' buttons did not reach the page")

            def keys(kind):
                self.call("input.performActions", context=self.context, actions=[{
                    "type": "key", "id": "key", "actions": [{"type": kind, "value": key} for key in "\ue013\ue012"]}])

            self.script("stepFrames(2)")
            pads(True)  # which shows the page the pads: Firefox shows none before a press
            self.assertTrue(wait_until(lambda: self.script("connected") == 2), "the page was not shown both pads")
            self.script(f"stepFrames({ARC_FRAMES})")
            pads(False)
            self.script("stepFrames(2); onScreen()", settled=True)
            by_pads = self.view()
            self.hold("key", " ")
            self.script("stepFrames(2)")
            keys("keyDown")
            self.script(f"stepFrames({ARC_FRAMES})")
            keys("keyUp")
            self.script("stepFrames(2); onScreen()", settled=True)
            self.assertEqual(agreement(self.view(), by_pads, 0), 1, "two pads are not the keys held together")
            for pad in (first, second):
                self.script(f"pads.removeGamepad({pad})", settled=True)
        finally:
            self.call("script.removePreloadScript", script=preload)
        self.assertEqual(self.errors, [])


if __name__ == "__main__":
    if not os.path.isfile(PAGE) or not os.access(DESKTOP_GAME, os.X_OK) or not os.environ.get("DISPLAY"):
        sys.exit("usage (under tests/run_with_xvfb.sh): web_test.py build/web/index.html path/to/tarnwick")
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
