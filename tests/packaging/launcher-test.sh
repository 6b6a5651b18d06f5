#!/usr/bin/env bash
# The installed launchers prepare the user's data folder: the shipped data are copied on the
# first start only, a folder that exists is never touched, and the application is started in
# it. The application is replaced by a fake that records where and how it was started.
set -uo pipefail
source "$(dirname "$0")/check-lib.sh"
stage=$1
work=$2

rm -rf "$work"
# Blanks in every path: the launcher must quote.
tree="$work/in stall"
mkdir -p "$tree/bin" "$tree/libexec/trv" "$tree/share/trv/data/ENG"
cp "$stage/bin/trv" "$stage/bin/trv-demo" "$tree/bin/"
log=$work/app.log
for app in trv trv-demo; do
    cat >"$tree/libexec/trv/$app" <<'FAKE'
#!/bin/sh
printf '%s|%s|%s%s\n' "$(basename "$0")" "$(pwd -P)" "$#" "${1:+|$1}" >>"$TRV_TEST_LOG"
echo "settings" >trv.cff
exit "${FAKE_EXIT:-0}"
FAKE
    chmod 755 "$tree/libexec/trv/$app"
done
shipped=$tree/share/trv/data
echo "catalogue 1" >"$shipped/trvimpr.tvb"
echo "protocols 1" >"$shipped/vorlix.spb"
echo "messages" >"$shipped/ENG/msg.txt"
# Installed read-only, as a package may; the user's copies must still be theirs to replace.
chmod -R a-w "$shipped"

# launch <env...> -- <launcher args...>: runs a launcher with a clean environment, sets $status.
launch() {
    local env=(PATH=/usr/bin:/bin TRV_TEST_LOG="$log")
    while [ "$1" != -- ]; do
        env+=("$1")
        shift
    done
    shift
    : >"$log"
    env -i "${env[@]}" "$@" 2>"$work/stderr"
    status=$?
}
ran() { cat "$log"; }
physical() { (cd "$1" && pwd -P); }
leftovers() { find "$1" -maxdepth 1 -name '.trv*' | wc -l; }

xdg="$work/xdg data"
home="$work/ho me"
mkdir -p "$home"

# First start: the shipped data are copied and the application runs in the copy.
launch HOME="$home" XDG_DATA_HOME="$xdg" FAKE_EXIT=7 -- "$tree/bin/trv"
expect "the application's exit status is passed on (got $status)" test "$status" -eq 7
expect "first start copies the shipped data" diff -r -x trv.cff "$shipped" "$xdg/trv"
expect "the application ran once, in the copy, with no arguments" \
    test "$(ran)" = "trv|$(physical "$xdg/trv")|0"
expect "the copy is the user's to change" test -z "$(find "$xdg/trv" ! -perm -u+w)"
expect "no staging folder is left behind" test "$(leftovers "$xdg")" -eq 0
mkdir "$work/probe"
expect "the folder has the mode of any new folder" test "$(stat -c %a "$xdg/trv")" = "$(stat -c %a "$work/probe")"

# Upgrade: new shipped data; the user's settings, their device's files and their changes stay.
chmod -R u+w "$shipped"
echo "catalogue 2" >"$shipped/trvimpr.tvb"
echo "new" >"$shipped/new.txt"
echo "their device" >"$xdg/trv/trvimpr.tvb"
mkdir "$xdg/trv/DEU" && echo "their texts" >"$xdg/trv/DEU/msg.txt"
before=$(cd "$xdg/trv" && find . -type f ! -name trv.cff -exec md5sum {} + | sort)
launch HOME="$home" XDG_DATA_HOME="$xdg" -- "$tree/bin/trv"
expect "second start runs the application" test "$status" -eq 0 -a "$(ran)" = "trv|$(physical "$xdg/trv")|0"
expect "an existing folder is left as it is" \
    test "$before" = "$(cd "$xdg/trv" && find . -type f ! -name trv.cff -exec md5sum {} + | sort)"
expect "newly shipped files are not added" test ! -e "$xdg/trv/new.txt"

