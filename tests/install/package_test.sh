#!/usr/bin/env bash
# The Debian package as a user gets it: lintian and the desktop and AppStream validators accept
# what was built, and the unpacked programs, started from an unrelated folder, answer their
# options and play the golden transcripts byte for byte. Then a `make install`-style install
# under another prefix and DESTDIR, which must work as well from wherever it lands.
# Usage: package_test.sh BUILD_DIR TRANSCRIPT_DIR
set -euo pipefail
build=$1
transcripts=$2
deb=$(ls "$build"/deb/tarnwick_*.deb)
work=$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
checks=0

Fail() { echo "package_test: FAIL: $*" >&2; exit 1; }
Pass() { checks=$((checks + 1)); echo "ok $checks - $*"; }

# What was built, through the tools a distribution uses.
lintian --fail-on error,warning "$deb" 2> /dev/null || Fail "lintian finds errors or warnings"
Pass "lintian: no errors or warnings"
dpkg-deb -x "$deb" "$work/unpacked"
root=$work/unpacked/usr
desktop=$(ls "$root"/share/applications/*.desktop)
desktop-file-validate "$desktop" || Fail "desktop-file-validate refuses $desktop"
appstreamcli validate --no-net "$root"/share/metainfo/*.metainfo.xml ||
    Fail "appstreamcli refuses the metainfo"
Pass "desktop-file-validate and appstreamcli validate accept $(basename "$desktop" .desktop)"

version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-hack-ttf libglfw3 libc6; do
    [[ "$depends" == *"$package"* ]] || Fail "Depends lacks $package: $depends"
done
grep -q "release version=\"$version\"" "$root"/share/metainfo/*.xml ||
    Fail "the metainfo's release is not $version"
zcat "$root"/share/man/man6/tarnwick.6.gz | grep -q "tarnwick $version" || Fail "tarnwick(6) is not of version $version"
! find "$work/unpacked" -name '*.ttf' | grep -q . || Fail "the package ships a font"
Pass "version $version everywhere; Depends: $depends"

# The program an Exec= value of one argument names, read as the desktop-entry format says: the
# value's \\ is \, %% is %, and a quoted argument loses its quotes and the \ before " ` $ \.
ExecProgram() {
    sed -e 's/\\\\/\\/g' -e 's/%%/%/g' -e '/^".*"$/ { s/^"\(.*\)"$/\1/; s/\\\(.\)/\1/g; }' <<< "$1"
}

# The menu entry under ROOT, installed for PREFIX, starts the window program: by name from
# /usr and /usr/local, whose games folders are on the path, else by full path; and the icon it
# names is installed at all seven sizes.
CheckMenuEntry() {  # ROOT PREFIX LABEL
    local root=$1 prefix=$2 label=$3 entry exec expected icon
    entry=$(ls "$root$prefix"/share/applications/*.desktop)
    desktop-file-validate "$entry" || Fail "$label: desktop-file-validate refuses $entry"
    exec=$(sed -n 's/^Exec=//p' "$entry")
    expected=$prefix/games/tarnwick
    [[ $prefix == /usr || $prefix == /usr/local ]] && expected=tarnwick
    [ "$(ExecProgram "$exec")" = "$expected" ] && [ -x "$root$prefix/games/tarnwick" ] ||
        Fail "$label: Exec=$exec does not name $expected"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ "$(ls "$root$prefix"/share/icons/hicolor/{16,24,32,48,64,128,256}x*/apps/"$icon".png |
        wc -l)" -eq 7 ] || Fail "$label: Icon=$icon is not installed at every size"
    Pass "$label: the menu entry runs $exec and shows the installed icon $icon"
}

# Plays every golden transcript with tarnwick-text from $1, started in a folder of its own.
PlayTranscripts() {
    local program=$1 label=$2 elsewhere script
    elsewhere=$(mktemp -d "$work/elsewhere.XXXXXX")
    for script in "$transcripts"/*.script; do
        (cd "$elsewhere" && "$program" --script "$script" --markup) > "$work/played" ||
            Fail "$label: tarnwick-text --script $(basename "$script") --markup failed"
        cmp -s "$work/played" "${script%.script}.transcript" ||
            Fail "$label: $(basename "$script") plays differently from its stored transcript"
    done
    Pass "$label: every golden transcript plays byte for byte from $elsewhere"
}

# Both programs answer their options with no display at all, so no window was tried.
CheckOptions() {
    local games=$1 label=$2 out status
    out=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY "$games/tarnwick" --version)
    [ "$out" = "tarnwick $version" ] || Fail "$label: tarnwick --version says '$out'"
    out=$(cd "$work" && "$games/tarnwick-text" --version)
    [ "$out" = "tarnwick-text $version" ] || Fail "$label: tarnwick-text --version says '$out'"
    env -u DISPLAY "$games/tarnwick" --help | grep -q -- "--version" || Fail "$label: tarnwick --help"
    status=0
    env -u DISPLAY "$games/tarnwick" --fullscreen > /dev/null 2> "$work/err" || status=$?
    [ "$status" -eq 2 ] && grep -q "unknown option '--fullscreen'" "$work/err" ||
        Fail "$label: an unknown option gave status $status and: $(cat "$work/err")"
    Pass "$label: --version, --help and an unknown option, with no display"
}

CheckMenuEntry "$work/unpacked" /usr "unpacked package"
CheckOptions "$root/games" "unpacked package"
PlayTranscripts "$root/games/tarnwick-text" "unpacked package"

# Installs under other prefixes, into a staging folder, as `make install` does them.
# CMake installs into no folder with a backslash in its name; every other character the menu
# entry must escape is in the last prefix.
for prefix in /usr/local "/opt/Tarnwick Games" '/opt/50% off $HOME `id` "q"'; do
    DESTDIR="$work/staged" cmake --install "$build" --prefix "$prefix" > /dev/null
    CheckMenuEntry "$work/staged" "$prefix" "install under $prefix"
done
staged="$work/staged/opt/Tarnwick Games"
for file in games/tarnwick games/tarnwick-text share/games/tarnwick/splash.png \
    share/man/man6/tarnwick.6.gz share/doc/tarnwick/copyright; do
    [ -f "$staged/$file" ] || Fail "the install under /opt lacks $file"
done
CheckOptions "$staged/games" "install under DESTDIR and PREFIX"
PlayTranscripts "$staged/games/tarnwick-text" "install under DESTDIR and PREFIX"
echo "package_test: all $checks checks passed"
