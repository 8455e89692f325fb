#!/usr/bin/env python3
"""Records the golden games of tests/replays/ by playing the real program.

Each game is played in a private X server with a window manager, as the
end-to-end tests play, by a scripted player that watches the window's pixels
and steers with the mouse or the keys (player.py). The game keeps its replay
in replays/ beside its state file; that file is checked with --verify and
copied to tests/replays/<name>-<score>.replay, in place of the game's earlier
recording. One of them also ships as the idle menu's demo (assets/demo.replay).

    record_replays.py --build BUILD_DIR [NAME...]     records the named games (all if none)
    record_replays.py --list                         names them

Run it (through scripts/record-replays) after a change that alters how a game
plays, together with a bump of kReplayRulesVersion.
"""

import argparse
import glob
import os
import shutil
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import e2e  # noqa: E402
from e2e import check  # noqa: E402
from player import Player, virtual_scale  # noqa: E402
from screens import start_at_menu, strip  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(HERE))
GOLDEN = os.path.join(SOURCE, "tests", "replays")
DEMO = os.path.join(SOURCE, "assets", "demo.replay")
# The game whose replay the menu shows to a player with none of their own.
DEMO_GAME = "desktop-mouse-easy"

EASY, NORMAL, HARD = 1, 2, 3


# --- what the player does -------------------------------------------------------------
def pause_panel_open(s, window):
    """The orange pause panel fills the space left of Resume, at any window size."""
    geometry = s.geometry(window)
    _, _, w, h = geometry
    if w < 64 or h < 64:
        return False  # not mapped again yet
    scale = max(w / 640, h / 480)
    cx, cy = w / scale / 2, int(h / scale / 2)
    try:
        pixels = strip(s.screenshot("paused"), geometry, cx - 100, cx - 40, cy + 22, cy + 46)
    except (IndexError, e2e.Failure):
        return False  # the window moved while it was taken
    orange = [p for p in pixels if len(p) == 3 and 170 <= p[0] <= 215 and 95 <= p[1] <= 140 and p[2] <= 45]
    return len(orange) > 0.9 * len(pixels)


def wait_for_pause_panel(s, window, why):
    e2e.wait_until(f"the pause panel {why}", lambda: pause_panel_open(s, window), 120, 0.3)
    time.sleep(0.5)


def choose_difficulty(player, difficulty):
    """On the menu, NORMAL has the focus; the arrows move it."""
    for _ in range(abs(difficulty - NORMAL)):
        player.tap("Left" if difficulty < NORMAL else "Right")
        time.sleep(0.3)


def start_by_keys(player, difficulty):
    choose_difficulty(player, difficulty)
    player.tap("Return")
    time.sleep(0.5)


def start_by_mouse(player, difficulty):
    """Clicks the difficulty's button, in a row at 70 % of the virtual screen's height."""
    geometry = player.geometry()
    scene_w, scene_h = _virtual_size(geometry)
    x, y = player.to_screen(geometry, (0.2 * difficulty) * scene_w, 0.7 * scene_h)
    player.move_to(x, y)
    time.sleep(0.3)
    player.click(0.15)
    time.sleep(0.5)


def _virtual_size(geometry):
    _, _, w, h = geometry
    s = virtual_scale(w, h)
    return w / s, h / s


def steer(player, seconds, by, stop=None):
    """Plays for `seconds` (or until `stop()`): the paddle goes under the ball, and a ball left on
    the paddle is launched by a click or by Space."""
    end = time.monotonic() + seconds
    last_seen = time.monotonic()
    last_launch = 0.0
    paddle_history = []
    while time.monotonic() < end and not (stop and stop()):
        scene = player.look()
        now = time.monotonic()
        if scene is None:
            time.sleep(0.05)
            continue
        target = player.follow(scene)
        if scene.ball is not None:
            last_seen = now
        launch = now - last_seen > 0.6 and now - last_launch > 1.2
        geometry = player.geometry()
        if by == "mouse":
            if target is not None:
                x, y = player.to_screen(geometry, target, scene.height - 30)
                player.move_to(x, y)
            if launch:
                player.click(0.1)
                last_launch = now
        else:
            paddle = scene.paddle[0] if scene.paddle else None
            if paddle is not None:
                paddle_history = [(t, x) for t, x in paddle_history if now - t < 0.1] + [(now, paddle)]
            speed = 0.0  # units an update, from the last tenth of a second
            if len(paddle_history) >= 2 and paddle_history[-1][0] > paddle_history[0][0]:
                speed = (paddle_history[-1][1] - paddle_history[0][1]) / (
                    (paddle_history[-1][0] - paddle_history[0][0]) * 60)
            if target is None or paddle is None:
                player.release("Left")
                player.release("Right")
            else:
                # A key held speeds the paddle up by 2 units an update, up to 12, and it slows by
                # 2 an update once the key is up: aim for a speed that shrinks with the distance.
                wanted = max(-12.0, min(12.0, (target - paddle) * 0.15))
                if wanted - speed > 1.5:
                    player.release("Left")
                    player.press("Right")
                elif wanted - speed < -1.5:
                    player.release("Right")
                    player.press("Left")
                else:
                    player.release("Left")
                    player.release("Right")
            if launch:
                player.tap("space", 0.1)
                last_launch = now
        time.sleep(0.005)
    player.release("Left")
    player.release("Right")


