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
    # The menu hands the launcher at most the file to open, never an option.
    expect "$name starts a launcher ($exec_line)" test -x "$stage/bin/${exec_line%% *}"
    expect "$name passes no option ($exec_line)" test -z "$(grep -o ' -' <<<"$exec_line")"
    icon=$(key "$desktop" Icon)
    expect "$name icon $icon is installed" test -f "$stage/share/icons/hicolor/scalable/apps/$icon.svg"
done

# Program files open in the application: the media type is installed, with its icon, and parses.
mime=$stage/share/mime/packages/org.trv.Trv.xml
expect "org.trv.Trv.desktop opens program files" \
    sh -c "grep -qx 'MimeType=application/x-trv-program;' '$apps/org.trv.Trv.desktop' && grep -q '^Exec=trv %f\$' '$apps/org.trv.Trv.desktop'"
expect "the media type is installed" grep -q 'type="application/x-trv-program"' "$mime"
expect "the media type names the program files" grep -q '<glob pattern="\*.trvp"/>' "$mime"
icon=$(sed -n 's:.*<generic-icon name="\(.*\)"/>.*:\1:p' "$mime")
expect "the media type's icon $icon is installed" test -f "$stage/share/icons/hicolor/scalable/apps/$icon.svg"
mimedb=$(mktemp -d)
mkdir -p "$mimedb/packages" && cp "$mime" "$mimedb/packages/"
expect "the media type builds a mime database" update-mime-database "$mimedb"
expect "the database knows *.trvp" grep -q 'application/x-trv-program:\*\.trvp' "$mimedb/globs"
rm -rf "$mimedb"

expect "metainfo validates" appstreamcli validate --no-net "$metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
expect "metainfo launches an installed desktop entry ($launchable)" test -f "$apps/$launchable"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
expect "metainfo id $id names its desktop entry" test "$id.desktop" = "$launchable"

finish
