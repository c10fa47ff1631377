"""The explorer's panel ("Zkoumat") of the browser edition in headless Chromium, on the phones,
tablets and projectors the page's other tests emulate: the panel beside or below the window with
the window fitted whole into what is left; a click or a tap on the window's drawing after a run
picking the step under it; keys and touch working the height and the count; the sweeps; nothing
taking input during a run while the panel follows it; the saved CSV and SVG byte for byte and the
PNG pixel for pixel outside its texts against kvelmor-export --step --paths; the texts in both
languages and what screen readers hear.

    KVELMOR_PAGE=build-web/kvelmor.html KVELMOR_EXPORT=build/export/kvelmor-export \\
        python3 web/tests/test_explorer.py
"""
import os
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser, limit_time, read_png  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.environ.get("KVELMOR_PAGE", os.path.join(ROOT, "build-web", "kvelmor.html"))
EXPORT = os.environ.get("KVELMOR_EXPORT", os.path.join(ROOT, "build", "export", "kvelmor-export"))
TEST_LIMIT = 120  # s; a test that hangs fails by name after it

CHOICES = ["2", "3", "5", "10", "20", "50", "100", "200", "500", "1000", "2003", "∞"]
# The screens of the page's other tests: phones and tablets by touch, projectors and a desktop
# screen by mouse; where the panel stands on each.
SCREENS = (((360, 640, 3, True), "below"), ((640, 360, 3, True), "beside"),
           ((1024, 768, 2, True), "below"), ((768, 1024, 2, True), "below"),
           ((1366, 768, 1, False), "beside"), ((1920, 1080, 1, False), "beside"),
           ((1920, 1080, 1.25, False), "beside"), ((765, 660, 1, False), "below"))
TABLET = (1024, 768, 2, True)
DESKTOP = (1366, 768, 1, False)

browser = None
exports = {}  # (step, paths, scale, lang) -> the export's process, then its folder


