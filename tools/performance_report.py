#!/usr/bin/env python3
"""Writes the performance report (Markdown) from the files tools/performance.sh
gathered in one folder:

    run-<n>.txt   the output of each run of the e2e scenario "performance",
                  with lines "PERF <measure> <value>"
    bench.json    rillo_bench --benchmark_format=json (repetitions with
                  aggregates)
    machine.txt   lines "<key> <value>": date, nproc, cpu, wine, load_before,
                  load_after, note

    tools/performance_report.py build/performance > docs/performance.md

The samples of all runs are pooled per measure; the report gives their
median, interquartile range and extremes, and each timed measure against its
target. Exits with status 1 when a run has no PERF lines at all.
"""
import glob
import json
import os
import re
import sys

FRAME_MS = 1000.0 / 60.0

# measure: (what it is, unit, target or None, how the target reads)
MEASURES = [
    ("start_to_window_ms", "process start to its main window (Wine warm)", "ms", None, ""),
    ("start_to_intro_ms", "process start to the intro painted (Wine warm)", "ms", 500.0,
     "under 0.5 s"),
    ("click_to_disc_ms", "posted click to the disc's pixels, game of two", "ms", FRAME_MS,
     "one 60 Hz frame (16.7 ms)"),
    ("click_to_winning_disc_ms", "the same for the winning disc (part of the above)", "ms",
     FRAME_MS, "one 60 Hz frame (16.7 ms)"),
    ("click_to_win_box_ms", "the same click to its win box shown", "ms", None, ""),
    ("click_handled_ms", "sent click until the game has handled it", "ms", None, ""),
    ("repaint_ms", "repaint request to the whole game screen shown again", "ms", FRAME_MS,
     "one 60 Hz frame (16.7 ms)"),
    ("picture_load_ms", "loading the board picture at 800 by 600 (in the driver)", "ms", None, ""),
    ("shot_ms", "one read of the window's pixels by the driver", "ms", None, ""),
]
RESOURCES = [
    ("private_bytes", "private committed memory", "MiB", 1 / (1024 * 1024)),
    ("working_set_bytes", "working set", "MiB", 1 / (1024 * 1024)),
    ("gdi_objects", "GDI objects", "", 1),
    ("user_objects", "USER objects (0: not reported by Wine)", "", 1),
    ("kernel_handles", "kernel handles (0: not reported by Wine)", "", 1),
    ("program_bytes", "rillo.exe", "KiB", 1 / 1024),
]


def quantile(sorted_values, q):
    """Linear interpolation between the closest ranks."""
    if not sorted_values:
        return float("nan")
    position = (len(sorted_values) - 1) * q
    low = int(position)
    high = min(low + 1, len(sorted_values) - 1)
    return sorted_values[low] + (sorted_values[high] - sorted_values[low]) * (position - low)


def summary(values):
    values = sorted(values)
    return {
        "count": len(values),
        "median": quantile(values, 0.5),
        "q1": quantile(values, 0.25),
        "q3": quantile(values, 0.75),
        "min": values[0],
        "max": values[-1],
    }


def read_runs(folder):
    samples = {}
    runs = sorted(glob.glob(os.path.join(folder, "run-*.txt")))
    for path in runs:
        found = 0
        with open(path, encoding="utf-8", errors="replace") as run:
            for line in run:
                match = re.match(r"^\s*PERF (\S+) (-?[0-9.]+)\s*$", line)
                if match:
                    samples.setdefault(match.group(1), []).append(float(match.group(2)))
                    found += 1
        if found == 0:
            sys.exit(f"performance_report: {path} holds no PERF lines")
    return len(runs), samples


def read_machine(folder):
    machine = {}
    path = os.path.join(folder, "machine.txt")
    if os.path.exists(path):
        with open(path, encoding="utf-8") as info:
            for line in info:
                key, _, value = line.rstrip("\n").partition(" ")
                machine[key] = value
    return machine


def read_bench(folder):
    path = os.path.join(folder, "bench.json")
    if not os.path.exists(path):
        return None, []
    with open(path, encoding="utf-8") as bench:
        data = json.load(bench)
    rows = {}
    for entry in data.get("benchmarks", []):
        name = entry.get("run_name", entry["name"])
        row = rows.setdefault(name, {"unit": entry.get("time_unit", "ns")})
        kind = entry.get("aggregate_name")
        if kind in ("median", "stddev", "mean"):
            row[kind] = entry["cpu_time"]
        elif kind is None:
            row.setdefault("single", []).append(entry["cpu_time"])
    return data.get("context", {}), list(rows.items())


