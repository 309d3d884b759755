#!/usr/bin/env bash
# The zip as a Windows player gets it: its folder holds the program (importing no DLL but
# Windows' own, with its icon and version), the data files, the README with Windows line ends
# and the licences. Unpacked under a path that is not ASCII and started under Wine from another
# folder, the program finds its files beside itself, opens its window with its title, shows the
# splash until Space, then the welcome text; a typed line is echoed and answered, all five
# colours show, and closing the window ends the program with status 0 and nothing on standard
# error; asked about as a screen reader does through UI Automation (UIA_PROBE), the window
# gives its name and the window control type, and holds the story and the focused line typed.
# With --speak among the game's arguments, which Wine cannot do (it has neither UI Automation's
# notifications nor a SAPI voice), the game plays the same, and standard error holds one line
# that says so. A FOLDER instead of the zip (the installer's) is played where it is.
#   playthrough.sh ZIP|FOLDER WINE_PREFIX TOOLS_DIR ARTIFACT_DIR UIA_PROBE [GAME_ARGUMENT...]
zip=$(realpath "$1")
uia_probe=$(realpath "$5")
game_args=("${@:6}")
wine=("$(cd "$(dirname "$0")" && pwd)/wine.sh" "$(realpath -m "$2")")
# The program and its data files are known once the zip is unpacked, below.
set -- "" "" "" "$3" "$4"
source "$(dirname "$0")/../window/lib.sh"

# What the program imports: Windows' own DLLs, which every Windows has.
readonly WINDOWS_DLLS="gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll opengl32.dll shell32.dll user32.dll winmm.dll"
readonly CONTENTS="Hack-Bold.ttf README.txt licences/Dear-ImGui.txt licences/GCC.txt licences/GLFW.txt licences/Hack.txt licences/MinGW-w64.txt licences/stb.txt splash.png tarnwick.exe"

folder=$(basename "$zip" .zip)
unpacked="$WORK/Zoë/Spiele/Tärnwick"
[ -d "$zip" ] && unpacked=$(dirname "$zip") || { mkdir -p "$unpacked" && unzip -q "$zip" -d "$unpacked"; }
[ "$(ls "$unpacked")" = "$folder" ] || Fail "the zip holds more than the folder $folder: $(ls "$unpacked")"
contents=$(cd "$unpacked/$folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | xargs)
[ "$contents" = "$CONTENTS" ] || Fail "the zip's folder holds: $contents"
TARNWICK=$unpacked/$folder/tarnwick.exe
SPLASH=$unpacked/$folder/splash.png
Pass "the zip holds one folder, $folder, with the program, its files, the README and licences"

for dll in $(x86_64-w64-mingw32-objdump -p "$TARNWICK" | sed -n 's/^\tDLL Name: //p' | tr '[:upper:]' '[:lower:]'); do
    [[ " $WINDOWS_DLLS " == *" $dll "* ]] || Fail "tarnwick.exe needs $dll, which Windows lacks"
done
! grep -qv $'\r$' "$unpacked/$folder/README.txt" || Fail "README.txt has lines without CR LF"
Pass "tarnwick.exe imports only Windows' DLLs; README.txt ends its lines with CR LF"

# Wine's programs all see the X server of the first one started in the prefix, while its
# server lasts: one started earlier without a display must be gone.
WINEPREFIX=${wine[1]} /usr/lib/wine/wineserver -w
StartXvfb -screen 0 1600x900x24
version=$(cd "$WORK" && "${wine[@]}" "$TARNWICK" --version | tr -d '\r')
[[ "$version" == "tarnwick "[0-9]* ]] || Fail "tarnwick.exe --version says '$version'"
Pass "standard output reaches the program that started it: $version"
resources=$(x86_64-w64-mingw32-windres -i "$TARNWICK" -O rc)
grep -q RT_GROUP_ICON <<< "$resources" &&
    grep -q "\"ProductVersion\", \"${version#tarnwick }\"" <<< "$resources" ||
    Fail "tarnwick.exe lacks its icon or the version information of ${version#tarnwick }"
Pass "tarnwick.exe carries its icon and version information"

# Started from a folder of its own, which holds none of its files.
GAME_DIR=$WORK/elsewhere
GAME_STDERR=$GAME_DIR.stderr.log
mkdir -p "$GAME_DIR"
GAME_ARGS=("${game_args[@]}")
StartGame "${wine[@]}"
SHOT_WINDOW=$(WaitWindow)
title=$(xdotool getwindowname "$SHOT_WINDOW")
[ "$title" = "$WINDOW_TITLE" ] || Fail "the window's title is \"$title\""
size=$(xwininfo -id "$SHOT_WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}')
[ "$size" = 1280x720 ] || Fail "the window is $size, not 1280x720"
Pass "the window \"$title\", $size"
automation=$("${wine[@]}" "$uia_probe" "$WINDOW_TITLE" | tr -d '\r') ||
    Fail "UI Automation has no answer about the window"
# The window (50032), then inside it the story, a document (50030), and the line, an edit
# (50004) with the keyboard focus.
[ "$automation" = "$WINDOW_TITLE|50032"$'\n'"Story|50030"$'\n'"Command|50004|focused" ] ||
    Fail "UI Automation finds the window as '$automation'"
Pass "UI Automation finds the window, the story and the focused line in it: ${automation//$'\n'/, }"

PollScreen 20 ShowsPicture "$SPLASH" || Fail "the splash picture did not show"
Keep "$WORK/poll.png" splash
HoldKey space
PollScreen 10 IsConsole || Fail "the console did not show after Space"
Pass "the splash, then the console after Space"

# Rows with every style given in $2 (names as StylePixels takes them).
Shows() {
    local rows style
    rows=$(LogRows "$1")
    for style in $2; do
        [ "$(StylePixels "$style" <<< "$rows")" -gt 15 ] || return 1
    done
}
PollScreen 10 Shows "PLAIN ACTION HINT INTERACTABLE" || Fail "the welcome text lacks a colour"
Pass "the welcome text in the plain, action, hint and interactable colours"

SubmitLine "i understand"
# The echo, and below it a reply with a hint.
Answered() {
    LogRows "$1" | awk '$9 > 0 {echo = NR} echo && NR > echo && $5 > 15 && $7 > 15 {found = 1} END {exit !found}'
}
PollScreen 10 Answered || Fail "no echo of \"i understand\" with a reply below it"
Keep "$WORK/poll.png" reply
Pass "\"i understand\" is echoed in its colour and answered with a hint"

CloseGame "$SHOT_WINDOW"
if [[ " ${GAME_ARGS[*]} " == *" --speak "* ]]; then
    [[ "$(< "$GAME_STDERR")" =~ ^"tarnwick: no speech: "[^$'\n']*$'\r'$ ]] ||
        Fail "standard error holds more or less than one 'no speech' line: $(< "$GAME_STDERR")"
    Pass "closed with exit status 0; standard error holds only: $(tr -d '\r' < "$GAME_STDERR")"
else
    [ ! -s "$GAME_STDERR" ] || Fail "the program wrote to standard error"
    Pass "closed with exit status 0, and no complaint about missing files"
fi
# Wine's own programs end a moment after the game: the X server must outlast them.
WINEPREFIX=${wine[1]} /usr/lib/wine/wineserver -w
Finish
