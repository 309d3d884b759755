#!/usr/bin/env bash
# The installer under Wine, in a fresh prefix of its own: `msiexec /i /qn` puts the zip's files,
# byte for byte, into %LOCALAPPDATA%\Programs\Tarnwick, a Start-menu entry on the game and an
# installed app with its name, version, publisher and icon; the installed game plays
# (playthrough.sh); `msiexec /x` of its product code leaves no file and no registry value of
# its own behind, but the player's settings. An earlier version with a file of its own, then
# this one, leave one installed copy: this version's, without that file.
#   msi.sh MSI ZIP ICON TOOLS_DIR ARTIFACT_DIR UIA_PROBE
msi=$(realpath "$1")
zip=$(realpath "$2")
icon=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
playthrough=("$here/playthrough.sh" "" "" "$4" "$5/playthrough" "$(realpath "$6")")
set -- "" "" "" "$4" "$5"
source "$here/../window/lib.sh"

prefix=$WORK/wine
# Wine's server writes the prefix's registry when it ends, a moment after the last program.
StopWine() { (export WINEPREFIX=$prefix; /usr/lib/wine/wineserver -k 2> /dev/null; /usr/lib/wine/wineserver -w); }
UNDO_BEFORE_CLEANUP=StopWine
Wine() { env -u DISPLAY "$here/wine.sh" "$prefix" "$@" 2>> "$WORK/wine.log"; }
Wine || Fail "no Wine prefix: $(cat "$prefix.log")"
user=$prefix/drive_c/users/$(id -un)
installed=$user/AppData/Local/Programs/Tarnwick
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vosk - Tarnwick III.lnk"
settings=$user/AppData/Roaming/tarnwick/settings
# Every file in the prefix's drive but Windows' own folder, and the registry's values of the
# game's installs (the uninstall entries, which Wine keeps under HKLM even for one user).
readonly UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall'
State() {
    (cd "$prefix/drive_c" && find . -path ./windows -prune -o -type f -print | LC_ALL=C sort)
    Wine reg query 'HKCU\Software\tarnwick' /s | tr -d '\r' || true
    Wine reg query "HKLM\\$UNINSTALL" /s | tr -d '\r' | grep -F 'Tarnwick' || true
}
# msiexec, then the end of every program it started (Wine's installer runs the removal of an
# earlier version as a program of its own).
Msiexec() {
    Wine msiexec "$@" /qn || Fail "msiexec $* failed"
    WINEPREFIX=$prefix timeout $((FIRST_START_MS / 1000)) /usr/lib/wine/wineserver -w ||
        Fail "Wine's programs still run $((FIRST_START_MS / 1000)) s after msiexec $*"
}
ProductCode() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" {print $2}'; }
# The values of the uninstall entry $1 named, after each other with a ; after each.
Entry() {
    local name
    for name in "${@:2}"; do
        Wine reg query "HKLM\\$UNINSTALL\\$1" /v "$name" | tr -d '\r' | sed -n "s/^ *$name *REG_SZ *//p"
    done | tr '\n' ';'
}

unzip -q "$zip" -d "$WORK/zip"
files=$WORK/zip/$(basename "$zip" .zip)
before=$(State)
Msiexec /i "Z:$msi"
diff -r "$files" "$installed" > "$WORK/diff" || Fail "installed files differ: $(cat "$WORK/diff")"
code=$(ProductCode "$msi")
version=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" {print $2}')
entry=$(Entry "$code" DisplayName DisplayVersion Publisher InstallLocation)
[ "$entry" = "Vosk - Tarnwick III;$version;Orrin Pellegast;$(Wine winepath -w "$installed" | tr -d '\r')\\;" ] ||
    Fail "the installed app's entry: $entry"
# The product's key is its code packed: the first three groups reversed, then each byte's
# two digits swapped.
IFS=- read -r a b c d e <<< "${code//[\{\}]/}"
product=$(rev <<< "$a")$(rev <<< "$b")$(rev <<< "$c")$(sed 's/\(.\)\(.\)/\2\1/g' <<< "$d$e")
product_icon=$(Wine reg query "HKCU\\Software\\Microsoft\\Installer\\Products\\$product" /v ProductIcon |
    tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p')
cmp "$(Wine winepath -u "$product_icon")" "$icon" || Fail "the installed app's icon, $product_icon"
Pass "installed $version into $installed: the zip's files; the installed app's name, version, publisher, folder and icon"

# The link's target is in it as a path, in Windows' code page and in UTF-16.
target='\AppData\Local\Programs\Tarnwick\tarnwick.exe'
[ -f "$shortcut" ] && tr -d '\0' < "$shortcut" | grep -qaF "$target" ||
    Fail "no Start-menu entry on ...$target"
Pass "the Start-menu entry \"$(basename "$shortcut")\" starts ...$target"

bash "${playthrough[0]}" "$installed" "$prefix" "${playthrough[@]:3}" | sed 's/^/    /' ||
    Fail "the installed game did not play"
Pass "the installed game plays"

mkdir -p "$(dirname "$settings")"
echo "zoom=1.5" > "$settings"
Msiexec /x "$code"
# What changed since before the install.
Changes() { diff <(echo "$before") <(State) | grep '^[<>]' || true; }
changes=$(Changes)
[ "$changes" = "> ./users/$(id -un)/AppData/Roaming/tarnwick/settings" ] ||
    Fail "uninstalling left or took: $changes"
Pass "uninstalled: no file or registry value left, but the player's settings"

# An earlier version, with a file of its own, replaced in place.
mapfile -t contents < <(find "$files" -type f -printf '%P=%p\n')
echo "from 0.9.0" > "$WORK/old.txt"
"$here/../../packaging/windows/make-msi.sh" "$WORK/old.msi" 0.9.0 "$icon" "${contents[@]}" \
    old.txt="$WORK/old.txt"
Msiexec /i "Z:$WORK/old.msi"
[ -f "$installed/old.txt" ] || Fail "version 0.9.0 was not installed"
Msiexec /i "Z:$msi"
diff -r "$files" "$installed" > "$WORK/diff" || Fail "after the upgrade: $(cat "$WORK/diff")"
entries=$(Wine reg query "HKLM\\$UNINSTALL" /s | tr -d '\r' | grep -c 'DisplayName .*Vosk - Tarnwick III')
[ "$entries" = 1 ] && [ -n "$(Entry "$code" DisplayName)" ] ||
    Fail "$entries installed apps after the upgrade"
Msiexec /x "$code"
[ "$(Changes)" = "$changes" ] || Fail "uninstalling the upgrade left or took: $(Changes)"
Pass "0.9.0 upgraded in place: one installed app, $version, and none of 0.9.0's files"
Finish
