#!/usr/bin/python3
"""Starts several builds of the game (and the floor, last) in turn and compares their start-up.

For a change to the start-up: two programs or more are started in turn, as the harness does, so
that all see the same machine load, and two figures are taken from each start:

- first paint: the harness's own start (perf_harness.start_once): time from the spawn to the end
  of the first paint, and VmHWM at that moment;
- settled: the program runs without the exit hook, and VmHWM is read from /proc after --settle
  seconds (by then the splash is gone and the window icon is set), then the program is ended.

The last program named is the reference (the floor). Run it in the plugin's environment, e.g.

    xvfb-run -a -s "-screen 0 1024x768x24" bench/compare_starts.py --data data \
        --runs 10 old/lumera8 build-perf/src/startup/lumera8 build-perf/bench/lumera_floor

Python standard library only.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import perf_harness


def settled_peak_kb(binary, base_env, data_dir, store_template, settle_seconds):
    """VmHWM of a start of `binary`, read `settle_seconds` after the spawn."""
    env = dict(base_env)
    env.pop("LUMERA_PERF_EXIT_AFTER_PAINT", None)
    with tempfile.TemporaryDirectory(prefix="lumera-perf-") as config_home:
        store = os.path.join(config_home, "lumera8", "registry.reg")
        os.makedirs(os.path.dirname(store))
        shutil.copyfile(store_template, store)
        env["XDG_CONFIG_HOME"] = config_home
        process = subprocess.Popen([binary], env=env, cwd=data_dir, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            time.sleep(settle_seconds)
            if process.poll() is not None:
                raise RuntimeError("%s ended before it settled" % binary)
            with open("/proc/%d/status" % process.pid) as status:
                return next(int(line.split()[1]) for line in status if line.startswith("VmHWM:"))
        finally:
            process.kill()
            process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", required=True, help="the folder of Lumera8.dat")
    parser.add_argument("--runs", type=int, default=10, help="counted starts of each program")
    parser.add_argument("--warmup", type=int, default=2, help="uncounted starts first")
    parser.add_argument("--settle", type=float, default=3.0, help="seconds before the settled reading")
    parser.add_argument("programs", nargs="+", help="the builds to compare; the floor last")
    args = parser.parse_args()

    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "xcb")
    env.pop("QT_SCALE_FACTOR", None)
    runtime_dir = None
    if "XDG_RUNTIME_DIR" not in env:
        runtime_dir = env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="lumera-perf-runtime-")
    template_home = tempfile.mkdtemp(prefix="lumera-perf-store-")
    template = perf_harness.write_store(template_home)
    programs = [os.path.abspath(p) for p in args.programs]
    startup = {p: [] for p in programs}
    first_peak = {p: [] for p in programs}
    settled = {p: [] for p in programs}
    try:
        for run in range(args.warmup + args.runs):
            for program in programs:
                ms, kb = perf_harness.start_once(program, env, args.data, template)
                later = settled_peak_kb(program, env, args.data, template, args.settle)
                if run >= args.warmup:
                    startup[program].append(ms)
                    first_peak[program].append(kb)
                    settled[program].append(later)
    finally:
        shutil.rmtree(template_home, ignore_errors=True)
        if runtime_dir:
            shutil.rmtree(runtime_dir, ignore_errors=True)

    floor = programs[-1]
    median = statistics.median
    print("platform %s, %d starts of each in turn after %d uncounted, medians" %
          (env["QT_QPA_PLATFORM"], args.runs, args.warmup))
    print("| Program | Start-up to first paint, ms | vs floor | VmHWM at first paint, MB | vs floor |"
          " VmHWM after %g s, MB | vs floor |" % args.settle)
    print("|---|---:|---:|---:|---:|---:|---:|")
    for program in programs:
        print("| %s | %.1f | %.2f x | %.2f | %+.2f MB | %.2f | %+.2f MB |" % (
            os.path.relpath(program), median(startup[program]), median(startup[program]) / median(startup[floor]),
            median(first_peak[program]) / 1024, (median(first_peak[program]) - median(first_peak[floor])) / 1024,
            median(settled[program]) / 1024, (median(settled[program]) - median(settled[floor])) / 1024))
    return 0


if __name__ == "__main__":
    sys.exit(main())
