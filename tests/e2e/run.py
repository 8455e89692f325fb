#!/usr/bin/env python3
"""Runs end-to-end tests of the built program.

Tests are the functions test_<name>(session) of the modules test_<group>.py
in this folder; each is known as <group>.<name>. Every test gets a fresh
Session (e2e.py) with a private X server already running, unless the function
is marked with @without_display.

    run.py --build BUILD_DIR --list          names of all tests
    run.py --build BUILD_DIR NAME...         runs the named tests (all if none)

Exit status 0 when all passed, 77 when all were skipped, 1 otherwise.
"""

import argparse
import importlib
import os
import signal
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import e2e  # noqa: E402

SKIPPED = 77


def discover():
    tests = {}
    for file in sorted(os.listdir(HERE)):
        if file.startswith("test_") and file.endswith(".py"):
            group = file[len("test_"):-len(".py")]
            module = importlib.import_module(file[:-len(".py")])
            for attr in sorted(vars(module)):
                if attr.startswith("test_") and callable(getattr(module, attr)):
                    tests[f"{group}.{attr[len('test_'):]}"] = getattr(module, attr)
    return tests


def run_one(name, test, build_dir, keep):
    session = e2e.Session(name, build_dir)
    started = time.monotonic()
    outcome = "FAIL"
    try:
        if not getattr(test, "without_display", False):
            session.start_display()
        test(session)
        outcome = "PASS"
    except e2e.Skip as skip:
        outcome = "SKIP"
        print(f"skipped: {skip}")
    except (Exception, KeyboardInterrupt) as error:
        traceback.print_exc()
        for program in session._programs:
            print(program.describe())
        if isinstance(error, KeyboardInterrupt):
            raise
    finally:
        session.close(keep=keep and outcome == "FAIL")
    print(f"{outcome} {name} ({time.monotonic() - started:.1f} s); artifacts in {session.artifacts}")
    return outcome


def stop_on_signal(signum, frame):
    # ctest stops a test that runs too long: clean up as after a failure.
    raise KeyboardInterrupt(f"signal {signum}")


def main():
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGHUP, stop_on_signal)
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="build folder holding skitterbat and data/")
    parser.add_argument("--list", action="store_true", help="list the tests and stop")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folders of failed tests")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args()

    tests = discover()
    if args.list:
        print("\n".join(tests))
        return 0
    names = args.names or list(tests)
    unknown = [n for n in names if n not in tests]
    if unknown:
        print(f"unknown tests: {', '.join(unknown)}", file=sys.stderr)
        return 1
    outcomes = [run_one(n, tests[n], args.build, args.keep) for n in names]
    if "FAIL" in outcomes:
        return 1
    return SKIPPED if all(o == "SKIP" for o in outcomes) else 0


if __name__ == "__main__":
    sys.exit(main())
