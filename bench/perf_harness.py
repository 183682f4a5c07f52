#!/usr/bin/python3
"""Runs the performance measurements of the game against the toolkit floor and prints one table.

For each platform plugin (offscreen, and xcb under Xvfb) the real game (lumera8) and the floor
program (lumera_floor) are started in turn, each with LUMERA_PERF_EXIT_AFTER_PAINT=1, so that
each reports the time from its spawn to the end of its first paint and its peak resident memory
(VmHWM) and quits. The game reads a prepared store that points at the bundled collection, so no
message stops it. Then the window driver (lumera_perf_window, the real main window) and the
floor time a full repaint and a pointer release at device ratio 1 and 2, and finally the engine
benchmarks run. Python standard library only.
"""

import argparse
import json
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

XVFB_SERVER_ARGS = "-screen 0 1024x768x24"

# ---- The prepared store ----------------------------------------------------------------------


def short_string(text, capacity):
    data = text.encode("cp1252")[:capacity]
    return bytes([len(data)]) + data + bytes(capacity - len(data))


def settings_record(puzzle_file="Lumera8.dat", index=0, show_correct=1, sound=1):
    """The game's 152-byte settings record."""
    record = (short_string("Lumera 7.0", 10) + short_string(puzzle_file, 133) +
              bytes([show_correct, sound, 0]) + index.to_bytes(4, "little"))
    assert len(record) == 152
    return record


def hex_value(name, data):
    """A binary value as a registry export writes it, broken after 77 characters."""
    line = '"%s"=hex:' % name
    lines = []
    for i, byte in enumerate(data):
        line += "%02x" % byte
        if i + 1 < len(data):
            line += ","
            if len(line) >= 77:
                lines.append(line + "\\")
                line = "  "
    lines.append(line)
    return "\r\n".join(lines)


def write_store(config_home):
    """$XDG_CONFIG_HOME/lumera8/registry.reg holding a record that names Lumera8.dat."""
    folder = os.path.join(config_home, "lumera8")
    os.makedirs(folder, exist_ok=True)
    text = ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n" +
            hex_value("fRegInfo", settings_record()) + "\r\n\r\n")
    path = os.path.join(folder, "registry.reg")
    with open(path, "wb") as out:
        out.write(text.encode("ascii"))
    return path


# ---- Runs ------------------------------------------------------------------------------------


def parse_perf_lines(output):
    """{name: {key: value}} from the LUMERA_PERF lines of a program's output."""
    results = {}
    for line in output.splitlines():
        parts = line.split()
        if len(parts) < 2 or parts[0] != "LUMERA_PERF":
            continue
        name, fields = (parts[1], parts[2:]) if "=" not in parts[1] else ("first_paint", parts[1:])
        values = {}
        for field in fields:
            key, _, value = field.partition("=")
            try:
                values[key] = float(value)
            except ValueError:
                values[key] = value
        results[name] = values
    return results


def run(command, env, cwd, timeout=120):
    completed = subprocess.run(command, env=env, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               timeout=timeout, check=False)
    if completed.returncode != 0:
        raise RuntimeError("%s exited with %d: %s" % (command[0], completed.returncode,
                                                     completed.stderr.decode(errors="replace")[-2000:]))
    return parse_perf_lines(completed.stdout.decode(errors="replace"))


def start_once(binary, base_env, data_dir, store_template):
    """One start to the end of the first paint: (milliseconds, peak resident kB)."""
    env = dict(base_env)
    env["LUMERA_PERF_EXIT_AFTER_PAINT"] = "1"
    with tempfile.TemporaryDirectory(prefix="lumera-perf-") as config_home:
        store = os.path.join(config_home, "lumera8", "registry.reg")
        os.makedirs(os.path.dirname(store))
        shutil.copyfile(store_template, store)
        env["XDG_CONFIG_HOME"] = config_home
        env["LUMERA_PERF_T0_NS"] = str(time.monotonic_ns())
        result = run([binary], env, data_dir)
    if "first_paint" not in result:
        raise RuntimeError("%s printed no measurement" % binary)
    return result["first_paint"]["startup_ms"], result["first_paint"]["vmhwm_kb"]


