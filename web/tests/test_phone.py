"""The browser edition on phones and tablets, in headless Chromium with emulated screens, touch
and pen: the window's share of a phone's screen, the large chooser where the window's targets are
too small for a finger, panning, the bar and the screen reader during a run, captions that keep
all their ink, and a copy of the page cut short anywhere.

    KVELMOR_PAGE=build-web/kvelmor.html python3 web/tests/test_phone.py
"""
import base64
import os
import signal
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser, limit_time, read_png  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.environ.get("KVELMOR_PAGE", os.path.join(ROOT, "build-web", "kvelmor.html"))
TEST_LIMIT = 120  # s; a test that hangs fails by name after it

PHONE = (640, 360, 3)  # a phone held sideways: CSS pixels and its pixel ratio
UPRIGHT = (360, 640, 3)
TABLET = (1024, 768, 2)
BAD_ADDRESS = "kmitocet=ultra&vzdalenost=12"  # a note under (or beside) the window

browser = None


def setUpModule():
    global browser
    browser = Browser(PAGE)


def tearDownModule():
    errors = browser.console_errors()
    browser.close()
    assert not errors, errors


class PhoneTest(unittest.TestCase):
    def setUp(self):
        limit_time(self, TEST_LIMIT)
        self.b = browser

    def tearDown(self):
        signal.alarm(0)
        self.b.cdp("Emulation.setPageScaleFactor", pageScaleFactor=1)

    def open(self, width, height, ratio, touch=True, query=""):
        self.b.emulate(width, height, ratio, touch)
        self.b.driver.get("file://" + self.b.page + ("?" + query if query else ""))
        self.b.wait(lambda: self.b.js("return !!(window.KvelmorPage && KvelmorPage.ready)"), 10)

    def js(self, script, *args):
        return self.b.js(script, *args)

    def centre(self, selector):
        x, y, w, h = self.b.page_rect(selector)
        return x + w / 2, y + h / 2

    def tap(self, selector, dx=0, dy=0, pen=False):
        x, y = self.centre(selector)
        self.b.tap(x + dx, y + dy, pen=pen)

    def pen(self, kind, x, y):
        self.b.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1,
                   pointerType="pen")

    def box(self, name):
        return self.b.box(name)

    def chooser(self):
        return self.js("return KvelmorPage.chooserShown()")

    def window_share(self):
        """The window's rectangle and its share of the screen."""
        w = self.b.page_rect("#kvelmor")
        return w, w[2] * w[3] / (self.js("return innerWidth") * self.js("return innerHeight"))

    def slow_run(self, value):
        """Starts a run at scroll value `value` (about a second per 3000)."""
        self.js("KvelmorPage.setScrollValue('HScroll1', arguments[0]);"
                " Module.ccall('kv_scrollChanged', null, ['number'], [arguments[0]]);"
                " document.getElementById('cmdStart').click();", value)
        self.assertTrue(self.b.running())

    # -- the window's share of a phone's screen ------------------------------------------------

    def test_a_phone_held_sideways_gives_the_window_its_height(self):
        for (width, height, ratio), query, arranged in ((PHONE, "", "beside"), (PHONE, BAD_ADDRESS, "beside"),
                                                        (UPRIGHT, "", "below"), (UPRIGHT, BAD_ADDRESS, "below")):
            with self.subTest(screen=(width, height), note=bool(query)):
                self.open(width, height, ratio, query=query)
                self.b.wait(lambda: self.js("return KvelmorPage.arrangement()") == arranged, 5)
                w, share = self.window_share()
                if arranged == "beside":  # the whole height, three quarters of the screen
                    self.assertAlmostEqual(w[3], height, delta=0.5)
                    self.assertGreater(share, 0.7)
                else:                     # the whole width
                    self.assertAlmostEqual(w[2], width, delta=0.5)
                    self.assertGreater(share, 0.4)
                if not query:
                    continue
                # The note: two lines at most, and shown whole by a tap, still leaving the window
                # at least a third of the screen.
                lines = "var t = document.getElementById('kv-note'), s = getComputedStyle(t);" \
                        " return (t.getBoundingClientRect().height - parseFloat(s.paddingTop) -" \
                        " parseFloat(s.paddingBottom)) / parseFloat(s.lineHeight);"
                self.assertTrue(self.b.driver.find_element("id", "kv-note").is_displayed())
                self.assertLessEqual(self.js(lines), 2.05)
                self.tap("#kv-note")
                self.b.wait(lambda: self.js(lines) > 2.5, 5)
                self.b.wait(lambda: self.window_share()[1] > 1 / 3, 5)
                self.assertIn("„kmitocet=ultra“", self.js("return document.getElementById('kv-note').textContent"))

    # -- the large chooser ---------------------------------------------------------------------

    def test_a_tap_on_small_options_opens_a_chooser_and_not_on_a_tablet(self):
        for device, zoom, opens in ((PHONE + (True,), 1, True), (UPRIGHT + (True,), 1, True),
                                    (TABLET + (True,), 1, False), ((768, 1024, 2, True), 1, False),
                                    ((640, 360, 1, False), 1, False),  # the mouse: direct clicks
                                    (PHONE + (True,), 2, False)):      # pinched to twice: direct
            with self.subTest(device=device, zoom=zoom):
                self.open(*device)
                if zoom != 1:
                    self.b.cdp("Emulation.setPageScaleFactor", pageScaleFactor=zoom)
                    self.b.wait(lambda: not self.js("return document.getElementById('kvelmor')"
                                                    ".classList.contains('kv-small-targets')"), 5)
                x, y = self.centre('[data-name="op1"]')
                if device[3]:  # (a finger's place is in the page's CSS pixels, zoomed or not)
                    self.b.tap(x, y)
                else:
                    self.b.cdp("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", clickCount=1)
                    self.b.cdp("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", clickCount=1)
                if not opens:
                    self.b.wait(lambda: self.box("nFi") == "1", 5)
                    self.assertIsNone(self.chooser())
                    continue
                self.b.wait(lambda: self.chooser() == "Kmitočet fotonu", 5)
                rows = self.js("""return Array.from(document.querySelectorAll('.kv-chooser-row')).map(function (r) {
                    return [r.dataset.name, r.textContent, r.getAttribute('aria-checked'),
                            r.getBoundingClientRect().height >= 36, document.activeElement === r]; });""")
                self.assertEqual(rows, [["op5", "vysoký", "false", True, False], ["op1", "vyšší", "false", True, False],
                                        ["op06", "střední", "true", True, True], ["op02", "nižší", "false", True, False],
                                        ["op003", "nízký", "false", True, False]])
                self.assertEqual(self.box("nFi"), "0.6")  # the tap itself chose nothing
                self.tap('.kv-chooser-row[data-name="op1"]')
                self.b.wait(lambda: self.chooser() is None, 5)
                self.assertEqual((self.box("nFi"), self.js("return document.getElementById('op1').checked"),
                                  self.js("return document.activeElement.id")), ("1", True, "op1"))
                # The other group, by a tap on its caption; closed by a tap beside it, nothing chosen.
                self.tap('#frmVzdalenost .kv-frame-caption')
                self.b.wait(lambda: self.chooser() == "Detektor-Clona", 5)
                self.b.tap(4, 4)
                self.b.wait(lambda: self.chooser() is None, 5)
                self.assertEqual(self.box("nRozteč"), "350")

    def test_a_tap_on_the_small_scroll_bar_opens_a_large_slider(self):
        self.open(*PHONE)
        self.js("""window.kvWrites = 0; var write = KvelmorPage.setBoxText;
                   KvelmorPage.setBoxText = function (n) { if (n === 'nSpomaleni') window.kvWrites++;
                                                           return write.apply(this, arguments); };""")
        self.tap(".kv-scrollbar")
        self.b.wait(lambda: self.chooser() == "Zpomalení", 5)
        self.assertEqual(self.js("return window.kvWrites"), 0)
        for button, count in (("#kv-step-more", "31"), ("#kv-step-more", "61"), ("#kv-step-less", "31")):
            self.tap(button)
            self.b.wait(lambda: self.box("nSpomaleni") == count, 5)
        # A finger drags the slider to its middle: the value follows, and is written on release.
        x, y, w, h = self.b.page_rect(".kv-chooser-range")
        self.b.touch("touchStart", x + 8, y + h / 2)
        for k in range(1, 11):
            self.b.touch("touchMove", x + 8 + (w / 2 - 8) * k / 10, y + h / 2)
        writes = self.js("return window.kvWrites")
        self.b.touch("touchEnd")
        self.b.wait(lambda: self.js("return window.kvWrites") == writes + 2, 5)  # the value, the count
        value = int(self.el_value())
        self.assertTrue(abs(value - 16383) < 2000, value)
        self.assertEqual(self.box("nSpomaleni"), str(30 * value + 1))
        self.js("document.activeElement.dispatchEvent(new KeyboardEvent('keydown',"
                " {key: 'Escape', bubbles: true, cancelable: true}))")
        self.b.wait(lambda: self.chooser() is None, 5)
        self.assertEqual(self.js("return document.activeElement.id"), "HScroll1")
        # During a run, no chooser opens, and nothing is chosen.
        self.slow_run(3000)
        self.tap('[data-name="op1"]')
        self.tap(".kv-scrollbar")
        time.sleep(0.3)  # a chooser would open now
        self.assertEqual((self.chooser(), self.box("nFi"), self.b.running()), (None, "0.6", True))
        self.b.wait_for_run()

    def el_value(self):
        return self.js("return document.getElementById('HScroll1').getAttribute('aria-valuenow')")

    # -- touch reach, and a press that slides away --------------------------------------------

    def test_what_a_finger_or_a_pen_beside_a_control_presses(self):
        self.open(*TABLET)
        x, y, w, h = self.b.page_rect('[data-name="opV400"]')
        # Within reach (16 px) a control is pressed, beyond it nothing.
        for dy, pressed in ((12, "opV400"), (15, "opV400"), (17.5, None), (24, None)):
            self.assertEqual(self.js("return KvelmorPage.touchTargetAt(arguments[0], arguments[1])",
                                     x + w / 2, y + h + dy), pressed, dy)
        mx, my, mw, mh = self.b.page_rect(".kv-scroll-more")
        for press, done in (((x + w / 2, y + h + 12), "KvelmorPage.boxText('nRozteč') === '400'"),
                            ((mx + mw + 12, my + mh / 2), "KvelmorPage.boxText('nSpomaleni') === '31'")):
            self.b.tap(*press, pen=True)
            self.b.wait(lambda: self.js("return " + done), 5)
        # A pen or a finger that lands beside "300" and slides away presses nothing when lifted;
        # one that slides away and back presses it.
        x, y, w, h = self.b.page_rect('[data-name="opV300"]')
        start = (x - 6, y + h / 2)
        for way, pen, pressed in ((((0, 150),), False, "400"), (((0, 150),), True, "400"),
                                  (((0, 150), (0, 0)), True, "300")):
            with self.subTest(way=way, pen=pen):
                if pen:
                    self.pen("mousePressed", *start)
                    at = start
                    for dx, dy in way:
                        to = (start[0] + dx, start[1] + dy)
                        for k in range(1, 6):
                            self.pen("mouseMoved", at[0] + (to[0] - at[0]) * k / 5, at[1] + (to[1] - at[1]) * k / 5)
                        at = to
                    self.pen("mouseReleased", start[0] + way[-1][0], start[1] + way[-1][1])
                else:
                    self.b.touch("touchStart", *start)
                    for k in range(1, 6):
                        self.b.touch("touchMove", start[0] + way[0][0] * k / 5, start[1] + way[0][1] * k / 5)
                    self.b.touch("touchEnd")
                time.sleep(0.2)  # a press would be clicked now
                self.assertEqual(self.box("nRozteč"), pressed)

    def test_a_held_arrow_steps_no_more_after_a_run(self):
        self.open(765, 700, 1, touch=False)
        x, y = self.centre(".kv-scroll-more")
        self.js("KvelmorPage.setScrollValue('HScroll1', 3000);"
                " Module.ccall('kv_scrollChanged', null, ['number'], [3000]);")
        self.b.cdp("Input.dispatchMouseEvent", type="mousePressed", x=x, y=y, button="left", clickCount=1)
        try:
            self.b.wait(lambda: self.el_value() == "3001", 5)
            self.js("document.getElementById('cmdStart').click()")  # as by another hand
            self.assertTrue(self.b.running())
            self.b.wait_for_run()
            held = self.el_value()
            time.sleep(0.6)  # the arrow's repeats, every 50 ms, would go on now
            self.assertEqual((self.el_value(), self.box("nSpomaleni")), (held, str(30 * int(held) + 1)))
        finally:
            self.b.cdp("Input.dispatchMouseEvent", type="mouseReleased", x=x, y=y, button="left", clickCount=1)


    # -- the bar and the screen reader during a run --------------------------------------------

    def test_the_bar_reads_as_disabled_during_a_run_and_the_end_is_announced(self):
        # The bar's message during a run takes no room of the window below it or beside it.
        window = "return document.getElementById('kvelmor').getBoundingClientRect().width"
        for screen in (TABLET, (765, 660, 1), PHONE):
            self.open(*screen)
            before = self.js(window)
            self.slow_run(3000)
            # Read once the page has had two frames to fit itself anew, the run still going.
            during = self.b.driver.execute_async_script(
                "var done = arguments[0]; requestAnimationFrame(function () { requestAnimationFrame("
                "function () { done([document.getElementById('kvelmor').getBoundingClientRect().width,"
                " KvelmorPage.isRunning()]); }); });")
            self.assertEqual(during, [before, True], screen)
            self.b.wait_for_run()
        self.open(*PHONE, query="kmitocet=nizsi")
        running = "Pokus běží; stránka bude znovu reagovat, až doběhne."
        state = """return Array.from(document.querySelectorAll('#kv-bar button[id], #kv-bar select')).map(function (e) {
            return [e.id, e.getAttribute('aria-disabled'), e.getAttribute('aria-description') || '',
                    getComputedStyle(e).color]; }).concat([document.querySelector('.kv-status').textContent]);"""
        spoken = "return document.getElementById('kv-spoken').textContent"
        self.assertEqual(self.js("var s = document.getElementById('kv-spoken');"
                                 " return [s.getAttribute('role'), s.getAttribute('aria-live'), s.textContent];"),
                         ["status", "polite", ""])
        self.slow_run(3000)
        during = self.js(state)
        self.assertEqual(len(during), 9)
        self.assertEqual([d[1:] for d in during[:8]], [["true", running, "rgb(104, 104, 104)"]] * 8)
        self.assertEqual((during[8], self.js(spoken)), (running, ""))
        self.b.wait_for_run()
        after = self.js(state)
        self.assertEqual(after[8], "")
        self.assertEqual([(a[0], a[1]) for a in after[:8]],
                         [(i, "false") for i in ("kv-full-screen", "kv-save-picture", "kv-picture-scale",
                                                 "kv-save-data", "kv-save-plot", "kv-explore", "kv-link",
                                                 "kv-language")])
        self.assertEqual(after[3][2], "Uloží čísla posledního pokusu jako kvelmor-0.2-350.csv.")
        said = self.js(spoken)
        self.assertTrue(said.startswith("Pokus doběhl: kmitočet fotonu nižší, vzdálenost detektoru od clony 350. "
                                        "Hlavní maximum, nejdelší sloupec, leží na přímce detektoru ve výšce 3500 "
                                        "twipů; první minimum nad ním je ve výšce 1775 twipů a pod ním ve výšce "
                                        "5225 twipů."), said)
        # The same run again is said again, in a new paragraph; in English, in English.
        self.js("document.querySelector('#kv-spoken p').id = 'kv-said-before'")
        self.tap("#kv-language")
        self.b.wait(lambda: self.js("return document.documentElement.lang") == "en", 5)
        self.tap("#cmdStart")
        self.b.wait(lambda: not self.js("return !!document.getElementById('kv-said-before')"), 10)
        self.assertIn("photon frequency low, detector 350 behind the slit. The central maximum, the longest bar, "
                      "lies on the detector line at a height of 3500 twips", self.js(spoken))

    # -- captions ------------------------------------------------------------------------------

    def test_no_caption_reveals_ink_with_overflow_made_visible(self):
        # The window as shown, and again with nothing inside it clipped to its control: the same
        # pixels (to within the last bits of the text's smoothing), in both languages, at pixel
        # ratios 1 and 2 and on a phone, after a run that shows the scene labels too.
        for (width, height, ratio), query in (((765, 620, 1), ""), ((765, 620, 1), "lang=en"), ((765, 620, 2), ""),
                                              ((765, 620, 2), "lang=en"), (PHONE, ""), (PHONE, "lang=en")):
            with self.subTest(screen=(width, height, ratio), lang=query):
                self.open(width, height, ratio, touch=False, query=query)
                self.js("document.getElementById('cmdStart').click()")
                self.b.wait_for_run()
                x, y, w, h = self.b.page_rect("#kvelmor")
                clip = {"x": x, "y": y, "width": w, "height": h, "scale": 1}
                shot = lambda: self.b.cdp("Page.captureScreenshot", format="png", clip=clip)["data"]
                clipped = shot()
                self.js("var s = document.createElement('style'); s.id = 'kv-unclipped';"
                        " s.textContent = '#kvelmor * { overflow: visible !important; }'; document.head.appendChild(s);")
                unclipped = shot()
                if unclipped != clipped:
                    images = []
                    for data in (clipped, unclipped):
                        path = os.path.join(tempfile.mkdtemp(prefix="kvelmor-ink-"), "shot.png")
                        with open(path, "wb") as f:
                            f.write(base64.b64decode(data))
                        images.append(read_png(path))
                    (iw, _, a), (_, _, b) = images
                    revealed = [(i // 4 % iw, i // 4 // iw) for i in range(0, len(a), 4)
                                if max(abs(a[i + k] - b[i + k]) for k in range(3)) > 8]
                    self.assertEqual(revealed, [], "device pixels revealed")

    # -- memory short for a sharp picture -----------------------------------------------------

    def test_a_picture_memory_is_short_for_is_made_less_sharp_not_lost(self):
        self.open(1366, 768, 1, touch=False)
        self.js("document.getElementById('cmdStart').click()")
        self.b.wait(lambda: not self.b.running(), 60)
        made = "return document.querySelector('canvas').width / 765;"  # the picture's ratio
        points = ((500, 480), (200, 300))  # an axis, the beam

        def colours():
            r = self.js(made)
            return [self.b.canvas_pixels([int((x + .5) * r), int((y + .5) * r), 1, 1])[2] for x, y in points]
        before = colours()
        # Nearly all the memory the program may grow to taken, in blocks of 8 MB and up: the
        # picture of a ratio of 8 (about 150 MB) cannot be had, one of a quarter of it can.
        self.js("""window.kvTaken = [];
            for (var size = 256 << 20; size >= 8 << 20; size >>= 1)
              for (var p; (p = Module._malloc(size)); ) kvTaken.push(p);""")
        try:
            self.b.emulate(1366, 760, 8)  # a new size: the page is fitted anew
            self.b.wait(lambda: self.js("return KvelmorPage.pictureRatio()") > 7, 10)
            self.b.wait(lambda: 1 < self.js(made) < self.js("return KvelmorPage.pictureRatio()") - 1, 10)
            self.assertFalse(self.js("var n = document.getElementById('kv-damaged'); return !!(n && n.offsetParent);"))
            self.assertEqual(colours(), before)
        finally:
            self.js("kvTaken.forEach(function (p) { Module._free(p); }); kvTaken = [];")
        # With the memory back, the next fitting draws at the size shown again.
        self.b.emulate(1366, 750, 7.5)
        self.b.wait(lambda: abs(self.js(made) - self.js("return KvelmorPage.pictureRatio()")) < 0.01, 10)
        self.assertEqual(colours(), before)
        self.b.emulate(1366, 768, 1)

    # -- a copy cut short ----------------------------------------------------------------------

    def test_a_copy_cut_short_anywhere_says_it_is_damaged(self):
        with open(PAGE, "rb") as f:
            page = f.read()
        path = os.path.join(tempfile.mkdtemp(prefix="kvelmor-cut-"), "kvelmor.html")
        self.b.emulate(*PHONE, touch=True)
        cuts = (250, 3000, 6600, 6700, 12000, len(page) // 4, len(page) // 2, 3 * len(page) // 4,
                len(page) - 300, len(page) - 100)
        for cut in cuts:
            with self.subTest(cut=cut):
                with open(path, "wb") as f:
                    f.write(page[:cut])
                self.b.driver.get("file://" + path)
                note = lambda: self.js("var n = document.getElementById('kv-damaged');"
                                       " return n && n.offsetParent ? n.innerText : '';")
                self.b.wait(lambda: "neúplný nebo poškozený" in note(), 10)
                if cut > 1000:  # the whole note, dark on white, and nothing else shown
                    self.assertIn("incomplete or damaged", note())
                    self.assertEqual(self.js("var s = getComputedStyle(document.getElementById('kv-damaged'));"
                                             " return [s.color, s.backgroundColor];"),
                                     ["rgb(0, 0, 0)", "rgb(255, 255, 255)"])
                    self.assertFalse(self.js("var a = document.getElementById('kv-area'); return !!(a && a.offsetParent);"))
        self.b.console_errors()  # what the cut copies logged is theirs


if __name__ == "__main__":
    unittest.main(verbosity=2)
