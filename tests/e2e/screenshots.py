#!/usr/bin/env python3
"""Takes the README's pictures: the menu, a round in play and the game-over overlay.

    tests/e2e/screenshots.py --build build [--out docs]

Runs the built program in a private X server like the end-to-end tests do and
writes menu.png, play.png and game-over.png (the window's client area).
"""

import argparse
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import e2e  # noqa: E402
from screens import start_at_menu  # noqa: E402


def save(s, geometry, path):
    image = s.screenshot(os.path.splitext(os.path.basename(path))[0])
    x, y, w, h = geometry
    subprocess.run(["convert", image.path, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-strip", path], check=True)
    print(f"wrote {path}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="build folder holding skitterbat and data/")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.dirname(HERE)), "docs"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    s = e2e.Session("screenshots", args.build)
    try:
        s.start_display()
        s.install_program()
        game, window, geometry = start_at_menu(s)
        save(s, geometry, os.path.join(args.out, "menu.png"))

        s.key("Return")
        time.sleep(3.5)  # the round is announced, then the ball can go
        s.key("space")
        s.key("Left", hold=0.3, after=0.6)  # the ball is on its way up
        save(s, geometry, os.path.join(args.out, "play.png"))

        s.key("Escape")
        time.sleep(0.5)
        s.keys("Left", "Return")
        time.sleep(0.5)  # the overlay has darkened the round and slid its words in
        save(s, geometry, os.path.join(args.out, "game-over.png"))
        game.close()
    finally:
        s.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
