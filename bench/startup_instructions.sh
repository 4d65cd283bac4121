#!/usr/bin/env bash
# Instructions from exec to the end of the first paint, the program against the bare Qt +
# QScintilla window, counted by callgrind: the same count whatever else the machine is doing,
# where wall-clock start-up times on a shared machine move by tens of per cent.
# usage: startup_instructions.sh BUILD_DIR (under an X server, e.g. xvfb-run); appends to $SUMMARY.
set -euo pipefail
build=$1
command -v valgrind > /dev/null || { echo "valgrind is not installed: no instruction counts"; exit 0; }
count() {
  local home out
  home=$(mktemp -d)
  out="$home/callgrind.out"
  (cd "$home" && HOME=$home XDG_CONFIG_HOME=$home/f XDG_CACHE_HOME=$home/c DBUS_SESSION_BUS_ADDRESS=disabled: \
    TARNWICK_TRACE_STARTUP=quit timeout 120 valgrind --tool=callgrind --callgrind-out-file="$out" "$1" > /dev/null 2>&1)
  sed -n 's/^summary: *//p' "$out"
  rm -rf "$home"
}
bare=$(count "$build/bench/bare_window")
ours=$(count "$build/tarnwick")
printf 'bare window  %12s instructions to the first paint\ntarnwick     %12s instructions (%.2fx)\n' \
  "$bare" "$ours" "$(echo "$ours / $bare" | bc -l)"
[ -n "${SUMMARY:-}" ] && printf 'startupinstr\t%s\t%s\n' "$bare" "$ours" >> "$SUMMARY"
exit 0
