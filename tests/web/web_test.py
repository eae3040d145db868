#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The game's web page as a player meets it, in two browser engines.

Headless Chromium (SwiftShader's WebGL) takes keys as a keyboard sends them (the DevTools
protocol's Input.dispatchKeyEvent): the start view against the desktop game's own frame, a held
key, the title's format and refresh, the separator and drawing buffer of a French high-DPI
browser, a French letter, a tap between two frames, a key held across a switch of tab, the page's
keys kept from scrolling, a lost and restored context, keys the game does not use, the end on
Escape, a page without WebGL, and a console without errors. The page is opened from disk and, once, from a static web server that sees no
request but the page's own. WebKitGTK (MiniBrowser with Mesa's WebGL, on the X display) shows the
start view, moves the board on a held key and writes the title.

Run under tests/run_with_xvfb.sh:
    tests/web/web_test.py build/web/index.html path/to/desktop/tarnwick
"""

import base64
import functools
import http.server
import io
import os
import re
import subprocess
import sys
import threading
import time
import unittest

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


def board_pixel(image, x, z):
    return image.getpixel((int(400 + x * PIXELS_PER_UNIT), int(300 - z * PIXELS_PER_UNIT)))


def is_floor(pixel):
    r, g, b = pixel[:3]
    return 140 < r < 200 and g < 40 and b < 40


@functools.cache
def desktop_start_view():
    """The desktop game's first view, from its own window on this X display."""
    game = subprocess.Popen([DESKTOP_GAME], env=dict(os.environ, LC_ALL="C"))
    try:
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Tarnwick Alpha \\("],
                                capture_output=True, text=True, timeout=20, check=True).stdout.split()[0]
        time.sleep(1)
        png = subprocess.run(["import", "-window", window, "png:-"], capture_output=True, timeout=20,
                             check=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")
    finally:
        game.kill()
        game.wait()


class StartViewChecks:
    """What both engines must show at the start."""

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

    KEYS = {"Up": ("ArrowUp", "ArrowUp", 38), "Down": ("ArrowDown", "ArrowDown", 40),
            "Space": (" ", "Space", 32), "Escape": ("Escape", "Escape", 27)}

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
        left, top = self.driver.execute_script(
            "const r = document.getElementById('canvas').getBoundingClientRect();"
            "return [r.left + scrollX, r.top + scrollY];")
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png", "clip": {"x": left, "y": top, "width": 800, "height": 600, "scale": 1}})
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

    # -- the checks, in the order a player meets them

    def test_a_page_that_plays(self):
        driver = self.driver
        seconds = self.open_page()
        print(f"Chromium: the first titled frame {seconds:.2f} s after the page was asked for")
        self.assertEqual(driver.execute_script("return document.activeElement.id"), "canvas",
                         "the canvas has the keys from the start")
        start = self.settled_view()
        self.assert_start_view(start)

        # The title: the format, refreshed about once a second.
        titles = [driver.title]
        wait_until(lambda: titles.append(driver.title) or len(set(titles)) >= 3, 4)
        self.assertGreaterEqual(len(set(titles)), 3, "the title refreshes")
        for title in set(titles):
            self.assertRegex(title, TITLE)

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

    def test_no_webgl_says_so(self):
        driver = self.driver
        script = driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
            "source": "HTMLCanvasElement.prototype.getContext = function () { return null; };"})
        try:
            driver.get("file://" + PAGE)
            self.assertTrue(wait_until(lambda: self.shown("cannot-start")), "the page did not say it cannot start")
            text = driver.find_element(By.ID, "cannot-start").text
            self.assertIn("no WebGL", text)
            self.assertFalse(TITLE.match(driver.title), "a frame was drawn without WebGL")
        finally:
            driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", {"identifier": script["identifier"]})
            driver.get_log("browser")  # the failure's own line

    def test_a_static_server_sees_only_the_page(self):
        requests = []

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                requests.append(self.path)

        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=os.path.dirname(PAGE)))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            self.open_page(f"http://127.0.0.1:{server.server_address[1]}/{os.path.basename(PAGE)}")
            time.sleep(0.5)
            self.assert_start_view(self.settled_view())
        finally:
            server.shutdown()
            server.server_close()
        self.assertEqual(requests, ["/" + os.path.basename(PAGE)], "no icon, font, script or data from elsewhere")


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
        titles = {driver.title}
        wait_until(lambda: titles.add(driver.title) or len(titles) >= 3, 4)
        self.assertGreaterEqual(len(titles), 3, "the title refreshes")
        for title in titles:
            self.assertRegex(title, TITLE)


if __name__ == "__main__":
    if not os.path.isfile(PAGE) or not os.access(DESKTOP_GAME, os.X_OK) or not os.environ.get("DISPLAY"):
        sys.exit("usage (under tests/run_with_xvfb.sh): web_test.py build/web/index.html path/to/tarnwick")
    unittest.main(argv=sys.argv[:1], verbosity=2)
