#!/usr/bin/env python3
"""The in-session part of scripts/bench: for each desktop size, starts the test
shell with a generated desktop, then times Deskplan.exe /AUTOLOAD with nothing
stored (Wine's start and the view search alone), /AUTOSAVE and /AUTOLOAD (wall
time of the whole program under Wine), alternating the old and the new build
round by round (ABBA), and prints medians, per-icon figures, the list-view
messages per icon of each pass and ratios."""
import argparse
import os
import statistics
import subprocess
import sys
import time

WORDS = ["Document", "Photo", "Facture", "R\\xE9sum\\xE9", "Lettre", "Tableau", "Pr\\xE9sentation", "Caf\\xE9",
         "\\xC9t\\xE9", "No\\xEBl"]
SHIFT = (13, 7)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def write_fixture(folder, count):
    """The grid of e2e/fixtures/generate_large_fixture.py, as many rows as needed."""
    lines = [f"# {count} icons on a grid of 40 columns, written by scripts/bench."]
    for i in range(count):
        col, row = i % 40, i // 40
        lines.append(f"{10 + col * 75} {10 + row * 80} {WORDS[i % 10]}\\xA0n\\xB0{i + 1:04d}")
    path = os.path.join(folder, f"desktop_{count}.txt")
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
    return path


class Shell:
    """The test desktop, spoken to over its line protocol."""

    def __init__(self, loader, testshell, fixture):
        self.process = subprocess.Popen([loader, testshell, "--fixture", windows_path(fixture)],
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        line = self.read_line(timeout_note="ready")
        if line != "ready":
            raise RuntimeError(f"test shell did not start: {line!r}")

    def read_line(self, timeout_note=""):
        raw = self.process.stdout.readline()
        if not raw:
            raise RuntimeError(f"test shell ended (waiting for {timeout_note})")
        return raw.decode("latin-1").rstrip("\r\n")

    def ask(self, command):
        self.process.stdin.write((command + "\n").encode("latin-1"))
        self.process.stdin.flush()
        return self.read_line(command)

    def quit(self):
        try:
            self.ask("quit")
            self.process.wait(timeout=30)
        except Exception:  # the shell is ended either way
            self.process.kill()


def run(loader, exe, switch, timeout=600):
    start = time.monotonic()
    result = subprocess.run([loader, exe, "/NOPROMPT", switch], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, timeout=timeout)
    elapsed = time.monotonic() - start
    if result.returncode != 0:
        raise RuntimeError(f"{os.path.basename(exe)} {switch} ended with {result.returncode}")
    return elapsed


def reg(loader, *args):
    return subprocess.run([loader, "reg", *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def export_layout(loader, key, path):
    if os.path.exists(path):
        os.remove(path)
    reg(loader, "export", key, windows_path(path))
    with open(path, "rb") as data:
        return data.read()


def settled_paints(shell):
    """The view's paint count once it has stopped painting (two equal readings)."""
    last = shell.ask("paints")
    for _ in range(100):
        time.sleep(0.2)
        now = shell.ask("paints")
        if now == last:
            return int(now.split()[1])
        last = now
    return int(last.split()[1])


def list_messages(shell):
    return int(shell.ask("messages").split()[1])


def corner_items(shell, count):
    return [shell.ask(f"item {index}") for index in (0, count // 2, count - 1)]


def bench_size(args, loader, builds, count):
    fixture = write_fixture(args.work, count)
    shell = Shell(loader, args.testshell, fixture)
    try:
        width, height = shell.ask("screen").split()[1:3]
        key = f"HKCU\\Software\\Ostrafen\\Deskplan\\{width}x{height}"
        reg(loader, "delete", "HKCU\\Software\\Ostrafen", "/f")
        placed = corner_items(shell, count)
        times = {name: {"idle": [], "save": [], "load": [], "paints": [], "save_msgs": [], "load_msgs": []}
                 for name, _ in builds}
        exports = {}
        problems = []
        for round_index in range(args.rounds):
            order = builds if round_index % 2 == 0 else list(reversed(builds))
            for name, exe in order:
                reg(loader, "delete", "HKCU\\Software\\Ostrafen", "/f")
                times[name]["idle"].append(run(loader, exe, "/AUTOLOAD"))
                messages = list_messages(shell)
                times[name]["save"].append(run(loader, exe, "/AUTOSAVE"))
                times[name]["save_msgs"].append((list_messages(shell) - messages) / count)
                if name not in exports:
                    exports[name] = export_layout(loader, key, os.path.join(args.work, f"layout_{count}_{name}.reg"))
                shifted = shell.ask(f"shift {SHIFT[0]} {SHIFT[1]}")
                if shifted != f"shifted {count}":
                    problems.append(f"scramble answered {shifted!r}")
                before = settled_paints(shell)
                messages = list_messages(shell)
                times[name]["load"].append(run(loader, exe, "/AUTOLOAD"))
                times[name]["load_msgs"].append((list_messages(shell) - messages) / count)
                times[name]["paints"].append(settled_paints(shell) - before)
                if corner_items(shell, count) != placed:
                    problems.append(f"{name}: icons not back in place after round {round_index + 1}")
        if len(exports) == 2:
            old, new = exports["old"], exports["new"]
            same = "identical" if old == new and old else "DIFFERENT"
            print(f"  stored layout, old and new: {same} ({len(new)} bytes of reg export)")
        for name, _ in builds:
            print(f"  {name}: paints of the view per /AUTOLOAD: {times[name]['paints']}")
            print(f"  {name}: list-view messages per icon: save {max(times[name]['save_msgs']):.2f},"
                  f" load {max(times[name]['load_msgs']):.2f}")
        for problem in problems:
            print(f"  PROBLEM: {problem}")
        return times
    finally:
        shell.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--new", required=True)
    parser.add_argument("--old")
    parser.add_argument("--old-name", default="old")
    parser.add_argument("--testshell", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--sizes", default="100 1000 5000")
    args = parser.parse_args()
    loader = os.environ.get("WINELOADER") or "wine"
    builds = [("old", args.old)] if args.old else []
    builds.append(("new", args.new))
    sizes = [int(size) for size in args.sizes.split()]

    print(f"new: {args.new}")
    if args.old:
        print(f"old: {args.old_name}")
    print(f"rounds: {args.rounds} per size and build, alternated; wall time of Deskplan.exe under Wine")
    results = {}
    for count in sizes:
        print(f"-- {count} icons")
        sys.stdout.flush()
        results[count] = bench_size(args, loader, builds, count)

    print()
    header = f"{'icons':>6} {'pass':<5} {'build':<4} {'median s':>9} {'ms/icon':>8} {'min s':>7} {'max s':>7}"
    if args.old:
        header += f" {'new/old':>8}"
    print(header)
    for count in sizes:
        for what, label in (("idle", "idle"), ("save", "save"), ("load", "load")):
            medians = {}
            for name, _ in builds:
                samples = results[count][name][what]
                medians[name] = statistics.median(samples)
                line = (f"{count:>6} {label:<5} {name:<4} {medians[name]:>9.3f} {medians[name] * 1000 / count:>8.3f}"
                        f" {min(samples):>7.3f} {max(samples):>7.3f}")
                if args.old and name == "new":
                    line += f" {medians['new'] / medians['old']:>8.2f}"
                print(line)
    if 1000 in results and 5000 in results:
        print()
        for name, _ in builds:
            for what in ("save", "load"):
                per1000 = statistics.median(results[1000][name][what]) / 1000
                per5000 = statistics.median(results[5000][name][what]) / 5000
                print(f"{name} {what}: per-icon time at 5,000 / at 1,000 = {per5000 / per1000:.2f}")
    print("(idle = /AUTOLOAD with nothing stored; load = /AUTOLOAD, two restore passes; save = /AUTOSAVE;"
          " medians of the rounds)")


if __name__ == "__main__":
    main()
