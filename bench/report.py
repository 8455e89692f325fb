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


def main(out):
    machine = pairs(os.path.join(out, "machine.txt"))
    startup = pairs(os.path.join(out, "startup.txt"))
    memory = pairs(os.path.join(out, "memory.txt"))
    with open(os.path.join(out, "bench.json")) as f:
        data = json.load(f)
    runs = {b["name"]: b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"}

    def get(name, key, default=0.0):
        return number(runs.get(name, {}).get(key), default)

    rows = []

    def row(what, value, target=""):
        rows.append((what, value, target))

    def verdict(ok):
        return "met" if ok else "MISSED"

    update_median = get("PlayUpdate/min_time:0.500/manual_time", "median_ns") / 1000
    update_news = get("PlayUpdate/min_time:0.500/manual_time", "news_per_update")
    update_mallocs = get("PlayUpdate/min_time:0.500/manual_time", "mallocs_per_update")
    u = runs.get("PlayUpdate/min_time:0.500/manual_time", {})
    row("Busy frame", "%d records: %d segments, %d pods, %d particles; %d draw records"
        % (get(u.get("name"), "records"), get(u.get("name"), "segments"), get(u.get("name"), "pods"),
           get(u.get("name"), "particles"), get(u.get("name"), "draw_records")))
    row("Update (m_OnUpdate), median", "%.1f us = %.2f%% of a 16.7 ms frame" % (update_median, update_median / FRAME_US * 100),
        "<= 20 us: " + verdict(update_median <= 20))
    r = "PlayRender/min_time:0.500"
    render_cpu = get(r, "cpu_time")
    row("Render (m_OnRender) CPU time", "%.1f us = %.2f%% of a frame" % (render_cpu, render_cpu / FRAME_US * 100))
    row("Render draw calls / vertices", "%d calls (batching rules allow %d), %d vertices"
        % (get(r, "draw_calls"), get(r, "expected_calls"), get(r, "vertices")),
        verdict(get(r, "draw_calls") <= get(r, "expected_calls")))
    for call in ("DrawImage", "DrawImage2", "DrawImage2_rotated"):
        rates = []
        for n in (1000, 10000, 100000):
            name = "DrawSprites/%s/%d" % (call, n)
            rates.append("%dk: %.0f" % (n // 1000, get(name, "sprites_per_ms") / 1000))
        row("Sprites per ms, %s" % call.replace("_", " "), ", ".join(rates))
    s = "SteadyPlay/iterations:600"
    news_u, mallocs_u = get(s, "news_per_update"), get(s, "mallocs_per_update")
    news_r, mallocs_r = get(s, "news_per_render"), get(s, "mallocs_per_render")
    row("Allocations per update, busy frame", "%.2f new, %.2f malloc" % (update_news, update_mallocs),
        "0: " + verdict(update_news == 0 and update_mallocs == 0))
    row("Allocations per update, 600 played frames", "%.2f new, %.2f malloc (%d updates allocated)"
        % (news_u, mallocs_u, get(s, "allocating_updates")), "0: " + verdict(news_u == 0 and mallocs_u == 0))
    row("Allocations per render, 600 played frames", "%.2f new, %.2f malloc (%d renders allocated)"
        % (news_r, mallocs_r, get(s, "allocating_renders")), "0: " + verdict(news_r == 0 and mallocs_r == 0))
    l = "Loader/iterations:3"
    row("Loader in process (window, 44 steps)", "%.0f ms; images and font %.0f ms, sounds %.0f ms, slowest step %d (%.0f ms)"
        % (get(l, "total_ms"), get(l, "image_steps_ms"), get(l, "sound_steps_ms"), get(l, "slowest_step"),
           get(l, "slowest_step_ms")))
    row("Start-up to first frame (program)", "%s ms" % startup.get("startup_first_frame_ms", "?"))
    row("Start-up to first menu frame", "%s ms (44 loader updates at 60 per second)" % startup.get("startup_menu_frame_ms", "?"))
    row("Reading and decoding data files", "%s images: %s ms, %s sounds: %s ms" % (
        startup.get("startup_image_files", "?"), startup.get("startup_image_decode_ms", "?"),
        startup.get("startup_sound_files", "?"), startup.get("startup_sound_decode_ms", "?")))
    row("Peak memory at the menu", "%.1f MiB" % (number(startup.get("startup_peak_kb")) / 1024))
    row("Peak memory after %s s of play" % memory.get("play_seconds", "?"),
        "%.1f MiB (resident now %.1f MiB)" % (number(memory.get("play_peak_kb")) / 1024,
                                             number(memory.get("play_rss_kb")) / 1024))

    renderer = runs.get(r, {}).get("label", "")
    print("Skitterbat benchmarks (Release build, %s)" % data["context"].get("date", ""))
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
    print("Raw results: %s" % out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
