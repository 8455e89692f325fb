#!/usr/bin/env python3
"""Prints the one table of scripts/bench from the raw results in a folder."""
import json
import os
import sys

FRAME_US = 1e6 / 60


def pairs(path):
    values = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                key, _, value = line.strip().partition(" ")
                if key:
                    values[key] = value
    return values


def number(text, default=0.0):
    try:
        return float(text)
    except (TypeError, ValueError):
        return default


def peer_results(path):
    """{(contender, variant, sprites): (sprites_per_ms, frame_ms, faults_per_frame)} from peers.txt."""
    results = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                fields = line.split()
                if len(fields) == 7 and fields[0] == "peer":
                    results[(fields[1], fields[2], int(fields[3]))] = tuple(float(x) for x in fields[4:])
    return results


def peer_table(peers):
    """The sprite table against SDL2's best GL backend and the one-array floor, with the targets."""
    lines = []
    header = ("Sprites", "Ours /ms", "SDL2 best /ms", "Floor /ms", "vs SDL2 (>= 1.2)", "vs floor (>= 0.9)",
              "Frame ms ours/SDL2/floor", "Faults/frame ours/SDL2/floor")
    rows = []
    for variant in ("plain", "turned"):
        for n in (1000, 10000, 100000):
            ours = peers.get(("ours", variant, n))
            if not ours:
                continue
            sdl = [(c, v) for (c, var, k), v in peers.items() if c.startswith("sdl-") and var == variant and k == n]
            best = max(sdl, key=lambda cv: cv[1][0]) if sdl else None
            floor = peers.get(("floor", variant, n))

            def ratio(other, target):
                if not other or other[0] <= 0:
                    return "-"
                r = ours[0] / other[0]
                return "%.2fx %s" % (r, "met" if r >= target else "MISSED")
            fault_ok = not best or ours[2] <= best[1][2]
            rows.append((
                "%s %dk" % (variant, n // 1000), "%.0f" % ours[0],
                "%.0f (%s)" % (best[1][0], best[0][4:]) if best else "-",
                "%.0f" % floor[0] if floor else "-",
                ratio(best[1] if best else None, 1.2), ratio(floor, 0.9),
                "%.2f / %s / %s" % (ours[1], "%.2f" % best[1][1] if best else "-", "%.2f" % floor[1] if floor else "-"),
                "%.0f / %s / %s %s" % (ours[2], "%.0f" % best[1][2] if best else "-", "%.0f" % floor[2] if floor else "-",
                                      "met" if fault_ok else "MISSED")))
    if not rows:
        return lines
    widths = [max(len(str(x[i])) for x in rows + [header]) for i in range(len(header))]
    line = "+-" + "-+-".join("-" * w for w in widths) + "-+"
    lines.append("Sprites per ms of the submitting thread's CPU (first GL work of the frame, for ours its set-up and")
    lines.append("the clear, to its last flush; window sizes learnt from events), 8 x 8 frames of one atlas, alpha")
    lines.append("blending, 640 x 640; plain = DrawImage, turned = DrawImage2 (angle i mod 360, scale 0.75).")
    lines.append("Medians of alternating rounds, each contender in a process of its own, same heap settings.")
    lines.append(line)
    lines.append("| " + " | ".join(h.ljust(w) for h, w in zip(header, widths)) + " |")
    lines.append(line)
    for r in rows:
        lines.append("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
    lines.append(line)
    return lines


def main(out):
    machine = pairs(os.path.join(out, "machine.txt"))
    peers = peer_results(os.path.join(out, "peers.txt"))
    startup = pairs(os.path.join(out, "startup.txt"))
    memory = pairs(os.path.join(out, "memory.txt"))
    xrequests = pairs(os.path.join(out, "xrequests.txt"))
    with open(os.path.join(out, "bench.json")) as f:
        data = json.load(f)
    runs = {b["name"]: b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"}

    def find(name):
        # Names carry suffixes such as "/min_time:0.500" or "/manual_time".
        for full, run in runs.items():
            if full == name or full.startswith(name + "/"):
                return run
        return {}

    def get(name, key, default=0.0):
        return number(find(name).get(key), default)

    rows = []

    def row(what, value, target=""):
        rows.append((what, value, target))

    def verdict(ok):
        return "met" if ok else "MISSED"

    u, r, s, l = "PlayUpdate", "PlayRender", "SteadyPlay", "Loader"
    if find(u):
        update_median = get(u, "median_ns") / 1000
        update_news, update_mallocs = get(u, "news_per_update"), get(u, "mallocs_per_update")
        row("Busy frame", "%d records: %d segments, %d pods, %d particles; %d draw records"
            % (get(u, "records"), get(u, "segments"), get(u, "pods"), get(u, "particles"), get(u, "draw_records")))
        row("Update (m_OnUpdate), median", "%.1f us = %.2f%% of a 16.7 ms frame (CPU time %.1f us, mean %.1f us)"
            % (update_median, update_median / FRAME_US * 100, get(u, "median_cpu_ns") / 1000, get(u, "real_time")),
            "<= 20 us: " + verdict(update_median <= 20))
        row("Allocations per update, busy frame", "%.2f new, %.2f malloc" % (update_news, update_mallocs),
            "0: " + verdict(update_news == 0 and update_mallocs == 0))
    if find(r):
        render_cpu = get(r, "cpu_time")
        row("Render (m_OnRender) CPU time", "%.1f us = %.2f%% of a frame" % (render_cpu, render_cpu / FRAME_US * 100))
        row("Render draw calls / vertices", "%d calls (batching rules allow %d), %d vertices"
            % (get(r, "draw_calls"), get(r, "expected_calls"), get(r, "vertices")),
            verdict(get(r, "draw_calls") <= get(r, "expected_calls")))
        row("Allocations per render, busy frame", "%.2f new, %.2f malloc (GL driver)"
            % (get(r, "news_per_render"), get(r, "mallocs_per_render")), "0 new: " + verdict(get(r, "news_per_render") == 0))
    for call in ("DrawImage", "DrawImage2", "DrawImage2_rotated"):
        rates = []
        for n in (1000, 10000, 100000):
            name = "DrawSprites/%s/%d" % (call, n)
            if find(name):
                rates.append("%dk: %.0f" % (n // 1000, get(name, "sprites_per_ms")))
        if rates:
            row("Sprites per ms of CPU, %s" % call.replace("_", " "), ", ".join(rates))
    if find(s):
        news_u, mallocs_u = get(s, "news_per_update"), get(s, "mallocs_per_update")
        news_r, mallocs_r = get(s, "news_per_render"), get(s, "mallocs_per_render")
        row("Allocations per update, 600 played frames", "%.2f new, %.2f malloc (%d updates allocated)"
            % (news_u, mallocs_u, get(s, "allocating_updates")), "0: " + verdict(news_u == 0 and mallocs_u == 0))
        row("Draw calls per render, 600 played frames", "%.1f; renders over the batching rules: %d"
            % (get(s, "draw_calls_per_render"), get(s, "renders_over_batching")),
            verdict(get(s, "renders_over_batching") == 0))
        row("Allocations per render, 600 played frames", "%.2f new, %.2f malloc (GL driver; %d renders)"
            % (news_r, mallocs_r, get(s, "allocating_renders")), "0 new: " + verdict(news_r == 0))
        if "faults_per_frame" in find(s):
            row("Page faults per frame, 600 played frames", "%.1f (whole process, update to glFinish)"
                % get(s, "faults_per_frame"))
    if find(l):
        row("Loader in process (window, 44 steps)",
            "%.0f ms after %.0f ms of set-up; images and font %.0f ms, sounds %.0f ms, slowest step %d (%.0f ms)"
            % (get(l, "total_ms") - get(l, "create_ms"), get(l, "create_ms"), get(l, "image_steps_ms"),
               get(l, "sound_steps_ms"), get(l, "slowest_step"), get(l, "slowest_step_ms")))
    record = "RecordUpdate"
    if find(record):
        record_ns = get(record, "real_time")
        row("Recording, per update of busy play (Input + EndUpdate)",
            "%.0f ns mean over 10 minutes; median %.0f ns, %.1f us the update of a checksum (1 in 60); "
            "%.2f new, %.2f malloc"
            % (record_ns, get(record, "median_ns"), get(record, "checksum_update_median_ns") / 1000,
               get(record, "news_per_update"), get(record, "mallocs_per_update")),
            "<= 2 us, 0 allocations: " + verdict(record_ns <= 2000 and get(record, "news_per_update") == 0
                                                   and get(record, "mallocs_per_update") == 0))
    golden = sorted((name[len("VerifyGoldenGame/"):].split("/")[0], run) for name, run in runs.items()
                    if name.startswith("VerifyGoldenGame/") and "error_occurred" not in run)
    if golden:
        factors = []
        for game, run in golden:
            # Seconds of play a second of CPU time; the wall clock's figure follows.
            factor = number(run.get("x_real_time"))
            factors.append(factor)
            wall = number(run.get("updates")) / 60 / (number(run.get("real_time")) / 1000 or 1)
            row("Verify %s" % game, "%.0fx real time (%d updates in %.1f ms CPU; %.0fx by the wall clock); "
                "%.0f bytes, %.0f a minute of play"
                % (factor, number(run.get("updates")), number(run.get("cpu_time")), wall, number(run.get("bytes")),
                   number(run.get("bytes_per_minute"))))
        slowest = min(factors)
        row("Verification speed, slowest golden game", "%.0fx real time: a five-minute game in %.3f s"
            % (slowest, 300 / slowest if slowest > 0 else 0), ">= 1000x: " + verdict(slowest >= 1000))
        pointer = [number(run.get("bytes_per_minute")) for game, run in golden
                   if any(way in game for way in ("mouse", "touch", "finger"))]
        if pointer:
            row("Bytes a minute of mouse or touch play, most of the golden games", "%.0f" % max(pointer),
                "<= 3 KB: " + verdict(max(pointer) <= 3 * 1024))
    if startup:
        row("Program start: libraries loaded", "%s ms" % startup.get("startup_libraries_ms", "?"))
        row("Program start: window and GL context", "%s ms" % startup.get("startup_window_ms", "?"))
        bare_first = number(startup.get("startup_bare_first_frame_ms"), -1)
        if bare_first > 0:
            row("Bare GLFW window (reference): window, first frame", "%s ms, %s ms" % (
                startup.get("startup_bare_window_ms", "?"), startup.get("startup_bare_first_frame_ms", "?")))
            first = number(startup.get("startup_first_frame_ms"), -1)
            row("Program start: first frame", "%s ms = %.2fx the bare window's" % (
                startup.get("startup_first_frame_ms", "?"), first / bare_first),
                "<= 1.3x: " + verdict(0 < first <= 1.3 * bare_first))
        else:
            row("Program start: first frame", "%s ms" % startup.get("startup_first_frame_ms", "?"))
        row("Program start: first menu frame", "%s ms (after 44 loader updates)" % startup.get("startup_menu_frame_ms", "?"))
        row("Reading and decoding data files", "%s images: %s ms, %s sounds: %s ms" % (
            startup.get("startup_image_files", "?"), startup.get("startup_image_decode_ms", "?"),
            startup.get("startup_sound_files", "?"), startup.get("startup_sound_decode_ms", "?")))
        row("Peak memory at the menu", "%.1f MiB" % (number(startup.get("startup_peak_kb")) / 1024))
    if xrequests:
        kinds = ", ".join("%s %s" % (key[len("x_request_"):], value)
                          for key, value in xrequests.items() if key.startswith("x_request_"))
        row("X requests a frame in steady play", "%s (%s)" % (xrequests.get("x_requests_per_frame", "?"), kinds))
    if memory:
        row("Peak memory after %s s of play" % memory.get("play_seconds", "?"),
            "%.1f MiB (resident at the end %.1f MiB)" % (number(memory.get("play_peak_kb")) / 1024,
                                                        number(memory.get("play_rss_kb")) / 1024))

    renderer = find(r).get("label", "")
    print("Skitterbat benchmarks (Release build, %s; every figure is from this run)" % data["context"].get("date", ""))
    print("Machine: %s, %s cores, %.1f GiB memory; GL: %s; load average %s" % (
        machine.get("cpu", "?"), machine.get("cores", "?"), number(machine.get("memory_kb")) / 1024 / 1024,
        renderer or "?", machine.get("load", "?")))
    widths = [max(len(str(x[i])) for x in rows + [("Measure", "Result", "Target")]) for i in range(3)]
    line = "+-" + "-+-".join("-" * w for w in widths) + "-+"
    print(line)
    print("| " + " | ".join(h.ljust(w) for h, w in zip(("Measure", "Result", "Target"), widths)) + " |")
    print(line)
    for r in rows:
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
    print(line)
    for text in peer_table(peers):
        print(text)
    print("Raw results: %s" % out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
