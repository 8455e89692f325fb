"""Playing the game with the keyboard: pause menu, quitting, saved state, suspend, sound."""

import os
import struct
import time

import e2e
from e2e import check
from screens import start_at_menu, strip, virtual_to_screen
from state import State

# Difficulty 2, the one selected at start, is entry 1 of the score lists.
DEFAULT_DIFFICULTY = 1
SOUND = 5


def start_game(s):
    s.key("Return")
    time.sleep(1.0)


def pause_panel_open(image, geometry):
    """The orange pause panel (alpha 0.7 over the dimmed round) fills the space left of Resume,
    which sits at the centre of the virtual screen."""
    _, _, w, h = geometry
    scale = max(w / 640, h / 480)
    cx, cy = w / scale / 2, h / scale / 2
    pixels = strip(image, geometry, cx - 100, cx - 40, cy + 22, cy + 46)
    orange = [p for p in pixels if 170 <= p[0] <= 215 and 95 <= p[1] <= 140 and p[2] <= 45]
    return len(orange) > 0.9 * len(pixels)


def wait_for_pause_panel(s, geometry, when):
    e2e.wait_until(f"the pause panel {when}", lambda: pause_panel_open(s.screenshot("paused"), geometry), 20, 0.3)


def test_pause_sound_off_quit_and_restart(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    start_game(s)
    s.key("Escape")
    wait_for_pause_panel(s, geometry, "after Escape")
    # Focus starts on Resume: Right to Sound, switch it off, Left twice to Quit, Enter.
    s.keys("Right", "Return", "Left", "Left", "Return")
    state_file = s.state_path()
    # The file is replaced whole, so once it is there it is complete.
    e2e.wait_until("the state file after the game", lambda: os.path.exists(state_file), 20)
    state = State.read(state_file)
    check(state.settings[SOUND] == 0, f"the sound setting is {state.settings[SOUND]}, not 0")
    score = state.recent[DEFAULT_DIFFICULTY][0]
    check(state.recent[DEFAULT_DIFFICULTY][1:] == [0] * 9, f"recent list {state.recent[DEFAULT_DIFFICULTY]}")
    expected_best = [score] + [0] * 9 if score > 0 else [0] * 10
    check(state.best[DEFAULT_DIFFICULTY] == expected_best, f"best list {state.best[DEFAULT_DIFFICULTY]}")
    for d in (0, 2):
        check(state.best[d] == state.recent[d] == [0] * 10, f"difficulty {d + 1} has scores")
    check(game.close() == 0, game.describe())

    again = s.start(name="restart")
    again.wait_window()
    again.wait_output("Highscore 2 Loaded")
    lines = [line for line in again.lines() if "Loaded" in line or "Invalid" in line]
    check(lines == ["Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
                    "Highscore 2 Loaded"], f"load messages {lines}")
    check(again.close() == 0, again.describe())


def test_iconify_saves_and_pauses(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    start_game(s)
    check(not os.path.exists(s.state_path()), "a state file before the suspend")
    s.xdotool("windowminimize", "--sync", window)
    e2e.wait_until("the state file after iconifying", lambda: os.path.exists(s.state_path()), 20)
    State.read(s.state_path())
    s.xdotool("windowactivate", "--sync", window)
    wait_for_pause_panel(s, geometry, "after restoring the window")
    # The panel stays: the round does not resume by itself.
    time.sleep(1.0)
    check(pause_panel_open(s.screenshot("still-paused"), geometry), "the pause panel closed by itself")
    check(game.close() == 0, game.describe())


def wave_samples(path):
    """Format tag, bits per sample and the sample bytes of a WAV file (header sizes may be unfinished)."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:4] == b"RIFF" and data[8:12] == b"WAVE", f"{path} is not a WAV file")
    pos, fmt = 12, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if tag == b"fmt ":
            fmt = struct.unpack("<HHIIHH", data[pos + 8:pos + 24])
        if tag == b"data":
            return fmt, pos + 8, data[pos + 8:]
        pos += 8 + size + (size & 1)
    raise e2e.Failure(f"{path} has no data chunk")


def peak(samples):
    return max((abs(v) for (v,) in struct.iter_unpack("<h", samples[:len(samples) // 2 * 2])), default=0)


def test_starting_a_game_makes_sound(s):
    s.install_program()
    wav = os.path.join(s.tmp, "out.wav")
    conf = os.path.join(s.tmp, "alsoft.conf")
    with open(conf, "w") as f:
        f.write(f"[general]\ndrivers=wave\nsample-type=int16\ndither=false\n[wave]\nfile={wav}\n")
    game, window, geometry = start_at_menu(s, ALSOFT_DRIVERS=None, ALSOFT_CONF=conf)
    check(os.path.exists(wav), "the wave backend wrote no file")
    before = os.path.getsize(wav)
    start_game(s)
    time.sleep(0.5)
    check(game.close() == 0, game.describe())
    (tag, channels, rate, _, _, bits), start, samples = wave_samples(wav)
    check(bits == 16, f"{bits}-bit output")
    split = max(0, before - start)
    quiet, loud = peak(samples[:split]), peak(samples[split:])
    check(quiet < 64, f"the menu made sound before anything happened (peak {quiet})")
    check(loud > 1000, f"starting a game made no sound (peak {loud})")


def test_closing_the_window_saves(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    # The menu's sound switch sits at the top middle of the virtual screen.
    _, _, w, h = geometry
    x, y = virtual_to_screen(geometry, int(w / max(w / 640, h / 480) / 2), 32)
    s.xdotool("mousemove", str(x), str(y))
    s.xdotool("mousedown", "1")
    time.sleep(0.3)
    s.xdotool("mouseup", "1")
    time.sleep(0.3)
    # The switch is saved as it changes; closing saves again.
    e2e.wait_until("the switch saved", lambda: os.path.exists(s.state_path()), 10, 0.1)
    check(State.read(s.state_path()).settings[SOUND] == 0, "the switch was not saved as it changed")
    os.remove(s.state_path())
    check(game.close() == 0, game.describe())
    check(os.path.exists(s.state_path()), "no state file after the window was closed")
    state = State.read(s.state_path())
    check(state.settings[SOUND] == 0, f"the sound setting is {state.settings[SOUND]}, not 0")
