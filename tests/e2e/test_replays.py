"""Replays in the real program: a played game is kept, the idle menu plays it as a demo, a key ends
it; the golden games of tests/replays/ and the shipped demo verify."""

import glob
import os
import subprocess
import time

import e2e
from e2e import check
from screens import start_at_menu
from state import State
from test_gameplay import start_game, wait_for_pause_panel

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def likeness(a, b, geometry):
    """Share of the window's pixels (sampled) that two screenshots have in common."""
    x, y, w, h = geometry
    first, second = a.region(x, y, w, h, 8), b.region(x, y, w, h, 8)
    return sum(1 for p, q in zip(first, second) if e2e.near(p, q, 8)) / max(1, len(first))


def test_idle_menu_plays_a_demo_that_a_key_ends(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    # A quick game, quit from the pause panel: its replay is kept.
    start_game(s)
    s.key("Escape")
    wait_for_pause_panel(s, geometry, "after Escape")
    s.keys("Left", "Return")
    replays = os.path.join(os.path.dirname(s.state_path()), "replays")
    e2e.wait_until("the kept replay", lambda: os.path.isdir(replays) and len(os.listdir(replays)) == 1, 20)
    time.sleep(2.5)  # the game-over overlay fades from the menu
    menu = s.screenshot("menu")
    games = State.read(s.state_path()).recent

    # Half a minute untouched, then the kept game plays instead of the menu. The menu's
    # idle clock starts before this screenshot, and a loaded machine runs it late: the
    # checks keep clear of the 30 s mark on both sides.
    time.sleep(20)
    check(likeness(s.screenshot("still-menu"), menu, geometry) > 0.9, "the menu gave way before 30 s")
    e2e.wait_until("the demo", lambda: likeness(s.screenshot("demo"), menu, geometry) < 0.5, 30, 0.3)

    # Return ends it, and the same press does not start a game from the menu.
    s.key("Return")
    e2e.wait_until("the menu again", lambda: likeness(s.screenshot("after"), menu, geometry) > 0.9, 5, 0.2)
    time.sleep(3)
    check(likeness(s.screenshot("no-game"), menu, geometry) > 0.9, "a game started after the demo")
    check(State.read(s.state_path()).recent == games, "the score lists changed")
    check(len(os.listdir(replays)) == 1, f"replays: {os.listdir(replays)}")
    check(game.close() == 0, game.describe())


@e2e.without_display
def test_golden_games_verify(s):
    games = sorted(glob.glob(os.path.join(SOURCE, "tests", "replays", "*.replay")))
    games.append(os.path.join(SOURCE, "assets", "demo.replay"))
    check(len(games) >= 5, f"golden games: {games}")
    done = subprocess.run([s.program, "--verify", *games], env=s.env(), stdin=subprocess.DEVNULL,
                          capture_output=True, text=True, timeout=600)
    lines = done.stdout.splitlines()
    check(len(lines) == len(games), f"{len(lines)} lines for {len(games)} games:\n{done.stdout}{done.stderr}")
    for game, line in zip(games, lines):
        check(line.startswith(f"{game}: ok, "), f"{line}\n(a change to how the game plays bumps "
              f"kReplayRulesVersion and records the golden games again: scripts/record-replays)")
    check(done.returncode == 0, f"status {done.returncode}\n{done.stdout}{done.stderr}")
    print("\n".join(os.path.relpath(line, SOURCE) for line in lines))
