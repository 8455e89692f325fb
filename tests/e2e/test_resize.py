"""Resizing the window reloads the art at the level that fits the new size."""

import os
import re
import time

import e2e
from e2e import check
from screens import start_at_menu, strip

# Every image the loader reads, without resolution suffix.
IMAGES = {"gfx", "bg", "BadgesA", "fonts/editundo", "common/icade", "common/TarnLogo", "common/dpad",
          "common/Buttons", "parts", "common/icons", "logo", "menu"}
SOUND_EFFECTS = 31
OPENED = re.compile(r'openat\([^,]*, "(?:\./)?data/([^"]+)"')


def data_files_opened(trace):
    """Data files the program opened (or tried to), in order."""
    try:
        with open(trace, errors="replace") as f:
            return OPENED.findall(f.read())
    except FileNotFoundError:
        return []


def images_at(names, suffix):
    """Image names of a loading pass that carry exactly this resolution suffix."""
    stems = set()
    for name in names:
        if name.endswith(".png"):
            stem = name[:-len(".png")]
            level = "-hd2" if stem.endswith("-hd2") else "-hd" if stem.endswith("-hd") else ""
            check(level == suffix, f"{name} read while loading the {suffix or 'plain'} art")
            stems.add(stem[:len(stem) - len(level)])
    return stems


def resize_and_wait(s, game, window, trace, size, last_file):
    before = len(data_files_opened(trace))
    s.xdotool("windowsize", window, str(size[0]), str(size[1]))
    e2e.wait_until(f"{last_file} after resizing to {size[0]}x{size[1]}",
                   lambda: last_file in data_files_opened(trace)[before:], 120, 0.3)
    check(s.geometry(window)[2:] == size, f"the window is {s.geometry(window)[2:]} after resizing to {size}")
    check(game.alive(), f"the program ended\n{game.describe()}")
    return data_files_opened(trace)[before:]


def test_resize_reloads_art(s):
    s.install_program()
    trace = os.path.join(s.artifacts, "openat.trace")
    game = s.start(strace=trace)
    window = game.wait_window(120)
    # A 640x640 window starts at level 2.
    e2e.wait_until("the first loading pass", lambda: "bg-hd.png" in data_files_opened(trace), 120, 0.3)
    first = data_files_opened(trace)
    check(IMAGES <= images_at([n for n in first if n != "rune_font.png"], "-hd"),
          f"not every image was read at level 2: {sorted(first)}")

    large = resize_and_wait(s, game, window, trace, (1280, 720), "bg-hd2.png")
    check(images_at(large, "-hd2") == IMAGES, f"images read at level 4: {sorted(set(large))}")
    check(sum(n.startswith("sfx/") for n in large) == SOUND_EFFECTS, "sound effects not reloaded once each")

    small = resize_and_wait(s, game, window, trace, (600, 500), "bg.png")
    check(images_at(small, "") == IMAGES, f"images read at level 1: {sorted(set(small))}")
    check(sum(n.startswith("sfx/") for n in small) == SOUND_EFFECTS, "sound effects not reloaded once each")

    status = game.close(60)
    check(status == 0, f"exit status {status}\n{game.describe()}")


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return int(re.search(r"^VmRSS:\s+(\d+) kB", f.read(), re.M).group(1))


def traced_child(tracer_pid):
    """The program strace started: the tracer's only child."""
    def find():
        try:
            with open(f"/proc/{tracer_pid}/task/{tracer_pid}/children") as f:
                children = f.read().split()
        except FileNotFoundError:
            return None
        return int(children[0]) if children else None
    return e2e.wait_until("the traced program", find, 30)


def test_resizes_keep_memory_level(s):
    """A long run of resizes, each reloading every image and sound, leaves resident memory where the
    first few left it. SKITTERBAT_E2E_RESIZES sets the length (500 for the long proof)."""
    # Whole cycles of the three levels, so both measurements are taken at one size.
    resizes = -(-int(os.environ.get("SKITTERBAT_E2E_RESIZES", "24")) // 3) * 3
    s.install_program()
    trace = os.path.join(s.artifacts, "openat.trace")
    # A small quarantine, so a sanitized build's RSS follows what the program holds.
    game = s.start(strace=trace, ASAN_OPTIONS="detect_leaks=0:quarantine_size_mb=4")
    window = game.wait_window(120)
    e2e.wait_until("the first loading pass", lambda: "bg-hd.png" in data_files_opened(trace), 120, 0.3)
    pid = traced_child(game.proc.pid)
    # One size per art level; each pass ends with the backdrop of its level.
    cycle = [((1280, 720), "bg-hd2.png"), ((600, 500), "bg.png"), ((800, 640), "bg-hd.png")]
    for i in range(6):
        size, last = cycle[i % 3]
        resize_and_wait(s, game, window, trace, size, last)
    settled = resident_kib(pid)
    for i in range(6, 6 + resizes):
        size, last = cycle[i % 3]
        resize_and_wait(s, game, window, trace, size, last)
    after = resident_kib(pid)
    print(f"{resizes} resizes: resident {settled / 1024:.1f} -> {after / 1024:.1f} MB")
    check(after - settled < 16 * 1024, f"resident memory grew from {settled} to {after} KiB")
    status = game.close(60)
    check(status == 0, f"exit status {status}\n{game.describe()}")


def pause_panel_at(s, geometry):
    """Whether the orange pause panel fills the space left of Resume, for any window size."""
    _, _, w, h = geometry
    scale = max(w / 640, h / 480)
    cx, cy = w / scale / 2, int(h / scale / 2)
    pixels = strip(s.screenshot("paused"), geometry, cx - 100, cx - 40, cy + 22, cy + 46)
    orange = [p for p in pixels if 170 <= p[0] <= 215 and 95 <= p[1] <= 140 and p[2] <= 45]
    return len(orange) > 0.9 * len(pixels)


def test_resize_during_play_keeps_the_game(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    s.key("Return")
    time.sleep(2.0)
    # A size that needs other art: it reloads, then the game is back, paused,
    # instead of the menu. (One that keeps the art level plays on.)
    s.xdotool("windowsize", window, "1280", "720")
    e2e.wait_until("the new window size", lambda: s.geometry(window)[2:] == (1280, 720), 20, 0.2)
    geometry = s.geometry(window)
    e2e.wait_until("the pause panel after the reload", lambda: pause_panel_at(s, geometry), 60, 0.3)
    s.key("Escape")
    time.sleep(1.0)
    check(not pause_panel_at(s, geometry), "the pause panel did not close")
    # Only play opens the panel with the back key: the game goes on.
    s.key("Escape")
    e2e.wait_until("the pause panel in play", lambda: pause_panel_at(s, geometry), 20, 0.3)
    check(game.close(60) == 0, game.describe())
