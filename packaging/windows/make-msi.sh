#!/usr/bin/env bash
# Builds the Windows installer with Debian's wixl (msitools):
#   packaging/windows/make-msi.sh OUTPUT.msi VERSION ICON.ico NAME=FILE...
# from the files the zip holds (laid out by stage.sh). It installs for the current user alone,
# with no administrator rights, into %LOCALAPPDATA%\Programs\Tarnwick, adds a Start-menu entry
# with the game's icon, and registers as an installed app of Orrin Pellegast at VERSION with that
# icon. A later version replaces an earlier one in place: every version shares one upgrade code,
# and each has a product code of its own. Uninstalling removes every file and registry value it
# installed; the player's settings (%APPDATA%\tarnwick) stay.
#
# The same files give the same bytes: the codes are name-based UUIDs (version 5) under the
# upgrade code, the package code is one of the contents, the dates are SOURCE_DATE_EPOCH, and
# the files are staged in a scratch folder whose path never reaches the package.
set -euo pipefail

if [ $# -lt 4 ]; then
    echo "usage: $0 OUTPUT.msi VERSION ICON.ico NAME=FILE..." >&2
    exit 2
fi
msi=$(realpath -m "$1")
version=$2
icon=$(realpath "$3")
shift 3
top=$(cd "$(dirname "$0")/../.." && pwd)
SOURCE_DATE_EPOCH=$("$top/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
for tool in wixl msibuild faketime; do
    command -v "$tool" > /dev/null ||
        { echo "make-msi: $tool is missing (scripts/install-deps.sh windows)" >&2; exit 1; }
done
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
    { echo "make-msi: '$version' is not a version MAJOR.MINOR.PATCH" >&2; exit 1; }

readonly NAME="Vosk - Tarnwick III"
readonly PUBLISHER="Orrin Pellegast"
# The same for every version, for ever: how Windows finds an earlier version to replace.
readonly UPGRADE_CODE=7C3F5E12-9A4B-4D6E-8F21-0B5C7D9E3A46

# The name-based UUID (version 5, SHA-1) of $2 under the namespace $1, in capitals.
Uuid5() {
    local hash
    hash=$({ printf "$(sed 's/-//g; s/../\\x&/g' <<< "$1")"; printf '%s' "$2"; } | sha1sum)
    hash=${hash:0:12}5${hash:13:3}$(printf '%x' $(((0x${hash:16:1} & 3) | 8)))${hash:17:15}
    hash=${hash^^}
    echo "${hash:0:8}-${hash:8:4}-${hash:12:4}-${hash:16:4}-${hash:20:12}"
}
# $1 with the characters XML reserves escaped.
Xml() {
    local text=${1//&/&amp;}
    text=${text//</&lt;}
    text=${text//>/&gt;}
    echo "${text//\"/&quot;}"
}
# An identifier for a path in the installed folder: letters, digits, dots and underscores.
Id() { echo "$1_$(tr -c 'A-Za-z0-9.\n' '_' <<< "$2")"; }

stage=$(mktemp -d "$msi.XXXXXX")
trap 'rm -rf "$stage"' EXIT
files=$stage/files
"$(dirname "$0")/stage.sh" "$files" "$@"
cp "$icon" "$stage/tarnwick.ico"
package_code=$(Uuid5 "$UPGRADE_CODE" "package $version $(cd "$stage" &&
    find . -type f | LC_ALL=C sort | xargs -d '\n' sha256sum | sha256sum)")

# One component per folder: its files, the folder's removal, and a value under HKCU as the key
# path that Windows asks of what a user installs into their profile.
Folder() {
    local path=$1 entry name
    printf '<Component Id="%s" Guid="%s">\n' "$(Id c "${path:-.}")" \
        "$(Uuid5 "$UPGRADE_CODE" "folder $path")"
    printf '<RegistryValue Root="HKCU" Key="Software\\tarnwick\\installed" Name="%s"' \
        "$(Xml "${path%/}")"
    printf ' Type="integer" Value="1" KeyPath="yes"/>\n'
    printf '<RemoveFolder Id="%s" On="uninstall"/>\n' "$(Id r "${path:-.}")"
    for entry in "$files/$path"*; do
        name=${entry##*/}
        [ ! -f "$entry" ] || printf '<File Id="%s" Name="%s" Source="%s"/>\n' \
            "$(Id f "$path$name")" "$(Xml "$name")" "$(Xml "${entry#"$stage/"}")"
    done
    [ -n "$path" ] || printf '%s\n' "<Shortcut Id=\"MenuEntry\" Directory=\"ProgramMenuFolder\"
        Name=\"$NAME\" Description=\"A very short text adventure in a dark house\"
        Target=\"[INSTALLDIR]tarnwick.exe\" WorkingDirectory=\"INSTALLDIR\" Icon=\"tarnwick.ico\"/>"
    echo "</Component>"
    for entry in "$files/$path"*; do
        name=${entry##*/}
        [ -d "$entry" ] || continue
        printf '<Directory Id="%s" Name="%s">\n' "$(Id d "$path$name")" "$(Xml "$name")"
        Folder "$path$name/"
        echo "</Directory>"
    done
}
# The component of each folder, for the feature.
ComponentRefs() {
    find "$files" -type d -printf '%P\n' | LC_ALL=C sort | while read -r path; do
        path=${path:+$path/}
        printf '<ComponentRef Id="%s"/>\n' "$(Id c "${path:-.}")"
    done
}

cat > "$stage/tarnwick.wxs" << EOF
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="$(Uuid5 "$UPGRADE_CODE" "product $version")" UpgradeCode="$UPGRADE_CODE"
           Name="$NAME" Version="$version" Manufacturer="$PUBLISHER" Language="2057"
           Codepage="1252">
    <Package Description="$NAME" Manufacturer="$PUBLISHER" InstallerVersion="500"
             Compressed="yes" InstallScope="perUser"/>
    <MajorUpgrade DowngradeErrorMessage="A later version of [ProductName] is already installed."/>
    <Media Id="1" Cabinet="tarnwick.cab" EmbedCab="yes"/>
    <Icon Id="tarnwick.ico" SourceFile="tarnwick.ico"/>
    <Property Id="ARPPRODUCTICON" Value="tarnwick.ico"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <CustomAction Id="SetInstallLocation" Property="ARPINSTALLLOCATION" Value="[INSTALLDIR]"/>
    <!-- Right after the costs give INSTALLDIR its path; wixl heeds Sequence, not After. -->
    <InstallExecuteSequence>
      <Custom Action="SetInstallLocation" Sequence="1001"/>
    </InstallExecuteSequence>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramMenuFolder"/>
      <Directory Id="LocalAppDataFolder">
        <Directory Id="UserPrograms" Name="Programs">
          <Directory Id="INSTALLDIR" Name="Tarnwick">
$(Folder "")
          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Game" Level="1">
$(ComponentRefs)
    </Feature>
  </Product>
</Wix>
EOF

# wixl dates the package now and gives it a random package code: the dates come from a clock
# stopped at SOURCE_DATE_EPOCH, the code from msibuild.
rm -f "$msi"
(cd "$stage" && TZ=UTC faketime -f "$(TZ=UTC date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')" \
    wixl --arch x64 -o "$msi" tarnwick.wxs)
msibuild "$msi" -s "$NAME" "$PUBLISHER" "x64;2057" "{$package_code}"
