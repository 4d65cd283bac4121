#!/usr/bin/env bash
# Installs what Tarnwick needs on Debian 12, builds it, and starts it (run), runs every test
# (test), runs the benchmarks (bench) or makes the Debian package in build/ (package).
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n qt6-svg-dev
  libqscintilla2-qt6-dev qt6-webengine-dev libgl-dev
  libcurl4-openssl-dev curl
  python3-pyftpdlib python3-openssl openssh-server openssh-client openssl
  xvfb xauth x11-utils xdotool xclip
  dpkg-dev file desktop-file-utils
  fonts-dejavu-core fonts-liberation2 fonts-wine
  libbenchmark-dev
)

install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
  fi
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build build
}

case "${1:-}" in
  run)
    install_missing
    build
    exec ./build/tarnwick
    ;;
  test)
    install_missing
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2
    ;;
  bench)
    # Geany is the other editor the start-up time is compared with; paintwatch needs XDamage;
    # valgrind counts the instructions start-up takes.
    PACKAGES+=(geany libxdamage-dev valgrind bc)
    install_missing
    build -DTARNWICK_BENCH=ON
    exec bash bench/run.sh build
    ;;
  package)
    install_missing
    build
    (cd build && cpack -G DEB)
    ;;
  *)
    echo "usage: $0 run|test|bench|package" >&2
    exit 2
    ;;
esac
