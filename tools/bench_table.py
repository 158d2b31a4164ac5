#!/usr/bin/env python3
"""Turns the result files of tools/bench.sh into one table, prints it and
writes it with a description of the machine to a Markdown file.

Usage: bench_table.py RESULTS_DIR OUTPUT_MD
RESULTS_DIR holds native.txt, windows.txt and web.txt: "key value" lines, and
"missing_<bench> reason" for a benchmark that could not run.
"""
import datetime
import os
import platform
import subprocess
import sys

BUILDS = [("native", "Native (Linux, Release)"), ("windows", "Windows exe (under Wine)"),
          ("web", "Page (headless Chromium)")]


def read_results(path):
    values, missing = {}, {}
    if os.path.exists(path):
        for line in open(path, encoding="utf-8", errors="replace"):
            key, _, rest = line.strip().partition(" ")
            if key.startswith("missing_"):
                missing[key[len("missing_"):]] = rest
            elif key:
                values[key] = rest
    return values, missing


def why_missing(missing, bench):
    return "n/a (did not run)" if bench in missing else "n/a"


def cell(build, values, missing, bench, keys, fmt):
    if all(k in values for k in keys):
        return fmt(*[float(values[k]) for k in keys])
    return why_missing(missing, bench)


def mixer_cell(path):
    def fmt(ns, ratio):
        return f"{ns:.3f} ns ({ratio:.2f}x scalar)"
    return ("mixer", [f"mixer_{path}_ns", f"mixer_{path}_ratio"], fmt)


ROWS = [
    ("Mixer, scalar: per voice-sample (64 voices, 16,384 bytes)", *mixer_cell("scalar")),
    ("Mixer, SSE2: per voice-sample", *mixer_cell("sse2")),
    ("Mixer, AVX2: per voice-sample", *mixer_cell("avx2")),
    ("CPU side of a 2,048-instance frame: median / p99", "render_frame", ["render_median_us", "render_p99_us"],
     lambda m, p: f"{m:.1f} / {p:.1f} µs"),
    ("Start-up to the first drawn frame", "frame_pacing", ["startup_ms"], lambda ms: f"{ms:.0f} ms"),
    ("Frame pacing at 60 Hz: mean / p99", "frame_pacing", ["pacing_mean_us", "pacing_p99_us"],
     lambda m, p: f"{m:.0f} / {p:.0f} µs"),
    ("Frame pacing: frames over budget by more than 1 ms", "frame_pacing", ["pacing_over_budget", "pacing_frames"],
     lambda o, n: f"{o:.0f} of {n:.0f}"),
    ("Peak resident memory while falling", "fall", ["fall_peak_kb", "fall_seconds"],
     lambda kb, s: f"{kb / 1024:.1f} MiB ({s:.0f} s)"),
    ("Simulation alone per frame (10 simulated minutes)", "simulation", ["simulation_us"], lambda us: f"{us:.2f} µs"),
    ("Page opened to the title drawn (median of 3)", "page", ["page_title_ms"], lambda ms: f"{ms:.0f} ms"),
    ("Download: the page and everything it loads", "page", ["download_bytes"], lambda b: f"{b / 1e6:.1f} MB"),
]


# Rows whose page figure is also shown as a ratio to the native one.
RATIO_TO_NATIVE = ("render_frame", "simulation")


def command_output(args):
    try:
        return subprocess.run(args, capture_output=True, text=True, timeout=20).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return ""


def machine_lines(results_dir):
    cpu = "unknown"
    try:
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    memory = ""
    try:
        for line in open("/proc/meminfo"):
            if line.startswith("MemTotal:"):
                memory = f"{int(line.split()[1]) / 1024 / 1024:.1f} GiB"
    except OSError:
        pass
    flags = ""
    try:
        text = open("/proc/cpuinfo").read()
        flags = ", ".join(f for f in ("sse2", "avx2", "avx512f") if f" {f}" in text)
    except OSError:
        pass
    load = os.getloadavg()
    try:
        start = ", ".join(open(os.path.join(results_dir, "load-start.txt")).read().split())
    except OSError:
        start = "?"
    return [
        f"- Processor: {cpu}, {os.cpu_count()} logical cores ({flags})",
        f"- Memory: {memory}",
        f"- System: {platform.system()} {platform.release()}; {command_output(['wine', '--version'])}",
        f"- Compilers: {command_output(['c++', '--version']).splitlines()[0] if command_output(['c++', '--version']) else '?'}; "
        f"{(command_output(['x86_64-w64-mingw32-g++-posix', '--version']).splitlines() or ['?'])[0]}",
        f"- Load average (1, 5, 15 min) when the benchmarks started: {start}; when the table was written: "
        f"{load[0]:.2f}, {load[1]:.2f}, {load[2]:.2f}",
        f"- Written: {datetime.datetime.now(datetime.timezone.utc).strftime('%Y-%m-%d %H:%M UTC')}",
    ]


