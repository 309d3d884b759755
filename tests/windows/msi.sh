#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix: `msiexec /i /qn` puts the zip's files into
# %LOCALAPPDATA%\Programs\Tarnwick, a Start-menu entry on the game and an installed app with its
# name, version, publisher, folder and icon; the game plays from there (playthrough.sh);
# `msiexec /x` leaves nothing but the player's settings. Over an earlier version with a file of
# its own, it leaves one installed copy, without that file.
#   msi.sh MSI ZIP ICON TOOLS_DIR ARTIFACT_DIR UIA_PROBE
msi=$(realpath "$1") zip=$(realpath "$2") icon=$(realpath "$3") here=$(dirname "$0")
play=("$4" "$5/playthrough" "$(realpath "$6")")
set -- "" "" "" "$4" "$5"
source "$here/../window/lib.sh"
prefix=$WORK/wine user=$WORK/wine/drive_c/users/$(id -un)
installed=$user/AppData/Local/Programs/Tarnwick
Wine() { env -u DISPLAY "$here/wine.sh" "$prefix" "$@" 2>> "$WORK/wine.log" | tr -d '\r'; }
# Wine's server writes the registry a moment after the last program ends, and Wine's installer
# removes an earlier version in a program of its own.
WaitWine() { WINEPREFIX=$prefix timeout $((FIRST_START_MS / 1000)) /usr/lib/wine/wineserver "$@"; }
UNDO_BEFORE_CLEANUP="WaitWine -k; WaitWine -w"
Msiexec() { Wine msiexec "$@" /qn && WaitWine -w || Fail "msiexec $* failed or did not end"; }
# The drive's files but Windows' own, and the game's registry values (Wine keeps the installed
# apps' entries under HKLM, even a user's).
apps='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
State() {
    (cd "$prefix/drive_c" && find . -path ./windows -prune -o -type f -print | LC_ALL=C sort)
    Wine reg query 'HKCU\Software\tarnwick' /s || true
    Wine reg query "$apps" /s | grep -F Tarnwick || true
}
Wine || Fail "no Wine prefix"
unzip -q "$zip" -d "$WORK/zip"
files=$WORK/zip/$(basename "$zip" .zip)
before=$(State)
Msiexec /i "Z:$msi"
diff -r "$files" "$installed" || Fail "the installed files are not the zip's"
code=$(msiinfo export "$msi" Property | sed -n 's/^ProductCode\t//p' | tr -d '\r')
entry=$(Wine reg query "$apps\\$code" | sed -nE 's/^ +(Displ|Publ|InstallL)[^ ]* +REG_SZ +//p')
folder=$(Wine winepath -w "$installed") version=$(basename "$zip" -windows-x64.zip)
expected=("Vosk - Tarnwick III" "${version#*-}" "$folder\\" "Orrin Pellegast")
[ "$entry" = "$(printf '%s\n' "${expected[@]}")" ] ||
    Fail "the installed app's name, version, folder and publisher: $entry"
icon_path=$(Wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s |
    sed -n 's/^ *ProductIcon.*REG_SZ *//p')
cmp "$(Wine winepath -u "$icon_path")" "$icon" || Fail "the installed app's icon, $icon_path"
lnk="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vosk - Tarnwick III.lnk"
tr -d '\0' < "$lnk" | grep -qaF "${folder#C:}\\tarnwick.exe" || Fail "no Start-menu entry on it"
Pass "installed: the zip's files, the app $(xargs -d '\n' <<< "$entry"), its icon, its menu entry"
bash "$here/playthrough.sh" "$installed" "$prefix" "${play[@]}" | sed 's/^/    /' ||
    Fail "the installed game did not play"

mkdir -p "$user/AppData/Roaming/tarnwick" && echo zoom=2 > "$user/AppData/Roaming/tarnwick/settings"
Msiexec /x "$code"
changes=$(diff <(echo "$before") <(State) | grep '^[<>]' || true)
[ "$changes" = "> ./users/$(id -un)/AppData/Roaming/tarnwick/settings" ] ||
    Fail "uninstalling left or took: $changes"
Pass "uninstalled: nothing left but the player's settings"

mapfile -t contents < <(find "$files" -type f -printf '%P=%p\n')
"$here/../../packaging/windows/make-msi.sh" "$WORK/old.msi" 0.9.0 "$icon" "${contents[@]}" \
    old.ico="$icon"
Msiexec /i "Z:$WORK/old.msi"
[ -f "$installed/old.ico" ] && Msiexec /i "Z:$msi" && diff -r "$files" "$installed" &&
    [ "$(Wine reg query "$apps" /s | grep -c 'DisplayName .*Tarnwick')" = 1 ] ||
    Fail "0.9.0 was not replaced"
Pass "0.9.0 replaced in place: one installed app, and none of 0.9.0's files"
Finish
