#!/usr/bin/python3
"""Start-up of lumera8.exe against the Win32 floor program under one warm wineserver.

Run by tools/perf-windows.sh, which makes the Wine prefix, the display and the warm wineserver.
Each start gets LUMERA_PERF_EXIT_AFTER_PAINT=<report file>: at the end of its first paint the
program appends "LUMERA_PERF first_paint_end_unix_ns=N startup_ms=M peak_working_set_kb=P
private_kb=Q" and ends. N is read on
the same clock as the spawn time taken here, so N minus the spawn is the whole start-up, Wine's
process start included; M is counted from the process's creation inside Wine; P and Q are the
memory the process has taken by then (under Wine P is the Linux process's VmHWM). The game starts
in a scratch folder with the bundled collection and a stored record naming it, so no message
stops it. Two uncounted starts of each program come first, then game and floor in turn (and
the second floor, which also imports comdlg32, shell32, winmm, advapi32 and msimg32, what the
game imported before it loaded those it needs only for some commands on first use).
Python standard library only.
"""

import argparse
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZE_LIMIT = 1.5 * 1024 * 1024  # bytes


def settings_record(puzzle_file="Lumera8.dat"):
    def short(text, capacity):
        data = text.encode("cp1252")[:capacity]
        return bytes([len(data)]) + data + bytes(capacity - len(data))
    record = short("Lumera 7.0", 10) + short(puzzle_file, 133) + bytes([1, 1, 0]) + (0).to_bytes(4, "little")
    assert len(record) == 152
    return record


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def start_once(wine, exe, folder, report):
    """Milliseconds from the spawn to the end of the first paint, as the program counts, and the
    peak working set and private memory in kilobytes at that point."""
    if os.path.exists(report):
        os.remove(report)
    env = dict(os.environ, LUMERA_PERF_EXIT_AFTER_PAINT=windows_path(report))
    spawn_ns = time.time_ns()
    process = subprocess.Popen([wine, exe], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        process.wait(60)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None
    try:
        line = open(report).read().split()
    except OSError:
        return None
    fields = dict(part.split("=", 1) for part in line if "=" in part)
    if "first_paint_end_unix_ns" not in fields:
        return None
    return ((int(fields["first_paint_end_unix_ns"]) - spawn_ns) / 1e6, float(fields["startup_ms"]),
            int(fields.get("peak_working_set_kb", 0)), int(fields.get("private_kb", 0)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--exe", required=True, help="lumera8.exe to start")
    parser.add_argument("--floor", required=True, help="the floor program, built the same way")
    parser.add_argument("--floor-imports", help="the floor importing the game's system libraries too")
    parser.add_argument("--shipped-exe", required=True, help="the 32-bit lumera8.exe whose size is checked")
    parser.add_argument("--data", required=True, help="the folder of Lumera8.dat")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--warmup", type=int, default=2)
    parser.add_argument("--label", default="")
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="lumera-perf-win-")
    try:
        shutil.copy(os.path.join(args.data, "Lumera8.dat"), folder)
        subprocess.run([args.wine, "reg", "add", "HKLM\\Software\\Lumera800", "/v", "fRegInfo", "/t", "REG_BINARY",
                        "/d", settings_record().hex(), "/f"], check=True, capture_output=True, timeout=60,
                       stdin=subprocess.DEVNULL)
        report = os.path.join(folder, "perf.txt")
        programs = {"game": args.exe, "floor": args.floor}
        if args.floor_imports:
            programs["floor with the game's imports"] = args.floor_imports
        samples = {name: [] for name in programs}
        failures = {name: 0 for name in programs}
        for round_number in range(args.warmup + args.runs):
            for name, exe in programs.items():
                result = start_once(args.wine, exe, folder, report)
                if result is None:
                    failures[name] += 1
                    print(f"{name}: a start without a report (counted as failed)", file=sys.stderr)
                elif round_number >= args.warmup:
                    samples[name].append(result)
        for name in programs:
            if not samples[name]:
                print(f"perf_windows.py: no measurement of the {name}", file=sys.stderr)
                return 1
        whole = {name: statistics.median(s[0] for s in samples[name]) for name in programs}
        inside = {name: statistics.median(s[1] for s in samples[name]) for name in programs}
        peak = {name: statistics.median(s[2] for s in samples[name]) / 1024 for name in programs}
        private = {name: statistics.median(s[3] for s in samples[name]) / 1024 for name in programs}
        spread = {name: (min(s[0] for s in samples[name]), max(s[0] for s in samples[name])) for name in programs}
        ratio = whole["game"] / whole["floor"]
        size = os.path.getsize(args.shipped_exe)

        print(f"Machine: {os.cpu_count()} cores, {platform.platform()}; Wine: "
              f"{subprocess.run([args.wine, '--version'], capture_output=True, text=True).stdout.strip()} "
              f"{args.label}")
        print()
        print("| What | Game | Floor | Game vs floor | Target | Met |")
        print("|---|---:|---:|---:|---|---|")
        print(f"| Start-up under Wine, spawn to end of first paint, ms (median of {len(samples['game'])}; "
              f"range game {spread['game'][0]:.0f}-{spread['game'][1]:.0f}, floor "
              f"{spread['floor'][0]:.0f}-{spread['floor'][1]:.0f}) | {whole['game']:.1f} | {whole['floor']:.1f} | "
              f"{ratio:.2f} x | <= 1.2 x floor | {'yes' if ratio <= 1.2 else 'NO'} |")
        print(f"| The same from the process's creation inside Wine, ms | {inside['game']:.1f} | "
              f"{inside['floor']:.1f} | {inside['game'] / inside['floor']:.2f} x | | |")
        print(f"| Peak working set at the end of the first paint, MB (median) | {peak['game']:.2f} | "
              f"{peak['floor']:.2f} | +{peak['game'] - peak['floor']:.2f} MB | | |")
        print(f"| Private memory at the end of the first paint, MB (median) | {private['game']:.2f} | "
              f"{private['floor']:.2f} | +{private['game'] - private['floor']:.2f} MB | | |")
        other = "floor with the game's imports"
        if other in programs:
            print(f"| The floor importing comdlg32, shell32, winmm, advapi32 and msimg32 (what the game "
                  f"imported before it loaded the first three on first use), spawn to end of first paint, ms (median of {len(samples[other])}) | "
                  f"{whole['game']:.1f} | {whole[other]:.1f} | {whole['game'] / whole[other]:.2f} x | | |")
        print(f"| Size of the shipped 32-bit lumera8.exe, bytes | {size} | | | <= 1.5 MB (1,572,864) | "
              f"{'yes' if size <= SIZE_LIMIT else 'NO'} |")
        if any(failures.values()):
            print(f"\nStarts without a report: {failures}")
        return 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
