#!/usr/bin/python3
"""The program as a screen reader sees it through AT-SPI: on an X server of its own with a
window manager, a session bus and the accessibility bus started here, the test reads the
accessible tree, toggles a garment's box through it and checks the list file with `vsl dump`.
With --wayland the program is a client of the compositor in WAYLAND_DISPLAY instead, which the
caller started. Exit 77 means a tool is missing (skipped)."""

import datetime
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
STEP_TIMEOUT = 10.0


class Failure(Exception):
    pass


def wait_until(what, done, timeout=STEP_TIMEOUT, step=0.05):
    """Polls done() until it returns something true; every wait here is bounded."""
    deadline = time.monotonic() + timeout
    while True:
        value = done()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(step)


class Session:
    """Xvfb, openbox (or the caller's compositor), a session bus and the accessibility bus; all
    ended on the way out."""

    def __init__(self, folder, wayland):
        self.folder = folder
        self.wayland = wayland
        self.processes = []
        self.env = dict(os.environ)

    def start(self, argv, env=None, name="log"):
        log = open(os.path.join(self.folder, name + ".txt"), "w")
        p = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL, stdout=log,
                             stderr=subprocess.STDOUT, start_new_session=True)
        self.processes.append(p)
        return p

    def read_line_from(self, argv, env):
        """Starts a program that prints one line once it is ready (display, bus address)."""
        p = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        self.processes.append(p)
        os.set_blocking(p.stdout.fileno(), False)
        text = b""

        def line():
            nonlocal text
            text += p.stdout.read() or b""
            return b"\n" in text

        wait_until(argv[0] + " to start", line, timeout=15.0)
        return text.split(b"\n")[0].decode().strip()

    def open(self):
        for name in ["DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DISPLAY"] + (
                [] if self.wayland else ["WAYLAND_DISPLAY"]):
            self.env.pop(name, None)
        if not self.wayland:
            display = self.read_line_from(
                ["Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp",
                 "-noreset"], self.env)
            self.env["DISPLAY"] = ":" + display
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.read_line_from(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"], self.env)
        self.env["XDG_RUNTIME_DIR"] = os.path.join(self.folder, "run")
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        if not self.wayland:
            self.start(["openbox"], name="openbox")
        self.start([at_spi_bus_launcher(), "--launch-immediately"], name="at-spi")
        # The client side below talks to the same buses.
        os.environ.update({k: v for k, v in self.env.items()
                           if k in ["DISPLAY", "DBUS_SESSION_BUS_ADDRESS"]})

    def close(self):
        for p in reversed(self.processes):
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGTERM)
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.wait(timeout=5)


def at_spi_bus_launcher():
    for path in ["/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"]:
        if os.access(path, os.X_OK):
            return path
    return None


def find(node, test, depth=0):
    """The accessibles under node (itself included) that test() accepts, in tree order."""
    found = []
    if node is None or depth > 12:
        return found
    try:
        if test(node):
            found.append(node)
        count = node.childCount
    except Exception:
        return found
    # A table of many rows would take long to walk; its cells are reached through the table.
    if node.getRoleName() == "table":
        return found
    for i in range(count):
        found += find(node.getChildAtIndex(i), test, depth + 1)
    return found


def states(acc):
    import pyatspi
    acc.clear_cache()
    s = acc.getState()
    return {name for name, value in [("checkable", pyatspi.STATE_CHECKABLE),
                                     ("checked", pyatspi.STATE_CHECKED),
                                     ("selected", pyatspi.STATE_SELECTED)] if s.contains(value)}