# The demo has its own folder and program.
launch HOME="$home" XDG_DATA_HOME="$xdg" -- "$tree/bin/trv-demo"
expect "the demo runs trv-demo in its own folder" test "$(ran)" = "trv-demo|$(physical "$xdg/trv-demo")|0"
expect "the demo's folder gets the new shipped data" diff -r -x trv.cff "$shipped" "$xdg/trv-demo"

# Without a usable XDG_DATA_HOME the folder is ~/.local/share/trv.
for setting in "" "XDG_DATA_HOME=" "XDG_DATA_HOME=relative/share"; do
    rm -rf "$home/.local"
    launch HOME="$home" $setting -- "$tree/bin/trv"
    expect "[$setting] runs in ~/.local/share/trv" test "$(ran)" = "trv|$(physical "$home/.local/share/trv" 2>/dev/null)|0"
    expect "[$setting] fills ~/.local/share/trv" test -f "$home/.local/share/trv/trvimpr.tvb"
done

# Started through a symbolic link (as from a folder in PATH), it still finds its files.
mkdir -p "$work/links" && ln -s "$tree/bin/trv" "$work/links/trv"
launch HOME="$home" XDG_DATA_HOME="$work/linked" -- "$work/links/trv"
expect "a linked launcher finds the application and the data" \
    test "$status" -eq 0 -a -f "$work/linked/trv/trvimpr.tvb" -a "$(ran)" = "trv|$(physical "$work/linked/trv")|0"

# A program file named on the command line reaches the application, which runs in the data
# folder, by a path that still leads to the file.
mkdir -p "$work/my files"
cd "$work/my files" || exit 1
launch HOME="$home" XDG_DATA_HOME="$xdg" -- "$tree/bin/trv" "monday.trvp"
expect "a relative file is passed from where it was named ($(ran))" \
    test "$(ran)" = "trv|$(physical "$xdg/trv")|1|$work/my files/monday.trvp"
launch HOME="$home" XDG_DATA_HOME="$xdg" -- "$tree/bin/trv" "/srv/p.trvp"
expect "an absolute file is passed as it is ($(ran))" test "$(ran)" = "trv|$(physical "$xdg/trv")|1|/srv/p.trvp"
cd - >/dev/null || exit 1

# Options are the application's to answer or refuse; no data folder is made for them.
launch HOME="$home" XDG_DATA_HOME="$work/args" -- "$tree/bin/trv" --data /tmp
line=$(ran)
expect "an option goes to the application unchanged ($line)" \
    test "$status" -eq 0 -a "${line#*|*|}" = "2|--data" -a ! -e "$work/args"

launch -- "$tree/bin/trv"
expect "no HOME and no XDG_DATA_HOME is an error" test "$status" -eq 1 -a -z "$(ran)"

mkdir -p "$work/file" && echo "not a folder" >"$work/file/trv"
launch HOME="$home" XDG_DATA_HOME="$work/file" -- "$tree/bin/trv"
expect "a file in the folder's place is an error" test "$status" -eq 1 -a -z "$(ran)"
expect "the file in the folder's place is kept" test "$(cat "$work/file/trv")" = "not a folder"

# A copy that fails half-way leaves nothing, so the next start copies everything.
mkdir -p "$work/brokencp"
cat >"$work/brokencp/cp" <<'FAKE'
#!/bin/sh
for last; do :; done
echo partial >"$last/trvimpr.tvb"
exit 1
FAKE
chmod 755 "$work/brokencp/cp"
launch HOME="$home" XDG_DATA_HOME="$work/broken" PATH="$work/brokencp:/usr/bin:/bin" -- "$tree/bin/trv"
expect "a failed copy is an error" test "$status" -eq 1 -a -z "$(ran)"
expect "a failed copy leaves no data folder" test ! -e "$work/broken/trv"
expect "a failed copy leaves no staging folder" test "$(leftovers "$work/broken")" -eq 0
launch HOME="$home" XDG_DATA_HOME="$work/broken" -- "$tree/bin/trv"
expect "the start after a failed copy copies everything" diff -r -x trv.cff "$shipped" "$work/broken/trv"

finish