def measure_platform(args, qpa):
    """Start-up, memory, repaint and release figures of the game and the floor on one plugin."""
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = qpa
    env.pop("QT_SCALE_FACTOR", None)
    runtime_dir = None
    if "XDG_RUNTIME_DIR" not in env:  # Qt warns on every start without one
        runtime_dir = env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="lumera-perf-runtime-")
    game = os.path.join(args.build, "src", "startup", "lumera8")
    floor = os.path.join(args.build, "bench", "lumera_floor")
    driver = os.path.join(args.build, "bench", "lumera_perf_window")
    template_home = tempfile.mkdtemp(prefix="lumera-perf-store-")
    template = write_store(template_home)

    figures = {"platform": qpa, "game": {}, "floor": {}}
    startups = {"game": [], "floor": []}
    memory = {"game": [], "floor": []}
    programs = {"game": game, "floor": floor}
    for _ in range(args.warmup):
        for who in ("game", "floor"):
            start_once(programs[who], env, args.data, template)
    for _ in range(args.runs):
        for who in ("game", "floor"):  # in turn, so that both see the same machine load
            ms, kb = start_once(programs[who], env, args.data, template)
            startups[who].append(ms)
            memory[who].append(kb)
    for who in ("game", "floor"):
        figures[who]["startup_ms"] = statistics.median(startups[who])
        figures[who]["startup_all_ms"] = startups[who]
        figures[who]["vmhwm_kb"] = statistics.median(memory[who])

    for ratio in ("1", "2"):
        window_env = dict(env)
        window_env["QT_SCALE_FACTOR"] = ratio
        window_env["LUMERA_PERF_WINDOW"] = "1"
        for who, command in (("game", driver), ("floor", floor)):
            runs = [run([command], window_env, args.data) for _ in range(args.window_runs)]
            for name in runs[0]:
                key = "%s_ratio%s_us" % (name, ratio)
                figures[who][key] = statistics.median(r[name]["median_us"] for r in runs)
                if "cells_redrawn" in runs[0][name]:
                    figures[who]["cells_redrawn"] = runs[0][name]["cells_redrawn"]
    shutil.rmtree(template_home, ignore_errors=True)
    if runtime_dir:
        shutil.rmtree(runtime_dir, ignore_errors=True)
    return figures


def run_benchmarks(args):
    binary = os.path.join(args.build, "bench", "lumera_bench")
    if not os.path.exists(binary):
        return []
    command = [binary, "--benchmark_format=json", "--benchmark_min_time=%s" % args.benchmark_min_time]
    completed = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=True)
    report = json.loads(completed.stdout)
    return report["benchmarks"]


# ---- The table -------------------------------------------------------------------------------

UNIT_TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def fmt_ms(value):
    return "%.3f" % value if value < 10 else "%.1f" % value


def verdict(ok):
    return "yes" if ok else "NO"


