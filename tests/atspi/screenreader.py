#!/usr/bin/python3
"""Reads Velmora's windows as a screen reader does, through AT-SPI.

Starts a private session bus with the accessibility bus and its registry,
runs the program on a local page of a site that is not the home site, and
checks what the tree says: every control a person can use has a name, the
program's one window is the only one at the top, the strip above the page
names the site, and the page's own heading, link, button and field are under
the web document with their text.

    screenreader.py PROGRAM            the check (exit code 0 when it holds)
    screenreader.py PROGRAM --dump     also prints the main window's tree
"""
import http.server
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PAGE = """<!doctype html><html><head><meta charset="utf-8"><title>Lisbon hotels</title></head>
<body><h1>Hotels in Lisbon</h1>
<p><a href="#deals">Deal of the day</a></p>
<label>Guests <input type="text" id="guests"></label>
<button>Compare prices</button></body></html>"""

# The page's content a screen reader must find under the document: (role, name).
PAGE_CONTENT = [("heading", "Hotels in Lisbon"), ("link", "Deal of the day"),
                ("push button", "Compare prices"), ("text", "Guests")]

# Roles of controls a person uses, which need a name to be told apart.
NAMED_ROLES = {"push button", "progress bar", "list", "text", "entry", "image",
               "check box", "combo box", "menu item"}


def role(node):
    """The node's role as older AT-SPI names it: newer ones call a push button "button"."""
    name = node.getRoleName()
    return "push button" if name == "button" else name


def serve_page():
    """The page, from a web site of its own on 127.0.0.1: its server and its address."""
    class Page(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            body = PAGE.encode("utf-8")
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *arguments):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Page)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d" % server.server_address[1]


def start_bus(environment):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, env=environment, text=True)
    address = bus.stdout.readline().strip()
    if not address:
        raise RuntimeError("the private session bus did not start")
    return bus, address


def until(what, timeout=60):
    """Polls `what` until it returns something true, or fails after `timeout` s."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = what()
        if found:
            return found
        time.sleep(0.25)
    return None


def walk(node, depth=0, seen=None):
    """Each node under `node` with its depth; the tree a screen reader walks."""
    if node is None:
        return
    yield node, depth
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(min(count, 500)):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def showing(node):
    import pyatspi
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def described(node):
    try:
        return "%s %r" % (node.getRoleName(), node.name)
    except Exception:
        return "(gone)"


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    program = os.path.abspath(sys.argv[1])
    dump = "--dump" in sys.argv
    work = tempfile.mkdtemp(prefix="velmora-atspi-")
    environment = dict(os.environ)
    for name in ("XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"):
        environment[name] = os.path.join(work, name.lower())
        os.makedirs(environment[name], mode=0o700)
    with open(os.path.join(work, "page.html"), "w", encoding="utf-8") as page:
        page.write(PAGE)
    processes = []
    server = None
    try:
        bus, address = start_bus(environment)
        processes.append(bus)
        environment["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ.update({k: environment[k] for k in ("DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")})
        # The accessibility bus and the registry that screen readers ask.
        launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    env=environment, stderr=subprocess.DEVNULL)
        processes.append(launcher)
        import pyatspi  # after the bus address is set: it connects on import
        environment["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        environment["VELMORA_TEST_HOME_URL"] = "file://" + os.path.join(work, "page.html")
        server, site = serve_page()
        arguments = [program, site + "/hotels"] + (["--no-sandbox"] if os.geteuid() == 0 else [])
        velmora = subprocess.Popen(arguments, env=environment, cwd=work)
        processes.append(velmora)

        def application():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name.lower() == "velmora":
                    return app
            return None

        def document():
            app = application()
            if app is None:
                return None
            for node, _ in walk(app):
                if node.getRoleName() == "document web":
                    names = {(role(n), n.name.strip()) for n, _ in walk(node)}
                    if all(item in names for item in PAGE_CONTENT):
                        return node
            return None

        failures = []
        if until(application) is None:
            print("FAIL: Velmora never appeared on the accessibility bus")
            return 1
        if until(document) is None:
            failures.append("the page's heading, link, button and field never appeared under the document")
            for node, depth in walk(application()):
                if node.getRoleName() == "document web":
                    for child, depth in walk(node):
                        print("  " * depth + described(child))
        # Another site than the home site's: the strip above the page names it.
        def strip_read():
            names = {(role(n), n.name) for n, _ in walk(application()) if showing(n)}
            return ("push button", site) in names and ("label", "Not secure") in names
        if until(strip_read, 20) is None:
            failures.append("the strip naming %s was not found" % site)
        # The find bar, open with a word in it, is read the same way.
        subprocess.run(["xdotool", "search", "--sync", "--name", "^Velmora$", "windowfocus", "--sync",
                        "key", "ctrl+f", "type", "Lisbon"], env=environment, check=False)

        def find_bar_open():
            return any(n.getRoleName() == "text" and n.name == "Find" and showing(n)
                       for n, _ in walk(application()))
        if until(find_bar_open, 20) is None:
            failures.append("Ctrl+F did not open the find bar")
        app = application()
        # At the top, Velmora's window and nothing else: no window a screen
        # reader would offer that the user never sees.
        windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
        others = [described(w) for w in windows if w is None or (w.getRoleName(), w.name) != ("frame", "Velmora")]
        if "--no-stray-windows" in sys.argv and (len(windows) != 1 or others):
            failures.append("top-level windows other than Velmora's: %s" % ", ".join(others or ["(none)"]))
        window = next((n for n, d in walk(app) if d == 1 and n.getRoleName() == "frame"), None)
        for node, depth in walk(window):
            kind = role(node)
            inside_page = any(a.getRoleName() == "document web" for a in ancestors(node))
            if dump and not inside_page:
                print("  " * depth + described(node))
            if kind in NAMED_ROLES and showing(node) and not inside_page and not node.name.strip():
                failures.append("a %s without a name" % kind)
        if dump:
            doc = document()
            for node, depth in walk(doc):
                print("  " * (depth + 4) + described(node))
        for failure in failures:
            print("FAIL: " + failure)
        if not failures:
            print("PASS: every control named; the page's content is under the document")
        return 1 if failures else 0
    finally:
        if server is not None:
            server.shutdown()
        for process in reversed(processes):
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(work, ignore_errors=True)


def ancestors(node):
    parent = node.parent
    while parent is not None:
        yield parent
        parent = parent.parent


if __name__ == "__main__":
    sys.exit(main())
