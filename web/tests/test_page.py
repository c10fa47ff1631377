"""The browser edition in headless Chromium, loaded from file://: what a user sees and can do,
checked on the page's own elements and canvas pixels, and its runs against the desktop program's
picture (kvelmor-export --scale 1). One browser serves every test; phones, tablets and projectors
are emulated in it (their screens, pixel ratios and touch input).

    KVELMOR_PAGE=build-web/kvelmor.html KVELMOR_EXPORT=build/export/kvelmor-export \\
        python3 web/tests/test_page.py
"""
import base64
import math
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.select import Select

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser, limit_time, read_png  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.environ.get("KVELMOR_PAGE", os.path.join(ROOT, "build-web", "kvelmor.html"))
EXPORT = os.environ.get("KVELMOR_EXPORT", os.path.join(ROOT, "build", "export", "kvelmor-export"))

# Longer than any test takes on a loaded machine; a test that hangs fails by name after it.
TEST_LIMIT = 90

GREY = (0xC0, 0xC0, 0xC0)
WINDOW = (765, 560)  # the window's size in logical pixels
SCREEN = None  # a screen that shows the window at its own size above the page's bar

# One notch of the mouse wheel, turned towards the user, over the scroll bar.
WHEEL_DOWN = ("document.getElementById('HScroll1').dispatchEvent(new WheelEvent('wheel',"
              " {deltaY: 100, bubbles: true, cancelable: true}));")

# Whether a key pressed on the focused element (or the page) is kept from it.
KEY_DROPPED = ("var e = new KeyboardEvent('keydown', {key: arguments[0], ctrlKey: arguments[1],"
               " altKey: arguments[2], metaKey: arguments[3], bubbles: true, cancelable: true});"
               " (document.activeElement || document.body).dispatchEvent(e);"
               " return e.defaultPrevented;")

# Counts the page's writes to the settings box `arguments[0]` from now on, in window.kvWrites.
COUNT_WRITES = """
var write = KvelmorPage.setBoxText, box = arguments[0];
window.kvWrites = 0;
KvelmorPage.setBoxText = function (name) {
  if (name === box) window.kvWrites++;
  return write.apply(this, arguments);
};"""

# Counts the files the page hands to the browser to save from now on, in window.kvFiles.
COUNT_FILES = """
var make = URL.createObjectURL;
window.kvFiles = 0;
URL.createObjectURL = function () { window.kvFiles++; return make.apply(URL, arguments); };"""

# The scene labels' boxes, [left, top, width, height] in logical pixels, where the window shows them.
LABEL_BOXES = ("return ['labClona', 'labDetektorB', 'labPravděpodobnost', 'labZdroj'].map(function (n) {"
               " var b = KvelmorPage.labelBox(n); return [b.left, b.top, b.width, b.height]; })")

browser = None
exports = {}  # (frequency, distance, scale) -> the export's process, then the folder of its files
EXPORT_NAMES = {"0.6": "stredni", "1": "vyssi", "0.03": "nizky"}


# Starts a run and, each time the browser has control while it lasts (between the run's steps)
# and once after it, notes the probability axis's dots on the canvas (as steps_drawn counts them)
# and the picture's ratio; answers with those and the run's milliseconds.
CANVAS_DURING_A_RUN = """
var done = arguments[arguments.length - 1];
var canvas = document.querySelector('canvas');
function dots() {
  var ratio = KvelmorPage.pictureRatio(), height = Math.floor(560 * ratio);
  var d = canvas.getContext('2d').getImageData(Math.floor(499.5 * ratio), 0, 1, height).data;
  var n = 0;
  for (var y = 0; y < height; y++) if (!d[4 * y] && !d[4 * y + 1] && !d[4 * y + 2] && d[4 * y + 3]) n++;
  return [n, ratio];
}
var seen = [], start = performance.now();
function look() {
  seen.push(dots());
  if (KvelmorPage.isRunning()) setTimeout(look, 0);
  else done([seen, KvelmorPage.lastRunEndedAt - start]);
}
document.getElementById('cmdStart').click();
look();
"""


def setUpModule():
    global browser, SCREEN
    # The desktop's files the tests compare with, made while the browser starts; under a Czech
    # locale, whose plot texts the page writes.
    for key in (("0.6", "350", 1), ("1", "400", 1), ("0.03", "300", 1), ("0.6", "350", 2), ("1", "400", 2),
                ("1", "400", 1, "en")):
        out = tempfile.mkdtemp(prefix="kvelmor-export-")
        process = subprocess.Popen([EXPORT, "--frequency", EXPORT_NAMES[key[0]], "--distance", key[1],
                                    "--out", out, "--scale", str(key[2])] + (["--lang", key[3]] if key[3:] else []),
                                   env=dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="cs_CZ.UTF-8"))
        exports[key] = (process, out)
    browser = Browser(PAGE)
    browser.emulate(WINDOW[0], WINDOW[1] + 100)
    browser.load()
    SCREEN = (WINDOW[0], WINDOW[1] + round(browser.js("return document.getElementById('kv-bar').offsetHeight")))


def tearDownModule():
    errors = browser.console_errors()
    browser.close()
    assert not errors, errors


def table_texts():
    """The keys of the table of texts (layout/texts.cpp) whose texts are one literal each: key ->
    (Czech, English)."""
    with open(os.path.join(ROOT, "layout", "texts.cpp"), encoding="utf-8") as f:
        texts = {k: (cs, en) for k, cs, en in re.findall(r'\{T::(\w+),\s*"([^"]*)",\s*"([^"]*)"\},', f.read())}
    texts["None"] = ("", "")
    return texts


def layout_rows():
    """The rows of the layout table the page is built from (layout/controls.cpp), each caption
    in Czech from the table of texts (layout/texts.cpp), and its key there."""
    czech = {k: v[0] for k, v in table_texts().items()}
    with open(os.path.join(ROOT, "layout", "controls.cpp"), encoding="utf-8") as f:
        text = f.read()
    row = re.compile(r'\{"([^"]+)",\s*K::(\w+),\s*"([^"]*)",\s*T::(\w+),\s*(\d+),\s*(\d+),\s*(\d+),'
                     r'\s*(\d+),\s*F::(\w+),\s*(true|false),\s*(\d+)')
    rows = {}
    for m in row.finditer(text):
        name, kind, container, key, left, top, width, height, font, shown, tab = m.groups()
        rows[name] = dict(kind=kind, container=container, caption=czech[key], key=key, left=int(left),
                          top=int(top), width=int(width), height=int(height), font=font,
                          shown=shown == "true", tab=int(tab))
    assert len(rows) == 26, len(rows)
    return rows


def px(twips):
    return int(twips / 15 + 0.5)


def bar_ends(width, rgba, rows, left):
    """For each row of an RGBA picture `width` pixels wide, the last column right of `left` drawn
    in anything but the grey background, or None."""
    ends = []
    for y in rows:
        end = None
        for x in range(width - 1, left, -1):
            i = (y * width + x) * 4
            if rgba[i + 3] != 0 and tuple(rgba[i:i + 3]) != GREY:
                end = x
                break
        ends.append(end)
    return ends


