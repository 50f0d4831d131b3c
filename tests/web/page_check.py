#!/usr/bin/env python3
"""Checks Quorvane's browser remote page in headless Chromium.

    page_check.py URL [--key NAME] [--expect TEXT] [--shortcut KEYS] [--view] [--refused] [--timeout S]

URL is the page's full link with its token, from a running server (the
program or tests/web/remote_stand_in.py). The check opens it, waits for the
connection, reads the display, presses the key NAME (an objectName, default
key_scan) on its button and waits until the display shows TEXT (without
--expect: until it changes). --shortcut sends keyboard keys instead ("s",
"shift+1"). --view expects a view-only link (no keys shown); --refused a link
whose token is refused. Prints one line per check and exits 0 when all pass,
1 when one fails, 77 when Chromium or Selenium is missing.
"""
import argparse
import os
import shutil
import sys
import tempfile
import time

try:
    from selenium import webdriver
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.chrome.service import Service as ChromeService
except ImportError:
    webdriver = None

CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--no-first-run",
                  "--autoplay-policy=no-user-gesture-required", "--window-size=360,900"]


def use_system_python():
    """Runs this script again under Debian's Python when the one running it has
    no Selenium (a pyenv or venv python3 first on PATH); python3-selenium is
    installed for Debian's."""
    system = "/usr/bin/python3"
    if webdriver is None and os.path.exists(system) and os.path.realpath(sys.executable) != os.path.realpath(system):
        os.execv(system, [system] + sys.argv)


def open_browser():
    """A headless Chromium with a fresh profile, or None when it cannot run here."""
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    driver_path = shutil.which("chromedriver")
    if webdriver is None or not chromium or not driver_path:
        return None
    options = webdriver.ChromeOptions()
    options.binary_location = chromium
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    profile = tempfile.mkdtemp(prefix="quorvane-chromium-")
    options.add_argument("--user-data-dir=" + profile)
    service = ChromeService(executable_path=driver_path)
    driver = webdriver.Chrome(service=service, options=options)
    driver.quorvane_profile = profile
    return driver


def close_browser(driver):
    driver.quit()
    shutil.rmtree(driver.quorvane_profile, ignore_errors=True)


def wait_for(condition, timeout):
    """The first true value of condition() within timeout seconds, else None."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value or None
        time.sleep(0.05)


def text(driver, element_id):
    return driver.find_element(By.ID, element_id).text


def display(driver):
    return text(driver, "line1") + "\n" + text(driver, "line2")


def send_shortcut(driver, keys):
    """Presses keyboard keys on the page, e.g. "s" or "shift+1"."""
    body = driver.find_element(By.TAG_NAME, "body")
    actions = ActionChains(driver).move_to_element(body)
    names = {"shift": Keys.SHIFT, "space": Keys.SPACE, "enter": Keys.ENTER, "left": Keys.ARROW_LEFT,
             "right": Keys.ARROW_RIGHT, "down": Keys.ARROW_DOWN}
    parts = [names.get(p, p) for p in keys.lower().split("+")]
    for p in parts[:-1]:
        actions.key_down(p)
    actions.send_keys(parts[-1])
    for p in reversed(parts[:-1]):
        actions.key_up(p)
    actions.perform()


def check_page(driver, url, key="key_scan", expect=None, shortcut=None, view=False, refused=False, timeout=10):
    """Runs the checks on one link; a list of (name, passed, detail)."""
    results = []
    driver.get(url)
    if refused:
        return check_refused(driver, timeout)
    connected = wait_for(lambda: text(driver, "conn").startswith("Connected") and text(driver, "conn"), timeout)
    results.append(("connects", bool(connected), connected or text(driver, "conn")))
    if not connected:
        return results
    keys_shown = driver.find_element(By.ID, "keys").is_displayed()
    if view:
        results.append(("view only: no keys shown", not keys_shown, "keys shown" if keys_shown else "hidden"))
        return results
    results.append(("keys shown", keys_shown, "" if keys_shown else "hidden: a view-only link?"))
    if not keys_shown:
        return results
    buttons = driver.find_elements(By.CSS_SELECTOR, "button[data-key]")
    unnamed = [b.get_attribute("data-key") for b in buttons if not b.accessible_name]
    results.append(("every key has an accessible name", not unnamed, ", ".join(unnamed) or f"{len(buttons)} keys"))
    before = wait_for(lambda: display(driver).strip() and display(driver), timeout) or ""
    rows_before = len(driver.find_elements(By.CSS_SELECTOR, "#log tbody tr"))
    if shortcut:
        send_shortcut(driver, shortcut)
    else:
        driver.find_element(By.CSS_SELECTOR, f'button[data-key="{key}"]').click()
    after = wait_for(lambda: (expect in display(driver) if expect else display(driver) != before)
                     and display(driver), timeout)
    results.append((f"display after {shortcut or key}", bool(after), repr(after or display(driver))))
    rows_after = len(driver.find_elements(By.CSS_SELECTOR, "#log tbody tr"))
    results.append(("hit log rows", True, f"{rows_before} before, {rows_after} after"))
    return results


def check_refused(driver, timeout=10):
    """Waits until the open page says its token is refused: the page's own line
    when the server stopped taking the token after the page was loaded, or the
    server's answer in place of the page."""
    def said():
        status = driver.find_elements(By.ID, "conn")
        shown = status[0].text if status else driver.find_element(By.TAG_NAME, "body").text
        return "refused" in shown.lower() and shown
    shown = wait_for(said, timeout)
    return [("token refused is shown", bool(shown), shown or "nothing")]


