"""Start-up to the first paint of the main window, for a program and its baselines, in one run.

usage: startup.py PAINTWATCH RUNS NAME=COMMAND::CAPTION ...  (under an X server, e.g. xvfb-run)
Runs the programs in turn, RUNS times each, and prints the median and the spread. With
SUMMARY=FILE set, also appends "name<TAB>median" lines to FILE.
"""
import os
import shlex
import statistics
import subprocess
import sys
import tempfile


def once(paintwatch, command, caption):
    home = tempfile.mkdtemp()
    # No session bus: without this, every program would start one of its own (D-Bus
    # autolaunch), and the daemons left behind would slow the later runs.
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=home + "/c", XDG_CONFIG_HOME=home + "/f",
               DBUS_SESSION_BUS_ADDRESS="disabled:")
    env.pop("QT_QPA_PLATFORM", None)
    out = subprocess.run([paintwatch, caption] + shlex.split(command), env=env, cwd=home,
                         capture_output=True, text=True,
                         timeout=int(os.environ.get("PAINTWATCH_SECONDS", "30")) + 30)
    return float(out.stdout.split()[0]) if out.returncode == 0 else float("nan")


def main():
    paintwatch, runs = sys.argv[1], int(sys.argv[2])
    programs = [arg.split("=", 1) for arg in sys.argv[3:]]
    results = {}
    for _ in range(runs):  # interleaved, so all see the same machine
        for name, entry in programs:
            command, caption = entry.split("::", 1)
            results.setdefault(name, []).append(once(paintwatch, command, caption))
    summary = os.environ.get("SUMMARY")
    for name, times in results.items():
        times = [t for t in times if t == t]
        if not times:
            print("%-12s no window painted" % name)
            continue
        quartiles = statistics.quantiles(times, n=4) if len(times) > 1 else [times[0]] * 3
        print("%-12s median %7.1f ms   fastest %7.1f   slowest %7.1f   middle half %.1f-%.1f  (%d runs)"
              % (name, statistics.median(times), min(times), max(times), quartiles[0], quartiles[2], len(times)))
        if summary:
            with open(summary, "a") as f:
                f.write("startup\t%s\t%.1f\n" % (name, statistics.median(times)))


if __name__ == "__main__":
    main()