def run(program, vsl, folder, wayland):
    import pyatspi
    root = os.path.join(folder, "root")
    list_file = os.path.join(root, "My Documents", "Personal", "Vestory.vsl")
    os.makedirs(os.path.dirname(list_file))
    csv = os.path.join(folder, "list.csv")
    with open(csv, "w") as f:
        f.write("AC,Item Name,Qty,Size,Note,Month,Day,Year\n"
                "0,Blue shirt,2,M,,0,0,0\n"
                "1,Wool coat,1,L,Collar,3,7,2002\n")
    # The list's writer mark goes to the test's folder, not to one in /tmp.
    subprocess.run([vsl, "import", csv, list_file], check=True, timeout=STEP_TIMEOUT,
                   stdout=subprocess.DEVNULL, env=dict(os.environ, XDG_RUNTIME_DIR=folder))

    session = Session(folder, wayland)
    try:
        session.open()
        env = dict(session.env)
        env.update({"QT_QPA_PLATFORM": "wayland" if wayland else "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                    "VESTORYLIST_ROOT": root, "XDG_CONFIG_HOME": os.path.join(folder, "config")})
        env.pop("VESTORYLIST_EXIT_AFTER_FIRST_PAINT", None)
        app_process = session.start([program], env=env, name="program")

        desktop = pyatspi.Registry.getDesktop(0)

        def application():
            if app_process.poll() is not None:
                raise Failure("the program ended: " + open(os.path.join(folder, "program.txt")).read())
            for i in range(desktop.childCount):
                a = desktop.getChildAtIndex(i)
                if a is not None and a.name == "vestorylist":
                    return a
            return None

        app = wait_until("the program on the accessibility bus", application, timeout=20.0)
        table = wait_until("the list", lambda: (find(app, lambda n: n.getRoleName() == "table")
                                                or [None])[0])
        t = table.queryTable()
        checks = []

        def check(what, got, wanted):
            if got != wanted:
                checks.append("%s: got %r, wanted %r" % (what, got, wanted))

        # The rows as a screen reader reads them: a box per row, then the cells' texts.
        check("rows", t.nRows, 2)
        check("columns", [t.getColumnDescription(c) for c in range(t.nColumns)],
              ["AC", "Item Name", "Qty", "Date"])
        for row, (ticked, texts) in enumerate([(False, ["Blue shirt", "2", ""]),
                                               (True, ["Wool coat", "1", "03/07/2002"])]):
            box = t.getAccessibleAt(row, 0)
            check("row %d box role" % row, box.getRoleName(), "check box")
            check("row %d box name" % row, box.name, "At the cleaners")
            # Qt 6.4's bridge passes no checkable state on; the check box role says as much.
            check("row %d box ticked" % row, "checked" in states(box), ticked)
            check("row %d texts" % row, [t.getAccessibleAt(row, c).name for c in (1, 2, 3)],
                  texts)

        # The command bar's buttons: their labels as names, their tips as descriptions.
        buttons = {b.name: b.description for b in
                   find(app, lambda n: n.getRoleName() in ("push button", "toggle button"))}
        check("List button", buttons.get("List"), "File")
        check("Tools button", buttons.get("Tools"), "Help")
        check("About button", buttons.get("About"), "About")

        # Toggling the first box does what a tap in it does: ticked, dated, saved.
        box = t.getAccessibleAt(0, 0)
        action = box.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Toggle" not in names and "toggle" not in names:
            raise Failure("the box has no toggle action: %r" % names)
        action.doAction(names.index("Toggle" if "Toggle" in names else "toggle"))
        today = datetime.date.today()
        wanted_line = "1,Blue shirt,2,M,,%d,%d,%d" % (today.month, today.day, today.year)

        def dumped():
            r = subprocess.run([vsl, "dump", list_file], capture_output=True, text=True,
                               timeout=STEP_TIMEOUT)
            return wanted_line in r.stdout.splitlines()

        try:
            wait_until("the toggled garment in the list file", dumped)
        except Failure as e:
            checks.append(str(e))
        try:
            wait_until("the box reported ticked",
                       lambda: "checked" in states(t.getAccessibleAt(0, 0)), timeout=5.0)
        except Failure as e:
            checks.append(str(e))
        check("row 0 date after toggle", t.getAccessibleAt(0, 3).name,
              "%02d/%02d/%04d" % (today.month, today.day, today.year))

        if checks:
            raise Failure("\n".join(checks))
    finally:
        session.close()


def main():
    args = [a for a in sys.argv[1:] if a != "--wayland"]
    wayland = len(args) < len(sys.argv) - 1
    if len(args) != 2 or (wayland and not os.environ.get("WAYLAND_DISPLAY")):
        print("usage: ScreenReaderTest.py [--wayland] PROGRAM VSL")
        return 2
    tools = ["dbus-daemon"] + ([] if wayland else ["Xvfb", "openbox"])
    missing = [tool for tool in tools if not shutil.which(tool)]
    if not at_spi_bus_launcher():
        missing.append("at-spi-bus-launcher")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    if missing:
        print("skipped, missing: " + " ".join(missing))
        return SKIP
    folder = tempfile.mkdtemp(prefix="vl-a11y-")
    try:
        run(args[0], args[1], folder, wayland)
    except Failure as e:
        print("FAILED: " + str(e))
        for name in ["program", "at-spi", "openbox"]:
            path = os.path.join(folder, name + ".txt")
            if os.path.exists(path):
                print("--- %s output:\n%s" % (name, open(path).read()))
        return 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
