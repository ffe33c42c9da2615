#!/usr/bin/python3
"""The deep-zoom page in headless Chromium (Selenium), from disk and from a web server: no
console error, the deepest level's tiles once zoomed in, under the pointer the point the
renderer drew that pixel from (to the printed digits), the picture named and its scene linked,
a scale bar in plane units; screenshots on the way. Usage: viewer_test.py RENDER PIXEL_POINT
SHOTS_DIR. Exits 77 (skipped) only where Chromium, its driver or Selenium is not installed."""

import functools
import http.server
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
EXAMPLE, KIND, WIDTH, HEIGHT = "8", "convergence", 3000, 2000

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
    from selenium.webdriver.common.by import By
    missing = not (os.access(CHROMIUM, os.X_OK) and os.access(DRIVER, os.X_OK))
    what = "chromium and chromium-driver are"
except ImportError:
    missing, what = True, "python3-selenium is"
if missing:
    print("SKIPPED: Debian's %s not installed, so the deep-zoom page was not tried in a browser "
          "(scripts/test installs them where the system allows)" % what)
    sys.exit(77)

render, pixel_point, shots = sys.argv[1:4]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def wait_for(condition, what, seconds=120):
    end = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > end:
            return check(False, "waited in vain for " + what)
        time.sleep(0.1)


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    # Without these, Chromium stalls on a machine without network access.
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu",
                "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--no-first-run", "--disable-quic",
                "--user-data-dir=" + profile, "--window-size=1280,800"):
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def js(driver, script, *args):
    return driver.execute_script("const v = window.vorlaViewer; " + script, *args)


def no_console_errors(driver, when):
    errors = [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]
    check(errors == [], "console errors %s: %s" % (when, errors))


def loaded(driver):
    return js(driver, "return !!v && v.world.getItemCount() === 1 &&"
              " v.world.getItemAt(0).getFullyLoaded();")


def open_page(driver, url):
    driver.get(url)
    wait_for(lambda: loaded(driver), "the picture of " + url)
    no_console_errors(driver, "on " + url)


def screen_per_pixel(driver):
    return js(driver, "return v.world.getItemAt(0).viewportToImageZoom("
              "v.viewport.getZoom(true));")


def over_pixel(driver, c, r):
    """The viewer's container and the offset from its middle of the middle of pixel (c, r)."""
    container = driver.find_element(By.CSS_SELECTOR, "#picture > .openseadragon-container")
    x, y = js(driver, "const p = v.world.getItemAt(0).imageToViewerElementCoordinates("
              "new OpenSeadragon.Point(arguments[0] + 0.5, arguments[1] + 0.5));"
              " return [p.x, p.y];", c, r)
    size = container.size
    return container, round(x - size["width"] / 2), round(y - size["height"] / 2)


def check_point(driver, c, r, when):
    """The readout over pixel (c, r) names it (or one sharing its screen pixel) and shows the
    renderer's point of the pixel it names, to the digits it prints."""
    ActionChains(driver).move_to_element_with_offset(*over_pixel(driver, c, r)).perform()
    wait_for(lambda: driver.find_element(By.ID, "readout").is_displayed(), "the readout")
    pixel, x, y = (driver.find_element(By.ID, "readout-" + n).text for n in ("pixel", "x", "y"))
    shown = tuple(int(v) for v in pixel.split(", "))
    across = 1 / screen_per_pixel(driver)
    check(abs(shown[0] - c) <= across and abs(shown[1] - r) <= across,
          "%s: the readout shows pixel %s, not %d, %d" % (when, pixel, c, r))
    decimals = len(x.split(".")[1]) if "." in x else 0
    want = subprocess.run([pixel_point, EXAMPLE, KIND, str(WIDTH), str(HEIGHT), *map(str, shown),
                           str(decimals)], check=True, capture_output=True, text=True).stdout
    check("%s %s" % (x, y) == want.strip(), "%s: pixel %s reads x %s y %s; the renderer drew "
          "it from %s" % (when, pixel, x, y, want.strip()))


def check_scale(driver):
    """The bar is as long on the screen as its label in plane units, within a screen pixel."""
    text = driver.find_element(By.ID, "scale-text").text
    match = re.fullmatch(r"([0-9.e+-]+) in the plane", text)
    bar = js(driver, "return parseFloat(document.getElementById('scale-bar').style.width);")
    step = 10 / WIDTH / screen_per_pixel(driver)  # the example's x range over the columns
    check(match and abs(bar * step - float(match.group(1))) <= step,
          "a bar of %s screen pixels is %g in the plane, labelled %s" % (bar, bar * step, text))


def zoom_in_at(driver, c, r, steps):
    for _ in range(steps):
        origin = ScrollOrigin.from_element(*over_pixel(driver, c, r))
        ActionChains(driver).scroll_from_origin(origin, 0, -120).perform()
        time.sleep(0.05)
    wait_for(lambda: js(driver, "const z = v.viewport.getZoom(true);"
                        " return !!z && Math.abs(z - v.viewport.getZoom(false)) < 1e-9;"),
             "the zoom to settle")
    wait_for(lambda: loaded(driver), "the tiles after zooming in")


def main():
    work = tempfile.mkdtemp(prefix="vorla-viewer-")
    os.makedirs(shots, exist_ok=True)
    tiles = os.path.join(work, "poster")
    subprocess.run([render, "--quiet", "--example", EXAMPLE, "--picture", KIND, "--size",
                    "%dx%d" % (WIDTH, HEIGHT), "--tiles", tiles], check=True)
    driver = browser(os.path.join(work, "profile"))
    quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(quiet, directory=work))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        open_page(driver, "file://" + tiles + "/index.html")
        check(KIND in driver.find_element(By.ID, "kind").text, "the page names the picture")
        link = driver.find_element(By.ID, "scene-link").get_attribute("href")
        check(link == "file://" + tiles + "/scene.json", "the scene's link is " + link)
        check_scale(driver)
        check_point(driver, WIDTH // 2, HEIGHT // 3, "the whole picture")
        deepest = js(driver, "return v.source.maxLevel;")
        js(driver, "window.levels = [];"
           " v.addHandler('tile-loaded', e => window.levels.push(e.tile.level));")
        c, r = 1700, 1000
        zoom_in_at(driver, c, r, 12)
        check_point(driver, c, r, "zoomed in")
        driver.save_screenshot(os.path.join(shots, "deep-zoom.png"))
        zoom_in_at(driver, c, r, 30)
        levels = js(driver, "return window.levels;")
        check(deepest in levels, "no tile of the deepest level %d loaded (levels %s)" %
              (deepest, sorted(set(levels))))
        check(js(driver, "return v.viewport.getZoom(true) >= v.viewport.getMaxZoom() * 0.999;"),
              "the wheel zoomed in to the largest pixels")
        check_point(driver, c, r, "single pixels")
        check_point(driver, c + 1, r + 1, "single pixels")
        check_scale(driver)
        driver.save_screenshot(os.path.join(shots, "deep-zoom-pixels.png"))
        no_console_errors(driver, "while zooming")
        open_page(driver, "http://127.0.0.1:%d/poster/index.html" % server.server_port)
        check_point(driver, WIDTH // 2, HEIGHT // 3, "served")
    finally:
        server.shutdown()
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