def table(platforms, benchmarks):
    rows = ["| What | Plugin | Game | Floor | Game vs floor | Target | Met |",
            "|---|---|---:|---:|---:|---|---|"]
    for figures in platforms:
        qpa = figures["platform"]
        game, floor = figures["game"], figures["floor"]
        ratio = game["startup_ms"] / floor["startup_ms"]
        rows.append("| Start-up to end of first paint, ms (median of %d) | %s | %s | %s | %.2f x | <= 1.2 x floor | %s |"
                    % (len(game["startup_all_ms"]), qpa, fmt_ms(game["startup_ms"]), fmt_ms(floor["startup_ms"]),
                       ratio, verdict(ratio <= 1.2)))
        extra = (game["vmhwm_kb"] - floor["vmhwm_kb"]) / 1024
        rows.append("| Peak resident memory (VmHWM) after start-up, MB | %s | %.1f | %.1f | %+.1f MB | <= floor + 3 MB | %s |"
                    % (qpa, game["vmhwm_kb"] / 1024, floor["vmhwm_kb"] / 1024, extra, verdict(extra <= 3)))
        for ratio_name, limit in (("1", 1.0), ("2", 3.0)):
            g = game["full_repaint_ratio%s_us" % ratio_name] / 1000
            f = floor["full_repaint_ratio%s_us" % ratio_name] / 1000
            rows.append("| Full repaint at device ratio %s, ms | %s | %s | %s | %.1f x | <= %g ms | %s |"
                        % (ratio_name, qpa, fmt_ms(g), fmt_ms(f), g / f, limit, verdict(g <= limit)))
            p = game["form_paint_ratio%s_us" % ratio_name] / 1000
            rows.append("| FormPaint alone (into the board image) at ratio %s, ms | %s | %s | | | | |"
                        % (ratio_name, qpa, fmt_ms(p)))
        for ratio_name in ("1", "2"):
            g = game["release_to_redraw_ratio%s_us" % ratio_name] / 1000
            f = floor["release_to_redraw_ratio%s_us" % ratio_name] / 1000
            rows.append("| Release over a grid cell to its exchange's last redraw (%d cells) at ratio %s, ms | %s | %s | %s | %.1f x | <= 0.2 ms | %s |"
                        % (game.get("cells_redrawn", 0), ratio_name, qpa, fmt_ms(g), fmt_ms(f), g / f,
                           verdict(g <= 0.2)))
        for ratio_name in ("1", "2"):
            into = game.get("exchange_into_image_ratio%s_us" % ratio_name)
            out = game.get("exchange_to_window_ratio%s_us" % ratio_name)
            if into is not None and out is not None:
                rows.append("| The same exchange in halves at ratio %s: engine and cells into the image / cells onto the window, ms | %s | %s / %s | | | | |"
                            % (ratio_name, qpa, fmt_ms(into / 1000), fmt_ms(out / 1000)))
    rows.append("")
    rows.append("| Benchmark (Google Benchmark, real time per call) | Time | Target | Met |")
    rows.append("|---|---:|---|---|")
    targets = {"BM_SkipToPosition/to_9999_of_10000_lines": 5.0, "BM_SaveSettings_StoreOf10000Values": 2.0}
    for bench in benchmarks:
        ms = bench["real_time"] * UNIT_TO_MS[bench.get("time_unit", "ns")]
        shown = "%.3f ms" % ms if ms >= 0.01 else "%.2f us" % (ms * 1000)
        name = bench["name"]
        counters = ", ".join("%s=%g" % (k, bench[k]) for k in ("cells_redrawn", "file_kB") if k in bench)
        if counters:
            name += " (" + counters + ")"
        if bench.get("error_occurred"):
            rows.append("| %s | error: %s | | NO |" % (name, bench.get("error_message", "")))
            continue
        limit = targets.get(bench["name"])
        rows.append("| %s | %s | %s | %s |" % (name, shown, "<= %g ms" % limit if limit else "",
                                            verdict(ms <= limit) if limit else ""))
    return "\n".join(rows)


def machine_lines():
    model = "unknown"
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    qt = "unknown"
    try:
        qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, check=False).stdout.decode().strip() or qt
    except OSError:
        pass
    return ["Machine: %d cores (nproc), CPU \"%s\", Qt %s, %s" % (os.cpu_count() or 0, model, qt,
                                                                platform.platform())]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the Release build folder")
    parser.add_argument("--data", required=True, help="the folder of Lumera8.dat")
    parser.add_argument("--runs", type=int, default=10, help="starts of each program per plugin")
    parser.add_argument("--warmup", type=int, default=2, help="uncounted starts first")
    parser.add_argument("--window-runs", type=int, default=3, help="runs of each window measurement")
    parser.add_argument("--benchmark-min-time", default="0.5")
    parser.add_argument("--platforms", default="offscreen,xcb")
    parser.add_argument("--phase-json", help=argparse.SUPPRESS)  # internal: one plugin, into a file
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    args.data = os.path.abspath(args.data)

    if args.phase_json:
        with open(args.phase_json, "w") as out:
            json.dump(measure_platform(args, args.platforms), out)
        return 0

    platforms = []
    for qpa in args.platforms.split(","):
        print("measuring on %s ..." % qpa, file=sys.stderr, flush=True)
        if qpa != "xcb":
            platforms.append(measure_platform(args, qpa))
            continue
        # The X server lives as long as this one phase.
        with tempfile.NamedTemporaryFile(suffix=".json") as phase:
            command = ["xvfb-run", "-a", "-s", XVFB_SERVER_ARGS, sys.executable, os.path.abspath(__file__),
                       "--build", args.build, "--data", args.data, "--runs", str(args.runs),
                       "--warmup", str(args.warmup), "--window-runs", str(args.window_runs),
                       "--platforms", "xcb", "--phase-json", phase.name]
            subprocess.run(command, check=True)
            with open(phase.name) as result:
                platforms.append(json.load(result))
    print("running the benchmarks ...", file=sys.stderr, flush=True)
    benchmarks = run_benchmarks(args)
    print("\n".join(machine_lines()))
    print()
    print(table(platforms, benchmarks))
    return 0


if __name__ == "__main__":
    sys.exit(main())