def pause_by_keys(s, player, window, seconds=3):
    player.tap("Escape")
    wait_for_pause_panel(s, window, "after Escape")
    time.sleep(seconds)
    player.tap("Return")  # Resume has the focus
    time.sleep(0.5)


def pause_by_mouse(s, player, window, seconds=3):
    geometry = player.geometry()
    player.move_to(*player.to_screen(geometry, 16, 16))
    time.sleep(0.2)
    player.click(0.12)
    wait_for_pause_panel(s, window, "after the pause button")
    time.sleep(seconds)
    w, h = _virtual_size(geometry)
    player.move_to(*player.to_screen(geometry, w / 2, h / 2))
    time.sleep(0.2)
    player.click(0.12)
    time.sleep(0.5)


def resize(s, window, width, height):
    s.xdotool("windowsize", window, str(width), str(height))
    e2e.wait_until(f"the window at {width} x {height}", lambda: s.geometry(window)[2:] == (width, height), 20, 0.2)


def resize_to_other_art(s, player, window, width, height):
    """A size that needs other art: the game reloads it and comes back paused."""
    resize(s, window, width, height)
    wait_for_pause_panel(s, window, "after the reload")
    player.tap("Return")
    time.sleep(0.5)


def suspend(s, player, window, seconds=3):
    s.xdotool("windowminimize", "--sync", window)
    time.sleep(seconds)
    s.xdotool("windowactivate", "--sync", window)
    wait_for_pause_panel(s, window, "after the window came back")
    player.tap("Return")
    time.sleep(0.5)


def quit_by_keys(s, player, window):
    player.tap("Escape")
    wait_for_pause_panel(s, window, "to quit")
    player.tap("Left")  # Resume to Quit
    time.sleep(0.3)
    player.tap("Return")


def quit_by_mouse(s, player, window):
    geometry = player.geometry()
    player.move_to(*player.to_screen(geometry, 16, 16))
    time.sleep(0.2)
    player.click(0.12)
    wait_for_pause_panel(s, window, "to quit")
    w, h = _virtual_size(geometry)
    # Quit sits at the panel's top left corner.
    player.move_to(*player.to_screen(geometry, int(w / 2 - 140), int(h / 2) - 64))
    time.sleep(0.2)
    player.click(0.12)


# --- the games ------------------------------------------------------------------------
class Again(Exception):
    """The game went otherwise than the script needs: record it again."""


def still_playing(done, what):
    if done():
        raise Again(f"the game ended before {what}")


def mouse_easy(s, player, window, done):
    start_by_mouse(player, EASY)
    steer(player, 100, "mouse", stop=done)
    still_playing(done, "the player quit")
    quit_by_mouse(s, player, window)


def keys_normal_pause_resize(s, player, window, done):
    start_by_keys(player, NORMAL)
    steer(player, 12, "keys", stop=done)
    still_playing(done, "the pause")
    pause_by_keys(s, player, window)
    steer(player, 12, "keys", stop=done)
    still_playing(done, "the resize")
    resize(s, window, 900, 620)  # the same art: play goes on
    steer(player, 10, "keys", stop=done)
    still_playing(done, "the resize to other art")
    resize_to_other_art(s, player, window, 1280, 720)
    steer(player, 60, "keys", stop=done)
    if not done():
        quit_by_keys(s, player, window)


