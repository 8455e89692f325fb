"""A missing or damaged data folder: the program still starts, runs and ends cleanly."""

import os
import time

import e2e
from e2e import check
from screens import menu_without_art


def run_five_seconds(s):
    game = s.start()
    window = game.wait_window()
    time.sleep(5)
    check(game.alive(), f"the program ended on its own\n{game.describe()}")
    # No image could be read, so the menu shows on its bare background.
    geometry = s.geometry(window)
    e2e.wait_until("the bare menu", lambda: menu_without_art(s.screenshot("menu"), geometry), 30, 0.3)
    status = game.close()
    check(status == 0, f"exit status {status}\n{game.describe()}")
    check("Runtime Error" not in game.stdout(), game.describe())


def damaged(s, how):
    s.install_program(copy_data=True)
    count = e2e.damage_files(os.path.join(s.workdir, "data"), how)
    check(count > 40, f"only {count} files to damage")
    run_five_seconds(s)


def test_no_data_folder(s):
    s.install_program(data=False)
    run_five_seconds(s)


def test_truncated_files(s):
    damaged(s, "truncate")


def test_random_files(s):
    damaged(s, "random")


def test_garbage_after_headers(s):
    damaged(s, "body")
