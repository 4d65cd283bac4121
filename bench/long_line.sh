#!/usr/bin/env bash
# Opening a page that is one line, in process (each step timed, next to the bare editor
# component with its HTML lexer) and as a whole process to the first paint (next to Geany
# opening the same file). Appends to $SUMMARY. usage: long_line.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
ll="$build/bench/long_line_bench"
# "10cjk": a line of 10 MB of markup around Chinese text, in process only.
for mb in 10 10cjk 100; do
  file="$work/line$mb.html"
  QT_QPA_PLATFORM=offscreen "$ll" --make "$file" "${mb%cjk}" $([ "$mb" = 10cjk ] && echo cjk) 2>/dev/null
  runs=3
  [ "$mb" = 100 ] && runs=1
  for _ in $(seq "$runs"); do
    ours=$(QT_QPA_PLATFORM=offscreen "$ll" --phases "$file" 2>/dev/null)
    bare=$(QT_QPA_PLATFORM=offscreen "$ll" --bare "$file" 2>/dev/null)
    label="${mb%cjk} MB"
    [ "$mb" = 10cjk ] && label="10 MB, Chinese"
    printf '%-15s %s\n%16s%s\n' "$label" "$ours" "" "$bare"
    total=$(sed -n 's/.*total \([0-9]*\) ms.*/\1/p' <<< "$ours")
    stall=$(sed -n 's/.*longest stall \([0-9]*\) ms.*/\1/p' <<< "$ours")
    key=$(sed -n 's/.*a typed key \([0-9]*\) ms.*/\1/p' <<< "$ours")
    baseline=$(sed -n 's/bare component \([0-9]*\) ms.*/\1/p' <<< "$bare")
    printf 'longline\t%s\t%s\t%s\t%s\t%s\n' "$mb" "$total" "$stall" "$baseline" "$key" >> "$SUMMARY"
  done
  if [ "$mb" = 10 ]; then
    # The same line below the first screen of a page, the caret on its first line.
    { for n in $(seq 300); do echo "<P>wiersz $n</P>"; done; cat "$file"; printf '\n'
      for n in $(seq 200); do echo "<P>wiersz $n</P>"; done; } > "$work/below.html"
    below=$(QT_QPA_PLATFORM=offscreen "$ll" --scroll "$work/below.html" 2>/dev/null)
    printf '%-15s %s\n' "10 MB, line 301" "$below"
    printf 'scrollpast\t%s\t%s\n' $(sed -n 's/scrolled into view \([0-9]*\) ms, a line further \([0-9]*\) ms.*/\1 \2/p' <<< "$below") >> "$SUMMARY"
    pasted=$(QT_QPA_PLATFORM=offscreen "$ll" --paste "$file" 2>/dev/null)
    printf '%-15s %s\n' "10 MB, pasted" "$pasted"
    printf 'pasteline\t%s\n' "$(sed -n 's/pasted and shown \([0-9]*\) ms.*/\1/p' <<< "$pasted")" >> "$SUMMARY"
  fi
  # Whole process, to the first paint of the window showing the file.
  [ "$mb" = 10cjk ] && continue
  command -v geany > /dev/null || { echo "Geany is not installed: no whole-process baseline"; continue; }
  SUMMARY="$work/line$mb.tsv" PAINTWATCH_CONTENT=1 PAINTWATCH_SECONDS=180 xvfb-run -a -s "-screen 0 1280x1024x24" \
    /usr/bin/python3 "$here/startup.py" "$build/bench/paintwatch" "$runs" \
    "tarnwick=$ll --show $file::long line" \
    "geany=geany -i $file::line$mb.html - $work - Geany (new instance)"
  sed "s/^startup\t/wholeline\t$mb\t/" "$work/line$mb.tsv" >> "$SUMMARY"
done
