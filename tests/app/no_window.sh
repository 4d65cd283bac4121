#!/usr/bin/env bash
# What the program says and how it ends when it opens no window: --help and --version, an
# unknown option, no display at all and a display that cannot be reached.
set -u
binary=$1
run=$(mktemp -d) && chmod 700 "$run"
trap 'rm -rf "$run"' EXIT
failed=0

# expect STATUS STDOUT STDERR -- ENV... : runs the program with only the given environment.
expect() {
  local status=$1 out=$2 err=$3; shift 4
  env -i PATH="$PATH" HOME="$run" XDG_RUNTIME_DIR="$run" "$@" >"$run/out" 2>"$run/err"
  local got=$?
  if [ "$got" != "$status" ] || [ "$(cat "$run/out")" != "$out" ] || [ "$(cat "$run/err")" != "$err" ]; then
    echo "FAIL: $*"
    echo "  status $got, wanted $status"
    echo "  stdout:"; sed 's/^/    /' "$run/out"
    echo "  stderr:"; sed 's/^/    /' "$run/err"
    failed=1
  fi
}

help='Użycie: tarnwick [OPCJA] [PLIK...]
Edytor kodu źródłowego stron WWW.

  PLIK        wczytuje plik do edytora, tak jak Plik > Otwórz, a panel plików
              otwiera jego folder; z kilku plików wczytywany jest pierwszy,
              bo Tarnwick edytuje jeden dokument naraz
  --help      wypisuje ten opis i kończy działanie
  --version   wypisuje wersję programu i kończy działanie
  --          kończy opcje: dalsze argumenty są plikami

Program potrzebuje ekranu. Bez ekranu: xvfb-run -a tarnwick'
hint='No display found. To run without a screen use: xvfb-run -a tarnwick'

expect 0 "$help" "" -- "$binary" a.html --help
expect 0 "Tarnwick 1.6" "" -- "$binary" --version
expect 2 "" 'tarnwick: nieznana opcja "--nowy". Opis opcji: tarnwick --help' -- QT_QPA_PLATFORM=offscreen "$binary" --nowy a.html
expect 1 "" "tarnwick: nie znaleziono ekranu (brak DISPLAY i WAYLAND_DISPLAY).
$hint" -- "$binary"
expect 1 "" "tarnwick: nie można połączyć się z ekranem \":4917\".
$hint" -- DISPLAY=:4917 "$binary"
[ $failed = 0 ] && echo ok
exit $failed
