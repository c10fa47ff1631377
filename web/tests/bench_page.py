"""Benchmark of the browser edition in headless Chromium (not a test): the page's size, the time
from navigation to the window ready, the first run after loading and later ones at count 1 from
the click to the labels (also with the processor throttled four times), the
picture made again from a finished run's record after a re-fit on a 1920 x 1080 projector at a
device-pixel ratio of 1.25, a run at the scroll bar's right end, saving each of the bar's files
from the click until the file is handed to the browser, the sums of one run in WebAssembly,
without SIMD and with it, and the explorer's panel: a change of point or of count, computed and
drawn, with the processor throttled four times as Chromium's developer tools do it (a cheap
Chromebook).

    python3 web/tests/bench_page.py [build-web]
"""
import os
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pagedriver import Browser  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(ROOT, "build-web")
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


# A finished run's picture made again at the page's pixel size, as after a re-fit: first at a
# slightly other size, then, timed in milliseconds, back at the page's own (the record drawn
# into a new picture and shown on the canvas).
TIMED_REFIT = """
var ratio = KvelmorPage.pictureRatio;
KvelmorPage.pictureRatio = function () { return ratio() * 1.01; };
Module.ccall('kv_refit', null, [], []);
KvelmorPage.pictureRatio = ratio;
var start = performance.now();
Module.ccall('kv_refit', null, [], []);
return [performance.now() - start, document.querySelector('canvas').width,
        document.querySelector('canvas').height];
"""


# Clicks the bar's button `arguments[0]` and reports, in milliseconds, how long until the page
# handed the file to the browser to save, and the file's size in bytes.
TIMED_SAVE = """
var done = arguments[arguments.length - 1];
var make = URL.createObjectURL, start;
URL.createObjectURL = function (blob) {
  URL.createObjectURL = make;
  done([performance.now() - start, blob.size]);
  return make.call(URL, blob);
};
start = performance.now();
document.getElementById(arguments[0]).click();
"""


# The explorer's panel after a run: each change of point (every tenth step, each a step not shown
# before) and of count (each of the twelve at the centre step), timed in milliseconds from the
# call to the C++ side until the chain, the pattern and the readouts are on the page. First a
# round over other steps, so that the browser has compiled the program's busy parts fully, as it
# has after a few seconds of use.
TIMED_EXPLORER = """
var times = {point: [], count: []};
var time = function (name, value) {
  var start = performance.now();
  Module.ccall(name, null, ['number'], [value]);
  return performance.now() - start;
};
for (var step = 0; step <= 220; step += 10) time('kv_exploreStep', step);
for (var step = 5; step <= 220; step += 10) times.point.push(time('kv_exploreStep', step));
time('kv_exploreStep', 110);
for (var n = 0; n < 12; n++) times.count.push(time('kv_exploreCount', (n + 3) % 12));
var c = document.getElementById('kv-ex-chain');
times.size = [c.width, c.height];
return times;
"""


def explorer_changes(browser, frequency):
    """The panel's changes of point and of count after a run at `frequency`, under throttling."""
    browser.driver.get("file://" + PAGE + "?kmitocet=" + frequency)
    browser.wait(lambda: browser.js("return window.KvelmorPage && KvelmorPage.ready"))
    timed_run(browser, 30)
    browser.js("document.getElementById('kv-explore').click()")
    browser.wait(lambda: browser.js("return KvelmorPage.explorerShown() && KvelmorPage.explorerChoice()[0] === 110"))
    browser.cdp("Emulation.setCPUThrottlingRate", rate=4)
    try:
        return browser.js(TIMED_EXPLORER)
    finally:
        browser.cdp("Emulation.setCPUThrottlingRate", rate=1)


def timed_run(browser, timeout):
    browser.driver.set_script_timeout(timeout)
    ms, labels = browser.driver.execute_async_script(TIMED_RUN)
    assert labels, "the run placed no labels"
    return ms


def sums_in_webassembly(browser, variant):
    """What web/benchsums.cpp prints, built without SIMD or with it, run in the browser."""
    with open(os.path.join(BUILD, "web", "bench-sums-%s.js" % variant), encoding="utf-8") as f:
        script = f.read().replace("</script", "<\\/script")
    page = tempfile.NamedTemporaryFile("w", suffix=".html", delete=False, encoding="utf-8")
    with page:
        page.write("<!DOCTYPE html><script>var Module = {print: function (t) {"
                   " window.benchOut = t; }};</script><script>%s</script>" % script)
    try:
        browser.driver.get("file://" + page.name)
        browser.wait(lambda: browser.js("return window.benchOut || ''"), timeout=60)
        return browser.js("return window.benchOut")
    finally:
        os.unlink(page.name)


