#!/usr/bin/env python3
"""Plays a short game of the native program in a private X server (start,
steer, launch, pause and quit) and copies the replay it kept to OUTPUT: a
desktop-recorded game for the browser to play."""

import argparse
import glob
import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import e2e  # noqa: E402
from screens import start_at_menu  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("output")
    args = parser.parse_args()
    s = e2e.Session("web-native-replay", args.build)
    try:
        s.start_display()
        s.install_program()
        game, _, _ = start_at_menu(s)
        s.key("Return")
        time.sleep(2)  # the round is set up
        for side in ("Left", "Right", "Left", "Right"):
            s.key("space")
            s.key(side, hold=0.7)
        s.key("Escape", after=1)
        s.key("Left")
        s.key("Return")
        kept = e2e.wait_until("the kept replay",
                              lambda: glob.glob(os.path.join(s.workdir, "replays", "*.replay")), 30)
        shutil.copyfile(kept[0], args.output)
        game.close()
    finally:
        s.close()


if __name__ == "__main__":
    main()
