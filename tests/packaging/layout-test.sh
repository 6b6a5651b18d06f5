#!/usr/bin/env bash
# The staged install holds every file where the system looks for it.
set -uo pipefail
source "$(dirname "$0")/check-lib.sh"
stage=$1
source_data=$2
read -r -a apps <<<"${3:-}"

for launcher in trv trv-demo; do
    expect "bin/$launcher is an executable launcher" test -x "$stage/bin/$launcher"
    expect "bin/$launcher is a shell script" grep -q '^#!/bin/sh' "$stage/bin/$launcher"
done
for tool in trv-check trv-record; do
    expect "bin/$tool is a program" sh -c "file -b '$stage/bin/$tool' | grep -q ELF"
done
for page in trv trv-demo trv-check trv-record; do
    expect "manual page $page.1" sh -c "zcat '$stage/share/man/man1/$page.1.gz' | grep -q '^\.TH'"
done
for app in "${apps[@]}"; do
    expect "libexec/trv/$app is installed" test -x "$stage/libexec/trv/$app"
    expect "libexec/trv/$app is a program" sh -c "file -b '$stage/libexec/trv/$app' | grep -q ELF"
done
# The sound, printing and treatment record modules sit next to the applications, which load their
# libraries only through them: linked in, those libraries would lengthen every start-up.
for module in trvsound:trvCreateErrorSound trvprint:trvPrintPages trvrecordmodule:trvOpenTreatmentRecord; do
    name=${module%%:*}
    entry=${module#*:}
    expect "libexec/trv/lib$name.so exports $entry" \
        sh -c "nm -D --defined-only '$stage/libexec/trv/lib$name.so' | grep -qw '$entry'"
done
for app in "${apps[@]}"; do
    expect "libexec/trv/$app links none of the sound, print and database libraries" \
        sh -c "! readelf -d '$stage/libexec/trv/$app' | grep -qE 'Multimedia|PrintSupport|Sql'"
done

# The shipped data are the committed sample data, byte for byte, and nothing else.
expect "share/trv/data matches data/" diff -r -x .gitattributes "$source_data" "$stage/share/trv/data"
expect "the shipped settings start in English" sh -c "printf '0\\r\\nNum\\r\\nEnglish\\r\\n' | cmp -s - '$stage/share/trv/data/trv.cff'"

expect "udev rule in lib/udev/rules.d" test -f "$stage/lib/udev/rules.d/70-trv.rules"
expect "udev rule names the device" grep -q 'ATTRS{idVendor}=="04d8", ATTRS{idProduct}=="fc4c"' \
    "$stage/lib/udev/rules.d/70-trv.rules"
expect "nothing in a multiarch lib folder" test -z "$(find "$stage" -path '*-linux-gnu*' -print -quit)"

for desktop in org.trv.Trv org.trv.TrvDemo; do
    expect "$desktop.desktop installed" test -f "$stage/share/applications/$desktop.desktop"
done
expect "metainfo installed" test -f "$stage/share/metainfo/org.trv.Trv.metainfo.xml"
expect "scalable icon" test -f "$stage/share/icons/hicolor/scalable/apps/org.trv.Trv.svg"
for size in 48 128; do
    icon=$stage/share/icons/hicolor/${size}x${size}/apps/org.trv.Trv.png
    expect "${size}x${size} icon" sh -c "file -b '$icon' | grep -q 'PNG image data, $size x $size'"
done

finish
