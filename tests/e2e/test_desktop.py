"""The program on the desktop: fullscreen and its settings file, the command line, pause on focus loss."""

import os
import re
import subprocess
import time

import e2e
from e2e import check
from screens import is_loading_screen, start_at_menu
from test_gameplay import pause_panel_open, start_game, wait_for_pause_panel

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def settings_file(s):
    return os.path.join(s.tmp, "home", ".config", "skitterbat", "settings.ini")


def kept_fullscreen(s):
    with open(settings_file(s)) as f:
        values = re.findall(r"^\s*fullscreen\s*=\s*(\w+)\s*$", f.read(), re.M)
    check(len(values) == 1, f"settings file holds {values}")
    return values[0] == "true"


def wait_geometry(s, window, want, what):
    e2e.wait_until(f"{what} ({want}; now {s.geometry(window)})", lambda: s.geometry(window) == want, 30, 0.2)


def wait_menu(s, geometry, what):
    def menu():
        image = s.screenshot("menu")
        return not is_loading_screen(image, geometry) and len(image.colours(*geometry)) > 100
    e2e.wait_until(f"the menu {what}", menu, 90, 0.3)
    time.sleep(1.0)
    check(not pause_panel_open(s.screenshot("menu"), geometry), f"a round started {what}")


def test_fullscreen_switch_kept_between_runs(s):
    s.install_program()
    game, window, windowed = start_at_menu(s)
    full = (0, 0, *s.screen)
    # The desktop entry's StartupWMClass names the window's class.
    check(str(window) in s.xdotool("search", "--class", "^skitterbat$", check=False).split(),
          "the window's class is not skitterbat")

    # Alt+Enter's Enter does not reach the menu, where it would start a game.
    s.key("alt+Return")
    wait_geometry(s, window, full, "the window covering the screen after Alt+Enter")
    check(kept_fullscreen(s), "fullscreen not kept in the settings file")
    wait_menu(s, full, "after Alt+Enter")

    s.key("F11")
    wait_geometry(s, window, windowed, "the earlier window after F11")
    check(not kept_fullscreen(s), "the window not kept in the settings file")
    wait_menu(s, windowed, "back in the window")

    # A round goes on through the switch and comes back paused over the whole screen.
    start_game(s)
    s.key("F11")
    wait_geometry(s, window, full, "the window covering the screen during a round")
    wait_for_pause_panel(s, full, "in fullscreen")
    check(game.close() == 0, game.describe())
    check(kept_fullscreen(s), "fullscreen not kept after closing")

    again = s.start(name="restart")
    wait_geometry(s, again.wait_window(), full, "fullscreen after a restart")
    check(again.close() == 0, again.describe())

    # The command line overrides the file for one run and leaves it alone.
    windowed_run = s.start(["./skitterbat", "--windowed"], name="windowed")
    check(s.geometry(windowed_run.wait_window())[2:] == (640, 640), "--windowed did not give the window")
    time.sleep(1.0)
    check(s.geometry(windowed_run.window)[2:] == (640, 640), "--windowed went fullscreen later")
    check(windowed_run.close() == 0, windowed_run.describe())
    check(kept_fullscreen(s), "--windowed changed the settings file")


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt")) as f:
        return re.search(r"project\(skitterbat VERSION ([0-9.]+)", f.read()).group(1)


@e2e.without_display
def test_command_line_without_display(s):
    s.install_program(data=False)

    def run(*args):
        return subprocess.run(["./skitterbat", *args], cwd=s.workdir, env=s.env(), stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=60)

    shown = run("--help")
    check(shown.returncode == 0 and shown.stdout.startswith("Usage: skitterbat"),
          f"--help: status {shown.returncode}\n{shown.stdout}{shown.stderr}")
    for option in ("--fullscreen", "--windowed", "--version", "settings.ini"):
        check(option in shown.stdout, f"--help does not mention {option}")

    version = run("--version")
    check(version.returncode == 0 and version.stdout == f"skitterbat {project_version()}\n",
          f"--version: status {version.returncode}\n{version.stdout}{version.stderr}")

    for bad in ("--bogus", "-x", "extra"):
        refused = run("--windowed", bad, "--help")
        check(refused.returncode == 2, f"{bad}: status {refused.returncode}\n{refused.stdout}{refused.stderr}")
        check(refused.stdout == "" and bad in refused.stderr and "Usage: skitterbat" in refused.stderr,
              f"{bad}: stdout {refused.stdout!r}, stderr {refused.stderr!r}")
    check(not os.path.exists(os.path.join(s.tmp, "home", ".config")), "the command line wrote settings")


def test_focus_loss_pauses_round(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    other = s.start(["xmessage", "-geometry", "+0+0", "another window"], name="xmessage")
    other_window = e2e.wait_until("the other window", lambda: s.xdotool(
        "search", "--onlyvisible", "--class", "xmessage", check=False).split(), 30, 0.2)[0]

    # In the menu the focus comes and goes without effect: the game then starts unpaused.
    s.focus(other_window)
    s.focus(window)
    start_game(s)
    time.sleep(1.0)
    check(not pause_panel_open(s.screenshot("playing"), geometry), "the round started paused")

    s.focus(other_window)
    wait_for_pause_panel(s, geometry, "after another window took the focus")
    # Coming back does not resume by itself.
    s.focus(window)
    time.sleep(1.0)
    check(pause_panel_open(s.screenshot("still-paused"), geometry), "the pause panel closed by itself")
    check(other.alive(), "the other window went away")
    check(game.close() == 0, game.describe())
