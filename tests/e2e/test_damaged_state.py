"""Damaged state files given to the real program: the exact load messages,
a clean run and exit, and a whole, valid file after the next save."""

import time

import state
from e2e import check
from test_crash_safe_save import iconify_loop, read_state, stop, window_of

MESSAGES = ("Invalid UTF-8!", "Settings Loaded", "Settings Checksum Invalid", "Badges Loaded",
            "Badge Checksum Invalid", "Highscore 0 Loaded", "Highscore 1 Loaded", "Highscore 2 Loaded",
            "Highscore 0 Checksum Invalid", "Highscore 1 Checksum Invalid", "Highscore 2 Checksum Invalid")

SETTINGS = [100 + 37 * i for i in range(25)]
WORDS = (33, -2147483647, 77, 10, 1 << 20, 55, -1, 99)
BEST = [[50000 - 611 * (10 * d + k) for k in range(10)] for d in range(3)]
RECENT = [[50000 - 611 * (30 + 10 * d + k) for k in range(10)] for d in range(3)]
TEXT = state.text(SETTINGS, WORDS, BEST, RECENT)
FIELDS = TEXT.split("|")[:-1]

ALL = ["Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded", "Highscore 2 Loaded"]


def utf16(text, big, mark):
    body = text.encode("utf-16-be" if big else "utf-16-le")
    return ((b"\xfe\xff" if big else b"\xff\xfe") if mark else b"") + body


def with_field(index, value):
    fields = list(FIELDS)
    fields[index] = value
    return "".join(f + "|" for f in fields).encode()


CASES = [
    ("whole", TEXT.encode(), ALL),
    ("empty file", b"", []),
    ("first 40 fields", "".join(f + "|" for f in FIELDS[:40]).encode(),
     ["Settings Loaded", "Badges Loaded"]),
    ("first 25 fields", "".join(f + "|" for f in FIELDS[:25]).encode(), ["Settings Checksum Invalid"]),
    ("letters in a setting", with_field(3, "abc"), ["Settings Checksum Invalid"] + ALL[1:]),
    ("huge badge word", with_field(27, "9" * 40), ["Settings Loaded", "Badge Checksum Invalid"] + ALL[2:]),
    ("minus signs in a score", with_field(60, "--5"), ALL[:3] + ["Highscore 1 Checksum Invalid", ALL[4]]),
    ("UTF-16 with mark", utf16(TEXT, False, True), ALL),
    ("UTF-16 big-endian without mark", utf16(TEXT, True, False), ALL),
    ("invalid UTF-8", TEXT.encode()[:-5] + b"\xc3" + TEXT.encode()[-5:],
     ["Invalid UTF-8!"] + ALL[:4] + ["Highscore 2 Checksum Invalid"]),
    ("ten megabytes of digits", b"7" * (10 << 20), []),
]


def test_damaged_state_files(s):
    s.install_program()
    for name, data, expected in CASES:
        with open(s.state_path(), "wb") as f:
            f.write(data)
        game = s.start(name="game")
        window = window_of(s, game)
        if expected:
            game.wait_output(expected[-1])
        else:
            time.sleep(1.0)
        # The next save heals whatever was damaged.
        loop = iconify_loop(s, window)
        deadline = time.monotonic() + 30
        while read_state(s) == data and time.monotonic() < deadline:
            time.sleep(0.05)
        stop(loop)
        check(game.alive(), f"{name}: the program ended\n{game.describe()}")
        s.run(["xdotool", "windowactivate", window], check=False)
        status = game.close()
        check(status == 0, f"{name}: exit status {status}\n{game.describe()}")
        printed = [line for line in game.lines() if line in MESSAGES]
        check(printed == expected, f"{name}: printed {printed}, expected {expected}")
        check("Runtime Error" not in game.stdout(), f"{name}: {game.describe()}")
        state.State(read_state(s).decode())
    print(f"{len(CASES)} damaged state files given to the program: all loaded as expected and healed")
