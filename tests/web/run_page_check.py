#!/usr/bin/env python3
"""The page's script in headless Chromium against the stand-in server.

    run_page_check.py PAGE

Starts tests/web/remote_stand_in.py with PAGE (remote.html), then checks with
page_check.py: a control link connects, a button press and the Shift+1
shortcut reach the server and come back on the display and in the log, the
token leaves the address bar and a reload still connects, the log fits a
360 px phone with its alert rows marked, Tab and Enter work every key, axe-core
finds nothing serious at 1280 and 360 px, Listen plays sound frames (and says
why when there is no sound input), a view-only link shows no keys, and an open
page whose token the restarted server no longer takes says so. Exit status 0 when all pass, 1 when one fails, 77 (skipped) when
Chromium or Selenium is missing.
"""
import json
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_check  # noqa: E402


def main():
    page_check.use_system_python()
    driver = page_check.open_browser()
    if driver is None:
        print("SKIP  Chromium, chromedriver or Selenium is not installed")
        return 77
    server = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), "remote_stand_in.py"),
                               sys.argv[1]], stdout=subprocess.PIPE, text=True)
    try:
        ready = json.loads(server.stdout.readline())
        base = f"http://127.0.0.1:{ready['port']}/?token="
        results = []
        for name, check in [
            ("button", lambda: page_check.check_page(driver, base + ready["control"], "key_scan", expect="key_scan")),
            ("shortcut", lambda: page_check.check_page(driver, base + ready["control"], shortcut="shift+1",
                                                       expect="key_g1")),
            ("token", lambda: page_check.check_token_hidden(driver)),
            ("phone", lambda: page_check.check_phone_log(driver)),
            ("keyboard", lambda: page_check.check_keyboard(driver)),
            ("axe", lambda: page_check.check_accessibility(driver, 1280) + page_check.check_accessibility(driver, 360)),
            ("sound", lambda: page_check.check_sound(driver)),
            ("no sound", lambda: server.send_signal(signal.SIGUSR2) or page_check.check_no_sound(driver)),
            ("view", lambda: page_check.check_page(driver, base + ready["view"], view=True)),
            ("restart", lambda: server.send_signal(signal.SIGUSR1) or page_check.check_refused(driver)),
        ]:
            started = time.monotonic()
            results += check()
            print(f"      ({name}: {time.monotonic() - started:.1f} s)")
    finally:
        page_check.close_browser(driver)
        server.terminate()
        server.wait(10)
    return 0 if page_check.report(results) else 1


if __name__ == "__main__":
    sys.exit(main())
