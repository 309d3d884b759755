#!/usr/bin/env bash
# Installs the Debian packages the game, its front ends, its package, its tests and its
# benchmarks need.
# Does nothing when everything is already there, so `make run` and `make test` can call it every time.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libglfw3-dev libgl-dev libgl1-mesa-dri libimgui-dev libstb-dev fonts-hack-ttf
    libgtest-dev libgmock-dev libbenchmark-dev
    libx11-dev xvfb xdotool x11-utils imagemagick zlib1g-dev file
    gnuplot-nox
    emscripten nodejs chromium python3
    lintian desktop-file-utils appstream dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
# npm drives the browser tests. Node.js from NodeSource brings its own; Debian's nodejs does
# not, and its npm package would conflict with NodeSource's, so it is asked for only when missing.
if ! command -v npm >/dev/null 2>&1 &&
    ! dpkg-query -W -f='${Status}' npm 2>/dev/null | grep -q "install ok installed"; then
    missing+=(npm)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
