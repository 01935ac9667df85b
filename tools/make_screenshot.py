#!/usr/bin/python3
"""Takes the screenshot of the AppStream metainfo: the real game window in a round.

Runs everything on this machine under a virtual display: wendlewick-host on the game
port 7772 with three computer players, a scripted player "Mara" who chats, starts a
game on a 7x7 board and claims a few words, and the game window itself as "Anna",
who types words into the board as a person would. About 40 seconds into the round
the window is grabbed.

Needs (Debian): xvfb, xdotool, imagemagick. Nothing of this is needed to build.

Usage: tools/make_screenshot.py [folder of the programs] [picture]
       (defaults: build/release/bin, dist/screenshots/main-window.png)
"""

import os
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DISPLAY = ":77"
PORT = 7772
TERMINATOR = b"\xff"


class Player:
    """A scripted player speaking the game's protocol."""

    def __init__(self, name):
        self.sock = socket.create_connection(("127.0.0.1", PORT), timeout=30)
        self.buffer = b""
        ask = self.wait_for(b"CMD_sendlogininfo+")
        self.slot = int(ask.split(b"+")[1])
        self.send(b"CMD_logininfo+%d+1.0.7+%s" % (self.slot, name.encode("latin-1")))

    def send(self, message):
        self.sock.sendall(message + TERMINATOR)

    def wait_for(self, prefix, timeout=30):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while TERMINATOR in self.buffer:
                message, self.buffer = self.buffer.split(TERMINATOR, 1)
                if message.startswith(prefix):
                    return message
            self.sock.settimeout(max(0.1, deadline - time.monotonic()))
            data = self.sock.recv(65536)
            if not data:
                break
            self.buffer += data
        raise RuntimeError("no %r from the host" % prefix)


def load_words(minimum, maximum):
    with open(os.path.join(ROOT, "assets", "wordlist", "English.rec"), "rb") as f:
        data = f.read()
    words = set()
    for i in range(0, len(data) - 14, 15):
        word = data[i + 1:i + 15].decode("ascii").strip()
        if minimum <= len(word) <= maximum:
            words.add(word)
    return words


def board_of(message):
    """The letters of a CMD_loadboard message: {(row, col): letter}."""
    fields = message.split(b"+")[1:]
    board = {}
    for k in range(0, len(fields) - 2, 3):
        row, col, code = int(fields[k]), int(fields[k + 1]), int(fields[k + 2])
        if 1 <= code <= 26:
            board[(row, col)] = chr(ord("A") + code - 1)
    return board


def find_words(board, words):
    """Words on the board with one chain of tiles each, longest first."""
    prefixes = {w[:i] for w in words for i in range(1, len(w) + 1)}
    found = {}

    def walk(cell, text, chain):
        text += board[cell]
        if text not in prefixes:
            return
        chain = chain + [cell]
        if text in words and text not in found:
            found[text] = chain
        r, c = cell
        for dr in (-1, 0, 1):
            for dc in (-1, 0, 1):
                nxt = (r + dr, c + dc)
                if nxt in board and nxt not in chain:
                    walk(nxt, text, chain)

    for cell in board:
        walk(cell, "", [])
    return sorted(found.items(), key=lambda item: (-len(item[0]), item[0]))


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                          env=dict(os.environ, DISPLAY=DISPLAY)).stdout.strip()


def main():
    bin_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release", "bin"))
    out = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "dist", "screenshots", "main-window.png"))
    os.makedirs(os.path.dirname(out), exist_ok=True)
    home = tempfile.mkdtemp(prefix="wendlewick-shot-")
    os.makedirs(os.path.join(home, "run"), mode=0o700)
    env = dict(os.environ, HOME=home, DISPLAY=DISPLAY, QT_QPA_PLATFORM="xcb", LANG="C.UTF-8",
               XDG_RUNTIME_DIR=os.path.join(home, "run"), WENDLEWICK_DATA_DIR=os.path.join(home, "data"),
               WENDLEWICK_DISCOVERY="off")
    processes = []
    try:
        processes.append(subprocess.Popen(["Xvfb", DISPLAY, "-screen", "0", "1024x768x24", "-nolisten", "tcp"]))
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X" + DISPLAY[1:]):
                break
            time.sleep(0.1)
        host = subprocess.Popen([os.path.join(bin_dir, "wendlewick-host"), "--port", str(PORT), "--bots", "3"],
                                env=env, stdout=subprocess.PIPE, text=True)
        processes.append(host)
        while "listening" not in host.stdout.readline():
            pass

        mara = Player("Mara")  # slot 1: starts the game; the computer players follow
        processes.append(subprocess.Popen([os.path.join(bin_dir, "wendlewick"), "Anna", "127.0.0.1", "join"], env=env))
        mara.wait_for(b"CMD_newplayerinfo+5+Anna")
        time.sleep(3)
        mara.send(b"CMD_chat+1+Hi all, one more game before dinner?|clNavy")
        time.sleep(2)
        mara.send(b"CMD_startgame+Mara+50+180+10+4+0+")
        board = board_of(mara.wait_for(b"CMD_loadboard"))
        words = find_words(board, load_words(4, 9))

        window = xdotool("search", "--sync", "--name", "^Wendlewick$").split()[0]
        xdotool("windowfocus", "--sync", window)
        time.sleep(4)
        # Anna types long words (plain ones rather than plurals); Mara claims short ones.
        anna_words = [w for w, _ in words if 5 <= len(w) <= 7 and not w.endswith("S")][:10:2]
        mara_words = [(w, chain) for w, chain in words if len(w) == 4][:3]
        for i, word in enumerate(anna_words):
            xdotool("type", "--delay", "90", word.lower())
            xdotool("key", "Return")
            if i < len(mara_words):
                w, chain = mara_words[i]
                tiles = b"".join(b"+%d+%d+%d" % (k + 1, r, c) for k, (r, c) in enumerate(chain))
                mara.send(b"CMD_playerdone+1" + tiles)
            time.sleep(3)
        mara.send(b"CMD_chat+1+Nice one, Anna!|clNavy")
        time.sleep(20)
        subprocess.run(["import", "-window", window, out], env=env, check=True)
        print("wrote", out)
    finally:
        for p in reversed(processes):
            p.terminate()
            try:
                p.wait(10)
            except subprocess.TimeoutExpired:
                p.kill()


if __name__ == "__main__":
    main()