def setUpModule():
    global browser
    # The chain files the saved ones are held against, made while the browser starts.
    for key in ((100, 200, 1, "cs"), (100, 200, 2, "cs"), (37, 0, 1, "en")):
        out = tempfile.mkdtemp(prefix="kvelmor-chain-")
        process = subprocess.Popen([EXPORT, "--frequency", "stredni", "--distance", "350", "--step", str(key[0]),
                                    "--paths", str(key[1] or "inf"), "--scale", str(key[2]), "--lang", key[3],
                                    "--out", out], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        exports[key] = (process, out)
    browser = Browser(PAGE)


def tearDownModule():
    errors = browser.console_errors()
    browser.close()
    assert not errors, errors


def exported(key, suffix):
    """The bytes of the export's chain file `suffix` for (step, paths, scale, lang)."""
    made = exports[key]
    if isinstance(made, tuple):
        process, made = made
        assert process.wait() == 0, "kvelmor-export failed"
        exports[key] = made
    name = "kvelmor-0.6-350-step-%d-paths-%s%s" % (key[0], key[1] or "inf", suffix)
    with open(os.path.join(made, name), "rb") as f:
        return f.read()


class ExplorerTest(unittest.TestCase):
    def setUp(self):
        limit_time(self, TEST_LIMIT)
        self.b = browser

    def tearDown(self):
        signal.alarm(0)

    def open(self, width, height, ratio, touch, query=""):
        self.b.emulate(width, height, ratio, touch)
        self.b.driver.get("file://" + self.b.page + ("?" + query if query else ""))
        self.b.wait(lambda: self.js("return !!(window.KvelmorPage && KvelmorPage.ready)"), 10)

    def js(self, script, *args):
        return self.b.js(script, *args)

    def el(self, name):
        return self.b.driver.find_element(By.ID, name)

    def run_and_wait(self):
        self.js("document.getElementById('cmdStart').click()")
        self.b.wait_for_run()

    def choice(self):
        """The panel's step, the count's place among CHOICES and the sweep going (0 none)."""
        return self.js("return KvelmorPage.explorerChoice()")

    def shown(self):
        return self.js("return KvelmorPage.explorerShown()")

    def readout(self, name):
        return self.js("return document.getElementById(arguments[0]).textContent", name)

    def centre(self, selector):
        x, y, w, h = self.b.page_rect(selector)
        return x + w / 2, y + h / 2

    def click_at(self, x, y, touch=False):
        if touch:
            self.b.tap(x, y)
            return
        for kind in ("mousePressed", "mouseReleased"):
            self.b.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def window_point(self, x, y):
        """Where the window's drawing point (x, y), in twips, is in the viewport, as now fitted."""
        left, top, width, _ = self.b.page_rect("#kvelmor")
        return left + x / 15 * width / 765, top + y / 15 * width / 765

    def key(self, element, key):
        element.send_keys(key)

    def slow_run(self, value):
        """Starts a run at scroll value `value` (about a second per 3000)."""
        self.js("KvelmorPage.setScrollValue('HScroll1', arguments[0]);"
                " Module.ccall('kv_scrollChanged', null, ['number'], [arguments[0]]);"
                " document.getElementById('cmdStart').click();", value)
        self.assertTrue(self.b.running())

    def downloads(self):
        folder = tempfile.mkdtemp(prefix="kvelmor-saved-")
        self.b.cdp("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder)
        return folder

    def saved(self, folder, name):
        path = os.path.join(folder, name)
        self.b.wait(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and
                    not any(f.endswith(".crdownload") for f in os.listdir(folder)), timeout=20)
        with open(path, "rb") as f:
            return f.read()

    # -- where the panel stands ----------------------------------------------------------------

    def test_the_panel_fits_with_the_window_whole_on_every_screen(self):
        rects = """var r = function (s) { var b = document.querySelector(s).getBoundingClientRect();
                                          return [b.left, b.top, b.right, b.bottom]; };
                   return [r('#kvelmor'), r('#kv-area'), r('#kv-panel'), r('#kv-bar'), innerWidth, innerHeight,
                           KvelmorPage.arrangement()];"""
        for (width, height, ratio, touch), arranged in SCREENS:
            with self.subTest(screen=(width, height, ratio)):
                self.open(width, height, ratio, touch)
                alone = self.b.page_rect("#kvelmor")
                self.click_at(*self.centre("#kv-explore"), touch=touch)
                self.b.wait(lambda: self.shown() and self.js(rects)[6] == arranged, 5)
                self.run_and_wait()
                # Fitted anew, a frame late at most.
                self.b.wait(lambda: abs(self.js(rects)[0][2] - self.js(rects)[0][0] - 765 * min(
                    (self.js(rects)[1][2] - self.js(rects)[1][0]) / 765,
                    (self.js(rects)[1][3] - self.js(rects)[1][1]) / 560)) < 0.5, 5)
                window, area, panel, bar, w, h, _ = self.js(rects)
                inside = lambda a, b: a[0] >= b[0] - .5 and a[1] >= b[1] - .5 and a[2] <= b[2] + .5 and a[3] <= b[3] + .5
                apart = lambda a, b: a[2] <= b[0] + .5 or b[2] <= a[0] + .5 or a[3] <= b[1] + .5 or b[3] <= a[1] + .5
                self.assertTrue(inside(window, area) and inside(panel, [0, 0, w, h]) and inside(bar, [0, 0, w, h]))
                self.assertTrue(apart(window, panel) and apart(window, bar) and apart(panel, bar))
                if arranged == "beside":
                    self.assertGreaterEqual(panel[0], window[2] - .5)
                    self.assertAlmostEqual(panel[3] - panel[1], h, delta=0.5)
                else:
                    self.assertGreaterEqual(panel[1], window[3] - .5)
                    self.assertAlmostEqual(panel[2] - panel[0], w, delta=0.5)
                # The window a fair part of the screen still, the panel a fair part of the rest.
                window_share = (window[2] - window[0]) * (window[3] - window[1]) / (w * h)
                panel_share = (panel[2] - panel[0]) * (panel[3] - panel[1]) / (w * h)
                self.assertGreater(window_share, 0.2, (window, w, h))
                self.assertGreater(panel_share, 0.2, (panel, w, h))
                # Its pictures drawn at the size shown, one device pixel to a canvas pixel, and its
                # targets large enough for a finger.
                pictures = self.js("""return ['kv-ex-chain', 'kv-ex-pattern'].map(function (id) {
                    var c = document.getElementById(id), box = c.parentNode;
                    return [c.width, c.height, parseFloat(c.style.width), parseFloat(c.style.height),
                            box.clientWidth, box.clientHeight]; });""")
                for cw, ch, sw, sh, bw, bh in pictures:
                    self.assertGreater(min(bw, bh), 40)
                    self.assertEqual((cw, ch), (int(-(-bw * ratio // 1)), int(-(-bh * ratio // 1))))
                    self.assertAlmostEqual(sw * ratio, cw, delta=0.01)
                    self.assertAlmostEqual(sh * ratio, ch, delta=0.01)
                small = self.js("""return Array.from(document.querySelectorAll('#kv-panel button, #kv-panel select,'
                    + ' #kv-panel [role=slider]')).filter(function (e) { var r = e.getBoundingClientRect();
                    return r.width < 32 || r.height < 32; }).map(function (e) { return e.id; });""")
                self.assertEqual(small, [])
                # The scale mark's number whole, however narrow the chain's picture.
                self.assertTrue(self.js("""var e = document.getElementById('kv-ex-scale-text');
                    return !e.hidden && e.textContent && e.scrollWidth <= e.clientWidth;"""))
                # Closed, the window has the room again.
                self.click_at(*self.centre("#kv-ex-close"), touch=touch)
                self.b.wait(lambda: not self.shown() and
                            abs(self.b.page_rect("#kvelmor")[2] - alone[2]) < 0.5, 5)
                self.assertEqual(self.js("return document.activeElement.id"), "kv-explore")

    # -- choosing a point ------------------------------------------------------------------------

    def test_a_click_or_a_tap_on_the_drawing_picks_the_step_under_it(self):
        # (x, y) on the drawing in twips, at distance 350 (the detector line at x = 5500), and the
        # step picked: the detector line, the probability axis, the end of the centre's bar;
        # nothing on the bench, nor beside the bar's end.
        cases = ((5500, 7000, 0), (5500, 5250, 70), (5510, 4250, 110), (7500, 1500, 220),
                 (7490, 3500, 140), (9900, 3500, 140), (3000, 4000, None), (11300, 3500, None))
        for device in (DESKTOP, TABLET):
            with self.subTest(device=device):
                self.open(*device)
                x, y = self.window_point(5500, 4000)
                self.click_at(x, y, touch=device[3])  # before a run: nothing
                time.sleep(0.2)
                self.assertFalse(self.shown())
                self.run_and_wait()
                for tx, ty, step in cases:
                    before = self.choice()
                    self.click_at(*self.window_point(tx, ty), touch=device[3])
                    if step is None:
                        time.sleep(0.2)
                        self.assertEqual(self.choice(), before, (tx, ty))
                        continue
                    self.b.wait(lambda: self.shown() and self.choice()[0] == step, 5)
                    self.assertEqual(self.el("kv-ex-height").get_attribute("aria-valuenow"), str(step))
                    self.assertIn("%d z 220" % step, self.readout("kv-ex-r-height"))
                    if step == 0:  # the first click opened the panel: close it, the next opens it
                        self.click_at(*self.centre("#kv-ex-close"), touch=device[3])
                        self.b.wait(lambda: not self.shown(), 5)

    def test_zkoumat_opens_at_the_centre_and_before_a_run_says_how(self):
        self.open(*DESKTOP)
        self.el("kv-explore").click()
        self.b.wait(self.shown, 5)
        hint = self.el("kv-ex-hint")
        self.assertTrue(hint.is_displayed())
        self.assertTrue(hint.text.startswith("Spusťte pokus tlačítkem Start"))
        self.assertEqual([self.el(i).get_attribute("aria-disabled") for i in
                          ("kv-ex-height", "kv-ex-n3", "kv-ex-sweep-paths", "kv-ex-save-csv", "kv-ex-close")],
                         ["true"] * 4 + ["false"])
        self.assertEqual(self.el("kv-ex-save-csv").get_attribute("aria-description"),
                         "Nejprve spusťte pokus tlačítkem Start.")
        self.el("kv-ex-n3").click()
        self.assertEqual(self.choice()[1], CHOICES.index("2003"))
        self.el("kv-ex-close").click()
        self.b.wait(lambda: not self.shown(), 5)
        self.run_and_wait()
        self.assertFalse(self.shown())  # a run does not open it
        self.el("kv-explore").click()
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        self.assertFalse(hint.is_displayed())
        self.assertEqual(self.readout("kv-ex-paths"), "N = 2003")
        self.assertEqual(self.el("kv-ex-save-csv").get_attribute("aria-description"),
                         "Uloží kvelmor-0.6-350-step-110-paths-2003.csv.")

    # -- keys and touch ------------------------------------------------------------------------

    def test_keys_work_the_height_and_the_count(self):
        self.open(*DESKTOP)
        self.run_and_wait()
        self.el("kv-explore").click()
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        slider = self.el("kv-ex-height")
        for key, step in ((Keys.ARROW_UP, 111), (Keys.ARROW_RIGHT, 112), (Keys.ARROW_DOWN, 111),
                          (Keys.ARROW_LEFT, 110), (Keys.PAGE_UP, 130), (Keys.PAGE_DOWN, 110),
                          (Keys.END, 220), (Keys.ARROW_UP, 220), (Keys.HOME, 0), (Keys.PAGE_DOWN, 0)):
            self.key(slider, key)
            self.b.wait(lambda: self.choice()[0] == step, 5)
            self.assertEqual(slider.get_attribute("aria-valuenow"), str(step))
            self.assertTrue(slider.get_attribute("aria-valuetext").endswith("krok %d z 220" % step))
        self.el("kv-ex-n10").click()  # 2003, focused
        for key, choice in ((Keys.ARROW_LEFT, 9), (Keys.ARROW_UP, 8), (Keys.ARROW_RIGHT, 9), (Keys.END, 11),
                            (Keys.ARROW_RIGHT, 11), (Keys.HOME, 0), (Keys.ARROW_DOWN, 1)):
            self.key(self.b.driver.switch_to.active_element, key)
            self.b.wait(lambda: self.choice()[1] == choice, 5)
            self.assertEqual(self.readout("kv-ex-paths"), "N = " + CHOICES[choice])
            self.assertEqual(self.js("return document.activeElement.id"), "kv-ex-n%d" % choice)
            self.assertEqual(self.js("""return Array.from(document.querySelectorAll('#kv-ex-counts [role=radio]'))
                .map(function (b) { return b.getAttribute('aria-checked') === 'true'; })"""),
                             [i == choice for i in range(12)])
        # A change is said once it has settled, politely.
        self.b.wait(lambda: self.js("return document.getElementById('kv-spoken').textContent")
                    .startswith("Krok 0, N = 3: čtverec délky součtu"), 5)

    def test_a_finger_works_the_height_and_the_count(self):
        self.open(*TABLET)
        self.run_and_wait()
        self.click_at(*self.centre("#kv-explore"), touch=True)
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        self.click_at(*self.centre("#kv-ex-n4"), touch=True)
        self.b.wait(lambda: self.choice()[1] == 4, 5)
        self.assertEqual(self.readout("kv-ex-paths"), "N = 20")
        for button, step in (("#kv-ex-up", 111), ("#kv-ex-up", 112), ("#kv-ex-down", 111)):
            self.click_at(*self.centre(button), touch=True)
            self.b.wait(lambda: self.choice()[0] == step, 5)
        # A finger on the pattern picks the height under it, and follows as it slides.
        x, y, w, h = self.b.page_rect("#kv-ex-pattern")
        for at, lowest, highest in ((0.01, 216, 220), (0.5, 108, 112), (0.99, 0, 4)):
            self.click_at(x + w / 2, y + h * at, touch=True)
            self.b.wait(lambda: lowest <= self.choice()[0] <= highest, 5)
        self.b.touch("touchStart", x + w / 2, y + h * 0.99)
        for k in range(1, 11):
            self.b.touch("touchMove", x + w / 2, y + h * (0.99 - 0.09 * k))
        self.b.touch("touchEnd")
        self.b.wait(lambda: 198 <= self.choice()[0] <= 210, 5)
        # The slider: a finger dragged to its top end.
        x, y, w, h = self.b.page_rect("#kv-ex-height")
        self.b.touch("touchStart", x + w / 2, y + h / 2)
        for k in range(1, 6):
            self.b.touch("touchMove", x + w / 2, y + h / 2 - k * h / 8)
        self.b.touch("touchEnd")
        self.b.wait(lambda: self.choice()[0] == 220, 5)
        self.assertEqual(self.choice()[1], 4)  # the count as it was

    # -- the sweeps ------------------------------------------------------------------------------

    def test_the_sweeps_go_at_the_displays_frames(self):
        self.open(*DESKTOP)
        self.run_and_wait()
        self.el("kv-explore").click()
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        self.el("kv-ex-n0").click()
        start = time.monotonic()
        self.el("kv-ex-sweep-paths").click()
        self.assertEqual(self.el("kv-ex-sweep-paths").get_attribute("aria-pressed"), "true")
        self.assertEqual(self.el("kv-ex-sweep-paths").text, "Zastavit")
        counts = []
        while self.choice()[2] == 1:
            counts.append(int(self.readout("kv-ex-paths")[4:]))
            self.assertLess(time.monotonic() - start, 30, "the sweep never ended")
            time.sleep(0.05)
        elapsed = time.monotonic() - start
        self.assertGreaterEqual(elapsed, 2.9)
        self.assertEqual(self.readout("kv-ex-paths"), "N = 2003")
        self.assertEqual(counts, sorted(counts))
        self.assertGreater(len(set(counts)), 10, counts)
        self.assertEqual(self.el("kv-ex-sweep-paths").text, "Přidávat šipky")
        # Along the detector, from the bottom; a second press stops it where it stands.
        self.el("kv-ex-sweep-height").click()
        self.b.wait(lambda: self.choice()[0] >= 30, 10)
        self.el("kv-ex-sweep-height").click()
        stopped = self.choice()
        self.assertEqual(stopped[2], 0)
        self.assertLess(stopped[0], 220)
        time.sleep(0.3)
        self.assertEqual(self.choice(), stopped)

    # -- during a run ----------------------------------------------------------------------------

    def test_during_a_run_it_follows_every_step_and_takes_no_input(self):
        self.open(*TABLET)
        self.click_at(*self.centre("#kv-explore"), touch=True)
        self.b.wait(self.shown, 5)
        self.slow_run(12000)
        self.b.wait(lambda: self.el("kv-ex-hint").text.startswith("Sleduje běh pokusu"), 5)
        seen = []
        before = self.choice()
        for target in ("#kv-ex-n2", "#kv-ex-up", "#kv-ex-sweep-paths", "#kv-ex-save-csv", "#kv-ex-close",
                       "#kv-ex-pattern", "#kv-explore"):
            self.click_at(*self.centre(target), touch=True)
            seen.append(self.choice()[0])
        self.key(self.el("kv-ex-height"), Keys.HOME)
        self.js("Module.ccall('kv_exploreCount', null, ['number'], [0]);"
                " Module.ccall('kv_exploreStep', null, ['number'], [5]);"
                " Module.ccall('kv_exploreClose', null, [], []);")
        self.assertTrue(self.b.running(), "the run should last longer than the taps")
        self.assertTrue(self.shown())
        self.assertEqual(self.choice()[1:], before[1:])
        self.assertEqual(self.js("""return Array.from(document.querySelectorAll('#kv-panel button, #kv-panel select,'
            + ' #kv-panel [role=slider]')).every(function (e) { return e.getAttribute('aria-disabled') === 'true'; })"""),
                         True)
        while self.b.running():
            seen.append(self.choice()[0])
            time.sleep(0.02)
        self.assertEqual(seen, sorted(seen))  # it followed the detector up
        self.assertGreater(len(set(seen)), 20, seen)
        self.b.wait(lambda: self.choice()[0] == 220 and not self.el("kv-ex-hint").is_displayed(), 5)
        self.assertEqual(self.choice()[1:], before[1:])
        self.assertEqual(self.el("kv-ex-n2").get_attribute("aria-disabled"), "false")

    # -- saving ----------------------------------------------------------------------------------

    def test_saved_files_are_the_exports(self):
        self.open(*DESKTOP)
        self.run_and_wait()
        self.el("kv-explore").click()
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        for _ in range(10):
            self.key(self.el("kv-ex-height"), Keys.ARROW_DOWN)
        self.el("kv-ex-n7").click()  # 200 arrows
        self.b.wait(lambda: self.choice()[:2] == [100, 7], 5)
        base = "kvelmor-0.6-350-step-100-paths-200"
        folder = self.downloads()
        self.el("kv-ex-save-csv").click()
        self.el("kv-ex-save-svg").click()
        for suffix in (".csv", ".svg"):
            self.assertEqual(self.saved(folder, base + suffix), exported((100, 200, 1, "cs"), suffix), suffix)
        ink = {}
        for scale in (1, 2):
            folder = self.downloads()
            Select(self.el("kv-ex-scale")).select_by_value(str(scale))
            self.el("kv-ex-save-png").click()
            self.saved(folder, base + ".png")
            width, height, page = read_png(os.path.join(folder, base + ".png"))
            png = os.path.join(tempfile.mkdtemp(), "export.png")
            with open(png, "wb") as f:
                f.write(exported((100, 200, scale, "cs"), ".png"))
            ewidth, eheight, desktop = read_png(png)
            self.assertEqual((width, height), (ewidth, eheight))
            self.assertEqual((width, height), (640 * scale, 680 * scale))
            boxes = [[round(v * scale) for v in (t["left"], t["top"], t["left"] + t["width"], t["top"] + t["height"])]
                     for t in self.js("return KvelmorPage.savedChainTexts()")]
            self.assertEqual(len(boxes), 2)
            differ, ink[scale] = 0, []
            for y in range(height):
                row = slice(y * width * 4, (y + 1) * width * 4)
                if page[row] == desktop[row]:
                    continue
                for x in range(width):
                    if page[(y * width + x) * 4:(y * width + x) * 4 + 4] != desktop[(y * width + x) * 4:(y * width + x) * 4 + 4]:
                        differ += not any(b[0] <= x < b[2] and b[1] <= y < b[3] for b in boxes)
            self.assertEqual(differ, 0, "pixels differ outside the texts at x%d" % scale)
            # The texts drawn by the browser, as large as the export's at each scale.
            for left, top, right, bottom in boxes:
                rows = lambda rgba: sum(1 for y in range(top, bottom) if any(
                    max(rgba[(y * width + x) * 4:(y * width + x) * 4 + 3]) < 100 for x in range(left, right)))
                ink[scale].append((rows(page), rows(desktop)))
        for (one, desktop_one), (two, desktop_two) in zip(ink[1], ink[2]):
            self.assertGreater(one, 5, ink)
            self.assertLessEqual(abs(one - desktop_one), 2, ink)
            self.assertLessEqual(abs(two - desktop_two), 2, ink)

    def test_english_texts_and_files_with_the_bars_switch(self):
        self.open(*DESKTOP)
        self.run_and_wait()
        self.el("kv-explore").click()
        self.b.wait(lambda: self.shown() and self.choice()[0] == 110, 5)
        self.el("kv-language").click()
        self.b.wait(lambda: self.el("kv-ex-title").text == "Explore", 5)
        self.assertEqual([self.el(i).text for i in ("kv-ex-r-height-name", "kv-ex-sweep-paths", "kv-ex-save-png")],
                         ["Detector height:", "Add arrows", "PNG picture"])
        self.assertEqual(self.readout("kv-ex-r-height"), "y = 4,250 twips, step 110 of 220")
        self.assertEqual(self.el("kv-ex-height").accessible_name, "Detector height")
        self.assertEqual(self.el("kv-ex-close").accessible_name, "Close Explore")
        self.assertEqual(self.el("kv-explore").text, "Explore")
        for _ in range(73):
            self.key(self.el("kv-ex-height"), Keys.ARROW_DOWN)
        self.el("kv-ex-n11").click()
        self.b.wait(lambda: self.choice()[:2] == [37, 11], 5)
        self.b.wait(lambda: self.js("return document.getElementById('kv-spoken').textContent")
                    .startswith("Step 37, N = ∞: squared length of the sum"), 5)
        folder = self.downloads()
        self.el("kv-ex-save-svg").click()
        name = "kvelmor-0.6-350-step-37-paths-inf.svg"
        self.assertEqual(self.saved(folder, name), exported((37, 0, 1, "en"), ".svg"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
