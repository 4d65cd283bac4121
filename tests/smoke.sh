#!/usr/bin/env bash
# Starts the real program on an X display, waits until its main window maps, closes it with
# Ctrl+X and checks that it ended. Catches a missing runtime package or plugin.
set -u
binary=$1
caption="Velmora Software: Tarnwick v1.6 "
home=$(mktemp -d)
export HOME=$home XDG_CACHE_HOME=$home/.cache XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
cd "$home"
"$binary" &
pid=$!
trap 'kill $pid 2>/dev/null; rm -rf "$home"' EXIT

window=
for _ in $(seq 1 300); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$caption\"" | awk '{print $1}' | head -n1)
  [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable" && break
  window=
  kill -0 $pid 2>/dev/null || { echo "tarnwick ended before its window mapped"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "main window with caption '$caption' did not map"; exit 1; }
echo "main window mapped: $window"

xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+x
for _ in $(seq 1 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  echo "tarnwick still runs after Ctrl+X"
  exit 1
fi
wait $pid
status=$?
echo "tarnwick ended with status $status"
exit $status
