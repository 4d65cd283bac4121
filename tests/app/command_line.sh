#!/usr/bin/env bash
# The real program on an X display: a file named on the command line is in the editor (read
# back through the clipboard: Ctrl+A, Ctrl+C), a missing one brings up the error box.
set -u
binary=$1
caption="Velmora Software: Tarnwick v1.6 "
home=$(mktemp -d)
export HOME=$home XDG_CACHE_HOME=$home/.cache XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" "$home/strony" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Waits for a window whose name matches, prints its id.
window_named() {
  local w
  for _ in $(seq 1 300); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    kill -0 $pid 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Starts the program and waits for its main window. Now and then, on a loaded machine, the
# program's first connection to the X server fails although other clients get in; that start
# is retried, twice at most. Any other failure ends the test.
launch() {
  for _ in 1 2 3; do
    "$binary" "$@" 2> "$home/stderr" &
    pid=$!
    main=$(window_named "^$caption\$") && return 0
    grep -q "nie można połączyć się z ekranem" "$home/stderr" || break
  done
  cat "$home/stderr"
  return 1
}

printf '<P>Strona z wiersza polecen</P>\n<P>druga linia</P>' > "$home/strony/strona.html"
cd "$home"
launch strony/strona.html || fail "the main window did not map"
# The clipboard answers once the text is copied; Ctrl+A and Ctrl+C act on the editor from anywhere.
text=
for _ in $(seq 1 50); do
  xdotool windowfocus --sync "$main" key --clearmodifiers ctrl+a ctrl+c
  text=$(xclip -o -selection clipboard 2>/dev/null) && [ -n "$text" ] && break
  sleep 0.2
done
expected=$(cat "$home/strony/strona.html")
[ "$text" = "$expected" ] || fail "the editor holds '$text', not the file"
# The file panel opens the file's folder, and the program's working folder follows the panel.
folder=$(readlink "/proc/$pid/cwd")
[ "$folder" = "$(cd "$home/strony" && pwd -P)" ] || fail "the file panel is in '$folder', not the file's folder"
kill $pid; wait $pid 2>/dev/null; pid=

launch "$home/strony/brak.html" || fail "the main window did not map"
window_named "^Tarnwick\$" >/dev/null || fail "no error box for a missing file"
echo "ok"
