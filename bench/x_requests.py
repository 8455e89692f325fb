#!/usr/bin/env python3
"""X requests a frame in steady play: the real program runs behind xtrace, a
proxy that logs every request it passes to the X server of $DISPLAY. A click
on EASY starts a round; the last ten seconds of the run are counted, by
request, against the frames presented in them (one PutImage each, the GL
driver's presentation of a software-rendered frame).

Usage: x_requests.py PROGRAM DATA_DIR [SECONDS]   (prints "key value" lines)
"""
import collections
import os
import re
import subprocess
import sys
import tempfile
import time

FAKE_DISPLAY = ":47"
REQUEST = re.compile(r"([0-9.]+) \d+:<:[0-9a-f]+:\s*\d+: (\S*?)Request\(\d+(?:,\d+)?\): (\S+)")


def count(log, seconds):
    requests = []
    with open(log, errors="replace") as f:
        for line in f:
            m = REQUEST.match(line)
            if m:
                requests.append((float(m.group(1)), m.group(2) + m.group(3)))
    if not requests:
        return None, collections.Counter()
    end = requests[-1][0] - 1  # the last second holds the shutdown
    counted = collections.Counter(name for t, name in requests if end - seconds <= t < end)
    frames = sum(n for name, n in counted.items() if name.endswith("PutImage"))
    return frames, counted


def main(program, data, seconds):
    work = tempfile.mkdtemp(prefix="skitterbat-xreq-")
    os.symlink(os.path.abspath(data), os.path.join(work, "data"))
    log = os.path.join(work, "xtrace.log")
    env = dict(os.environ, ALSOFT_DRIVERS="null")
    trace = subprocess.Popen(["xtrace", "-c", "-D", FAKE_DISPLAY, "--relative-timestamps", "-o", log, "--",
                              os.path.abspath(program)], cwd=work, env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        window = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 "Cobalt Game"], capture_output=True, text=True).stdout.split()
        if not window:
            print("x_requests_error the program's window never appeared")
            return 1
        time.sleep(2)  # past the loader
        geometry = dict(line.split("=") for line in subprocess.run(
            ["xdotool", "getwindowgeometry", "--shell", window[0]], capture_output=True, text=True).stdout.split())
        width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        # EASY, left of the menu's centre.
        subprocess.run(["xdotool", "mousemove", "--window", window[0], str(width * 30 // 100),
                        str(height * 62 // 100), "mousedown", "1", "sleep", "0.1", "mouseup", "1"])
        time.sleep(seconds + 3)
    finally:
        # The program is xtrace's child; closing it lets xtrace finish its log.
        subprocess.run(["pkill", "-P", str(trace.pid)])
        trace.wait(timeout=10)
    frames, counted = count(log, seconds)
    if not frames:
        print("x_requests_error no frame was presented")
        return 1
    print("x_requests_seconds %d" % seconds)
    print("x_requests_frames %d" % frames)
    print("x_requests_per_frame %.2f" % (sum(counted.values()) / frames))
    for name, n in counted.most_common():
        print("x_request_%s %.2f" % (name, n / frames))
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 10))
