#!/usr/bin/env python3
"""The real program as a screen reader reads it: under Xvfb with openbox, a
session bus and the accessibility bus (at-spi2-core), polling a simulated
scanner. Through AT-SPI (pyatspi) it checks that every interactive object
has a name and a role, that the display's text follows a hit, and that the
keyboard alone reaches every tab, the keypad and the display.

Usage: atspi_check.py QUORVANE QUORVANE_SIM. Exits 77 when a tool is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
TABS = ["Log", "Extended Info", "Tuner", "Settings", "History", "Memory"]
SCENARIO = """loop
step 1500 idle line1="  Scanning...   " line2="                " icons1=100000000000000
step 2500 hit line1="County Fire" line2="Fire Dispatch" freq=01544300 level=180 icons1=110000000000100 icons2=11000000000000010
"""


def wait_until(condition, seconds):
    """Polls condition until it gives something true or the deadline passes."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


class Session:
    """Xvfb, openbox, a session bus, the simulator and the program; all stopped at the end."""

    def __init__(self, program, simulator):
        self.processes = []
        self.folder = tempfile.TemporaryDirectory()
        self.env = dict(os.environ)
        self.env["DISPLAY"] = self.start_x()
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, env=self.env)
        self.processes.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        self.env.pop("AT_SPI_BUS_ADDRESS", None)
        # The accessibility bus, started here so that it and its registry
        # know the display.
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        self.start(["openbox"])
        app = self.folder.name
        with open(os.path.join(app, "scenario.txt"), "w") as f:
            f.write(SCENARIO)
        with open(os.path.join(app, "com_settings.txt"), "wb") as f:
            f.write(b"0\r\n3\r\n100\r\n")
        # The Log tab in front, port 1 opened at start.
        with open(os.path.join(app, "pgm_settings.txt"), "wb") as f:
            f.write(b"0\r\n0\r\n0\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n")
        self.start([simulator, "--scenario", os.path.join(app, "scenario.txt"), "--link", os.path.join(app, "com1")])
        wait_until(lambda: os.path.exists(os.path.join(app, "com1")), 10)
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.start([program, "--app-dir", app], env)

    def start_x(self):
        """An X server on a free display. Two servers started at the same
        moment may pick the same number; the one that loses ends at once
        and is started again."""
        for _ in range(5):
            read, write = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten",
                                     "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
            os.close(write)
            # The number comes with a line end; the pipe stays open until
            # then, or the server's write fails and it ends.
            number = b""
            while not number.endswith(b"\n"):
                chunk = os.read(read, 16)
                if not chunk:
                    break
                number += chunk
            os.close(read)
            display = ":" + number.decode().strip()
            env = dict(self.env, DISPLAY=display)
            answers = lambda: subprocess.run(["xprop", "-root", "_NET_SUPPORTED"], env=env, capture_output=True).returncode == 0
            if display != ":" and wait_until(lambda: xvfb.poll() is None and answers(), 5):
                self.processes.append(xvfb)
                return display
            xvfb.kill()
            xvfb.wait()
        raise RuntimeError("Xvfb did not start")

    def start(self, command, env=None):
        self.processes.append(subprocess.Popen(command, env=env or self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], env=self.env, check=False)

    def activate(self, title):
        """Gives the window the keyboard (on a busy machine the window manager may not have yet)."""
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title, "windowactivate", "--sync"],
                       env=self.env, check=False, timeout=20)

    def stop(self):
        for p in reversed(self.processes):
            p.kill()
            p.wait()
        self.folder.cleanup()


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    for tool in ["Xvfb", "openbox", "dbus-daemon", "xdotool", "xprop"]:
        if not shutil.which(tool):
            print(f"SKIP: {tool} is not installed (scripts/deps)")
            return SKIP
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        print("SKIP: at-spi2-core is not installed (scripts/deps)")
        return SKIP
    session = Session(sys.argv[1], sys.argv[2])
    try:
        # pyatspi finds the accessibility bus through the session bus it is given.
        os.environ.update({k: session.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        try:
            import pyatspi
        except ImportError:
            print("SKIP: python3-pyatspi is not installed (scripts/deps)")
            return SKIP
        return Check(pyatspi, session).run()
    finally:
        session.stop()


class Check:
    def __init__(self, pyatspi, session):
        self.at = pyatspi
        self.session = session
        self.failures = []
        roles = pyatspi
        self.interactive = {roles.ROLE_PUSH_BUTTON, roles.ROLE_CHECK_BOX, roles.ROLE_RADIO_BUTTON,
                            roles.ROLE_COMBO_BOX, roles.ROLE_LIST, roles.ROLE_TREE, roles.ROLE_TABLE,
                            roles.ROLE_TREE_TABLE, roles.ROLE_PAGE_TAB, roles.ROLE_PAGE_TAB_LIST,
                            roles.ROLE_SPIN_BUTTON, roles.ROLE_SLIDER, roles.ROLE_TOGGLE_BUTTON, roles.ROLE_ENTRY,
                            roles.ROLE_PASSWORD_TEXT, roles.ROLE_LIST_BOX}

    def fail(self, text):
        print("FAIL:", text)
        self.failures.append(text)

    def window(self):
        for app in self.at.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "quorvane":
                for w in app:
                    if w is not None and w.name == "BC246T Quorvane":
                        return w
        return None

    def walk(self, node, out, depth=0):
        """Every object under node; rows and cells of tables, trees and lists are left out."""
        if node is None or depth > 40:
            return
        out.append(node)
        if node.getRole() in (self.at.ROLE_TABLE, self.at.ROLE_TREE, self.at.ROLE_TREE_TABLE, self.at.ROLE_LIST,
                              self.at.ROLE_LIST_BOX):
            return
        for i in range(node.childCount):
            self.walk(node.getChildAtIndex(i), out, depth + 1)

    def everything(self, window):
        nodes = []
        self.walk(window, nodes)
        return nodes

    def find(self, window, name):
        nodes = []
        self.walk(window, nodes)
        return next((n for n in nodes if n.name == name), None)

    def focused(self, window):
        nodes = []
        self.walk(window, nodes)
        return next((n for n in nodes if n.getState().contains(self.at.STATE_FOCUSED)), None)

    def run(self):
        window = wait_until(self.window, 30)
        if window is None:
            self.fail("the window is not on the accessibility bus")
            return 1
        self.names_and_roles(window)
        self.display_follows_a_hit(window)
        self.keyboard_reaches_everything(window)
        print(f"{len(self.failures)} failed" if self.failures else "accessibility checks passed")
        return 1 if self.failures else 0

    def names_and_roles(self, window):
        nodes = []
        self.walk(window, nodes)
        interactive = [n for n in nodes if n.getRole() in self.interactive]
        print(f"{len(interactive)} interactive objects")
        if len(interactive) < 60:
            self.fail(f"only {len(interactive)} interactive objects")
        for n in interactive:
            name = n.name.strip()
            if not name or name.lower() in ("button", n.getRoleName()):
                self.fail(f"unnamed {n.getRoleName()} (name {n.name!r})")
            elif "_" in name and " " not in name:
                self.fail(f"{n.getRoleName()} named by an internal name: {name}")
        table = self.find(window, "Log Scanner Hits")
        if table is None:
            self.fail("no Log Scanner Hits table")
        else:
            headers = [table.queryTable().getColumnDescription(c) for c in range(table.queryTable().nColumns)]
            if "Channel" not in headers:
                self.fail(f"the log's column headers are {headers}")

    def display_follows_a_hit(self, window):
        display = self.find(window, "Scanner display")
        if display is None:
            self.fail("no Scanner display")
            return
        text = lambda: display.queryText().getText(0, -1)
        if not wait_until(lambda: "Scanning" in text(), 20):
            self.fail(f"the display reads {text()!r}, not the idle scanner")
        if not wait_until(lambda: "Fire Dispatch" in text(), 20):
            self.fail(f"the display reads {text()!r} during the hit")
        elif "Priority" not in text() or "Function" not in text():
            self.fail(f"the lit icons are not read: {text()!r}")

    def keyboard_reaches_everything(self, window):
        s = self.session
        name_of = lambda: (self.focused(window) or window).name
        s.activate("Quorvane")
        # Escape is the same however often it is pressed.
        for _ in range(3):
            s.key("Escape")
            if wait_until(lambda: name_of() == "Scanner display", 5):
                break
        else:
            self.fail(f"Escape leaves the focus on {name_of()!r}")
        # The tab bar is read by the tab it shows.
        nodes = []
        self.walk(window, nodes)
        tab_bar = next(n for n in nodes if n.getRole() == self.at.ROLE_PAGE_TAB_LIST)
        selected = lambda: tab_bar.name
        reached = []
        for _ in TABS:
            before = selected()
            s.key("ctrl+Next")
            reached.append(wait_until(lambda: selected() != before and selected(), 5))
        if sorted(filter(None, reached)) != sorted(TABS):
            self.fail(f"Ctrl+PgDn reached {reached}")
        # What has the focus then is named (the tab control gives its bar the focus).
        focused = [n for n in self.everything(window) if n.getState().contains(self.at.STATE_FOCUSED)]
        if any(not n.name.strip() for n in focused):
            self.fail("an unnamed object has the focus: " + ", ".join(n.getRoleName() for n in focused))
        # Tab from the display walks the keypad, row by row.
        s.activate("Quorvane")
        s.key("Escape")
        wait_until(lambda: name_of() == "Scanner display", 5)
        seen = []
        for _ in range(3):
            before = name_of()
            s.key("Tab")
            seen.append(wait_until(lambda: name_of() != before and name_of(), 5))
        if seen[:3] != ["Hold", "1", "2"]:
            self.fail(f"Tab from the display reached {seen}")


if __name__ == "__main__":
    sys.exit(main())
