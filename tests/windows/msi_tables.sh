#!/usr/bin/env bash
# The installer's tables as msiinfo reads them, without Wine: the same files as the zip, byte
# counts and all; a per-user package that asks for no administrator rights, dated
# SOURCE_DATE_EPOCH; the upgrade code every version keeps, a product code per version, and the
# rows that replace an earlier version and refuse a later one; the Start-menu entry on the game
# with the icon, which is also the installed app's; no build path inside.
#   msi_tables.sh MSI ZIP ICON
set -euo pipefail
msi=$(realpath "$1")
zip=$(realpath "$2")
icon=$(realpath "$3")
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
Fail() { echo "msi_tables: FAIL: $*" >&2; exit 1; }
checks=0
Pass() { checks=$((checks + 1)); echo "ok $checks - $*"; }
Rows() { msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'; }
Property() { Rows "$1" Property | awk -F'\t' -v name="$2" '$1 == name {print $2}'; }

unzip -q "$zip" -d "$work/zip"
folder=$(basename "$zip" .zip)
sizes=$(cd "$work/zip/$folder" && find . -type f -printf '%f %s\n' | LC_ALL=C sort)
[ "$sizes" = "$(Rows "$msi" File | awk -F'\t' '{print $3, $4}' | LC_ALL=C sort)" ] ||
    Fail "the File table differs from the zip's files: $(Rows "$msi" File)"
Pass "the File table: the zip's $(wc -l <<< "$sizes") files with their sizes"

SOURCE_DATE_EPOCH=$("$top/scripts/source-date-epoch.sh")
date=$(LC_ALL=C date -d "@$SOURCE_DATE_EPOCH" '+%a %b %e %H:%M:%S %Y')
summary=$(msiinfo suminfo "$msi")
for line in "Template: x64;2057" "Source: 10 (a)" "Created: $date" "Last saved: $date"; do
    grep -qFx "$line" <<< "$summary" || Fail "the summary lacks '$line': $summary"
done
[ -z "$(Property "$msi" ALLUSERS)" ] || Fail "ALLUSERS is set: not a per-user package"
Pass "per user, compressed, no elevation (word count 10), x64, dated $date"

# Another version from the same files: the upgrade code stays, the product code does not.
mapfile -t contents < <(find "$work/zip/$folder" -type f -printf '%P=%p\n')
"$top/packaging/windows/make-msi.sh" "$work/old.msi" 0.9.0 "$icon" "${contents[@]}"
version=$(Property "$msi" ProductVersion)
[ "$folder" = "tarnwick-$version-windows-x64" ] || Fail "ProductVersion $version"
readonly UPGRADE_CODE="{7C3F5E12-9A4B-4D6E-8F21-0B5C7D9E3A46}"
for package in "$msi" "$work/old.msi"; do
    [ "$(Property "$package" UpgradeCode)" = "$UPGRADE_CODE" ] || Fail "$package: another upgrade code"
done
[ "$(Property "$msi" ProductCode)" != "$(Property "$work/old.msi" ProductCode)" ] ||
    Fail "version 0.9.0 has the product code of $version"
upgrade=$(Rows "$msi" Upgrade | cut -f 1-5,7 | LC_ALL=C sort)
[ "$upgrade" = "$UPGRADE_CODE		$version		1	WIX_UPGRADE_DETECTED
$UPGRADE_CODE	$version			2	WIX_DOWNGRADE_DETECTED" ] || Fail "the Upgrade table: $upgrade"
Rows "$msi" LaunchCondition | grep -q "^NOT WIX_DOWNGRADE_DETECTED	" || Fail "a later version is not refused"
Rows "$msi" InstallExecuteSequence | grep -q "^RemoveExistingProducts	" || Fail "no RemoveExistingProducts"
Pass "upgrade code $UPGRADE_CODE, product code $(Property "$msi" ProductCode) of $version"

# Shortcut: directory, name, target, icon, working folder.
shortcut=$(Rows "$msi" Shortcut | cut -f 2,3,5,9,12)
[ "$shortcut" = "ProgramMenuFolder	Vosk - Tarnwick III	[INSTALLDIR]tarnwick.exe	tarnwick.ico	INSTALLDIR" ] ||
    Fail "the Shortcut table: $shortcut"
[ "$(Property "$msi" ARPPRODUCTICON)" = tarnwick.ico ] || Fail "the installed app has no icon"
cmp <(msiinfo extract "$msi" Icon.tarnwick.ico) "$icon" ||
    Fail "the Icon table's tarnwick.ico is not $icon"
Pass "the Start-menu entry on tarnwick.exe; its icon and the installed app's are tarnwick.ico"

! grep -qaF -e "$top" -e "$(dirname "$msi")" "$msi" || Fail "the installer holds a build path"
Pass "no build path inside"