def main():
    results_dir, output = sys.argv[1], sys.argv[2]
    results = {build: read_results(os.path.join(results_dir, f"{build}.txt")) for build, _ in BUILDS}
    header = ["Measure"] + [title for _, title in BUILDS]
    rows = []
    for title, bench, keys, fmt in ROWS:
        cells = [cell(build, *results[build], bench, keys, fmt) for build, _ in BUILDS]
        # The page's times beside the native ones of the same run.
        web, native = results["web"][0], results["native"][0]
        if bench in RATIO_TO_NATIVE and keys[0] in web and keys[0] in native and float(native[keys[0]]) > 0:
            cells[-1] += f" ({float(web[keys[0]]) / float(native[keys[0]]):.2f}x native)"
        rows.append([title] + cells)
    widths = [max(len(r[i]) for r in [header] + rows) for i in range(len(header))]

    def line(cells):
        return "| " + " | ".join(c.ljust(w) for c, w in zip(cells, widths)) + " |"

    table = [line(header), "|" + "|".join("-" * (w + 2) for w in widths) + "|"] + [line(r) for r in rows]
    print("\n".join(table))

    text = [
        "# Performance",
        "",
        "Written by `make bench` (tools/bench.sh), which runs every benchmark of the native Release",
        "build and of the Windows build under Wine, one after another, on a virtual display.",
        "Ratios measured within one run are the figures to compare; absolute times are this machine's,",
        "under whatever load it carried at the time.",
        "",
        "## Machine",
        "",
        *machine_lines(results_dir),
        "",
        "## Results",
        "",
        *table,
        "",
        "## What each row measures",
        "",
        "- Mixer: `bench/mixer.cpp`, the mix step of 64 looping voices into one 16,384-byte window, the paths",
        "  taking turns within every trial, best of five; the ratio is the scalar time over the path's time.",
        "- CPU side of a frame: `bench/render_frame.cpp`, 2,048 instances pushed and drawn with the GL calls",
        "  going to empty stand-ins.",
        "- Start-up and pacing: `bench/frame_pacing.cpp`, from the program's `main` to the end of the first",
        "  frame pass (its pacing sleep left out), then ten seconds of the frame loop on the title screen.",
        "- Peak resident memory: the game itself, started, taken through the opening into the fall by key",
        "  presses, its resident set sampled every second of the fall (`FATHOMER_BENCH_FALL_SECONDS`, 60 by",
        "  default, shortens the fall). Under Wine this includes Wine's own libraries.",
        "- Simulation alone: `bench/soak_game.cpp 600`, ten simulated minutes of falling with steering through",
        "  the test harness (the real game frame and renderer over recording GL stand-ins, and the mixer).",
        "- The page's CPU side of a frame and simulation: the same benchmarks compiled to WebAssembly and",
        "  run by node (V8, the engine of Chromium), with the ratio to the native figure of the same run.",
        "- Page opened to the title drawn: `tools/web_check/check_page.js bench`, the page served from",
        "  127.0.0.1 and opened afresh in headless Chromium (WebGL 2 on SwiftShader) three times, from the",
        "  navigation to the first animation frame after the program started; the median. The download",
        "  is the sum of the page's files (`make dist`'s web zip holds the same).",
        "",
        "A row shows n/a (did not run) where a benchmark failed or found no game window; the end of its",
        "output is in `build/bench/BUILD.txt`, and the whole of it in `build/bench/BUILD-NAME.log`.",
        "",
    ]
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(text))


if __name__ == "__main__":
    main()
