"""The browser edition in headless Chromium, loaded from file://: what a user sees and can do,
checked on the page's own elements and canvas pixels, and its runs against the desktop program's
picture (kvelmor-export --scale 1).

    KVELMOR_PAGE=build-web/kvelmor.html KVELMOR_EXPORT=build/export/kvelmor-export \\
        python3 web/tests/test_page.py
"""
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser, read_png  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.environ.get("KVELMOR_PAGE", os.path.join(ROOT, "build-web", "kvelmor.html"))
EXPORT = os.environ.get("KVELMOR_EXPORT", os.path.join(ROOT, "build", "export", "kvelmor-export"))

GREY = (0xC0, 0xC0, 0xC0)

# One notch of the mouse wheel, turned towards the user, over the scroll bar.
WHEEL_DOWN = ("document.getElementById('HScroll1').dispatchEvent(new WheelEvent('wheel',"
              " {deltaY: 100, bubbles: true, cancelable: true}));")


def layout_rows():
    """The rows of the layout table the page is built from (layout/controls.cpp)."""
    with open(os.path.join(ROOT, "layout", "controls.cpp"), encoding="utf-8") as f:
        text = f.read()
    row = re.compile(r'\{"([^"]+)",\s*K::(\w+),\s*"([^"]*)",\s*"([^"]*)",\s*(\d+),\s*(\d+),\s*(\d+),'
                     r'\s*(\d+),\s*F::(\w+),\s*(true|false),\s*(\d+)')
    rows = {}
    for m in row.finditer(text):
        name, kind, container, caption, left, top, width, height, font, shown, tab = m.groups()
        rows[name] = dict(kind=kind, container=container, caption=caption, left=int(left),
                          top=int(top), width=int(width), height=int(height), font=font,
                          shown=shown == "true", tab=int(tab))
    assert len(rows) == 26, len(rows)
    return rows


def px(twips):
    return int(twips / 15 + 0.5)


