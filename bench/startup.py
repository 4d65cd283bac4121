"""Start-up to the first mapped window, for a program and its baselines, in the same run.

usage: startup.py MAPWATCH RUNS NAME=COMMAND::CAPTION ...  (under an X server, e.g. xvfb-run)
Runs the programs in turn, RUNS times each, and prints the median and the fastest time.
"""
import os
import shlex
import statistics
import subprocess
import sys
import tempfile


def once(mapwatch, command, caption):
    home = tempfile.mkdtemp()
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=home + "/c", XDG_CONFIG_HOME=home + "/f")
    env.pop("QT_QPA_PLATFORM", None)
    out = subprocess.run([mapwatch, caption] + shlex.split(command), env=env, cwd=home,
                         capture_output=True, text=True, timeout=60)
    return float(out.stdout) if out.returncode == 0 else float("nan")


def main():
    mapwatch, runs = sys.argv[1], int(sys.argv[2])
    programs = [arg.split("=", 1) for arg in sys.argv[3:]]
    results = {}
    for _ in range(runs):  # interleaved, so all see the same machine
        for name, entry in programs:
            command, caption = entry.split("::", 1)
            results.setdefault(name, []).append(once(mapwatch, command, caption))
    for name, times in results.items():
        print("%-12s median %7.1f ms   fastest %7.1f ms" % (name, statistics.median(times), min(times)))


if __name__ == "__main__":
    main()
