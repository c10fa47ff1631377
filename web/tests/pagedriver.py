"""Headless Chromium with the browser edition loaded from file://, and what the tests and the
benchmark read from it: pixels of the canvas, rectangles of elements, PNG files."""
import base64
import os
import shutil
import signal
import struct
import tempfile
import time
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]


class Browser:
    def __init__(self, page, scale=1):
        self.page = os.path.abspath(page)
        self.profile = tempfile.mkdtemp(prefix="kvelmor-chromium-")
        options = webdriver.ChromeOptions()
        for flag in CHROMIUM_FLAGS + ["--force-device-scale-factor=%g" % scale]:
            options.add_argument(flag)
        options.add_argument("--user-data-dir=" + self.profile)
        options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        driver_path = shutil.which("chromedriver") or "/usr/bin/chromedriver"
        self.driver = webdriver.Chrome(service=Service(driver_path), options=options)
        self.driver.set_window_size(1000, 800)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def load(self, timeout=10):
        """Navigates to the page and waits until its load step has run; returns the seconds."""
        start = time.monotonic()
        self.driver.get("file://" + self.page)
        self.wait(lambda: self.js("return window.KvelmorPage && KvelmorPage.ready"), timeout)
        return time.monotonic() - start

    def wait(self, condition, timeout=30, interval=0.005):
        end = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > end:
                raise TimeoutError("the page did not get there in %g s" % timeout)
            time.sleep(interval)

    def running(self):
        return self.js("return KvelmorPage.isRunning()")

    def wait_for_run(self, timeout=60):
        self.wait(lambda: not self.running(), timeout)

    def box(self, name):
        return self.js("return document.getElementById(arguments[0]).value", name)

    def rect(self, name):
        """The element's rectangle relative to the window's client area, in CSS pixels."""
        return self.js("""
            var w = document.getElementById('kvelmor').getBoundingClientRect();
            var e = document.querySelector('[data-name="' + arguments[0] + '"]') ||
                document.getElementById(arguments[0]);
            var r = e.getBoundingClientRect();
            return [r.left - w.left, r.top - w.top, r.width, r.height];""", name)

    def canvas_pixels(self, region=None, over=None):
        """The canvas, or the region [x, y, width, height] of it, as (width, height, RGBA bytes);
        with `over` (a CSS colour) as shown over that colour, where the picture is transparent."""
        width, height, data = self.js("""
            var c = document.querySelector('canvas');
            var r = arguments[0] || [0, 0, c.width, c.height];
            if (arguments[1]) {
              var o = document.createElement('canvas');
              o.width = c.width;
              o.height = c.height;
              o.getContext('2d').fillStyle = arguments[1];
              o.getContext('2d').fillRect(0, 0, c.width, c.height);
              o.getContext('2d').drawImage(c, 0, 0);
              c = o;
            }
            var d = c.getContext('2d').getImageData(r[0], r[1], r[2], r[3]).data;
            var s = '';
            for (var i = 0; i < d.length; i += 8192)
                s += String.fromCharCode.apply(null, d.subarray(i, i + 8192));
            return [r[2], r[3], btoa(s)];""", region, over)
        return width, height, base64.b64decode(data)

    def console_errors(self):
        return [e for e in self.driver.get_log("browser") if e["level"] in ("SEVERE", "ERROR")]

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def emulate(self, width, height, ratio=1, touch=False):
        """The screen of a device: its viewport in CSS pixels, its device-pixel ratio, and for a
        touch device a phone's or tablet's viewport and touch input. Kept across loads."""
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=ratio, mobile=touch)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)

    def touch(self, kind, x=None, y=None):
        """One finger: kind is "touchStart", "touchMove" or "touchEnd", at (x, y) CSS pixels."""
        points = [] if kind == "touchEnd" else [{"x": x, "y": y}]
        self.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def tap(self, x, y, pen=False):
        """A finger's tap, or a pen's (Chromium moves a finger's tap beside a control onto it by
        itself; a pen's it leaves where it lands, as other browsers do with both)."""
        if not pen:
            self.touch("touchStart", x, y)
            self.touch("touchEnd")
            return
        for kind in ("mousePressed", "mouseReleased"):
            self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1,
                     pointerType="pen")

    def page_rect(self, selector):
        """An element's rectangle in the viewport, in CSS pixels: [left, top, width, height]."""
        return self.js("var r = document.querySelector(arguments[0]).getBoundingClientRect();"
                       " return [r.left, r.top, r.width, r.height];", selector)


def limit_time(test, seconds):
    """Fails `test` by name once it has taken `seconds`, instead of hanging the suite."""
    def overdue(signum, frame):
        raise TimeoutError("%s took longer than %d s" % (test.id(), seconds))
    signal.signal(signal.SIGALRM, overdue)
    signal.alarm(seconds)


def read_png(path):
    """(width, height, RGBA bytes) of an 8-bit RGB or RGBA, non-interlaced PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour in (2, 6) and interlace == 0, (depth, colour, interlace)
            channels = 4 if colour == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    out = bytearray()
    previous = bytearray(stride)
    low, high = int.from_bytes(b"\x7f" * stride, "big"), int.from_bytes(b"\x80" * stride, "big")
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 2:  # each byte plus the one above, modulo 256: all bytes at once, no carries
            a, b = int.from_bytes(line, "big"), int.from_bytes(previous, "big")
            line = bytearray((((a & low) + (b & low)) ^ ((a ^ b) & high)).to_bytes(stride, "big"))
        for i in range(stride if kind in (1, 3, 4) else 0):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if channels == 4:
            out += line
        else:
            rgba = bytearray(b"\xff" * (width * 4))
            for c in range(3):
                rgba[c::4] = line[c::3]
            out += rgba
    return width, height, bytes(out)
