#!/usr/bin/env python3
"""The real zelt-esc as a screen reader reads it.

Run inside a session bus of its own (dbus-run-session), on an X server of its
own (Xvfb), with Qt's accessibility bridge always on: the main window, the
speed plot (Ctrl+G) and the log window (Ctrl+L) are walked through AT-SPI.
Every control a user can work has a role and a name, and the lamps say in
words what their colours show: lit by the simulator's card and ESC, unlit
once the card has gone.

    accessibility_test.py ZELT_ESC ZELT_SIM
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_CHECK_BOX,
}
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAILED:", what, flush=True)


def wait_for(condition, timeout_s, what):
    """Polls the tree until condition holds; what (a text, or a function giving one) says what failed.

    Polled, with a deadline: AT-SPI's events would need an event loop of the
    script's own beside the program's, for a handful of checks."""
    end = time.monotonic() + timeout_s
    while time.monotonic() < end:
        try:
            value = condition()
        except Exception:  # an object that went while it was read
            value = None
        if value:
            return value
        time.sleep(0.1)
    check(False, what() if callable(what) else what)
    return None


def start_display():
    server = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    number = server.stdout.readline().decode().strip()
    if not number:
        server.kill()
        sys.exit("Xvfb did not start")
    return server, ":" + number


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def window(app, title):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def check_controls(win, title):
    """Every control a user can work, shown in the window, has a role and a name."""
    seen = 0
    for node, _ in walk(win):
        role = node.getRole()
        if role not in INTERACTIVE or not node.getState().contains(pyatspi.STATE_SHOWING):
            continue
        # The line edit inside an editable list or a spin box is read as part of it.
        parent = node.parent
        if role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) and parent is not None and parent.getRole() in (
                pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON):
            continue
        seen += 1
        check(node.getRoleName() != "", "%s: a control without a role" % title)
        check(node.name.strip() != "", "%s: a %s without a name" % (title, node.getRoleName()))
    check(seen > 0, "%s: no controls found" % title)
    print("%s: %d controls, each with a role and a name" % (title, seen), flush=True)
    return seen


def key(display, window_id, keys):
    # No window manager gives the window the focus: the test does.
    env = dict(os.environ, DISPLAY=display)
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], env=env, check=True, timeout=30)
    subprocess.run(["xdotool", "key", keys], env=env, check=True, timeout=30)


def box(app):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and w.getState().contains(
                pyatspi.STATE_SHOWING):
            return w
    return None


def main():
    program, simulator = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="zelt-a11y-")
    server, display = start_display()
    sim = esc = None
    try:
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=work, LANG="C", LC_ALL="C")
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":detect_leaks=0"
        sim = subprocess.Popen([simulator], stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)
        port = sim.stdout.readline().decode().strip()
        if not port:
            sys.exit("zelt-sim did not start")
        copy = os.path.join(work, "zelt-esc")
        shutil.copy(program, copy)
        with open(os.path.join(work, "zelt.ini"), "w") as ini:
            ini.write("[COMSET]\nCOM=%s\n" % port)
        esc = subprocess.Popen([copy], env=env, cwd=work)

        # pyatspi finds the session bus this script runs in; the display is the program's own.
        app = wait_for(lambda: application(esc.pid), 30, "zelt-esc does not show on the accessibility bus")
        if app is None:
            return 1
        main_window = wait_for(lambda: window(app, "ZELT brushless ESC software V1.2 "), 20,
                               "the main window is not in the accessible tree")
        if main_window is None:
            return 1
        check_controls(main_window, "main window")

        # The lamps are named after their captions; the captions have no description.
        lamps = [n for n, _ in walk(main_window) if n.name in ("COM Connection", "ESC Connection") and n.description]
        check(len(lamps) == 2, "the two lamps have no descriptions")
        card = next((n for n in lamps if n.name == "COM Connection"), None)
        esc_lamp = next((n for n in lamps if n.name == "ESC Connection"), None)
        if card is None or esc_lamp is None:
            return 1
        wait_for(lambda: card.description == "Setting card connected", 20,
                 lambda: "the card lamp does not say the card is connected (%r)" % card.description)
        wait_for(lambda: esc_lamp.description == "ESC identified", 20,
                 lambda: "the ESC lamp does not say the ESC is identified (%r)" % esc_lamp.description)
        print("lamps lit:", card.description, "/", esc_lamp.description, flush=True)

        window_id = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(esc.pid)],
                                   env=dict(os.environ, DISPLAY=display), capture_output=True, text=True,
                                   timeout=30).stdout.split()[0]
        for keys, title in (("ctrl+g", "Speed plot"), ("ctrl+l", "Link trace")):
            key(display, window_id, keys)
            w = wait_for(lambda: window(app, title), 20, "%s does not open the %s window" % (keys, title))
            if w is not None:
                check_controls(w, title)
        plot = window(app, "Speed plot")
        if plot is not None:
            view = [n for n, depth in walk(plot) if depth > 0 and n.name == "Speed plot"]
            check(len(view) == 1 and view[0].description != "", "the plot itself has no name or description")

        # The card goes: the box that says so is read and answered through
        # AT-SPI alone, and then both lamps go out and say so.
        sim.stdin.write(b"quit\n")
        sim.stdin.flush()
        sim.wait(10)
        message = wait_for(lambda: box(app), 20, "no box says the card has gone")
        if message is not None:
            check_controls(message, "the box")
            ok = [n for n, _ in walk(message) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
            check(len(ok) == 1, "the box has not one button")
            if ok:
                ok[0].queryAction().doAction(0)
        wait_for(lambda: card.description == "Setting card not connected", 20,
                 lambda: "the card lamp does not say the card has gone (%r)" % card.description)
        wait_for(lambda: esc_lamp.description == "No ESC identified", 20,
                 lambda: "the ESC lamp does not say the ESC has gone (%r)" % esc_lamp.description)
        print("lamps out:", card.description, "/", esc_lamp.description, flush=True)
    finally:
        for p in (esc, sim):
            if p is not None and p.poll() is None:
                p.kill()
                p.wait()
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)
    if FAILURES:
        return 1
    print("accessible tree: every control named, the lamps' states in words")
    return 0


if __name__ == "__main__":
    sys.exit(main())
