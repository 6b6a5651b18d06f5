#!/usr/bin/env bash
# The installed desktop entries and metainfo pass the freedesktop validators and point at
# files that are installed.
set -uo pipefail
source "$(dirname "$0")/check-lib.sh"
stage=$1
apps=$stage/share/applications
metainfo=$stage/share/metainfo/org.trv.Trv.metainfo.xml

# Value of a key in the [Desktop Entry] group (untranslated).
key() { sed -n "s/^$2=//p" "$1" | head -n 1; }

for desktop in "$apps"/org.trv.Trv.desktop "$apps"/org.trv.TrvDemo.desktop; do
    name=$(basename "$desktop")
    expect "$name validates" desktop-file-validate "$desktop"
    exec_line=$(key "$desktop" Exec)
    # The launchers take no options, so the menu must not hand them any.
    expect "$name starts a bare launcher ($exec_line)" test -x "$stage/bin/$exec_line"
    icon=$(key "$desktop" Icon)
    expect "$name icon $icon is installed" test -f "$stage/share/icons/hicolor/scalable/apps/$icon.svg"
done

expect "metainfo validates" appstreamcli validate --no-net "$metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
expect "metainfo launches an installed desktop entry ($launchable)" test -f "$apps/$launchable"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
expect "metainfo id $id names its desktop entry" test "$id.desktop" = "$launchable"

finish
