#!/usr/bin/python3
"""Reads the game's main window over AT-SPI, the accessibility bus screen readers use,
and counts what a screen reader finds: the controls, those without a name, and the
board's table. It plays one round's start on the way: a headless host listens on a free
loopback port, this script joins it first (so it holds the host player's rights) and
starts a game on a 4 by 4 board once the game's window has joined; the board is read
once its tiles are dealt.

Needs a build (cmake --preset dev && cmake --build --preset dev) and, from Debian:
    apt-get install xvfb dbus at-spi2-core python3-pyatspi
Run from the repository's top folder:
    python3 tools/atspi_walk.py [BUILD_DIR]        # default build/dev
Everything runs on a virtual display and a private session bus, and the host only
listens on 127.0.0.1; nothing is left running afterwards.
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text", "entry",
    "spin button", "slider", "dial", "menu item", "check menu item", "radio menu item", "page tab",
    "link", "image", "table cell", "list item", "tree item", "list", "table", "tree", "progress bar",
}


def outer(build):
    """Starts the display and a session bus, then runs this script inside them."""
    display = ":%d" % (90 + os.getpid() % 9)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stderr=subprocess.DEVNULL)
    try:
        time.sleep(1)
        env = dict(os.environ, DISPLAY=display, ATSPI_WALK_INNER="1")
        env.pop("QT_QPA_PLATFORM", None)
        return subprocess.call(["dbus-run-session", "--", sys.executable, __file__, build], env=env)
    finally:
        xvfb.terminate()
        xvfb.wait()


def walk(node, found, depth=0):
    if node is None or depth > 60:
        return
    states = node.getState()
    import pyatspi
    if not states.contains(pyatspi.STATE_VISIBLE) or not states.contains(pyatspi.STATE_SHOWING):
        return
    role = node.getRoleName()
    if role in CONTROL_ROLES:
        found["controls"] += 1
        if not (node.name or "").strip():
            found["unnamed"].append("%s (%s)" % (role, node.getIndexInParent()))
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), found, depth + 1)


def find(node, test, depth=0):
    if node is None or depth > 60:
        return None
    if test(node):
        return node
    for i in range(node.childCount):
        hit = find(node.getChildAtIndex(i), test, depth + 1)
        if hit is not None:
            return hit
    return None


def count(window, label):
    found = {"controls": 0, "unnamed": []}
    walk(window, found)
    print("%s: %d controls, %d without a name" % (label, found["controls"], len(found["unnamed"])))
    for name in found["unnamed"]:
        print("    unnamed:", name)
    return found


def wait_for(what, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        result = what()
        if result:
            return result
        time.sleep(0.2)
    return None


def inner(build):
    subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    time.sleep(1)
    import pyatspi

    data = tempfile.mkdtemp(prefix="atspi-walk-")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", WENDLEWICK_DISCOVERY="off",
               WENDLEWICK_DATA_DIR=data, QT_QPA_PLATFORM="xcb")
    host = subprocess.Popen([os.path.join(build, "bin", "wendlewick-host"), "--port", "0"],
                            env=env, stdout=subprocess.PIPE, text=True)
    port = None
    for line in host.stdout:
        if "listening on port" in line:
            port = line.split()[-1]
            break
    # The first connection holds slot 1, the host player's: it will start the game.
    starter = socket.create_connection(("127.0.0.1", int(port)))
    starter.settimeout(10)
    received = b""
    while b"CMD_sendlogininfo" not in received:
        received += starter.recv(4096)
    starter.sendall(b"CMD_logininfo+1+1.0.7+Script\xff")
    game = subprocess.Popen([os.path.join(build, "bin", "wendlewick"), "Ann", "127.0.0.1:" + port, "join"],
                            env=env, cwd=data, stderr=subprocess.DEVNULL)
    status = 0
    try:
        desktop = pyatspi.Registry.getDesktop(0)

        def window():
            for app in desktop:
                if app is not None and (app.name or "").lower() == "wendlewick":
                    for frame in app:
                        if frame is not None and frame.name == "Wendlewick":
                            return frame
            return None

        main = wait_for(window)
        if main is None:
            print("the game's window did not appear on the bus")
            return 1
        time.sleep(2)
        start = count(main, "main window, waiting for a game")

        # What the game tells the bus from the game's start on is counted: the
        # announcements, the round clock's ticks, the board's turn.
        heard = {}

        def listen(event):
            heard[event.type] = heard.get(event.type, 0) + 1
            if event.type.startswith("object:property-change:accessible-name") and event.source.name:
                heard.setdefault("names", []).append(event.source.name)

        kinds = ["focus:", "object:state-changed:selected", "object:children-changed",
                 "object:property-change:accessible-name", "object:property-change:accessible-description"]
        for kind in kinds:
            pyatspi.Registry.registerEventListener(listen, kind)
        from gi.repository import GLib
        starter.sendall(b"CMD_startgame+Script+30+60+4+3\xff")
        board = wait_for(lambda: find(main, lambda n: n.getRoleName() == "table" and n.name == "Board"
                                      and n.childCount > 0), timeout=30)
        if board is None:
            print("no board was dealt")
            return 1
        time.sleep(1)
        table = board.queryTable()

        def rows():
            return " / ".join("".join(table.getAccessibleAt(r, c).name for c in range(table.nColumns))
                              for r in range(table.nRows))

        cell = table.getAccessibleAt(0, 0)
        print("board: %d rows, %d columns, %d cells read; %s" % (table.nRows, table.nColumns,
                                                               table.nRows * table.nColumns, rows()))
        print("first cell: name %r, description %r" % (cell.name, cell.description))
        playing = count(main, "main window, in a round")

        rotate = find(main, lambda n: n.getRoleName() == "push button" and n.name == "Rotate")
        rotate.queryAction().doAction(0)
        from gi.repository import GLib
        context = GLib.MainContext.default()
        end = time.time() + 3
        while time.time() < end:
            while context.iteration(False):
                pass
            time.sleep(0.05)
        print("board after the Rotate button's action:", rows())
        names = heard.pop("names", [])
        print("events from the game's start to the board's turn:")
        for kind in sorted(heard):
            print("    %s: %d" % (kind, heard[kind]))
        print("    names told:", " | ".join(name for name in names if not name.startswith("Time:")))
        status = 1 if start["unnamed"] or playing["unnamed"] else 0
    finally:
        starter.close()
        game.terminate()
        host.terminate()
        game.wait()
        host.wait()
    return status


if __name__ == "__main__":
    build_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/dev")
    sys.exit(inner(build_dir) if os.environ.get("ATSPI_WALK_INNER") else outer(build_dir))