def first_difference(page, desktop, width, height, boxes, scale):
    """Where two RGBA pictures `width` x `height` pixels first differ outside the label boxes
    ([left, top, width, height] in logical pixels, `scale` device pixels to one): (x, y), or None."""
    for y in range(height):
        cuts = sorted((l * scale, (l + w) * scale) for l, t, w, h in boxes if t * scale <= y < (t + h) * scale)
        x = 0
        for left, right in cuts + [(width, width)]:
            a, b = (y * width + x) * 4, (y * width + left) * 4
            if page[a:b] != desktop[a:b]:
                return next((x + i // 4, y) for i in range(0, b - a, 4) if page[a + i:a + i + 4] != desktop[a + i:a + i + 4])
            x = max(x, right)
    return None


def ink_height(rgba, width, box, scale):
    """How many rows of a label's box ([left, top, width, height] in logical pixels, `scale`
    device pixels to one) hold dark ink: the height of its letters."""
    left, top, w, h = (round(v * scale) for v in box)
    return sum(1 for y in range(top, top + h)
               if any(max(rgba[i:i + 3]) < 100 for i in range((y * width + left) * 4, (y * width + left + w) * 4, 4)))


def export_folder(frequency, distance, scale=1, *lang):
    """The folder of the files kvelmor-export writes of a setting at `scale` (with --lang `lang`)."""
    key = (frequency, distance, scale) + lang
    made = exports[key]
    if isinstance(made, tuple):
        process, made = made
        assert process.wait() == 0, "kvelmor-export failed"
        exports[key] = made
    return made


def exported(frequency, distance, scale=1):
    """The desktop program's picture of a run, as kvelmor-export draws it: (width, height, RGBA)."""
    key = ("png", frequency, distance, scale)
    if key not in exports:
        exports[key] = read_png(os.path.join(export_folder(frequency, distance, scale),
                                             "kvelmor-%s-%s.png" % (frequency, distance)))
    return exports[key]


class PageCase(unittest.TestCase):
    """The page loaded afresh for each test, on a screen that shows the window at its own size
    (one CSS pixel a logical pixel) above the page's bar, unless the test emulates another."""

    def setUp(self):
        limit_time(self, TEST_LIMIT)
        self.b = browser
        self.b.emulate(*SCREEN)
        self.b.load()

    def tearDown(self):
        signal.alarm(0)

    def el(self, name):
        return self.b.driver.find_element(By.ID, name)

    def active(self):
        return self.b.js("var e = document.activeElement; return e.id || e.dataset.name || '';")

    def key(self, key):
        self.b.driver.switch_to.active_element.send_keys(key)

    def run_and_wait(self):
        # A click through the driver may come back before the page has taken it: the run counts
        # as under way once the page has started one more.
        before = self.b.js("return KvelmorPage.runsStarted")
        self.el("cmdStart").click()
        self.b.wait(lambda: self.b.js("return KvelmorPage.runsStarted") > before, timeout=10)
        self.b.wait_for_run()

    def wait_for_picture(self, ratio):
        """Until the picture is made at `ratio` (the page fits itself again when its fonts have
        come, which may be after the run)."""
        self.b.wait(lambda: self.b.js("return document.querySelector('canvas').width") ==
                    math.ceil(WINDOW[0] * ratio - 1e-9), timeout=10)

    def value(self):
        return int(self.el("HScroll1").get_attribute("aria-valuenow"))

    def steps_drawn(self):
        """How far the run has got: the probability axis's dots, one more at every step, counted
        as the drawn pixels of the column just left of the axis."""
        ratio = self.b.js("return KvelmorPage.pictureRatio()")
        column = int(499.5 * ratio)
        _, height, rgba = self.b.canvas_pixels([column, 0, 1, int(560 * ratio)])
        return sum(1 for y in range(height) if rgba[4 * y:4 * y + 3] == b"\0\0\0" and rgba[4 * y + 3])

    def downloads(self):
        """A fresh folder that the browser saves into from now on."""
        folder = tempfile.mkdtemp(prefix="kvelmor-saved-")
        self.b.cdp("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder)
        return folder

    def saved(self, folder, name):
        """The file once the browser has finished saving it: it holds the name with an empty file
        while it saves into a ".crdownload" file, which then takes the name whole."""
        path = os.path.join(folder, name)
        self.b.wait(lambda: os.path.exists(path) and os.path.getsize(path) > 0 and
                    not any(f.endswith(".crdownload") for f in os.listdir(folder)), timeout=20)
        with open(path, "rb") as f:
            return f.read()

    def slow_down(self, pixels):
        """Drags the thumb `pixels` to the right: a run of some seconds."""
        thumb = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-thumb")
        ActionChains(self.b.driver).click_and_hold(thumb).move_by_offset(pixels, 0).release().perform()
        return self.value()


class WindowTest(PageCase):
    rows = layout_rows()

    # -- what the window shows at start ---------------------------------------------------------

    def test_controls_stand_where_the_layout_puts_them(self):
        for name, row in self.rows.items():
            container = self.rows.get(row["container"])
            if not row["shown"] or (container and not container["shown"]) or row["kind"] == "SettingsBox":
                continue
            x, y = px(row["left"]), px(row["top"])
            if container:
                x, y = x + px(container["left"]), y + px(container["top"])
            with self.subTest(control=name):
                self.assertEqual([round(v) for v in self.b.rect(name)],
                                 [x, y, px(row["width"]), px(row["height"])])
        # The same places read from the window's description, not from the table.
        self.assertEqual(self.b.rect("cmdStart"), [560, 0, 65, 33])
        self.assertEqual(self.b.rect("HScroll1"), [176, 32, 161, 17])
        self.assertEqual(self.b.rect("op06"), [8 + 24, 8 + 48, 73, 16])
        self.assertEqual(self.b.rect("kvelmor")[2:], [765, 560])

    def test_fonts_and_texts_are_the_windows(self):
        style = "var s = getComputedStyle(arguments[0]); return [s.fontFamily, s.fontSize, s.fontWeight];"
        self.assertEqual(self.b.js(style, self.el("cmdStart")),
                         ['"Times New Roman", "Liberation Serif", Tinos, serif', "21px", "700"])
        self.assertEqual(self.b.js(style, self.el("frmFrekvence").find_element(By.TAG_NAME, "span")),
                         ['Arial, "Liberation Sans", Arimo, sans-serif', "13px", "700"])
        self.assertEqual(self.b.js(style, self.el("LabStart"))[1:], ["21px", "700"])
        self.assertEqual(self.el("LabStart").text, "Klepněte na tlačítko Start")
        self.assertEqual(self.el("labNeurcitost").text, "Interference - Kvelmor")
        self.assertEqual(self.el("frmVzdalenost").find_element(By.TAG_NAME, "span").text,
                         "Detektor-Clona")
        self.assertEqual(self.b.driver.title, "Kvelmor - https://kvelmor.example.org")
        self.assertEqual(self.b.js("return document.documentElement.lang"), "cs")

    def test_load_step_sets_the_defaults(self):
        self.assertEqual([self.b.box(n) for n in ("nFi", "nRozteč", "nSpomaleni")], ["0.6", "350", "1"])
        self.assertEqual(self.b.js("return ['nFi', 'nRozteč', 'nSpomaleni'].map(function (n) {"
                                   " return document.getElementById(n).type; })"), ["hidden"] * 3)
        checked = self.b.js("return Array.from(document.querySelectorAll('input[type=radio]:checked'))"
                            ".map(function (e) { return e.id; })")
        self.assertEqual(checked, ["op06", "opV350", "opRychlá"])
        self.assertEqual(self.active(), "cmdStart")
        for name in ("labZdroj", "labClona", "labDetektorB", "labPravděpodobnost", "frmAnimace"):
            self.assertFalse(self.el(name).is_displayed(), name)
        self.assertEqual(self.el("HScroll1").get_attribute("aria-valuenow"), "0")
        self.assertFalse(self.el("kv-damaged").is_displayed())

    def test_controls_have_their_czech_accessible_names(self):
        self.assertEqual(self.el("HScroll1").accessible_name, "Zpomalení")
        self.assertEqual(self.el("HScroll1").get_attribute("role"), "scrollbar")
        self.assertEqual(self.el("HScroll1").get_attribute("aria-valuemax"), "32767")
        self.assertEqual(self.el("cmdStart").accessible_name, "Start")
        self.assertEqual(self.el("op02").accessible_name, "nižší")
        self.assertEqual(self.el("frmFrekvence").accessible_name, "Kmitočet fotonu")
        self.assertEqual(self.el("cmdKonec").get_attribute("aria-description"), "Ukončí program.")
        canvas = self.b.driver.find_element(By.TAG_NAME, "canvas")
        self.assertEqual(canvas.get_attribute("role"), "img")
        self.assertEqual(canvas.get_attribute("aria-label"), "Kresba pokusu")

    # -- runs ------------------------------------------------------------------------------------

    def test_runs_draw_the_desktops_bars(self):
        for option, distance, frequency in (("op06", "opV350", "0.6"), ("op1", "opV400", "1"),
                                            ("op003", "opV300", "0.03")):
            with self.subTest(frequency=frequency, distance=distance):
                self.el(option).click()
                self.el(distance).click()
                self.assertEqual(self.b.box("nFi"), frequency)
                start = time.monotonic()
                self.run_and_wait()
                self.assertLess(time.monotonic() - start, 5)
                self.wait_for_picture(1)
                width, height, page = self.b.canvas_pixels()
                ewidth, eheight, desktop = exported(frequency, distance[3:])
                self.assertEqual((ewidth, eheight), (765, 560))
                # Bench top to bottom (1500..7500 twips), every row of the pattern.
                page_ends = bar_ends(width, page, range(99, 501), 498)
                desktop_ends = bar_ends(ewidth, desktop, range(99, 501), 498)
                self.assertGreater(sum(1 for e in desktop_ends if e and e > 520), 50)
                for row, (a, b) in enumerate(zip(page_ends, desktop_ends), start=99):
                    self.assertIsNotNone(a, "row %d" % row)
                    self.assertLessEqual(abs(a - b), 1, "row %d: page %s, desktop %s" % (row, a, b))

    def test_labels_and_description_after_a_run(self):
        self.el("opV400").click()
        self.el("op02").click()
        self.run_and_wait()
        self.assertEqual(self.b.rect("labDetektorB")[:2], [px(6500), px(1000)])
        self.assertEqual(self.b.rect("labClona")[:2], [px(2300), px(1000)])
        self.assertEqual(self.b.rect("labPravděpodobnost")[:2], [px(7500), px(1000)])
        self.assertEqual(self.b.rect("labZdroj")[:2], [px(900), px(3400)])
        for name, text in (("labZdroj", "Zdroj"), ("labClona", "Clona se štěrbinou"),
                           ("labDetektorB", "Detektor"), ("labPravděpodobnost", "Pravděpodobnost")):
            self.assertTrue(self.el(name).is_displayed(), name)
            self.assertEqual(self.el(name).text.replace("\n", " "), text)
        label = self.b.driver.find_element(By.TAG_NAME, "canvas").get_attribute("aria-label")
        self.assertIn("nižší", label)
        self.assertIn("400", label)

    def test_the_fastest_run_shows_its_steps_as_it_draws_them(self):
        # A slow processor's run at count 1 hands the browser control several times: each time
        # the canvas shows the steps drawn so far, not nothing until the run's end, and the
        # browser may paint them.
        self.b.cdp("Emulation.setCPUThrottlingRate", rate=8)
        try:
            self.b.driver.set_script_timeout(60)
            seen, ms = self.b.driver.execute_async_script(CANVAS_DURING_A_RUN)
        finally:
            self.b.cdp("Emulation.setCPUThrottlingRate", rate=1)
        # In logical pixels, whatever size the picture had at each look.
        whole = self.steps_drawn() / self.b.js("return KvelmorPage.pictureRatio()")
        self.assertGreater(whole, 300)
        self.assertAlmostEqual(seen[-1][0] / seen[-1][1], whole, delta=0.05 * whole)
        # The looks between the run's first wait (perhaps before its first step) and its end.
        during = [n / ratio for n, ratio in seen[1:-1]]
        if len(during) >= 2:
            self.assertTrue(any(d > 0 for d in during), (ms, during, whole))
        for before, after in zip(during, during[1:]):  # the dots' pixels rounded at each ratio
            self.assertGreaterEqual(after, 0.95 * before, during)

    def test_a_slow_run_takes_no_input(self):
        value = self.slow_down(25)  # about 2.5 s a run
        self.assertGreater(value, 6000)
        count = self.b.box("nSpomaleni")
        self.assertEqual(count, str(30 * value + 1))
        self.el("cmdStart").click()
        self.assertTrue(self.b.running())
        steps = self.steps_drawn()
        self.el("op1").click()
        self.el("opV400").click()
        self.key(Keys.TAB)
        ActionChains(self.b.driver).send_keys(Keys.ARROW_RIGHT, Keys.END).perform()
        self.el("HScroll1").click()
        self.b.js(WHEEL_DOWN)
        self.el("cmdStart").click()
        self.el("cmdKonec").click()
        # Keys held with Ctrl, Alt or Meta are the window's too; only the browser's stay its own.
        for key, ctrl, alt, meta in (("ArrowRight", True, False, False), ("Tab", False, True, False),
                                     ("Enter", False, False, True), ("End", True, False, False)):
            self.assertTrue(self.b.js(KEY_DROPPED, key, ctrl, alt, meta), key)
        self.assertFalse(self.b.js(KEY_DROPPED, "F5", False, False, False))
        self.assertFalse(self.b.js(KEY_DROPPED, "r", True, False, False))
        # The C++ side keeps its own guard: its operations called straight do nothing.
        for call in ("Module.ccall('kv_scrollChanged', null, ['number'], [5])",
                     "Module.ccall('kv_selectOption', null, ['string'], ['op5'])",
                     "Module.ccall('kv_end', null, [], [])"):
            self.b.js(call)
        self.assertTrue(self.b.running(), "the run should last longer than the clicks")
        # The picture grows during the run: it draws another dot at every step.
        self.b.wait(lambda: self.steps_drawn() > steps, timeout=30)
        self.b.wait_for_run()
        time.sleep(0.5)  # anything queued would happen now
        self.assertFalse(self.b.running())
        self.assertFalse(self.b.js("return KvelmorPage.hasEnded()"))
        self.assertEqual([self.b.box(n) for n in ("nFi", "nRozteč", "nSpomaleni")], ["0.6", "350", count])
        self.assertTrue(self.el("op06").is_selected())
        self.assertFalse(self.el("op1").is_selected())
        self.assertEqual(self.value(), value)
        self.assertEqual(self.b.js("return KvelmorPage.runsStarted"), 1)

    def test_reloading_during_a_slow_run_ends_it(self):
        self.el("HScroll1").send_keys(Keys.END)
        self.el("cmdStart").click()
        self.assertTrue(self.b.running())
        self.b.load()  # no prompt, no hang: a fresh program with its defaults
        self.assertFalse(self.b.running())
        self.assertEqual(self.b.box("nSpomaleni"), "1")

    # -- keyboard and controls -------------------------------------------------------------------

    def test_tab_goes_round_in_the_windows_order(self):
        order = [self.active()]
        for _ in range(5):
            self.key(Keys.TAB)
            order.append(self.active())
        self.assertEqual(order, ["cmdStart", "cmdKonec", "op06", "opV350", "HScroll1", "cmdStart"])
        self.key(Keys.SHIFT + Keys.TAB)  # from the first stop round to the last
        self.assertEqual(self.active(), "HScroll1")
        self.el("op5").click()  # "vysoký" has tab index 19: after the distance group
        self.el("cmdStart").send_keys(Keys.TAB)
        order = [self.active()]
        for _ in range(3):
            self.key(Keys.TAB)
            order.append(self.active())
        self.assertEqual(order, ["cmdKonec", "opV350", "op5", "HScroll1"])
        self.key(Keys.SHIFT + Keys.TAB)
        self.assertEqual(self.active(), "op5")

    def test_arrow_keys_move_within_a_group(self):
        self.el("cmdStart").send_keys(Keys.TAB, Keys.TAB)
        self.assertEqual(self.active(), "op06")
        seen = []
        for key in (Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ARROW_UP, Keys.ARROW_RIGHT):
            self.key(key)
            seen.append((self.active(), self.b.box("nFi")))
        self.assertEqual(seen, [("op02", "0.2"), ("op003", "0.03"), ("op5", "5"), ("op003", "0.03"),
                                ("op5", "5")])
        self.assertEqual(self.b.box("nRozteč"), "350")  # the other group is untouched
        self.key(Keys.TAB)
        self.assertEqual(self.active(), "HScroll1")  # op5 (19) comes after opV350 (15)

    def test_scroll_bar_writes_its_count_after_each_change(self):
        bar = self.el("HScroll1")
        more = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-more")
        less = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-less")
        track = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-track")
        more.click()
        self.assertEqual((bar.get_attribute("aria-valuenow"), self.b.box("nSpomaleni")), ("1", "31"))
        self.key(Keys.ARROW_RIGHT)
        self.assertEqual(self.b.box("nSpomaleni"), "61")
        # The desktop's keys: Up and Page Up add a step, Down and Page Down take one away.
        self.key(Keys.ARROW_UP)
        self.key(Keys.PAGE_UP)
        self.assertEqual(self.b.box("nSpomaleni"), "121")
        self.key(Keys.ARROW_DOWN)
        self.key(Keys.PAGE_DOWN)
        self.assertEqual(self.b.box("nSpomaleni"), "61")
        ActionChains(self.b.driver).move_to_element_with_offset(track, 50, 0).click().perform()
        self.assertEqual(self.b.box("nSpomaleni"), "91")  # a track click is one step too
        less.click()
        self.assertEqual(self.b.box("nSpomaleni"), "61")
        thumb = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-thumb")
        drag = ActionChains(self.b.driver).click_and_hold(thumb).move_by_offset(40, 0)
        drag.perform()
        self.assertEqual(self.b.box("nSpomaleni"), "61")  # nothing written during the drag
        ActionChains(self.b.driver).release().perform()
        value = int(bar.get_attribute("aria-valuenow"))
        self.assertGreater(value, 10000)
        self.assertEqual(self.b.box("nSpomaleni"), str(30 * value + 1))
        # The track left of the thumb takes a step away, right of it adds one.
        ActionChains(self.b.driver).move_to_element_with_offset(track, -60, 0).click().perform()
        self.assertEqual(bar.get_attribute("aria-valuenow"), str(value - 1))
        ActionChains(self.b.driver).move_to_element_with_offset(track, 60, 0).click().perform()
        self.assertEqual(bar.get_attribute("aria-valuenow"), str(value))
        self.b.js(WHEEL_DOWN)
        self.assertEqual(bar.get_attribute("aria-valuenow"), str(value + 1))  # one large step
        self.assertEqual(self.b.box("nSpomaleni"), str(30 * (value + 1) + 1))
        # At either end the value stays in the range, whatever adds to it or takes from it.
        for ends, keys, count in ((Keys.END, (Keys.ARROW_RIGHT, Keys.PAGE_UP, Keys.ARROW_UP), "983011"),
                                  (Keys.HOME, (Keys.ARROW_LEFT, Keys.PAGE_DOWN), "1")):
            self.key(ends)
            for key in keys:
                self.key(key)
            self.assertEqual(self.b.box("nSpomaleni"), count)
        more.click()
        self.key(Keys.END)
        more.click()
        self.b.js(WHEEL_DOWN)
        self.assertEqual(bar.get_attribute("aria-valuenow"), "32767")

    def test_enter_and_space_press_the_focused_button(self):
        self.assertEqual(self.active(), "cmdStart")
        self.assertFalse(self.el("labZdroj").is_displayed())
        self.key(Keys.ENTER)  # a whole run at count 1: over in a fraction of a second
        self.b.wait(lambda: self.el("labZdroj").is_displayed(), timeout=10)
        self.b.wait_for_run()
        # A held Enter: its repeats press nothing more.
        for _ in range(3):
            self.b.cdp("Input.dispatchKeyEvent", type="keyDown", key="Enter", code="Enter",
                       windowsVirtualKeyCode=13, text="\r", autoRepeat=True)
        self.b.cdp("Input.dispatchKeyEvent", type="keyUp", key="Enter", code="Enter",
                   windowsVirtualKeyCode=13)
        self.assertFalse(self.b.running())
        self.assertEqual(self.b.js("return KvelmorPage.runsStarted"), 1)
        self.key(Keys.TAB)
        self.assertEqual(self.active(), "cmdKonec")
        self.key(Keys.SPACE)
        self.assertTrue(self.b.js("return KvelmorPage.hasEnded()"))

    def test_konec_ends_the_program_and_offers_a_restart(self):
        self.el("cmdKonec").click()
        message = self.b.driver.find_element(By.ID, "kv-ended")
        self.assertIn("Kvelmor skončil", message.text)
        self.assertIn("načtěte tuto stránku znovu", message.text)
        self.assertFalse(self.el("kvelmor").is_displayed())
        self.b.js("document.getElementById('cmdStart').click();"
                  "document.getElementById('op1').click();")
        time.sleep(0.2)
        self.assertFalse(self.b.running())
        self.assertEqual(self.b.box("nFi"), "0.6")
        self.assertEqual(self.b.canvas_pixels()[2].count(0), len(self.b.canvas_pixels()[2]))
        # The page's own keys are gone, the browser's stay: F5 and Ctrl+R still reload.
        self.b.js("document.activeElement.blur()")
        self.assertTrue(self.b.js(KEY_DROPPED, "Tab", False, False, False))
        self.assertTrue(self.b.js(KEY_DROPPED, "Enter", False, False, False))
        self.assertFalse(self.b.js(KEY_DROPPED, "F5", False, False, False))
        self.assertFalse(self.b.js(KEY_DROPPED, "r", True, False, False))
        # "Spustit znovu", for tablets and phones without F5: it takes the focus, and Enter on
        # it starts the program anew.
        restart = self.el("kv-restart")
        self.assertEqual(restart.text, "Spustit znovu")
        restart.click()
        self.b.wait(lambda: self.b.js("return !!(window.KvelmorPage && KvelmorPage.ready)"))
        self.assertFalse(self.b.js("return KvelmorPage.hasEnded()"))
        self.el("cmdKonec").click()
        self.assertEqual(self.active(), "kv-restart")
        self.key(Keys.ENTER)
        self.b.wait(lambda: self.b.js("return !!(window.KvelmorPage && KvelmorPage.ready &&"
                                      " !KvelmorPage.hasEnded())"))
        self.assertTrue(self.el("cmdStart").is_displayed())

    def test_unknown_names_fail_with_a_clear_message(self):
        script = ("try { %s; return 'no error'; }"
                  " catch (e) { return (e instanceof TypeError ? 'TypeError: ' : '') + e.message; }")
        for call, name in (("KvelmorPage.boxText('nNic')", "nNic"),
                           ("KvelmorPage.setBoxText('nRoztec', '1')", "nRoztec"),
                           ("KvelmorPage.placeLabel('labNic', 1, 1)", "labNic"),
                           ("KvelmorPage.setOptionSelected('op7', true, 1)", "op7"),
                           ("Module.ccall('kv_selectOption', null, ['string'], ['opV500'])", "opV500")):
            with self.subTest(call=call):
                message = self.b.js(script % call)
                self.assertIn('"%s"' % name, message)
                self.assertNotIn("TypeError", message)
        self.assertEqual(self.b.box("nRozteč"), "350")

    def test_loads_nothing_from_anywhere(self):
        self.assertTrue(self.b.driver.current_url.startswith("file://"))
        self.assertEqual(self.b.js("return performance.getEntriesByType('resource').length"), 0)
        with open(PAGE, encoding="utf-8") as f:
            html = f.read()
        self.assertNotRegex(html, r'(src|href)\s*=\s*["\']?(https?:)?//')
        self.assertNotIn("@import", html)


class ScreenTest(PageCase):
    """Phones, tablets and projectors: the window fitted to the screen, its picture drawn at the
    screen's pixels, and worked with a finger or a pen."""

    def fitted(self, width, height, ratio, arrangement):
        """Waits until the window is fitted to this screen (it may be a frame late for the test),
        with the bar below it or beside it as `arrangement` says, then checks it: the window the
        largest that fits the room the bar leaves, centred there on a whole device pixel, wholly
        visible, nothing scrolled, the focus on "Start", a picture of CSS size x fit x ratio
        pixels shown one to a pixel; the bar on the screen's whole width below the window or its
        whole height beside it, its buttons wholly visible, at least 24 x 24 px."""
        def fit():
            bar = self.b.page_rect("#kv-bar")
            if arrangement == "below":
                return bar, min(width / WINDOW[0], (height - bar[3]) / WINDOW[1])
            return bar, min((width - bar[2]) / WINDOW[0], height / WINDOW[1])
        canvas = "var c = document.querySelector('canvas'), r = c.getBoundingClientRect();"
        self.b.wait(lambda: self.b.js("return KvelmorPage.arrangement()") == arrangement and
                    abs(self.b.js(canvas + "return c.width;") - 765 * fit()[1] * ratio) < 1.01, 10)
        bar, s = fit()
        room = [0, 0, width, height - bar[3]] if arrangement == "below" else [0, 0, width - bar[2], height]
        self.assertEqual([round(v) for v in bar], [round(v) for v in ([0, room[3], width, bar[3]] if arrangement == "below"
                                                                      else [room[2], 0, bar[2], height])])
        self.assertGreater(min(bar[2:]), 24)
        buttons = self.b.js("""
            var w = document.getElementById('kvelmor').getBoundingClientRect(), below = arguments[0];
            return Array.from(document.querySelectorAll('#kv-bar button, #kv-bar select')).filter(
              function (e) { return e.offsetParent; }).map(function (e) {
              var b = e.getBoundingClientRect();
              return [e.id, b.width >= 24 && b.height >= 24 && b.left >= 0 && b.right <= innerWidth &&
                            b.top >= 0 && b.bottom <= innerHeight &&
                            (below ? b.top >= w.bottom - .5 : b.left >= w.right - .5)]; });""",
                           arrangement == "below")
        self.assertEqual(len(buttons), 8)
        self.assertEqual([ok for _, ok in buttons], [True] * 8, buttons)
        w, cut, scroll, focus, c = self.b.js(canvas + """
            var w = document.getElementById('kvelmor').getBoundingClientRect();
            var cut = Array.from(document.querySelectorAll('.kv-control')).filter(function (e) {
              var b = e.getBoundingClientRect();
              return e.offsetParent && (b.left < w.left - .5 || b.top < w.top - .5 ||
                                        b.right > w.right + .5 || b.bottom > w.bottom + .5); });
            var d = document.scrollingElement;
            return [[w.left, w.top, w.width, w.height], cut.length, [scrollX, scrollY,
                    d.scrollWidth - innerWidth, d.scrollHeight - innerHeight],
                    document.activeElement.id, [c.width, c.height, r.width, r.height]];""")
        self.assertEqual(self.b.js("return [innerWidth, innerHeight, devicePixelRatio]"),
                         [width, height, ratio])
        for got, want in zip(w, ((room[2] - 765 * s) / 2, (room[3] - 560 * s) / 2, 765 * s, 560 * s)):
            self.assertAlmostEqual(got, want, delta=1 / ratio)
        self.assertEqual([round(v * ratio, 1) % 1 for v in w[:2]], [0, 0])
        self.assertEqual((cut, [max(v, 0) for v in scroll], focus), (0, [0] * 4, "cmdStart"))
        self.assertLess(abs(c[1] - 560 * s * ratio), 1.01)
        self.assertAlmostEqual(c[2] * ratio, c[0], delta=0.05)
        self.assertAlmostEqual(c[3] * ratio, c[1], delta=0.05)
        return w

    def test_the_window_fits_every_screen(self):
        # Screens wider than the window's shape keep the bar beside the window, the others below.
        for (width, height, ratio, touch, arranged), (turned, turned_arranged) in (
                ((360, 640, 3, True, "below"), ((640, 360), "beside")),
                ((1024, 768, 2, True, "below"), ((768, 1024), "below")),
                ((1366, 768, 1, False, "beside"), ((1920, 1080), "beside")),
                ((*SCREEN, 1, False, "below"), ((SCREEN[0] + 200, SCREEN[1]), "beside"))):
            with self.subTest(screen=(width, height, ratio)):
                self.b.emulate(width, height, ratio, touch)
                self.b.load()
                self.fitted(width, height, ratio, arranged)
                self.b.emulate(*turned, ratio=ratio, touch=touch)  # turned or resized, no reload
                self.fitted(*turned, ratio, turned_arranged)
        # After a run, the browser zoomed to 120 % and its window narrowed: a new pixel ratio, and
        # the picture made again at its pixels from the run's record, not stretched, not lost.
        self.run_and_wait()
        points = ((500, 480), (200, 300), (50, 300))  # axis, beam, background

        def colours():
            r = self.b.js("return KvelmorPage.pictureRatio()")
            return [self.b.canvas_pixels([int((x + .5) * r), int((y + .5) * r), 1, 1])[2] for x, y in points]
        before = colours()
        self.assertEqual(before, [b"\0\0\0\xff", b"\xc0\xff\xff\xff", bytes(GREY) + b"\xff"])
        self.b.emulate(1600, 900, 1.25)
        self.fitted(1600, 900, 1.25, "beside")
        self.assertEqual(colours(), before)
        # The explorer's panel beside the window (as the bar), or below it: the window is fitted
        # whole into the room left, within a frame.
        self.el("kv-explore").click()
        for size in ((1600, 900), (700, 1000)):
            self.b.emulate(*size)
            fit = self.b.driver.execute_async_script("""
                var done = arguments[0];
                requestAnimationFrame(function () { requestAnimationFrame(function () {
                  var r = function (id) { var b = document.getElementById(id).getBoundingClientRect();
                                          return [b.left, b.top, b.right, b.bottom]; };
                  done([r('kvelmor'), r('kv-area'), r('kv-panel'), KvelmorPage.arrangement()]); }); });""")
            window, area, panel, arranged = fit
            with self.subTest(size=size, arranged=arranged):
                self.assertEqual(arranged, "beside" if size[0] > size[1] else "below")
                scale = min((area[2] - area[0]) / 765, (area[3] - area[1]) / 560)
                self.assertAlmostEqual(window[2] - window[0], 765 * scale, delta=0.5)
                self.assertTrue(window[0] >= area[0] - .5 and window[2] <= area[2] + .5 and
                                window[1] >= area[1] - .5 and window[3] <= area[3] + .5, fit)
                self.assertTrue(panel[0] >= window[2] - .5 if arranged == "beside" else panel[1] >= window[3] - .5,
                                fit)
                self.assertGreater(min(panel[2] - panel[0], panel[3] - panel[1]), 200, fit)

    def test_bars_at_fractional_ratios_join_and_match_the_desktops(self):
        ewidth, _, desktop = exported("0.6", "350")
        desktop_ends = bar_ends(ewidth, desktop, range(98, 502), 498)
        for ratio in (0.67, 1.25, 2, 3):
            with self.subTest(ratio=ratio):
                self.b.emulate(*SCREEN, ratio=ratio)
                self.b.load()
                self.run_and_wait()
                self.wait_for_picture(ratio)
                left, top = int(499 * ratio), int(99 * ratio)
                width, _, page = self.b.canvas_pixels([left, top, int(761 * ratio) - left,
                                                       int(501 * ratio) - top])
                rows = 0
                for y in range(top, int(501 * ratio) - 1):
                    # The desktop's row under this device row's middle; from a ratio of 2, where
                    # the page rounds bar ends to device pixels, or the nearer of its neighbours.
                    middle = (y + 0.5) / ratio
                    ends = [desktop_ends[int(m) - 98] or 0
                            for m in ((middle - .5, middle, middle + .5) if ratio >= 2 else (middle,))]
                    if max(ends) <= 501:  # no bar beyond the axis here
                        continue
                    drawn = bar_ends(width, page, [y - top], int(501 * ratio) - left)[0]
                    self.assertIsNotNone(drawn, "row %d: a gap" % y)
                    scaled = [math.ceil((e + 1) * ratio - 0.5) - 1 - left for e in ends if e]
                    self.assertLessEqual(min(abs(drawn - e) for e in scaled), 1, "row %d" % y)
                    rows += 1
                self.assertGreater(rows, 250 * ratio)

    def test_the_picture_shown_is_the_exports(self):
        """At ratios 1 and 2 the canvas shows what kvelmor-export writes, pixel for pixel, outside
        the scene labels' boxes: one picture code draws both."""
        for ratio in (1, 2):
            self.b.emulate(*SCREEN, ratio=ratio)
            self.b.load()
            self.assertEqual(self.b.js("return KvelmorPage.pictureRatio()"), ratio)
            for option, distance, frequency in (("op1", "opV400", "1"), ("op06", "opV350", "0.6")):
                with self.subTest(ratio=ratio, frequency=frequency, distance=distance):
                    self.el(option).click()
                    self.el(distance).click()
                    self.run_and_wait()
                    self.wait_for_picture(ratio)
                    width, height, page = self.b.canvas_pixels(over="#c0c0c0")
                    desktop = exported(frequency, distance[3:], ratio)
                    self.assertEqual((width, height), desktop[:2])
                    self.assertIsNone(first_difference(page, desktop[2], width, height,
                                                       self.b.js(LABEL_BOXES), ratio))
                    self.assertGreater(sum(1 for i in range(0, len(page), 4) if page[i] == 0), 5000 * ratio)

    def test_a_zoom_during_a_run_ends_in_the_same_picture(self):
        picture = ("var c = document.querySelector('canvas');"
                   " return [c.width, c.height, c.getContext('2d').getImageData(0, 0, c.width, c.height).data];")
        self.slow_down(10)
        self.el("cmdStart").click()
        self.b.wait(lambda: self.steps_drawn() > 40, timeout=30)
        self.assertTrue(self.b.running())
        self.b.emulate(900, 700, 1.5)  # a browser zoom and a new size at once
        self.fitted(900, 700, 1.5, "below")
        self.b.wait_for_run()
        # The bar gives up its line of "running" when the run ends: the window is fitted to the
        # room it leaves at the next frame.
        self.fitted(900, 700, 1.5, "below")
        self.b.js("window.kvZoomed = (function () { %s })();" % picture)
        self.el("HScroll1").send_keys(Keys.HOME)  # the same picture, drawn without a pause
        self.run_and_wait()
        self.fitted(900, 700, 1.5, "below")
        self.assertEqual(self.b.js("var a = (function () { %s })(), b = window.kvZoomed;"
                                   " return a[0] === b[0] && a[1] === b[1] &&"
                                   " a[2].every(function (v, i) { return v === b[2][i]; });" % picture), True)

    def test_a_finger_works_the_scroll_bar(self):
        self.b.emulate(1024, 768, 2, True)
        self.b.load()
        self.b.js(COUNT_WRITES, "nSpomaleni")
        # A drag: the value follows the finger, and the count is written once, on release.
        x, y, w, h = self.b.page_rect(".kv-scroll-thumb")
        self.b.touch("touchStart", x + w / 2, y + h / 2)
        for step in range(1, 6):
            self.b.touch("touchMove", x + w / 2 + 8 * step, y + h / 2)
        self.b.wait(lambda: self.value() > 6000, timeout=5)
        self.assertEqual(self.b.js("return window.kvWrites"), 0)
        self.b.touch("touchEnd")
        self.b.wait(lambda: self.b.js("return window.kvWrites") > 0, timeout=5)
        value = self.value()
        self.assertEqual((self.b.box("nSpomaleni"), self.b.js("return window.kvWrites")),
                         (str(30 * value + 1), 2))  # the value, then the count
        # An arrow held by a finger repeats its step, as under the mouse, until it is lifted.
        x, y, w, h = self.b.page_rect(".kv-scroll-more")
        self.b.touch("touchStart", x + w / 2, y + h / 2)
        self.b.wait(lambda: self.value() >= value + 3, timeout=10)
        self.b.touch("touchEnd")
        held = self.b.box("nSpomaleni")
        time.sleep(0.3)
        self.assertEqual(self.b.box("nSpomaleni"), held)
        # The track left of the thumb takes a step away.
        x, y, w, h = self.b.page_rect(".kv-scroll-track")
        before = self.value()
        self.b.tap(x + 4, y + h / 2)
        self.b.wait(lambda: self.value() == before - 1, timeout=5)

    def test_touch_areas_at_the_tablet_size(self):
        self.b.emulate(1024, 768, 2, True)
        self.b.load()
        # Each control: the largest square of points a CSS pixel apart where a finger presses it
        # (the control the browser finds there, or beside every control the page's choice), and
        # the room between its neighbours above and below, half of each gap being the nearer's.
        areas = self.b.js("""
            var names = ['cmdStart', 'cmdKonec', 'HScroll1', 'op5', 'op1', 'op06', 'op02', 'op003',
                         'opV300', 'opV350', 'opV400'];
            var boxes = names.map(function (n) {
              return document.querySelector('[data-name="' + n + '"]').getBoundingClientRect(); });
            function owner(x, y) {
              var hit = boxes.some(function (b) { return x > b.left - 2 && x < b.right + 2 &&
                                                         y > b.top - 2 && y < b.bottom + 2; })
                        && document.elementFromPoint(x, y);  // null off the screen
              var e = hit && hit.closest('[data-name]');
              return e && names.indexOf(e.dataset.name) >= 0 ? e.dataset.name : KvelmorPage.touchTargetAt(x, y);
            }
            return names.map(function (n, k) {
              var b = boxes[k], w = Math.ceil(b.width + 36), best = 0, col = new Array(w).fill(0);
              for (var y = 0; y < b.height + 36; y++) {
                for (var x = 0; x < w; x++) col[x] = owner(b.left - 17.5 + x, b.top - 17.5 + y) === n ? col[x] + 1 : 0;
                for (var grown = true; grown; ) {  // a square one larger ends on this row?
                  for (var run = 0, x = 0, grown = false; x < w && !grown; x++) {
                    run = col[x] > best ? run + 1 : 0;
                    grown = run > best;
                  }
                  if (grown) best++;
                }
              }
              var above = -1e3, below = 1e3;
              boxes.forEach(function (o) {
                if (o === b || o.right <= b.left || o.left >= b.right) return;
                if (o.bottom <= b.top + 2) above = Math.max(above, Math.min((o.bottom + b.top) / 2, b.top));
                if (o.top >= b.bottom - 2) below = Math.min(below, o.top < b.bottom ? o.top : (o.top + b.bottom) / 2);
              });
              return [n, best, below - above];
            });""")
        for name, square, room in areas:
            # At least 24 x 24 CSS px, or, hemmed in between two neighbours with less room, all
            # of it; within a pixel of the points' spacing and one of the browser's hit testing.
            self.assertGreaterEqual(square, min(24, math.floor(room)) - 2, (name, square, room))
        # A pen beside the controls (Chromium would move a finger's tap there by itself): below
        # "400", right of the scroll bar's arrow, and between "Start" and "Konec", nearer "Konec".
        for selector, side, done in (('[data-name="opV400"]', "below", "KvelmorPage.boxText('nRozteč') === '400'"),
                                     (".kv-scroll-more", "right", "KvelmorPage.boxText('nSpomaleni') === '31'"),
                                     ("#cmdKonec", "left", "KvelmorPage.hasEnded()")):
            x, y, w, h = self.b.page_rect(selector)
            self.b.tap(*{"below": (x + w / 2, y + h + 4), "right": (x + w + 4, y + h / 2),
                         "left": (x - 3, y + h / 2)}[side], pen=True)
            self.b.wait(lambda: self.b.js("return " + done), timeout=5)

    def test_the_window_keeps_one_finger_gestures_and_leaves_the_page_free(self):
        self.b.emulate(1024, 768, 2, True)
        self.b.load()
        self.assertEqual(self.b.js("return getComputedStyle(document.getElementById('kvelmor')).userSelect"), "none")
        self.assertTrue(self.b.js("var e = new PointerEvent('contextmenu', {pointerType: 'touch',"
                                  " bubbles: true, cancelable: true});"
                                  " document.querySelector('canvas').dispatchEvent(e); return e.defaultPrevented;"))
        # Two fingers zoom the page, and the picture is made sharp at the zoom once they rest, at
        # the size shown (beyond six device pixels to a window pixel), up to 64 megapixels.
        width = self.b.js("return document.querySelector('canvas').width")
        size = "var c = document.querySelector('canvas'); return [c.width, c.height];"
        try:
            self.b.cdp("Emulation.setPageScaleFactor", pageScaleFactor=5)
            self.b.wait(lambda: self.b.js(size)[0] > 4 * width, 10)
            w, h = self.b.js(size)
            self.assertTrue(0.99 * 64e6 < w * h <= 64e6, (w, h))
            self.b.cdp("Emulation.setPageScaleFactor", pageScaleFactor=3)
            self.b.wait(lambda: abs(self.b.js(size)[0] - 3 * width) <= 1, 10)
            # Zoomed in, one finger pans the page wherever it drags no control; on the scroll bar's
            # thumb it drags the thumb.
            shown = "return [visualViewport.offsetLeft, visualViewport.offsetTop, visualViewport.scale];"

            def drag(x, y, dx, dy):
                self.b.touch("touchStart", x, y)
                for k in range(1, 11):
                    self.b.touch("touchMove", x + dx * k / 10, y + dy * k / 10)
                self.b.touch("touchEnd")
            before = self.b.js(shown)
            x, y, w, h = self.b.page_rect(".kv-scroll-thumb")
            drag(x + w / 2, y + h / 2, 50, 0)  # (a finger's place is in the page's CSS pixels)
            self.b.wait(lambda: self.value() > 1000, 5)
            self.assertEqual(self.b.js(shown), before)
            drag(500, 500, -140, 0)  # on the drawing, beside every control
            self.b.wait(lambda: self.b.js(shown)[0] > before[0] + 20, 5)
        finally:
            self.b.cdp("Emulation.setPageScaleFactor", pageScaleFactor=1)
        # During a run the window takes no input, but touches and Ctrl+wheel (the browser's zoom)
        # are not cancelled: the page can still be panned and zoomed.
        self.el("HScroll1").send_keys(Keys.END)
        self.el("cmdStart").click()
        self.assertEqual(self.b.js("""
            var touch = new TouchEvent('touchstart', {bubbles: true, cancelable: true});
            document.querySelector('canvas').dispatchEvent(touch);
            var wheel = new WheelEvent('wheel', {deltaY: 100, ctrlKey: true, bubbles: true, cancelable: true});
            document.getElementById('HScroll1').dispatchEvent(wheel);
            return [touch.defaultPrevented, wheel.defaultPrevented];"""), [False, False])
        x, y, w, h = self.b.page_rect("#op1")
        self.b.tap(x + w / 2, y + h / 2)
        time.sleep(0.2)
        self.assertEqual((self.b.box("nFi"), self.b.running()), ("0.6", True))
        self.b.load()

    def test_printing_gives_the_window_alone_on_one_page(self):
        self.b.emulate(1920, 1080)
        self.b.load()
        self.run_and_wait()
        # Chrome's default: no backgrounds. The window keeps its own, scaled to the paper's width.
        data = base64.b64decode(self.b.cdp("Page.printToPDF", printBackground=False)["data"])
        self.assertEqual(len(re.findall(rb"/Type\s*/Page\b", data)), 1)
        paper = float(re.search(rb"/MediaBox\s*\[0 0 ([\d.]+)", data).group(1))
        drawing = b"".join(zlib.decompress(data[m.end():data.index(b"endstream", m.end())])
                           for m in re.finditer(rb"stream\r?\n", data) if data[m.end():m.end() + 1] == b"x")
        self.assertIn(b".7529 .7529 .7529 rg", drawing)  # the grey of the labels and buttons
        page_scale = float(re.search(rb"([\d.]+) 0 0 -[\d.]+ 0 [\d.]+ cm", drawing).group(1))
        picture = max(float(w) for w in re.findall(rb"([\d.]+) 0 0 -[\d.]+ [\d.]+ [\d.]+ cm", drawing))
        self.assertAlmostEqual(picture * page_scale, paper - 2 * 10 / 25.4 * 72, delta=2)  # 10 mm margins
        self.b.cdp("Emulation.setEmulatedMedia", media="print")
        shown = self.b.js("return Array.from(document.body.children).filter(function (e) {"
                          " return getComputedStyle(e).display !== 'none'; }).map(function (e) { return e.id; })")
        self.b.cdp("Emulation.setEmulatedMedia", media="")
        self.assertEqual(shown, ["kv-area"])

    def test_a_damaged_copy_says_so(self):
        with open(PAGE, "rb") as f:
            page = f.read()
        at = page.index(b"base64,") + 200000
        path = os.path.join(tempfile.mkdtemp(prefix="kvelmor-damaged-"), "kvelmor.html")
        for copy in (page[:len(page) // 2], page[:at] + bytes([page[at] ^ 1]) + page[at + 1:],
                     page.replace(b"kv_refit", b"kv_refiu", 1)):  # cut short, a byte changed
            with open(path, "wb") as f:
                f.write(copy)
            self.b.driver.get("file://" + path)
            self.b.wait(lambda: self.el("kv-damaged").is_displayed(), timeout=10)
            self.assertIn("neúplný nebo poškozený", self.el("kv-damaged").text)
            self.assertIn("incomplete or damaged", self.el("kv-damaged").text)
            self.assertFalse(self.b.js("return !!(window.KvelmorPage && KvelmorPage.ready)"))
        self.b.console_errors()  # what the damaged copies logged is theirs


class BarTest(PageCase):
    """The bar below the window: the last run's files saved as kvelmor-export writes them, full
    screen, F6, the link, and the setting that the page's address opens."""

    SAVING = ("kv-save-picture", "kv-save-data", "kv-save-plot")

    def said(self):
        return self.b.js("return document.querySelector('.kv-status').textContent")

    def test_saved_files_are_the_exports(self):
        for option, distance, frequency in (("op06", "opV350", "0.6"), ("op1", "opV400", "1")):
            with self.subTest(frequency=frequency, distance=distance):
                self.el(option).click()
                self.el(distance).click()
                self.run_and_wait()
                self.el("op5").click()  # the setting after the run is not what is saved
                base = "kvelmor-%s-%s" % (frequency, distance[3:])
                folder = self.downloads()
                self.el("kv-save-data").click()
                self.el("kv-save-plot").click()
                for suffix in (".csv", "-plot.svg"):
                    with open(os.path.join(export_folder(frequency, distance[3:]), base + suffix), "rb") as f:
                        self.assertEqual(self.saved(folder, base + suffix), f.read(), suffix)
                # The picture, outside the labels' boxes, is the export's pixel for pixel.
                boxes = self.b.js(LABEL_BOXES)
                letters = {}
                for scale in (1, 2):
                    folder = self.downloads()
                    Select(self.el("kv-picture-scale")).select_by_index(scale - 1)
                    self.el("kv-save-picture").click()
                    path = os.path.join(folder, base + ".png")
                    self.saved(folder, base + ".png")
                    width, height, page = read_png(path)
                    desktop = exported(frequency, distance[3:], scale)
                    self.assertEqual((width, height), desktop[:2])
                    self.assertEqual((width, height), (765 * scale, 560 * scale))
                    self.assertIsNone(first_difference(page, desktop[2], width, height, boxes, scale))
                    self.assertNotEqual(page, desktop[2])  # the labels are the page's own fonts'
                    letters[scale] = [(ink_height(page, width, box, scale), ink_height(desktop[2], width, box, scale))
                                      for box in boxes]
                # The labels' letters, in the browser's fonts, as tall as the export's at each
                # scale, and twice as tall at 2 as at 1.
                for (one, desktop_one), (two, desktop_two) in zip(letters[1], letters[2]):
                    self.assertGreater(one, 5, letters)
                    self.assertLessEqual(abs(one - desktop_one), 2, letters)
                    self.assertLessEqual(abs(two - desktop_two), 2, letters)
                    self.assertLessEqual(abs(two - 2 * one), 3, letters)

    def test_saving_takes_no_input_before_or_during_a_run(self):
        folder = self.downloads()
        for name in self.SAVING:
            button = self.el(name)
            self.assertEqual(button.get_attribute("aria-disabled"), "true")
            self.assertEqual(button.get_attribute("aria-description"), "Nejprve spusťte pokus tlačítkem Start.")
            button.click()
            self.assertEqual(self.said(), "Nejprve spusťte pokus tlačítkem Start.")
        self.run_and_wait()  # a run to save, then another that lasts
        self.assertEqual(self.el("kv-save-data").get_attribute("aria-description"),
                         "Uloží čísla posledního pokusu jako kvelmor-0.6-350.csv.")
        self.b.js("document.querySelector('.kv-status').textContent = ''")
        self.b.js(COUNT_FILES)
        self.slow_down(10)
        self.el("cmdStart").click()
        self.assertTrue(self.b.running())
        for name in self.SAVING + ("kv-link", "kv-full-screen", "kv-language"):
            self.el(name).click()
        self.el("kv-save-data").send_keys(Keys.ENTER)
        self.b.js("Module.ccall('kv_saveData', null, [], []); Module.ccall('kv_savePlot', null, [], []);"
                  " Module.ccall('kv_savePicture', null, ['number'], [1]);")
        self.assertTrue(self.b.running(), "the run should last longer than the clicks")
        self.b.wait_for_run()
        self.assertEqual((self.said(), self.b.js("return !!document.fullscreenElement"),
                          self.b.js("return window.kvFiles"), self.b.js("return document.documentElement.lang")),
                         ("", False, 0, "cs"))
        self.el("kv-save-data").click()
        self.saved(folder, "kvelmor-0.6-350.csv")
        self.assertEqual((os.listdir(folder), self.b.js("return window.kvFiles")), (["kvelmor-0.6-350.csv"], 1))

    def test_full_screen_and_f6(self):
        names = [self.b.driver.find_element(By.ID, i).accessible_name for i in
                 ("kv-full-screen", "kv-save-picture", "kv-picture-scale", "kv-save-data", "kv-save-plot",
                  "kv-explore", "kv-link", "kv-language")]
        self.assertEqual(names, ["Celá obrazovka", "Uložit obrázek", "Velikost obrázku", "Uložit data",
                                 "Uložit graf", "Zkoumat", "Odkaz", "English"])
        for pressed in ("true", "false"):
            self.el("kv-full-screen").click()
            self.b.wait(lambda: self.el("kv-full-screen").get_attribute("aria-pressed") == pressed, 5)
            self.assertEqual(self.b.js("return document.fullscreenElement === document.documentElement"),
                             pressed == "true")
        # F6 from the window to the bar and back, each to where the focus was last.
        self.el("cmdStart").send_keys(Keys.TAB)
        seen = []
        for key in (Keys.F6, Keys.TAB, Keys.F6, Keys.SHIFT + Keys.F6, Keys.SHIFT + Keys.F6):
            self.key(key)
            seen.append(self.active())
        self.assertEqual(seen, ["kv-full-screen", "kv-save-picture", "cmdKonec", "kv-save-picture", "cmdKonec"])
        for _ in range(5):  # and the window's own Tab cycle is as it was
            self.key(Keys.TAB)
            seen.append(self.active())
        self.assertEqual(seen[5:], ["op06", "opV350", "HScroll1", "cmdStart", "cmdKonec"])

    def test_the_bar_under_a_finger_on_a_phone(self):
        self.b.emulate(360, 640, 3, True)
        self.b.load()
        folder = self.downloads()
        x, y, w, h = self.b.page_rect("#kv-save-plot")
        self.b.tap(x + w / 2, y + h / 2)
        self.b.wait(lambda: self.said() == "Nejprve spusťte pokus tlačítkem Start.", 5)
        x, y, w, h = self.b.page_rect("#cmdStart")
        self.b.tap(x + w / 2, y + h / 2)
        self.b.wait(lambda: self.b.js("return KvelmorPage.lastRunEndedAt > 0"), 30)
        x, y, w, h = self.b.page_rect("#kv-save-plot")
        self.b.tap(x + w / 2, y + h / 2)
        self.assertTrue(self.saved(folder, "kvelmor-0.6-350-plot.svg").startswith(b"<?xml"))

    def test_the_address_opens_a_setting(self):
        url = "file://" + self.b.page + "?"

        def opened(query):
            self.b.driver.get(url + query)
            self.b.wait(lambda: self.b.js("return window.KvelmorPage && KvelmorPage.ready"))
            return self.b.js("""return [['nFi', 'nRozteč', 'nSpomaleni'].map(function (n) {
                  return document.getElementById(n).value; }),
                Array.from(document.querySelectorAll('input[type=radio]:checked')).map(function (e) { return e.id; }),
                document.getElementById('HScroll1').getAttribute('aria-valuenow'),
                document.querySelector('.kv-note').hidden ? '' : document.getElementById('kv-note').textContent,
                document.documentElement.lang];""")
        # Every name kvelmor-export takes: the ASCII words, the captions in Czech and English.
        frequencies = (("nizky", "op003", "0.03"), ("NI%C5%BD%C5%A0%C3%8D", "op02", "0.2"), ("Stredni", "op06", "0.6"),
                       ("high&kmitocet=vy%C5%A1%C5%A1%C3%AD", "op1", "1"), ("vysokY", "op5", "5"))
        for k, (word, option, text) in enumerate(frequencies):
            for distance in ("300", "350", "400"):
                scroll = 2184 * k + int(distance) // 50  # 6 to 8742 and on to 32767
                if (k, distance) == (4, "400"):
                    scroll = 32767
                with self.subTest(word=word, distance=distance):
                    self.assertEqual(opened("kmitocet=%s&vzdalenost=%s&zpomaleni=%d" % (word, distance, scroll)),
                                     [[text, distance, str(30 * scroll + 1)], [option, "opV" + distance, "opRychlá"],
                                      str(scroll), "", "cs"])
        defaults = [["0.6", "350", "1"], ["op06", "opV350", "opRychlá"], "0"]
        for query, named in (("kmitocet=ultra", ["„kmitocet=ultra“"]), ("vzdalenost=301", ["„vzdalenost=301“"]),
                             ("zpomaleni=-1&zpomaleni=", ["„zpomaleni=-1“", "„zpomaleni=“"]),
                             ("zpomaleni=99999", ["„zpomaleni=99999“"]),
                             ("kmitocet=nizky&kmitocet=vysoky", ["„kmitocet=nizky“, „kmitocet=vysoky“"]),
                             ("kmitocet=n%C3%ADzk%C3%BDch", ["„kmitocet=nízkých“"]), ("kmitocet=vysôký", ["„kmitocet=vysôký“"]),
                             ("jazyk=cs&kmitocet=%zz", ["„jazyk=cs“", "„kmitocet=%zz“"]),
                             ("lang=fr", ["„lang=fr“"]), ("lang=en&lang=cs", ["„lang=en“, „lang=cs“"]),
                             ("lang=eng&lang", ["„lang=eng“, „lang“"])):
            with self.subTest(query=query):
                got = opened(query)
                self.assertEqual(got[:3] + got[4:], defaults + ["cs"])
                self.assertTrue(self.el("cmdStart").is_displayed())
                for part in named:
                    self.assertIn(part, got[3])
        # One wrong part leaves the rest taken; the address then shows the setting as it is, and
        # follows the user's choices.
        got = opened("vzdalenost=301&kmitocet=vyssi")
        self.assertEqual(got[0][:2], ["1", "350"])
        self.assertIn("„vzdalenost=301“", got[3])
        self.b.wait(lambda: self.b.driver.current_url.endswith("?kmitocet=vyssi&vzdalenost=350&zpomaleni=0"), 5)
        self.el("opV400").click()
        self.b.wait(lambda: self.b.driver.current_url.endswith("?kmitocet=vyssi&vzdalenost=400&zpomaleni=0"), 5)

    def test_the_link_copies_the_setting_from_a_file_and_a_web_server(self):
        self.b.cdp("Browser.grantPermissions", permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
        server = None
        try:
            clipboard = ("var done = arguments[0];"
                         " navigator.clipboard.readText().then(done, function (e) { done('refused: ' + e); });")
            self.el("op5").click()
            self.el("opV400").click()
            self.el("HScroll1").send_keys(Keys.END)
            link = "file://" + self.b.page + "?kmitocet=vysoky&vzdalenost=400&zpomaleni=32767"
            for refuse in ("", "navigator.clipboard.writeText = function () { return Promise.reject(new Error('no')); };"):
                self.b.js("navigator.clipboard.writeText('');" + refuse)
                self.el("kv-link").click()  # through the clipboard, then the older way
                self.b.wait(lambda: self.said() == "Odkaz je zkopírován do schránky.", 5)
                self.assertEqual(self.b.driver.execute_async_script(clipboard), link)
                self.b.js("document.querySelector('.kv-status').textContent = ''")
            self.b.js("document.execCommand = function () { return false; };")
            self.el("kv-link").click()  # neither: the link stands selected, to be copied by hand
            self.b.wait(lambda: self.said().startswith("Odkaz nešlo zkopírovat"), 5)
            self.assertEqual(self.b.js("var f = document.activeElement;"
                                       " return [f.value, f.selectionStart, f.selectionEnd];"), [link, 0, len(link)])
            # The same page from a web server: the setting from its address, and back in the link.
            server = subprocess.Popen([sys.executable, "-m", "http.server", "--bind", "127.0.0.1", "0",
                                       "--directory", os.path.dirname(self.b.page)],
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            port = int(re.search(r"port (\d+)", server.stdout.readline()).group(1))
            server.stdout.close()
            url = "http://127.0.0.1:%d/%s" % (port, os.path.basename(self.b.page))
            self.b.driver.get(url + "?zpomaleni=7&kmitocet=nizsi")
            self.b.wait(lambda: self.b.js("return window.KvelmorPage && KvelmorPage.ready"))
            self.assertEqual([self.b.box(n) for n in ("nFi", "nRozteč", "nSpomaleni")], ["0.2", "350", "211"])
            self.el("kv-link").click()
            self.b.wait(lambda: self.said() == "Odkaz je zkopírován do schránky.", 5)
            self.assertEqual(self.b.driver.execute_async_script(clipboard),
                             url + "?kmitocet=nizsi&vzdalenost=350&zpomaleni=7")
        finally:
            self.b.cdp("Browser.resetPermissions")
            if server:
                server.terminate()
                server.wait()


class LanguageTest(PageCase):
    """The page in English, opened by its address or switched to by the bar: every text from the
    table of texts in that language, fitting its control; the setting and the picture kept; the
    plot saved in English as kvelmor-export --lang en writes it."""

    rows = layout_rows()
    texts = table_texts()
    BAR = {"kv-full-screen": "PageFullScreen", "kv-save-picture": "PageSavePicture", "kv-save-data": "PageSaveData",
           "kv-save-plot": "PageSavePlot", "kv-explore": "PageExplore", "kv-link": "PageLink",
           "kv-language": "PageOtherLanguage"}
    SCENE = ("labZdroj", "labClona", "labDetektorB", "labPravděpodobnost")
    # Each shown caption whose text reaches outside its control (by more than half a CSS pixel
    # sideways), or whose lines, wrapped, do not fit its label's height.
    OVERFLOWING = """
        return Array.from(document.querySelectorAll('#kvelmor .kv-control')).filter(function (c) {
          var t = c.querySelector('.kv-frame-caption, .kv-option span') || c;
          if (!c.offsetParent || !t.textContent) return false;
          var range = document.createRange();
          range.selectNodeContents(t);
          var r = range.getBoundingClientRect(), b = c.getBoundingClientRect(), s = getComputedStyle(c);
          return r.left < b.left + parseFloat(s.borderLeftWidth) - .5 ||
                 r.right > b.right - parseFloat(s.borderRightWidth) + .5 ||
                 (c.classList.contains('kv-label') && c.scrollHeight > c.clientHeight);
        }).map(function (c) { return c.dataset.name; });"""
    STATE = """
        return [['nFi', 'nRozteč', 'nSpomaleni'].map(function (n) { return document.getElementById(n).value; }),
                Array.from(document.querySelectorAll('input[type=radio]:checked')).map(function (e) { return e.id; }),
                document.getElementById('HScroll1').getAttribute('aria-valuenow')];"""

    def shown_texts(self):
        """The caption of every control and bar button shown, the scroll bar's name, the title and
        the page's language."""
        return self.b.js("""
            var out = {HScroll1: document.getElementById('HScroll1').getAttribute('aria-label'),
                       title: document.title, lang: document.documentElement.lang};
            document.querySelectorAll('#kvelmor .kv-control, #kv-bar button[id]').forEach(function (c) {
              if (!c.offsetParent || c.id === 'HScroll1') return;
              out[c.dataset.name || c.id] = (c.querySelector('.kv-frame-caption, .kv-option span') || c).textContent;
            });
            return out;""")

    def table_says(self, language, ran):
        """What shown_texts() gives when every text is the table's in `language` ("cs", "en")."""
        i = ("cs", "en").index(language)
        shown = lambda r: r["shown"] and (not r["container"] or self.rows[r["container"]]["shown"])
        want = {n: self.texts[r["key"]][i] for n, r in self.rows.items()
                if r["kind"] not in ("SettingsBox", "ScrollBar") and (shown(r) or (ran and n in self.SCENE))}
        want.update({b: self.texts[k][i] for b, k in self.BAR.items()})
        want.update(HScroll1=self.texts["SlowDownName"][i], title=self.texts["WindowTitle"][i], lang=language)
        return want

    def open(self, query):
        self.b.driver.get("file://" + self.b.page + "?" + query)
        self.b.wait(lambda: self.b.js("return window.KvelmorPage && KvelmorPage.ready"))

    def test_the_address_opens_english_with_a_setting_and_every_text_fits(self):
        note = lambda: self.b.js("return document.getElementById('kv-note').textContent")
        picture = lambda: self.b.driver.find_element(By.TAG_NAME, "canvas").get_attribute("aria-label")
        for size, ratio in ((SCREEN, 1), (SCREEN, 2), ((2 * SCREEN[0], 2 * SCREEN[1]), 1)):
            with self.subTest(size=size, ratio=ratio):
                self.b.emulate(*size, ratio=ratio)
                self.open("kmitocet=vysoky&vzdalenost=400&jazyk=x&zpomaleni=3&lang=En")
                self.assertEqual(self.b.js(self.STATE), [["5", "400", "91"], ["op5", "opV400", "opRychlá"], "3"])
                self.b.wait(lambda: self.b.driver.current_url.endswith("?kmitocet=vysoky&vzdalenost=400&zpomaleni=3&lang=en"), 5)
                self.assertEqual(self.shown_texts(), self.table_says("en", ran=False))
                self.run_and_wait()
                # Then in Czech through the switch: everything the table says, and nothing cut off.
                for language, part in (("en", "“jazyk=x”"), ("cs", "„jazyk=x“")):
                    self.assertEqual(self.shown_texts(), self.table_says(language, ran=True))
                    self.assertEqual(self.b.js(self.OVERFLOWING), [])
                    self.assertIn(part, note())
                    self.assertIn(self.texts["FrequencyHighest"][language == "en"], picture())
                    self.el("kv-language").click()

    def test_switching_keeps_the_setting_and_the_picture_and_saves_the_plot_in_english(self):
        self.el("op1").click()
        self.el("opV400").click()
        self.el("HScroll1").send_keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT)
        self.run_and_wait()
        folder = self.downloads()
        self.el("kv-save-plot").click()  # the Czech plot first, which the English one replaces
        self.saved(folder, "kvelmor-1-400-plot.svg")
        before = (self.b.js(self.STATE), self.b.canvas_pixels())
        self.el("kv-language").click()
        self.assertEqual(self.shown_texts(), self.table_says("en", ran=True))
        self.assertEqual((self.b.js(self.STATE), self.b.canvas_pixels()), before)
        self.assertEqual(self.active(), "kv-language")
        self.assertEqual(self.el("kv-save-plot").get_attribute("aria-description"),
                         self.texts["PageSavesPlot"][1].replace("%1", "kvelmor-1-400-plot.svg"))
        self.b.wait(lambda: self.b.driver.current_url.endswith("?kmitocet=vyssi&vzdalenost=400&zpomaleni=2&lang=en"), 5)
        # The plot in English, the numbers as ever.
        folder = self.downloads()
        self.el("kv-save-plot").click()
        self.el("kv-save-data").click()
        for name, lang in (("kvelmor-1-400-plot.svg", ("en",)), ("kvelmor-1-400.csv", ())):
            with open(os.path.join(export_folder("1", "400", 1, *lang), name), "rb") as f:
                self.assertEqual(self.saved(folder, name), f.read(), name)
        # A run in English draws the Czech run's pixels; back in Czech, the address drops the language.
        self.run_and_wait()
        self.assertEqual(self.b.canvas_pixels(), before[1])
        self.el("kv-language").click()
        self.assertEqual(self.shown_texts(), self.table_says("cs", ran=True))
        self.b.wait(lambda: self.b.driver.current_url.endswith("?kmitocet=vyssi&vzdalenost=400&zpomaleni=2"), 5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
