#!/usr/bin/env bash
# Packs the build tree with cpack (no rebuild) and checks the package's files, its control
# fields and its maintainer scripts.
set -uo pipefail
source "$(dirname "$0")/check-lib.sh"
build=$1
work=$2
version=$3

rm -rf "$work"
mkdir -p "$work"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack"
    finish
fi
deb=$work/trv_${version}_$(dpkg --print-architecture).deb
expect "package file $deb" test -f "$deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $1 " " $6}')
has() { grep -qx -- "$1" <<<"$contents"; }
for path in bin/trv bin/trv-demo libexec/trv/trv libexec/trv/trv-demo; do
    expect "/usr/$path is executable" has "-rwxr-xr-x ./usr/$path"
done
for path in share/trv/data/trvimpr.tvb share/trv/data/vorlix.spb share/trv/data/language.fld \
    share/trv/data/bom.wav share/trv/data/ENG/msg.txt share/trv/data/HUN/msg.txt \
    lib/udev/rules.d/70-trv.rules share/applications/org.trv.Trv.desktop \
    share/applications/org.trv.TrvDemo.desktop share/metainfo/org.trv.Trv.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.trv.Trv.svg share/icons/hicolor/48x48/apps/org.trv.Trv.png \
    share/icons/hicolor/128x128/apps/org.trv.Trv.png share/mime/packages/org.trv.Trv.xml; do
    expect "/usr/$path is in the package" has "-rw-r--r-- ./usr/$path"
done
expect "everything lies under /usr" test -z "$(awk '{print $2}' <<<"$contents" | grep -v -e '^\./$' -e '^\./usr/')"
expect "nothing in a multiarch folder" test -z "$(grep -e '-linux-gnu' <<<"$contents")"
expect "binaries are stripped" sh -c "dpkg-deb --fsys-tarfile '$deb' | tar -xO ./usr/libexec/trv/trv | file - | grep -q ', stripped'"

field() { dpkg-deb -f "$deb" "$1"; }
expect "Package trv" test "$(field Package)" = trv
expect "Version $version" test "$(field Version)" = "$version"
expect "Architecture" test "$(field Architecture)" = "$(dpkg --print-architecture)"
expect "Maintainer" test -n "$(field Maintainer)"
expect "Section" test -n "$(field Section)"
expect "Description" test -n "$(field Description)"
expect "Description lines fit 80 columns" test -z "$(field Description | awk 'length > 80')"
expect "no Homepage" test -z "$(field Homepage)"
depends=$(field Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libqt6multimedia6 libhidapi-hidraw0 libc6 libstdc\\+\\+6; do
    expect "Depends names $lib (Depends: $depends)" grep -qE "(^|, )$lib( |,|$)" <<<"$depends"
done

control=$work/control
dpkg-deb -e "$deb" "$control"
for script in postinst postrm; do
    expect "$script is executable" test -x "$control/$script"
    expect "$script reloads the udev rules" grep -q 'udevadm control --reload-rules' "$control/$script"
    expect "$script applies them to the HID interfaces" grep -q 'udevadm trigger --subsystem-match=hidraw' \
        "$control/$script"
    # No udev here (or pretend so): the scripts must still succeed, or the package won't install.
    expect "$script succeeds without udevadm" env PATH=/nonexistent /bin/sh "$control/$script" configure
    expect "$script succeeds on remove without udevadm" env PATH=/nonexistent /bin/sh "$control/$script" remove
done

finish
