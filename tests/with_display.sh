#!/usr/bin/env bash
# Runs a command on an X server of its own: Xvfb picks a free display itself (-displayfd) and
# says which, so two of these started at once never race for one display number, as
# xvfb-run -a can. usage: with_display.sh COMMAND [ARG...]
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$dir/display" 2> "$dir/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$dir"' EXIT
# -displayfd writes the number once the server accepts connections.
for _ in $(seq 1 200); do
  [ -s "$dir/display" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1; }
  sleep 0.05
done
[ -s "$dir/display" ] || { echo "Xvfb gave no display number"; exit 1; }
export DISPLAY=":$(tr -d '\n' < "$dir/display")"
"$@"
