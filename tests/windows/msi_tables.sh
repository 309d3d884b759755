#!/usr/bin/env bash
# The installer's tables as msiinfo reads them, without Wine: per user with no elevation (word
# count 10), dated SOURCE_DATE_EPOCH, the upgrade code every version keeps, the version, and the
# Start-menu entry on the game with the icon, which is the installed app's too.
#   msi_tables.sh MSI ICON VERSION
set -euo pipefail
Fail() { echo "msi_tables: FAIL: $*" >&2; exit 1; }
Table() { msiinfo export "$1" "$2" | tr -d '\r'; }
date=$(LC_ALL=C date -d "@$("$(dirname "$0")/../../scripts/source-date-epoch.sh")" '+%a %b %e %T %Y')
[ "$(msiinfo suminfo "$1" | grep -E '^(Source|Created|Last saved):')" = "Created: $date
Last saved: $date
Source: 10 (a)" ] || Fail "summary: $(msiinfo suminfo "$1")"
properties=$(Table "$1" Property | grep -E '^(ALLUSERS|UpgradeCode|ProductVersion|ARPPRODUCTICON)')
[ "$properties" = "ARPPRODUCTICON	tarnwick.ico
ProductVersion	$3
UpgradeCode	{7C3F5E12-9A4B-4D6E-8F21-0B5C7D9E3A46}" ] || Fail "properties: $properties"
[ "$(Table "$1" Shortcut | tail -1 | cut -f 2,3,5,9)" = \
    "ProgramMenuFolder	Vosk - Tarnwick III	[INSTALLDIR]tarnwick.exe	tarnwick.ico" ] &&
    cmp <(msiinfo extract "$1" Icon.tarnwick.ico) "$2" || Fail "shortcut: $(Table "$1" Shortcut)"
echo "msi_tables: per user, $date, $properties, the shortcut and its icon" | tr '\n\t' ' ='