def main():
    print("page: %s, %.0f KiB" % (PAGE, os.path.getsize(PAGE) / 1024))
    browser = Browser(PAGE)
    try:
        browser.emulate(765, 600)
        browser.load()
        own_size = (765, 560 + browser.js("return document.getElementById('kv-bar').offsetHeight"))
        browser.emulate(*own_size)  # the window at its own size above the bar
        for rate in (1, 4):  # as fast as the machine goes, and throttled as a cheap Chromebook
            browser.cdp("Emulation.setCPUThrottlingRate", rate=rate)
            ready, first = [], []
            for _ in range(7):
                browser.load(timeout=30)
                ready.append(browser.js("return KvelmorPage.readyAt"))
                first.append(timed_run(browser, 60))
            fastest = [timed_run(browser, 60) for _ in range(7)]
            for what, times in (("navigation to ready", ready),
                                ("first run after loading, click to labels", first),
                                ("run at count 1, click to labels", fastest)):
                print("CPU x%d, %s: median %.0f ms (of %s)" % (rate, what, statistics.median(times),
                                                                ", ".join("%.0f" % t for t in times)))
        browser.cdp("Emulation.setCPUThrottlingRate", rate=1)
        browser.emulate(1920, 1080, 1.25)
        browser.load()
        timed_run(browser, 30)
        refits = [browser.js(TIMED_REFIT) for _ in range(7)]
        print("picture made again after a re-fit, 1920 x 1080 at 1.25 (%d x %d pixels): median"
              " %.1f ms (of %s)" % (refits[0][1], refits[0][2], statistics.median(r[0] for r in refits),
                                    ", ".join("%.1f" % r[0] for r in refits)))
        browser.emulate(*own_size)
        browser.cdp("Browser.setDownloadBehavior", behavior="allow", downloadPath=tempfile.mkdtemp())
        for query in ("kmitocet=stredni&vzdalenost=350", "kmitocet=vysoky&vzdalenost=300"):
            times = {}
            for _ in range(5):  # the numbers computed anew at each data save: another setting between
                browser.driver.get("file://" + PAGE + "?kmitocet=nizky")
                browser.wait(lambda: browser.js("return window.KvelmorPage && KvelmorPage.ready"))
                timed_run(browser, 30)
                browser.driver.get("file://" + PAGE + "?" + query)
                browser.wait(lambda: browser.js("return window.KvelmorPage && KvelmorPage.ready"))
                timed_run(browser, 30)
                for name, scale in (("kv-save-data", 0), ("kv-save-plot", 0), ("kv-save-picture", 1),
                                    ("kv-save-picture", 2)):
                    if scale:
                        browser.js("document.getElementById('kv-picture-scale').value = arguments[0]", str(scale))
                    times.setdefault((name, scale), []).append(browser.driver.execute_async_script(TIMED_SAVE, name))
            print("saving after a run at %s, click to file, medians of 5: %s" % (query, "; ".join(
                "%s%s %.0f ms (%.0f KiB)" % (name[8:], " x%d" % scale if scale else "",
                                            statistics.median(t[0] for t in v), v[0][1] / 1024)
                for (name, scale), v in times.items())))
        for size in ((1366, 768), (1920, 1080)):
            browser.emulate(*size)
            for frequency in ("nizky", "stredni", "vysoky"):
                t = explorer_changes(browser, frequency)
                print("explorer at %d x %d (chain %d x %d pixels), %s, CPU throttled x4: a change of point"
                      " median %.1f ms, at most %.1f ms; of count median %.1f ms, at most %.1f ms"
                      % (size + tuple(t["size"]) + (frequency, statistics.median(t["point"]), max(t["point"]),
                                                    statistics.median(t["count"]), max(t["count"]))))
        browser.emulate(*own_size)
        browser.load()
        browser.driver.find_element("id", "HScroll1").click()
        browser.driver.switch_to.active_element.send_keys("\ue010")  # End: the right end
        assert browser.box("nSpomaleni") == "983011", browser.box("nSpomaleni")
        slowest = timed_run(browser, 60)
        print("run at the right end (count 983011): %.2f s" % (slowest / 1000))

        print("the page runs its %s build" % browser.js("return KvelmorModules.picked"))
        for variant in ("scalar", "simd"):
            print("WebAssembly %s: %s" % (variant, sums_in_webassembly(browser, variant)))
    finally:
        browser.close()


if __name__ == "__main__":
    main()
