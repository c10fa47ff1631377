"""Benchmark of the browser edition in headless Chromium (not a test): the page's size, the time
from navigation to the window ready, a whole run at count 1 from the click to the labels, a run at
the scroll bar's right end, and the sums of one run in WebAssembly.

    python3 web/tests/bench_page.py [build-web]
"""
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build-web")
PAGE = os.path.join(BUILD, "kvelmor.html")

# Clicks "Start" and reports, in milliseconds, how long until the run had placed its labels.
TIMED_RUN = """
var done = arguments[arguments.length - 1];
var start = performance.now();
document.getElementById('cmdStart').click();
(function wait() {
  if (KvelmorPage.isRunning()) { setTimeout(wait, 1); return; }
  done([KvelmorPage.lastRunEndedAt - start,
        !document.getElementById('labZdroj').hidden]);
})();
"""


def timed_run(browser, timeout):
    browser.driver.set_script_timeout(timeout)
    ms, labels = browser.driver.execute_async_script(TIMED_RUN)
    assert labels, "the run placed no labels"
    return ms


def main():
    print("page: %s, %.0f KiB" % (PAGE, os.path.getsize(PAGE) / 1024))
    browser = Browser(PAGE)
    try:
        ready = []
        for _ in range(7):
            browser.load()
            ready.append(browser.js("return KvelmorPage.readyAt"))
        print("navigation to ready: median %.0f ms (of %s)" % (statistics.median(ready),
                                                               ", ".join("%.0f" % r for r in ready)))
        fastest = [timed_run(browser, 30) for _ in range(7)]
        print("run at count 1, click to labels: median %.0f ms (of %s)"
              % (statistics.median(fastest), ", ".join("%.0f" % r for r in fastest)))
        browser.load()
        browser.driver.find_element("id", "HScroll1").click()
        browser.driver.switch_to.active_element.send_keys("\ue010")  # End: the right end
        assert browser.box("nSpomaleni") == "983011", browser.box("nSpomaleni")
        slowest = timed_run(browser, 60)
        print("run at the right end (count 983011): %.2f s" % (slowest / 1000))

        with open(os.path.join(BUILD, "web", "bench-sums.js"), encoding="utf-8") as f:
            script = f.read().replace("</script", "<\\/script")
        page = tempfile.NamedTemporaryFile("w", suffix=".html", delete=False, encoding="utf-8")
        with page:
            page.write("<!DOCTYPE html><script>var Module = {print: function (t) {"
                       " window.benchOut = t; }};</script><script>%s</script>" % script)
        browser.driver.get("file://" + page.name)
        browser.wait(lambda: browser.js("return window.benchOut || ''"), timeout=60)
        print("WebAssembly " + browser.js("return window.benchOut"))
        os.unlink(page.name)
    finally:
        browser.close()


if __name__ == "__main__":
    main()