def bar_ends(width, height, rgba, first_row, last_row):
    """For each row, the last column right of the probability axis (x = 500) that is drawn in
    anything but the grey background, or None."""
    ends = []
    for y in range(first_row, last_row + 1):
        end = None
        for x in range(width - 1, 498, -1):
            i = (y * width + x) * 4
            if tuple(rgba[i:i + 3]) != GREY and rgba[i + 3] != 0:
                end = x
                break
        ends.append(end)
    return ends


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser(PAGE)
        cls.rows = layout_rows()

    @classmethod
    def tearDownClass(cls):
        errors = cls.browser.console_errors()
        cls.browser.close()
        assert not errors, errors

    def setUp(self):
        self.b = self.browser
        self.b.load()

    def el(self, name):
        return self.b.driver.find_element(By.ID, name)

    def active(self):
        return self.b.js("var e = document.activeElement; return e.id || e.dataset.name || '';")

    def key(self, key):
        self.b.driver.switch_to.active_element.send_keys(key)

    def run_and_wait(self):
        self.el("cmdStart").click()
        self.b.wait_for_run()

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
        names = {"0.6": "stredni", "1": "vyssi", "0.03": "nizky"}
        out = tempfile.mkdtemp(prefix="kvelmor-export-")
        for option, distance, frequency in (("op06", "opV350", "0.6"), ("op1", "opV400", "1"),
                                            ("op003", "opV300", "0.03")):
            with self.subTest(frequency=frequency, distance=distance):
                self.el(option).click()
                self.el(distance).click()
                self.assertEqual(self.b.box("nFi"), frequency)
                start = time.monotonic()
                self.run_and_wait()
                self.assertLess(time.monotonic() - start, 5)
                width, height, page = self.b.canvas_pixels()
                subprocess.run([EXPORT, "--frequency", names[frequency], "--distance", distance[3:],
                                "--out", out, "--scale", "1"], check=True,
                               env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
                ewidth, eheight, desktop = read_png(
                    os.path.join(out, "kvelmor-%s-%s.png" % (frequency, distance[3:])))
                self.assertEqual((ewidth, eheight), (765, 560))
                # Bench top to bottom (1500..7500 twips), every row of the pattern.
                page_ends = bar_ends(width, height, page, 99, 500)
                desktop_ends = bar_ends(ewidth, eheight, desktop, 99, 500)
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

    def test_a_slow_run_takes_no_input(self):
        thumb = self.b.driver.find_element(By.CSS_SELECTOR, ".kv-scroll-thumb")
        # About 2.5 s a run: long enough for the clicks below, even on a busy machine.
        ActionChains(self.b.driver).click_and_hold(thumb).move_by_offset(25, 0).release().perform()
        value = int(self.el("HScroll1").get_attribute("aria-valuenow"))
        self.assertGreater(value, 6000)
        count = self.b.box("nSpomaleni")
        self.assertEqual(count, str(30 * value + 1))
        self.el("cmdStart").click()
        self.assertTrue(self.b.running())
        drawn_early = sum(1 for e in bar_ends(*self.b.canvas_pixels(), 99, 500) if e and e > 501)
        self.el("op1").click()
        self.el("opV400").click()
        self.key(Keys.TAB)
        ActionChains(self.b.driver).send_keys(Keys.ARROW_RIGHT, Keys.END).perform()
        self.el("HScroll1").click()
        self.b.js(WHEEL_DOWN)
        self.el("cmdStart").click()
        self.el("cmdKonec").click()
        self.assertTrue(self.b.running(), "the run should last longer than the clicks")
        drawn_later = sum(1 for e in bar_ends(*self.b.canvas_pixels(), 99, 500) if e and e > 501)
        self.assertGreater(drawn_later, drawn_early)  # the picture grows during the run
        self.b.wait_for_run()
        time.sleep(0.5)  # anything queued would happen now
        self.assertFalse(self.b.running())
        self.assertFalse(self.b.js("return KvelmorPage.hasEnded()"))
        self.assertEqual([self.b.box(n) for n in ("nFi", "nRozteč", "nSpomaleni")], ["0.6", "350", count])
        self.assertTrue(self.el("op06").is_selected())
        self.assertFalse(self.el("op1").is_selected())
        self.assertEqual(self.el("HScroll1").get_attribute("aria-valuenow"), str(value))

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
        self.b.js(WHEEL_DOWN)
        self.assertEqual(bar.get_attribute("aria-valuenow"), str(value + 1))  # one large step
        self.assertEqual(self.b.box("nSpomaleni"), str(30 * (value + 1) + 1))
        self.key(Keys.END)
        self.assertEqual(self.b.box("nSpomaleni"), "983011")
        self.key(Keys.HOME)
        self.assertEqual(self.b.box("nSpomaleni"), "1")

    def test_enter_and_space_press_the_focused_button(self):
        self.assertEqual(self.active(), "cmdStart")
        self.assertFalse(self.el("labZdroj").is_displayed())
        self.key(Keys.ENTER)  # a whole run at count 1: over in a fraction of a second
        self.b.wait(lambda: self.el("labZdroj").is_displayed(), timeout=10)
        self.b.wait_for_run()
        self.key(Keys.TAB)
        self.assertEqual(self.active(), "cmdKonec")
        self.key(Keys.SPACE)
        self.assertTrue(self.b.js("return KvelmorPage.hasEnded()"))

    def test_konec_ends_the_program_for_good(self):
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
        press = ("var e = new KeyboardEvent('keydown', {key: arguments[0], ctrlKey: arguments[1],"
                 " bubbles: true, cancelable: true}); document.body.dispatchEvent(e);"
                 " return e.defaultPrevented;")
        self.assertTrue(self.b.js(press, "Tab", False))
        self.assertTrue(self.b.js(press, "Enter", False))
        self.assertFalse(self.b.js(press, "F5", False))
        self.assertFalse(self.b.js(press, "r", True))
        self.b.load()
        self.assertFalse(self.b.js("return KvelmorPage.hasEnded()"))
        self.assertTrue(self.el("cmdStart").is_displayed())

    def test_loads_nothing_from_anywhere(self):
        self.assertTrue(self.b.driver.current_url.startswith("file://"))
        self.assertEqual(self.b.js("return performance.getEntriesByType('resource').length"), 0)
        with open(PAGE, encoding="utf-8") as f:
            html = f.read()
        self.assertNotRegex(html, r'(src|href)\s*=\s*["\']?(https?:)?//')
        self.assertNotIn("@import", html)


class HighDensityScreenTest(unittest.TestCase):
    """At a device-pixel ratio of 2 the canvas has twice the pixels each way, and a run's bars are
    the desktop's, each pixel doubled."""

    def test_run_is_drawn_at_the_device_pixel_ratio(self):
        browser = Browser(PAGE, scale=2)
        try:
            browser.load()
            self.assertEqual(browser.js("return window.devicePixelRatio"), 2)
            browser.driver.find_element(By.ID, "cmdStart").click()
            browser.wait_for_run()
            width, height, page = browser.canvas_pixels()
            self.assertEqual((width, height), (1602, 1302))
            self.assertEqual(browser.rect("kvelmor")[2:], [765, 560])
            out = tempfile.mkdtemp(prefix="kvelmor-export-")
            subprocess.run([EXPORT, "--frequency", "stredni", "--distance", "350", "--out", out,
                            "--scale", "1"], check=True,
                           env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            ewidth, eheight, desktop = read_png(os.path.join(out, "kvelmor-0.6-350.png"))
            desktop_ends = bar_ends(ewidth, eheight, desktop, 99, 500)
            page_ends = bar_ends(width, height, page, 2 * 99, 2 * 500 + 1)
            # Each device row ends where the desktop's bars end, doubled, within the bars of that
            # logical row and its neighbours: at 2x a bar's height is rounded to half a pixel, so
            # a row may show the neighbouring step's bar.
            for device_row, end in enumerate(page_ends, start=2 * 99):
                row = device_row // 2
                near = [2 * e + 1 for e in desktop_ends[max(row - 1, 99) - 99:row + 2 - 99] if e]
                self.assertTrue(min(near) - 2 <= end <= max(near) + 2,
                                "device row %d ends at %d, desktop near it %s" % (device_row, end, near))
            self.assertFalse(browser.console_errors())
        finally:
            browser.close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
