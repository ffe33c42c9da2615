#!/usr/bin/python3
"""The deep-zoom page in a real browser: headless Chromium, driven by Selenium, opens a tile
folder the renderer wrote, from disk and from a static web server. The page must load without
a console error, load the deepest level's tiles once zoomed in, show under the pointer the
plane point the renderer drew that pixel from (to the digits it prints), name the picture and
link its scene, and keep its scale bar in plane units. It saves screenshots on the way.

Usage: viewer_test.py RENDER PIXEL_POINT SHOTS_DIR
Exits 77 (skipped) only where Chromium, its driver or Selenium is not installed."""

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

SKIPPED = 77
CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
EXAMPLE, KIND, WIDTH, HEIGHT = "8", "convergence", 3000, 2000

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
    from selenium.webdriver.common.by import By
except ImportError:
    print("SKIPPED: Debian's python3-selenium is not installed, so the deep-zoom page was not "
          "tried in a browser (scripts/test installs it where the system allows)")
    sys.exit(SKIPPED)
if not (os.access(CHROMIUM, os.X_OK) and os.access(DRIVER, os.X_OK)):
    print("SKIPPED: Debian's chromium and chromium-driver are not installed, so the deep-zoom "
          "page was not tried in a browser (scripts/test installs them where the system allows)")
    sys.exit(SKIPPED)

render, pixel_point, shots = sys.argv[1:4]
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def wait_for(condition, what, seconds=120):
    """Waits, generously, for `condition` to hold; a failure if it never does."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.1)
    check(False, "waited in vain for " + what)
    return False


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


def console_errors(driver):
    return [e["message"] for e in driver.get_log("browser") if e["level"] == "SEVERE"]


def loaded(driver):
    return driver.execute_script(
        "const v = window.vorlaViewer;"
        "return !!v && v.world.getItemCount() === 1 && v.world.getItemAt(0).getFullyLoaded();")


def open_page(driver, url):
    driver.get(url)
    wait_for(lambda: loaded(driver), "the picture of " + url)
    check(console_errors(driver) == [], "console errors on " + url)


def over_pixel(driver, c, r):
    """The viewer's container and the offset from its middle of the middle of pixel (c, r)."""
    container = driver.find_element(By.CSS_SELECTOR, "#picture > .openseadragon-container")
    x, y = driver.execute_script(
        "const p = vorlaViewer.world.getItemAt(0).imageToViewerElementCoordinates("
        "new OpenSeadragon.Point(arguments[0] + 0.5, arguments[1] + 0.5));"
        "return [p.x, p.y];", c, r)
    size = container.size
    return container, round(x - size["width"] / 2), round(y - size["height"] / 2)


def point_under(driver, c, r):
    """Moves the pointer over pixel (c, r); the readout's pixel, x and y."""
    ActionChains(driver).move_to_element_with_offset(*over_pixel(driver, c, r)).perform()
    wait_for(lambda: driver.find_element(By.ID, "readout").is_displayed(), "the readout")
    read = lambda name: driver.find_element(By.ID, "readout-" + name).text
    return read("pixel"), read("x"), read("y")


def check_point(driver, c, r, when):
    """The readout over pixel (c, r) is the renderer's point of the pixel it names, to the
    digits the page prints; that pixel is (c, r), or one that shares its screen pixel while a
    screen pixel shows several."""
    pixel, x, y = point_under(driver, c, r)
    shown = tuple(int(v) for v in pixel.split(", "))
    across = driver.execute_script(
        "return 1 / vorlaViewer.world.getItemAt(0).viewportToImageZoom("
        "vorlaViewer.viewport.getZoom(true));")
    check(abs(shown[0] - c) <= across and abs(shown[1] - r) <= across,
          "%s: the readout shows pixel %s, not %d, %d" % (when, pixel, c, r))
    c, r = shown
    decimals = len(x.split(".")[1]) if "." in x else 0
    want = subprocess.run([pixel_point, EXAMPLE, KIND, str(WIDTH), str(HEIGHT), str(c), str(r),
                           str(decimals)], check=True, capture_output=True, text=True).stdout
    check("%s %s" % (x, y) == want.strip(), "%s: pixel %d, %d reads x %s y %s; the renderer "
          "drew it from %s" % (when, c, r, x, y, want.strip()))