def number(value, digits=1):
    return f"{value:.{digits}f}"


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: performance_report.py <folder of tools/performance.sh>")
    folder = sys.argv[1]
    runs, samples = read_runs(folder)
    if runs == 0:
        sys.exit(f"performance_report: no run-*.txt in {folder}")
    machine = read_machine(folder)
    context, bench = read_bench(folder)
    stats = {name: summary(values) for name, values in samples.items()}
    out = []
    say = out.append

    say("# Performance")
    say("")
    say("Written by `tools/performance.sh` (do not edit by hand; rerun it). "
        f"{runs} runs of the end-to-end scenario `performance` under Wine on Xvfb, "
        "the samples of all runs pooled per measure, and the native benchmarks of "
        "the rules and the computer players.")
    say("")
    say("## Machine")
    say("")
    say(f"- Date: {machine.get('date', '?')}")
    say(f"- CPU: {machine.get('cpu', '?')}, {machine.get('nproc', '?')} cores")
    say(f"- Wine: {machine.get('wine', '?')}, X server: Xvfb 1024x768x24, no window manager")
    say(f"- Load average (1, 5, 15 min) before the runs: {machine.get('load_before', '?')}, "
        f"after: {machine.get('load_after', '?')}")
    if machine.get("note"):
        say(f"- Note: {machine['note']}")
    say("")
    say("## Times of the game under Wine")
    say("")
    say("Median, interquartile range (IQR) and extremes in milliseconds. A target is "
        "met when the median is within it; the share of samples within it is given too.")
    say("")
    say("| measure | samples | median | IQR | min – max | target | met | within target |")
    say("|---|---:|---:|---:|---:|---|---|---:|")
    for name, what, unit, target, target_text in MEASURES:
        if name not in stats:
            say(f"| {what} (`{name}`) | 0 | – | – | – | {target_text or '–'} | "
                "not measured | – |")
            continue
        s = stats[name]
        met = "–"
        within = "–"
        if target is not None:
            met = "yes" if s["median"] <= target else "**no**"
            share = sum(1 for v in samples[name] if v <= target) / len(samples[name])
            within = f"{share * 100:.0f}%"
        say(f"| {what} (`{name}`) | {s['count']} | {number(s['median'])} | "
            f"{number(s['q1'])} – {number(s['q3'])} | "
            f"{number(s['min'])} – {number(s['max'])} | "
            f"{target_text or '–'} | {met} | {within} |")
    say("")

    say("### Where the time goes")
    say("")
    def med(name):
        return stats[name]["median"] if name in stats else None
    shot = med("shot_ms")
    load = med("picture_load_ms")
    notes = []
    disc, handled = med("click_to_disc_ms"), med("click_handled_ms")
    if disc is not None and handled is not None:
        verdict = "meets" if disc <= FRAME_MS else "misses"
        notes.append(
            f"- Click to disc ({verdict} the frame): the median is {number(disc)} ms, of which "
            f"the game's handling of a click (drawing the disc and reading the turn picture "
            f"from its file), timed as a sent click with its round trip, takes "
            f"{number(handled)} ms; the remaining "
            f"{number(max(disc - handled, 0))} ms are Wine's delivery of the posted message and "
            f"its copy of the window to the X server, and the driver's polling of the pixels "
            f"(about 1 ms a poll).")
    winning, box = med("click_to_winning_disc_ms"), med("click_to_win_box_ms")
    if winning is not None:
        verdict = "meets" if winning <= FRAME_MS else "misses"
        text = (f"- The winning disc ({verdict} the frame): its median is {number(winning)} ms. "
                f"After drawing it the game goes on within the same click: the win sound played "
                f"to its end (here without a sound device), then the win box")
        if box is not None:
            text += (f", shown {number(box)} ms after the click. The disc shows about when the "
                     f"box does: as these figures suggest, Wine passes a window's new pixels "
                     f"on to the X server when the program next waits for messages (here in "
                     f"the box), or after a delay while it is busy; the work between the disc "
                     f"and the box, not the drawing of the disc, dominates")
        notes.append(text + ".")
    repaint = med("repaint_ms")
    if repaint is not None:
        verdict = "meets" if repaint <= FRAME_MS else "misses"
        text = (f"- Full repaint ({verdict} the frame): the median is {number(repaint)} ms from "
                f"the repaint request to the last probe showing; the game reads the 800 by 600 "
                f"board picture and the turn picture from their files at every paint")
        if load is not None:
            text += (f", and reading and scaling the board picture alone takes {number(load)} ms "
                     f"in the driver ({load / repaint * 100:.0f}% of the repaint); the rest is "
                     f"the drawing of the discs and texts, Wine's copy of the window to the X "
                     f"server and the polling")
        notes.append(text + ".")
    start, window = med("start_to_intro_ms"), med("start_to_window_ms")
    if start is not None:
        verdict = "meets" if start <= 500 else "misses"
        text = (f"- Start-up ({verdict} 0.5 s): the intro shows {number(start)} ms after the "
                f"process start")
        if window is not None:
            text += (f"; the window itself exists after {number(window)} ms, which covers "
                     f"Wine starting the process and loading its libraries and the game making "
                     f"its window (it reads the intro picture's size then); the rest is the first "
                     f"paint with the intro read from its file")
        notes.append(text + ".")
    if shot is not None:
        notes.append(f"- One read of the window's pixels by the driver takes {number(shot)} ms "
                     "(median): the waits for pixels poll single pixels instead, about every "
                     "millisecond.")
    for note in notes:
        say(note)
    say("")

    say("## Resources of the process on the game screen")
    say("")
    say("| measure | median | min – max |")
    say("|---|---:|---:|")
    for name, what, unit, scale in RESOURCES:
        if name not in stats:
            continue
        s = stats[name]
        digits = 2 if unit in ("MiB",) else (1 if unit == "KiB" else 0)
        suffix = f" {unit}" if unit else ""
        say(f"| {what} | {number(s['median'] * scale, digits)}{suffix} | "
            f"{number(s['min'] * scale, digits)} – {number(s['max'] * scale, digits)}{suffix} |")
    say("")

    say("## Benchmarks of the rules and the computer players")
    say("")
    if not bench:
        say("No benchmark figures (bench.json missing).")
    else:
        if context:
            say(f"`rillo_bench`, native release build, CPU time per iteration; "
                f"{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, "
                f"benchmark library's own build: {context.get('library_build_type', '?')}.")
            say("")
        say("| benchmark | median | spread (stddev) | unit |")
        say("|---|---:|---:|---|")
        for name, row in bench:
            if "median" in row:
                median = row["median"]
                spread = number(row.get("stddev", 0), 2)
            else:
                values = sorted(row.get("single", []))
                if not values:
                    continue
                median = quantile(values, 0.5)
                spread = "–"
            say(f"| `{name}` | {number(median, 2)} | {spread} | {row['unit']} |")
    say("")
    print("\n".join(out))


if __name__ == "__main__":
    main()
