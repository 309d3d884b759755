#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the build's own:
#   tests/windows/wine.sh PREFIX [PROGRAM.exe ARGUMENT...]
# The prefix is made on first use, or alone when no program is given (wineboot -i: up to a
# minute and about 700 MB), under a lock, so that programs started together make it once. Wine
# offers no Mono or Gecko (whose dialogs would wait for ever on a private X server) and prints
# none of its own debugging lines.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 PREFIX [PROGRAM.exe ARGUMENT...]" >&2
    exit 2
fi
prefix=$(realpath -m "$1")
shift
# Debian's wine64 keeps its loader out of the path.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || { echo "wine.sh: $wine is missing (Debian package wine64)" >&2; exit 1; }
export WINEPREFIX=$prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all

if [ ! -f "$prefix/.made" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.made" ]; then
            rm -rf "$prefix"
            env -u DISPLAY "$wine" wineboot -i > "$prefix.log" 2>&1 ||
                { cat "$prefix.log" >&2; echo "wine.sh: wineboot -i failed" >&2; exit 1; }
            /usr/lib/wine/wineserver -w
            touch "$prefix/.made"
        fi
    ) 9> "$prefix.lock"
fi
[ $# -eq 0 ] || exec "$wine" "$@"
