"""Start-up to the first mapped window, for a program and its baseline, in the same run.

usage: startup.py RUNS NAME=COMMAND::CAPTION ...  (run under an X server, e.g. xvfb-run)
Prints the median and the fastest time per program in milliseconds.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def mapped(caption):
    out = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if '"%s"' % caption in line:
            wid = line.split()[0]
            info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
            if "IsViewable" in info:
                return True
    return False


def once(command, caption):
    home = tempfile.mkdtemp()
    env = dict(os.environ, HOME=home, XDG_CACHE_HOME=home + "/c", XDG_CONFIG_HOME=home + "/f")
    env.pop("QT_QPA_PLATFORM", None)
    start = time.perf_counter()
    proc = subprocess.Popen(command, shell=True, env=env, cwd=home,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = start + 30
        while time.perf_counter() < deadline:
            if mapped(caption):
                return (time.perf_counter() - start) * 1000
            time.sleep(0.002)
        return float("nan")
    finally:
        proc.kill()
        proc.wait()


def main():
    runs = int(sys.argv[1])
    results = {}
    programs = [arg.split("=", 1) for arg in sys.argv[2:]]
    for _ in range(runs):  # interleaved, so both see the same machine load
        for name, entry in programs:
            command, caption = entry.split("::", 1)
            results.setdefault(name, []).append(once(command, caption))
    for name, times in results.items():
        print("%-12s median %7.1f ms   fastest %7.1f ms" % (name, statistics.median(times), min(times)))


if __name__ == "__main__":
    main()
