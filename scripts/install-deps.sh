#!/usr/bin/env bash
# Installs the Debian packages one job needs, and only those:
#   scripts/install-deps.sh build      build and play the game (make build, make run, make install)
#   scripts/install-deps.sh check      build and run the tests that need no display (make check)
#   scripts/install-deps.sh deb        build the Debian package (make deb)
#   scripts/install-deps.sh web        build the web page (make web, make serve)
#   scripts/install-deps.sh windows    build the Windows zip and installer (make windows)
#   scripts/install-deps.sh test       everything: the tests, sanitizers, fuzzers, benchmarks
#   scripts/install-deps.sh --list JOB            prints the job's packages, one a line
#   scripts/install-deps.sh --download-size JOB   what the job downloads on a minimal Debian
# Does nothing when everything is already there, so the Makefile can call it every time.
set -euo pipefail

usage() {
    echo "usage: $0 [--list | --download-size] build|check|deb|web|windows|test" >&2
    exit 2
}

build_packages=(
    build-essential cmake pkg-config
    libglfw3-dev libgl-dev libgl1-mesa-dri libimgui-dev libstb-dev libncurses-dev fonts-hack-ttf
    libspeechd-dev  # the window speaks through Speech Dispatcher; it brings GLib's GDBus too
    libatk1.0-dev libatk-bridge2.0-dev  # the window in the desktop's accessibility tree
    libxkbcommon-dev  # the characters of the keys handed to the screen reader
)
# The tests and their helper programs build with these; the window's tests need more to run.
check_packages=(
    "${build_packages[@]}" libgtest-dev libx11-dev zlib1g-dev
    dbus-daemon  # a private session bus for the screen reader watch's test
)
deb_packages=("${build_packages[@]}" dpkg-dev)
web_packages=(
    cmake make python3 fonts-hack-ttf emscripten nodejs fonttools python3-brotli webp dpkg-dev
)
# The cross compiler, and the Linux build's GLFW, ImGui and stb: the Windows build takes their
# Debian sources at the installed versions, and stb's headers.
windows_packages=(
    cmake make g++-mingw-w64-x86-64-posix dpkg-dev zip
    libglfw3-dev libimgui-dev libstb-dev fonts-hack-ttf
    wixl msitools  # the installer: wixl builds it, msibuild sets its package code
    faketime  # wixl dates the installer by the clock: a clock stopped at SOURCE_DATE_EPOCH
)
# What only the tests, sanitizers, fuzzers and benchmarks use (the clang runtime is added below).
test_only_packages=(
    clang libgtest-dev libgmock-dev libbenchmark-dev
    libx11-dev zlib1g-dev xvfb xdotool x11-utils x11-xserver-utils imagemagick file gnuplot-nox
    xclip  # reads what the window puts on the clipboard
    x11-xkb-utils  # setxkbmap: a second keyboard layout for the key events
    openbox python3-xlib
    ncurses-term  # terminal descriptions beyond the basic ones: xterm-16color
    chromium firefox-esr webkit2gtk-driver
    lintian desktop-file-utils appstream
    wine64 unzip
    speech-dispatcher speech-dispatcher-espeak-ng  # a private speech service for the window
    at-spi2-core python3-pyatspi  # a private AT-SPI bus and a client that reads the window
    dbus-daemon  # a private session bus for the screen reader watch's test
    orca pulseaudio  # Debian's screen reader, its speech paced by a sound server's null sink
)

# The sanitizer and libFuzzer runtime matches clang's major version: the installed clang's, or
# the one the distribution's clang package would install. Nothing while neither is known (no
# package lists yet): it is then installed after clang.
ClangRuntimePackage() {
    local major
    if command -v clang > /dev/null; then
        major=$(clang -dumpversion | cut -d. -f1)
    else
        major=$(apt-cache depends clang 2> /dev/null | sed -n 's/^ *Depends: clang-\([0-9]*\)$/\1/p' | head -n1)
    fi
    [ -z "$major" ] || echo "libclang-rt-$major-dev"
}

# npm drives the browser tests. Node.js from NodeSource brings its own; Debian's nodejs does
# not, and its npm package would conflict with NodeSource's, so it is asked for only when missing.
NpmPackage() {
    command -v npm > /dev/null && [ -z "${fresh_machine:-}" ] || echo npm
}

JobPackages() {
    case $1 in
    build) printf '%s\n' "${build_packages[@]}" ;;
    check) printf '%s\n' "${check_packages[@]}" ;;
    deb) printf '%s\n' "${deb_packages[@]}" ;;
    web) printf '%s\n' "${web_packages[@]}" ;;
    windows) printf '%s\n' "${windows_packages[@]}" ;;
    test)
        printf '%s\n' "${deb_packages[@]}" "${web_packages[@]}" "${windows_packages[@]}" \
            "${test_only_packages[@]}" \
            $(ClangRuntimePackage) $(NpmPackage) | awk '!seen[$0]++'
        ;;
    *) usage ;;
    esac
}

# Sums what apt would fetch for the job on a minimal Debian (the required packages only), with
# a scratch dpkg status and package cache so that nothing here counts as installed or fetched.
DownloadSize() {
    local required base_count base_bytes all_count all_bytes
    fresh_machine=yes
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
    mkdir -p "$scratch/archives/partial"
    : > "$scratch/status"
    required=$(dpkg-query -W -f='${Package} ${Priority} ${Essential}\n' |
        awk '$2 == "required" || $3 == "yes" {print $1}')
    Fetch() {
        # shellcheck disable=SC2086
        apt-get -qq --print-uris -o Dir::State::status="$scratch/status" \
            -o Dir::Cache::archives="$scratch/archives" -o APT::Install-Recommends=false \
            install $required "$@" | awk '/^\x27/ {bytes += $3; count++} END {print count + 0, bytes + 0}'
    }
    read -r base_count base_bytes < <(Fetch)
    read -r all_count all_bytes < <(Fetch $(JobPackages "$1"))
    [ "$all_count" -gt "$base_count" ] || { echo "install-deps: apt found nothing to fetch" >&2; exit 1; }
    awk -v n=$((all_count - base_count)) -v b=$((all_bytes - base_bytes)) -v job="$1" \
        'BEGIN {printf "%s: %d packages, %.0f MB to download\n", job, n, b / 1e6}'
}

case ${1:-} in
--list) [ $# -eq 2 ] || usage; JobPackages "$2"; exit 0 ;;
--download-size) [ $# -eq 2 ] || usage; JobPackages "$2" > /dev/null; DownloadSize "$2"; exit 0 ;;
build | check | deb | web | windows | test) [ $# -eq 1 ] || usage ;;
*) usage ;;
esac

missing=()
for package in $(JobPackages "$1"); do
    if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages for '$1': ${missing[*]}" >&2
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
# Without package lists, clang's runtime could not be named before clang came.
if [ "$1" = test ]; then
    runtime=$(ClangRuntimePackage)
    [ -n "$runtime" ] || { echo "install-deps: cannot tell clang's version" >&2; exit 1; }
    dpkg-query -W -f='${Status}' "$runtime" 2> /dev/null | grep -q "install ok installed" ||
        $sudo apt-get install -y -q --no-install-recommends "$runtime"
fi