def check_sound(driver, timeout=10):
    """Clicks Listen and waits until sound frames are played."""
    driver.find_element(By.ID, "listen").click()
    played = wait_for(lambda: driver.find_element(By.TAG_NAME, "body").get_attribute("data-sound-frames"), timeout)
    return [("sound frames played", bool(played), played or "none")]


def axe_script():
    """axe-core's script, as scripts/deps installs it (or QUORVANE_AXE names it); None when missing."""
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    for path in (os.environ.get("QUORVANE_AXE"),
                 os.path.join(cache, "quorvane", "npm", "node_modules", "axe-core", "axe.min.js")):
        if path and os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                return f.read()
    return None


def check_accessibility(driver, width, height=900):
    """Runs axe-core on the open page at a window width; any serious or critical
    violation fails."""
    driver.set_window_size(width, height)
    script = axe_script()
    if script is None:
        return [(f"axe at {width} px", False, "axe-core is not installed: run scripts/deps")]
    driver.execute_script(script)
    found = driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        axe.run(document, { resultTypes: ["violations"] }).then((r) => done(r.violations.map((v) =>
            ({ id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target.join(" ")).slice(0, 5) }))));""")
    bad = [v for v in found if v["impact"] in ("serious", "critical")]
    detail = "; ".join(f"{v['id']} ({v['impact']}): {', '.join(v['nodes'])}" for v in bad)
    return [(f"axe at {width} px: no serious or critical violation", not bad,
             detail or f"{len(found)} lesser: {', '.join(v['id'] for v in found) or 'none'}")]


def check_phone_log(driver, timeout=10):
    """At 360 px every field of the newest hit is on the screen, and the page
    needs no sideways scrolling; the stand-in's key_scan rows are alerts,
    marked in words, and no other row is."""
    driver.set_window_size(360, 900)
    rows = wait_for(lambda: driver.find_elements(By.CSS_SELECTOR, "#log tbody tr"), timeout) or []
    if not rows:
        return [("hit log rows at 360 px", False, "no rows")]
    width = driver.execute_script("return document.documentElement.clientWidth")
    cells = rows[0].find_elements(By.TAG_NAME, "td")
    outside = [c.text for c in cells if c.rect["x"] < 0 or c.rect["x"] + c.rect["width"] > width + 1]
    wide = driver.execute_script("return document.documentElement.scrollWidth > innerWidth")
    results = [("all 7 fields of a hit fit 360 px", len(cells) == 7 and not outside and not wide,
                f"{len(cells)} cells, outside: {outside}, page scrolls sideways: {wide}")]
    marked = [(r.get_attribute("class") == "alert" and r.text.startswith("Alert"), "key_scan" in r.text) for r in rows]
    right = all(is_marked == is_alert for is_marked, is_alert in marked) and any(a for _, a in marked)
    results.append(("alert rows, and only they, say so", right, f"(marked, alert) per row: {marked}"))
    return results


def check_keyboard(driver, key="key_menu", timeout=10):
    """Tab reaches every key, and Enter on one presses it."""
    driver.set_window_size(1280, 900)
    wanted = {b.get_attribute("data-key") for b in driver.find_elements(By.CSS_SELECTOR, "button[data-key]")
              if b.is_displayed()}
    driver.execute_script("document.activeElement && document.activeElement.blur(); window.focus();")
    reached, pressed = set(), None
    for _ in range(len(wanted) + 10):
        ActionChains(driver).send_keys(Keys.TAB).perform()
        name = driver.execute_script("return document.activeElement.dataset.key || ''")
        reached.add(name)
        if name == key and pressed is None:
            ActionChains(driver).send_keys(Keys.ENTER).perform()
            pressed = wait_for(lambda: key in display(driver) and display(driver), timeout)
    missing = sorted(wanted - reached)
    # The arrows scroll the focused log and press no knob key.
    driver.execute_script("document.querySelector('.log').focus()")
    ActionChains(driver).send_keys(Keys.ARROW_DOWN).perform()
    knob = wait_for(lambda: "key_push" in display(driver), 1)
    return [("Tab reaches every key", not missing, ", ".join(missing) or f"{len(wanted)} keys"),
            (f"Enter presses {key}", bool(pressed), repr(pressed or display(driver))),
            ("arrows in the focused log press no key", not knob, repr(display(driver)))]


def check_token_hidden(driver, timeout=10):
    """The token has left the address bar, and a reload still connects."""
    results = [("token out of the address bar", "token=" not in driver.current_url, driver.current_url)]
    driver.refresh()
    connected = wait_for(lambda: text(driver, "conn").startswith("Connected") and text(driver, "conn"), timeout)
    results.append(("a reload connects again", bool(connected), connected or text(driver, "conn")))
    return results


def check_no_sound(driver, timeout=10):
    """With no sound input on the computer, Listen says why on the page."""
    listen = driver.find_element(By.ID, "listen")
    if listen.get_attribute("aria-pressed") == "true":
        listen.click()
    listen.click()
    said = wait_for(lambda: "No sound input" in text(driver, "conn") and text(driver, "conn"), timeout)
    return [("Listen without sound input says why", bool(said) and listen.get_attribute("aria-pressed") == "false",
             said or text(driver, "conn"))]


def report(results):
    for name, passed, detail in results:
        print(f"{'PASS' if passed else 'FAIL'}  {name}: {detail}")
    return all(passed for _, passed, _ in results)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("url")
    parser.add_argument("--key", default="key_scan")
    parser.add_argument("--expect")
    parser.add_argument("--shortcut")
    parser.add_argument("--view", action="store_true")
    parser.add_argument("--refused", action="store_true")
    parser.add_argument("--listen", action="store_true", help="also click Listen and wait for sound frames")
    parser.add_argument("--timeout", type=float, default=10)
    args = parser.parse_args()
    use_system_python()
    driver = open_browser()
    if driver is None:
        print("SKIP  Chromium, chromedriver or Selenium is not installed")
        return 77
    try:
        results = check_page(driver, args.url, args.key, args.expect, args.shortcut, args.view, args.refused,
                             args.timeout)
        if args.listen and all(passed for _, passed, _ in results):
            results += check_sound(driver, args.timeout)
    finally:
        close_browser(driver)
    return 0 if report(results) else 1


if __name__ == "__main__":
    sys.exit(main())
