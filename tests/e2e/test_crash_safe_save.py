"""The state file survives the program being killed while it saves.

The program is started over and over on the same ".cobaltstate"; a second
program iconifies and restores its window in a tight loop (every suspend
saves) and the game is killed with SIGKILL at a random moment. Afterwards the
file must hold the text it had before or the text the game saves, whole and
with every checksum valid: never a mixture, never a torn or empty file.
"""

import os
import random
import shutil
import subprocess
import threading
import time

import state
from e2e import Failure, check, wait_until

KILLS = int(os.environ.get("SKITTERBAT_KILLS", "200"))
WORKERS = 3

# The settings need raising on load (tilt 0, the three sizes too small), so the
# first save writes a text different from the one on disk.
OLD_SETTINGS = [3, 1, 0, 0, 2, 1, 0, 0, 1, 0, 10, 20, 3] + [0] * 12
OLD = state.text(OLD_SETTINGS, badge_words=(5, -2147483648, 0, 0, 7, 0, 0, 1),
                 best=[[9000 - 700 * k for k in range(10)], [400 * k for k in range(10)], [77] * 10],
                 recent=[[k * 13 for k in range(10)], [0] * 10, [123456789] * 10])


def read_state(s, workdir=None):
    with open(s.state_path(workdir), "rb") as f:
        return f.read()


def window_of(s, game, timeout=60):
    """The game's window, as soon as it is mapped (polled faster than xdotool's --sync)."""
    def find():
        if not game.alive():
            raise Failure(f"the program ended before its window appeared\n{game.describe()}")
        out = s.run(["xdotool", "search", "--onlyvisible", "--pid", str(game.proc.pid), "--name", "^Cobalt Game$"],
                    check=False)
        return out.split()[0] if out else None
    return wait_until("the game's window", find, timeout, 0.02)


def iconify_loop(s, window, cycles=400):
    """One xdotool process that iconifies and restores the window again and again."""
    steps = []
    for _ in range(cycles):
        steps += ["windowminimize", window, "sleep", "0.01", "windowactivate", window, "sleep", "0.01"]
    return subprocess.Popen(["xdotool", *steps], env=s.env(), stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)


def stop(proc):
    if proc.poll() is None:
        proc.kill()
    proc.wait()


def test_kills_while_saving(s):
    s.install_program()
    old = OLD.encode()
    state.State(OLD)

    # What the game writes for that state, from one clean suspend.
    with open(s.state_path(), "wb") as f:
        f.write(old)
    game = s.start(name="first")
    window = window_of(s, game)
    loop = iconify_loop(s, window)
    deadline = time.monotonic() + 30
    while read_state(s) == old and time.monotonic() < deadline:
        time.sleep(0.05)
    stop(loop)
    new = read_state(s)
    game.kill()
    check(new != old, "suspending did not save the state")
    state.State(new.decode())

    # Several programs at once, each in a folder of its own, share the kills.
    outcomes = {"old": 0, "new": 0, "no window": 0}
    errors = []
    lock = threading.Lock()

    def worker(number, kills):
        try:
            workdir = os.path.join(s.tmp, f"worker{number}")
            os.makedirs(workdir)
            s.install_program(workdir=workdir)
            rng = random.Random(1208 + number)
            done = 0
            while done < kills:
                outcome = kill_once(s, workdir, f"game{number}", rng, old, new)
                with lock:
                    outcomes[outcome] += 1
                    check(outcomes["no window"] <= max(2, KILLS // 20), f"too many starts without a window: {outcomes}")
                done += outcome != "no window"
        except Exception as error:  # reported by the main thread
            errors.append(error)

    threads = [threading.Thread(target=worker, args=(n, KILLS // WORKERS + (n < KILLS % WORKERS)))
               for n in range(WORKERS)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    if errors:
        raise errors[0]
    print(f"{KILLS} kills while saving: file held the old text {outcomes['old']} times, "
          f"the new text {outcomes['new']} times, anything else 0 times "
          f"({outcomes['no window']} starts showed no window in time and were killed too)")
    check(outcomes["new"] > 0, f"no kill came after a save: {outcomes}")


def record_stacks(s, game):
    """Keeps the threads' stacks of a start that showed no window in time, to tell slow from stuck."""
    if not shutil.which("gdb"):
        return
    result = subprocess.run(["gdb", "-p", str(game.proc.pid), "-batch", "-ex", "thread apply all bt"],
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    with open(os.path.join(s.artifacts, f"{game.name}-no-window-{game.proc.pid}.stacks"), "wb") as f:
        f.write(result.stdout + result.stderr)


def kill_once(s, workdir, name, rng, old, new):
    """Starts the game on the old text, has it save again and again, kills it; returns which text is left."""
    with open(s.state_path(workdir), "wb") as f:
        f.write(old)
    game = s.start(cwd=workdir, name=name)
    loop = None
    outcome = None
    try:
        try:
            window = window_of(s, game, timeout=20)
        except Failure:
            if not game.alive():
                raise
            outcome = "no window"  # killed all the same; the file is checked below
            record_stacks(s, game)
            window = None
        if window:
            loop = iconify_loop(s, window)
            time.sleep(rng.uniform(0.0, 0.4))
            check(game.alive(), f"the program ended on its own\n{game.describe()}")
    finally:
        game.kill()  # SIGKILL to its process group
        if loop:
            stop(loop)
    after = read_state(s, workdir)
    if after not in (old, new):
        raise Failure(f"{workdir}: the state file holds neither text: {after!r}")
    state.State(after.decode())
    return outcome or ("old" if after == old else "new")
