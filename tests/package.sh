#!/usr/bin/env bash
# Builds the Debian package and checks what it holds and what it depends on; then unpacks it
# and runs the unpacked program on an X display with the build and source trees hidden from
# it. The window must map with the program's icon, and a template and the preview plug-in
# must come from the unpacked tree.
# Usage: package.sh CPACK BUILD_DIR SOURCE_DIR (on an X display, as under xvfb-run)
set -u
cpack=$1
build=$(realpath "$2")
source=$(realpath "$3")
caption="Velmora Software: Tarnwick v1.6 "

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -s "$work/stderr" ] && { echo "--- the program's messages:"; cat "$work/stderr"; }
  exit 1
}

# --- The package --------------------------------------------------------------------------
"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack did not make the package"; }
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "tarnwick_${version}_${arch}.deb" ] || fail "package named $(basename "$deb")"
[ "$arch" = "$(dpkg --print-architecture)" ] || fail "architecture $arch"

# Every file the package holds, and nothing else.
expected=(
  ./usr/bin/tarnwick
  ./usr/lib/tarnwick/tarnwick_preview.so
  ./usr/share/applications/tarnwick.desktop
  ./usr/share/icons/hicolor/scalable/apps/tarnwick.svg
  ./usr/share/man/man1/tarnwick.1.gz
)
for size in 16 32 48 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/tarnwick.png")
done
for template in "$source"/szablony/*; do
  expected+=("./usr/share/tarnwick/szablony/$(basename "$template")")
done
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort >"$work/files"
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
diff -u "$work/expected" "$work/files" >"$work/files.diff" \
  || { cat "$work/files.diff"; fail "the package's files differ from the expected list (- missing, + extra)"; }

# The libraries come from the binaries, with the versions their symbols need: the program's
# own (widgets, editor, FTP) and the web engine the preview plug-in links.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in 'libqt6widgets6 (>=' 'libqscintilla2-qt6-[0-9]* (>=' 'libcurl4 (>=' \
              'libqt6webenginewidgets6 (>=' 'libc6 (>=' qt6-translations-l10n qt6-qpa-plugins fonts-wine; do
  grep -Eq "(^|, )${needed//(/\\(}" <<<"$depends" || fail "Depends lacks '$needed'"
done
if grep -Eq -- '-dev( |,|$)' <<<"$depends"; then fail "Depends names a development package"; fi

dpkg-deb -x "$deb" "$work/root"
root=$(realpath "$work/root")

for size in 16 32 48 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/tarnwick.png"
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "${size}x${size} icon is ${w}x${h}"
done
grep -q '<text' "$root/usr/share/icons/hicolor/scalable/apps/tarnwick.svg" && fail "the SVG icon holds text"
if command -v desktop-file-validate >/dev/null; then
  report=$(desktop-file-validate "$root/usr/share/applications/tarnwick.desktop" 2>&1)
  [ -z "$report" ] || fail "desktop-file-validate: $report"
else
  echo "desktop-file-validate not installed: the desktop entry is not validated"
fi
gzip -dc "$root/usr/share/man/man1/tarnwick.1.gz" | grep -q '^tarnwick \\- ' || fail "manual page has no NAME line"
[ "$("$root/usr/bin/tarnwick" --version)" = "Tarnwick $version" ] || fail "--version does not answer 'Tarnwick $version'"

# --- The unpacked program, away from the build tree ---------------------------------------
home=$work/home
mkdir -p "$home/run" && chmod 700 "$home/run"
export HOME=$home XDG_CACHE_HOME=$home/.cache XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run
export QT_LOGGING_RULES="tarnwick.templates.info=true;tarnwick.preview.info=true"
unset QT_QPA_PLATFORM TARNWICK_DATA_DIR
cd "$home"
# In a mount namespace of its own, empty file systems cover the build and source trees.
hide='mount -t tmpfs hidden "$1" && mount -t tmpfs hidden "$2" && shift 2 && exec "$@"'
if unshare --mount true 2>/dev/null; then
  unshare --mount bash -c "$hide" hide "$build" "$source" test ! -e "$build/CMakeCache.txt" \
    || fail "the build tree is still visible under the covering file system"
  unshare --mount bash -c "$hide" hide "$build" "$source" "$root/usr/bin/tarnwick" >"$work/stdout" 2>"$work/stderr" &
else
  echo "no mount namespace here: the trees stay visible; the reported paths are checked alone"
  "$root/usr/bin/tarnwick" >"$work/stdout" 2>"$work/stderr" &
fi
pid=$!

# Polls (at most 30 s) until the command succeeds.
await() {
  local _
  for _ in $(seq 1 300); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || fail "tarnwick ended early"
    sleep 0.1
  done
  return 1
}
viewable() { # a window named exactly $1 is mapped; prints its id
  local id
  for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && { echo "$id"; return 0; }
  done
  return 1
}
logged() { grep -qxF "$1" "$work/stderr"; }

await viewable "$caption" >/dev/null || fail "main window did not map"
window=$(viewable "$caption")
# The icon follows the first paint.
has_icon() { xprop -id "$window" _NET_WM_ICON 2>/dev/null | grep -q "Icon ("; }
await has_icon || fail "the window got no icon"
icons=$(xprop -len 1000000 -id "$window" _NET_WM_ICON)
for size in 16 32 48 256; do
  grep -qF "Icon ($size x $size)" <<<"$icons" || fail "_NET_WM_ICON has no ${size}x${size} picture"
done

# Plik > Szablony, then the first button.
xdotool windowfocus --sync "$window" key --clearmodifiers alt+p Down Return
await viewable "Tarnwick - Szablony" >/dev/null || fail "templates window did not map"
templates=$(viewable "Tarnwick - Szablony")
xdotool mousemove --window "$templates" 76 101 click 1
expected_template="tarnwick.templates: $root/usr/share/tarnwick/szablony/Ankieta.html"
await logged "$expected_template" || fail "no '$expected_template'"
await eval '! viewable "Tarnwick - Szablony" >/dev/null' || fail "templates window stayed open"
viewable "Tarnwick" >/dev/null && fail "an error box came up"

# The preview page loads the plug-in: Ctrl+Tab turns the notebook's page while the editor,
# which fills the middle of the window, has the focus.
xdotool mousemove --window "$window" 450 400 click 1 key --clearmodifiers ctrl+Tab
expected_plugin="tarnwick.preview: $root/usr/lib/tarnwick/tarnwick_preview.so"
await logged "$expected_plugin" || fail "no '$expected_plugin'"

echo "package $(basename "$deb") checked; the unpacked program ran from $root"