def check_scale(driver):
    """The bar is as long on the screen as its label in plane units."""
    text = driver.find_element(By.ID, "scale-text").text
    match = re.fullmatch(r"([0-9.e+-]+) in the plane", text)
    check(match is not None, "the scale bar says " + text)
    if not match:
        return
    bar = driver.execute_script(
        "return parseFloat(document.getElementById('scale-bar').style.width);")
    screen_per_pixel = driver.execute_script(
        "return vorlaViewer.world.getItemAt(0).viewportToImageZoom("
        "vorlaViewer.viewport.getZoom(true));")
    step = 10 / WIDTH  # the example's x range over the picture's columns
    # Within the screen pixel the bar's length is rounded to.
    plane = bar * step / screen_per_pixel
    check(abs(plane - float(match.group(1))) <= step / screen_per_pixel,
          "a bar of %d screen pixels is %g in the plane, labelled %s" % (bar, plane, text))


def zoom_in_at(driver, c, r, steps):
    """Turns the wheel over pixel (c, r), as a user does."""
    for _ in range(steps):
        origin = ScrollOrigin.from_element(*over_pixel(driver, c, r))
        ActionChains(driver).scroll_from_origin(origin, 0, -120).perform()
        time.sleep(0.05)
    settled = ("const v = vorlaViewer; return !v.viewport.getZoom(true) ? false :"
               " Math.abs(v.viewport.getZoom(true) - v.viewport.getZoom(false)) < 1e-9;")
    wait_for(lambda: driver.execute_script(settled), "the zoom to settle")
    wait_for(lambda: loaded(driver), "the tiles after zooming in")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    work = tempfile.mkdtemp(prefix="vorla-viewer-")
    os.makedirs(shots, exist_ok=True)
    tiles = os.path.join(work, "poster")
    subprocess.run([render, "--quiet", "--example", EXAMPLE, "--picture", KIND, "--size",
                    "%dx%d" % (WIDTH, HEIGHT), "--tiles", tiles], check=True)
    driver = browser(os.path.join(work, "profile-disk"))
    try:
        # From disk.
        open_page(driver, "file://" + tiles + "/index.html")
        check(KIND in driver.find_element(By.ID, "kind").text, "the page names the picture")
        link = driver.find_element(By.ID, "scene-link").get_attribute("href")
        check(link == "file://" + tiles + "/scene.json", "the scene's link is " + link)
        check_scale(driver)
        check_point(driver, WIDTH // 2, HEIGHT // 3, "the whole picture")
        deepest = driver.execute_script("return vorlaViewer.source.maxLevel;")
        driver.execute_script(
            "window.levelsLoaded = [];"
            "vorlaViewer.addHandler('tile-loaded', e => window.levelsLoaded.push(e.tile.level));")
        c, r = 1700, 1000
        zoom_in_at(driver, c, r, 12)
        point_under(driver, c, r)
        driver.save_screenshot(os.path.join(shots, "deep-zoom.png"))
        zoom_in_at(driver, c, r, 30)
        levels = driver.execute_script("return window.levelsLoaded;")
        check(deepest in levels, "no tile of the deepest level %d loaded (levels %s)" %
              (deepest, sorted(set(levels))))
        check(driver.execute_script("return vorlaViewer.viewport.getZoom(true) >= "
                                    "vorlaViewer.viewport.getMaxZoom() * 0.999;"),
              "the wheel zoomed in to the largest pixels")
        check_point(driver, c, r, "single pixels")
        check_point(driver, c + 1, r + 1, "single pixels")
        check_scale(driver)
        driver.save_screenshot(os.path.join(shots, "deep-zoom-pixels.png"))
        check(console_errors(driver) == [], "console errors while zooming")

        # From a static web server.
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=work))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            open_page(driver, "http://127.0.0.1:%d/poster/index.html" % server.server_port)
            check_point(driver, WIDTH // 2, HEIGHT // 3, "served")
        finally:
            server.shutdown()
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