def mouse_hard_suspend(s, player, window, done):
    start_by_mouse(player, HARD)
    steer(player, 30, "mouse", stop=done)
    still_playing(done, "the suspend")
    suspend(s, player, window)
    steer(player, 30, "mouse", stop=done)
    still_playing(done, "the pause")
    pause_by_mouse(s, player, window)
    steer(player, 60, "mouse", stop=done)
    if not done():
        quit_by_mouse(s, player, window)


def mouse_normal_centipede(s, player, window, done):
    """Plays a minute, then holds the button down from the moment a new ball sits on the paddle:
    a ball is launched by a press that follows a release, so it stays there, and the centipedes
    come down unhindered until one reaches the paddle."""
    start_by_mouse(player, NORMAL)
    steer(player, 60, "mouse", stop=done)
    still_playing(done, "the ball was held")
    deadline = time.monotonic() + 120
    while time.monotonic() < deadline:
        scene = player.look()
        if scene is not None and scene.ball_on_paddle:
            break
        # Away from the ball, so that it is lost and a new one comes.
        if scene is not None and scene.ball is not None:
            geometry = player.geometry()
            away = 40 if scene.ball[0] > scene.width / 2 else scene.width - 40
            player.move_to(*player.to_screen(geometry, away, scene.height - 30))
        time.sleep(0.02)
    still_playing(done, "a new ball came")
    player.button(True)
    try:
        e2e.wait_until("a centipede at the paddle", done, 600, 0.5)
    finally:
        player.button(False)


GAMES = {
    "desktop-mouse-easy": mouse_easy,
    "desktop-keys-normal-pause-resize": keys_normal_pause_resize,
    "desktop-mouse-hard-suspend": mouse_hard_suspend,
    "desktop-mouse-normal-centipede": mouse_normal_centipede,
}


# --- recording ------------------------------------------------------------------------
def header_score(data):
    """The final score in a replay file's header (docs/replay-format.md)."""
    at = 13 + data[12] + 1
    return struct.unpack_from("<i", data, at)[0]


def record(name, build_dir, attempts=3):
    for attempt in range(1, attempts + 1):
        try:
            return record_once(name, build_dir)
        except Again as again:
            print(f"{name}: {again}; attempt {attempt} of {attempts}")
    raise e2e.Failure(f"{name}: no attempt went as the script needs")


def record_once(name, build_dir):
    s = e2e.Session(f"record-{name}", build_dir)
    try:
        s.start_display()
        s.install_program()
        game, window, _ = start_at_menu(s)
        kept = os.path.join(s.workdir, "replays")

        def done():
            return bool(glob.glob(os.path.join(kept, "*.replay")))

        player = Player(s.display, window)
        try:
            GAMES[name](s, player, window, done)
            e2e.wait_until("the game's replay", done, 120, 0.3)
        finally:
            player.close()
        check(game.close(60) == 0, game.describe())
        files = sorted(glob.glob(os.path.join(kept, "*.replay")))
        check(len(files) == 1, f"kept replays: {files}")
        verified = subprocess.run([s.program, "--verify", files[0]], capture_output=True, text=True, timeout=300)
        check(verified.returncode == 0, f"--verify: {verified.stdout}{verified.stderr}")
        with open(files[0], "rb") as f:
            data = f.read()
        for old in glob.glob(os.path.join(GOLDEN, f"{name}-[0-9]*.replay")):
            os.remove(old)
        os.makedirs(GOLDEN, exist_ok=True)
        target = os.path.join(GOLDEN, f"{name}-{header_score(data)}.replay")
        shutil.copyfile(files[0], target)
        if name == DEMO_GAME:
            shutil.copyfile(files[0], DEMO)
        print(f"{os.path.relpath(target, SOURCE)}: {verified.stdout.split(': ', 1)[1].strip()}, "
              f"{len(data)} bytes")
        return target
    finally:
        s.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", help="build folder holding skitterbat and data/")
    parser.add_argument("--list", action="store_true", help="name the games and stop")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()
    if args.list:
        print("\n".join(GAMES))
        return 0
    if not args.build:
        parser.error("--build is needed")
    unknown = [n for n in args.names if n not in GAMES]
    if unknown:
        parser.error(f"unknown games: {', '.join(unknown)}")
    for name in args.names or list(GAMES):
        record(name, args.build)
    return 0


if __name__ == "__main__":
    sys.exit(main())
