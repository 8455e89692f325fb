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
    if find(l):
        row("Loader in process (window, 44 steps)",
            "%.0f ms after %.0f ms of set-up; images and font %.0f ms, sounds %.0f ms, slowest step %d (%.0f ms)"
            % (get(l, "total_ms") - get(l, "create_ms"), get(l, "create_ms"), get(l, "image_steps_ms"),
               get(l, "sound_steps_ms"), get(l, "slowest_step"), get(l, "slowest_step_ms")))
    if startup:
        row("Program start: libraries loaded", "%s ms" % startup.get("startup_libraries_ms", "?"))
        row("Program start: window and GL context", "%s ms" % startup.get("startup_window_ms", "?"))
        row("Program start: first frame", "%s ms" % startup.get("startup_first_frame_ms", "?"))
        row("Program start: first menu frame", "%s ms (after 44 loader updates)" % startup.get("startup_menu_frame_ms", "?"))
        row("Reading and decoding data files", "%s images: %s ms, %s sounds: %s ms" % (
            startup.get("startup_image_files", "?"), startup.get("startup_image_decode_ms", "?"),
            startup.get("startup_sound_files", "?"), startup.get("startup_sound_decode_ms", "?")))
        row("Peak memory at the menu", "%.1f MiB" % (number(startup.get("startup_peak_kb")) / 1024))
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
    print("Raw results: %s" % out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
