#!/usr/bin/env bash
# Runs a command on an X server of its own. usage: with_display.sh COMMAND [ARG...]
# The display number is drawn at random from a range no one else uses by default (xvfb-run -a
# counts up from 99, a desktop sits at 0), so that a server of another test run that is just
# going away on a low number can never take this command's connections. Xvfb refuses a
# number that is taken, and then another is drawn; -displayfd says when the server accepts
# connections.
set -u
dir=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && { kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; }; rm -rf "$dir"' EXIT
for _ in $(seq 1 20); do
  number=$((300 + RANDOM % 700))
  [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
  : > "$dir/display"
  Xvfb ":$number" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$dir/display" 2> "$dir/xvfb.log" &
  xvfb=$!
  for _ in $(seq 1 200); do
    [ -s "$dir/display" ] && break
    kill -0 $xvfb 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$dir/display" ] && break
  # Taken after all, or too slow: end this server and draw again.
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; xvfb=
done
[ -n "$xvfb" ] || { echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1; }
export DISPLAY=":$number"
"$@"
