#!/usr/bin/env bash
# Runs every measurement next to its baseline from the same run. usage: run.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== Editor, search and table panel (baselines: *Baseline*)"
QT_QPA_PLATFORM=offscreen "$build/bench/tarnwick_bench" --benchmark_counters_tabular=true 2>/dev/null

echo
echo "== Opening a 50 MB file, whole process"
for encoding in 0:Windows-1250 1:ISO-8859-2 2:UTF-8; do
  (cd "$work" && QT_QPA_PLATFORM=offscreen "$build/bench/tarnwick_bench" --make-sample 50 "${encoding%%:*}" 2>/dev/null)
  printf '%-14s ' "${encoding#*:}"
  QT_QPA_PLATFORM=offscreen "$build/bench/tarnwick_bench" --peak-open "$work/sample.html" 2>/dev/null
done

echo
echo "== Preview"
"$build/bench/preview_bench" 2>/dev/null

echo
echo "== Start-up to the first mapped window (baseline: a bare Qt + QScintilla window)"
programs=("bare=$build/bench/bare_window::bare window"
          "tarnwick=$build/tarnwick::Velmora Software: Tarnwick v1.6 ")
command -v geany > /dev/null && programs+=("geany=geany -i::untitled - Geany (new instance)")
xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 "$here/startup.py" "$build/bench/mapwatch" 11 "${programs[@]}"

echo
echo "== FTP"
bash "$here/ftp.sh" "$build" 200
