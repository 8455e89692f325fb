#!/usr/bin/env python3
"""Writes the native program's menu frame in a 640 x 640 window as a binary
PPM, the picture the browser's menu is compared with."""

import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import e2e  # noqa: E402
from screens import start_at_menu  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("output")
    args = parser.parse_args()
    s = e2e.Session("web-reference", args.build)
    try:
        s.start_display()
        s.install_program()
        game, window, (x, y, w, h) = start_at_menu(s)
        image = s.screenshot("menu")
        rows = bytearray()
        for row in range(y, y + h):
            start = (row * image.width + x) * 3
            rows += image.rgb[start:start + w * 3]
        with open(args.output, "wb") as out:
            out.write(b"P6\n%d %d\n255\n" % (w, h) + bytes(rows))
        game.close()
    finally:
        s.close()


if __name__ == "__main__":
    main()
