"""Which of its two builds the page runs in headless Chromium: the SIMD build inside its script
where the browser accepts WebAssembly's SIMD, the packed scalar one where it does not (emulated
by a WebAssembly.validate that refuses everything); the same picture from each; and a damaged
packed build, which matters only where it is needed.

    KVELMOR_PAGE=build-web/kvelmor.html python3 web/tests/test_page_modules.py
"""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
PAGE = os.environ.get("KVELMOR_PAGE", os.path.join(ROOT, "build-web", "kvelmor.html"))

# Run in every document before its own scripts: a browser without WebAssembly's SIMD.
REFUSE_SIMD = "WebAssembly.validate = function () { return false; };"


class ModuleTest(unittest.TestCase):
    def setUp(self):
        self.b = Browser(PAGE)
        self.b.emulate(765, 660)
        self.scripts = []

    def tearDown(self):
        errors = self.b.console_errors()
        self.b.close()
        for path in self.scripts:
            os.unlink(path)
        self.assertEqual(errors, [])

    def refuse_simd(self):
        self.b.cdp("Page.addScriptToEvaluateOnNewDocument", source=REFUSE_SIMD)

    def run_of(self, page):
        """The build the page at `page` picked, and its picture after a run at count 1 ("0.6",
        "350"); with the labels shown, the run was whole."""
        self.b.page = page
        self.b.load(timeout=30)
        self.b.js("document.getElementById('cmdStart').click()")
        self.b.wait(lambda: not self.b.running(), timeout=60)
        self.assertTrue(self.b.js("return !document.getElementById('labZdroj').hidden"))
        return self.b.js("return KvelmorModules.picked"), self.b.canvas_pixels()

    def damaged_copy(self):
        """The page with one character of the packed build's base64 changed: it still decodes,
        but the packing's checksum refuses what comes out."""
        with open(PAGE, encoding="utf-8") as f:
            page = f.read()
        start = page.index('<script id="kv-scalar-module"')
        at = page.index(">", start) + 5000
        page = page[:at] + ("A" if page[at] != "A" else "B") + page[at + 1:]
        copy = tempfile.NamedTemporaryFile("w", suffix=".html", delete=False, encoding="utf-8")
        with copy:
            copy.write(page)
        self.scripts.append(copy.name)
        return copy.name

    def test_simd_where_accepted_scalar_where_refused_the_same_picture(self):
        picked, simd_picture = self.run_of(PAGE)
        self.assertEqual(picked, "simd")
        self.refuse_simd()
        picked, scalar_picture = self.run_of(PAGE)
        self.assertEqual(picked, "scalar")
        self.assertEqual(scalar_picture, simd_picture)

    def test_a_damaged_packed_build_matters_only_where_simd_is_refused(self):
        copy = self.damaged_copy()
        picked, _ = self.run_of(copy)
        self.assertEqual(picked, "simd")
        self.refuse_simd()
        self.b.driver.get("file://" + copy)
        self.b.wait(lambda: self.b.js("return !document.getElementById('kv-damaged').hidden"),
                    timeout=30)
        self.assertFalse(self.b.js("return !!(window.KvelmorPage && KvelmorPage.ready)"))
        self.b.console_errors()  # what the damaged copy logged is its own


if __name__ == "__main__":
    unittest.main(verbosity=2)
