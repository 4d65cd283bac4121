#!/usr/bin/env bash
# Runs every measurement next to its baseline from the same run, then prints one summary
# table. usage: run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SUMMARY="$work/summary.tsv"
: > "$SUMMARY"
bench="$build/bench/tarnwick_bench"

echo "== Editor, search and table panel (baselines: *Baseline*)"
QT_QPA_PLATFORM=offscreen "$bench" --benchmark_counters_tabular=true \
  --benchmark_out="$work/bench.json" --benchmark_out_format=json 2>/dev/null

echo
echo "== Opening a 50 MB file to the first paint, whole process, 5 runs each"
for encoding in 0:Windows-1250 1:ISO-8859-2 2:UTF-8; do
  (cd "$work" && QT_QPA_PLATFORM=offscreen "$bench" --make-sample 50 "${encoding%%:*}" 2>/dev/null)
  mv "$work/sample.html" "$work/sample-${encoding%%:*}.html"
  for run in 1 2 3 4 5; do
    /usr/bin/python3 - "$bench" "$work/sample-${encoding%%:*}.html" "${encoding#*:}" <<'PY'
import os, subprocess, sys, time
t = time.monotonic()
out = subprocess.run([sys.argv[1], "--peak-open", sys.argv[2]], capture_output=True, text=True,
                     env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout
ms = (time.monotonic() - t) * 1000
peak = out.split("peak ")[1].split()[0]
print("%-13s whole process %4.0f ms (%s)" % (sys.argv[3], ms, out.strip()))
with open(os.environ["SUMMARY"], "a") as f:
    f.write("open\t%s\t%.1f\t%s\n" % (sys.argv[3], ms, peak))
PY
  done
done

echo
echo "== Typing at the end, every key painted (200 keys)"
for doc in "-:empty" "$work/sample-0.html:50 MB"; do
  printf '%-8s ' "${doc#*:}"
  out=$(QT_QPA_PLATFORM=offscreen "$bench" --type-keys "${doc%%:*}" 200 2>/dev/null)
  echo "$out"
  echo "typing	${doc#*:}	$out" >> "$SUMMARY"
done

echo
echo "== Preview"
"$build/bench/preview_bench" 2>/dev/null

echo
echo "== Start-up to the first paint of the main window (baseline: a bare Qt + QScintilla window)"
programs=("bare=$build/bench/bare_window::bare window"
          "tarnwick=$build/tarnwick::Velmora Software: Tarnwick v1.6 ")
command -v geany > /dev/null && programs+=("geany=geany -i::untitled - Geany (new instance)")
xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 "$here/startup.py" "$build/bench/paintwatch" 11 "${programs[@]}"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/startup_instructions.sh" "$build"

echo
echo "== FTP"
bash "$here/ftp.sh" "$build" 200

echo
echo "== A page that is one line of 10 MB and of 100 MB (baselines: the bare editor component, Geany)"
bash "$here/long_line.sh" "$build" "$work"

echo
/usr/bin/python3 "$here/summary.py" "$work/bench.json" "$SUMMARY"
