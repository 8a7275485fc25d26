#!/usr/bin/env bash
# Sets up T.O.R.K. on Debian 12 and then either starts the program or runs every test.
#   bash tools/setup.sh run    install, build, start the program (simulated instrument, demo folder)
#   bash tools/setup.sh test   install, build, run every test
# Safe to run again: installed packages and an existing build are reused.
set -euo pipefail

mode="${1:-}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TORK_BUILD_DIR:-$root/build}"
step="starting"
trap 'echo "tools/setup.sh: failed while ${step} (exit $?)" >&2' ERR

case "$mode" in
  run|test) ;;
  *) echo "usage: bash tools/setup.sh run|test" >&2; exit 2 ;;
esac

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins libgl-dev
  libhidapi-dev libudev-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  umockdev libumockdev-dev
  fonts-liberation fonts-wine fonts-dejavu-core
  poppler-utils sqlite3 xvfb xauth xdg-utils
)

step="installing Debian packages"
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "tools/setup.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

step="configuring the build"
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Paths relative to the checkout, so a fresh clone elsewhere reuses the compiler cache.
export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=true
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
  cmake "$build" >/dev/null
fi

step="building"
cmake --build "$build" -j "$(nproc)"

if [ "$mode" = test ]; then
  step="running the tests"
  cd "$build"
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
  exit 0
fi

step="starting the program"
demo="$root/demo-program-folder"
args=(--simulate --program-folder "$demo")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No desktop display found; starting the program on a virtual display (xvfb-run)."
  exec xvfb-run -a "$build/src/ui/tork" "${args[@]}"
fi
exec "$build/src/ui/tork" "${args[@]}"
