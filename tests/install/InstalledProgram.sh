#!/usr/bin/env bash
# The program installed into a temporary root and started as a fresh user starts it: from
# another working directory, with a home of its own and no display.
set -euo pipefail
build=$1
tester=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
prefix="$root/dest/usr"
program="$prefix/bin/kalvora"
mkdir -p "$root/home" "$root/elsewhere"
cd "$root/elsewhere"
home="$root/home"
run() { env -u KALVORA_DATA -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$@"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

for f in share/kalvora/Readme.RTF share/kalvora/Data/RMLib.ADT share/applications/org.kalvora.Kalvora.desktop \
         share/metainfo/org.kalvora.Kalvora.metainfo.xml share/mime/packages/org.kalvora.Kalvora.xml share/icons/hicolor/scalable/apps/org.kalvora.Kalvora.svg \
         share/icons/hicolor/16x16/apps/org.kalvora.Kalvora.png share/icons/hicolor/256x256/apps/org.kalvora.Kalvora.png; do
    [ -s "$prefix/$f" ] || fail "$f is not installed"
done
run "$program" --version | grep -qx "Kalvora - Lite Version 1.0 Beta" || fail "--version"
run "$program" --help | grep -q -- "--data <FOLDER>" || fail "--help"

# The first start finds the starter tables in the user's data folder; the program runs until stopped.
status=0
run timeout 5 "$program" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with $status instead of running"
# (The program works the first recipe's batch out as it opens: the copies are not byte for byte.)
for t in BatchInfo.ADT Recipes.adt RMLib.ADT; do
    [ -s "$root/home/.local/share/Kalvora/Data/$t" ] || fail "the user's Data folder has no $t from the starter tables"
done

# --data names a folder, which must exist: reported with its path, and never made.
mkdir -p "$root/lab"
cp "$prefix"/share/kalvora/Data/* "$root/lab/"
status=0
run timeout 5 "$program" --data "$root/lab" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "--data with a folder of tables ended with $status"
status=0
run timeout 5 "$program" --data "$root/nowhere" 2>"$root/err" >/dev/null || status=$?
grep -q "The Data folder \"$root/nowhere\" named by --data does not exist." "$root/err" || fail "a missing --data folder was not reported"
[ ! -e "$root/nowhere" ] || fail "a missing --data folder was made"

# What the window shows at that first start, its help and a recipe file named on the command
# line: the start's own test, run from bin/ of the installed tree by another fresh user.
cp "$tester" "$prefix/bin/"
home="$root/home2"
mkdir -p "$home"
run "$prefix/bin/$(basename "$tester")" --locale=C || fail "the installed program's start as the window shows it"

desktop-file-validate "$prefix/share/applications/org.kalvora.Kalvora.desktop" || fail "the desktop entry"
# A recipe file is known by its name: the type the entry opens is defined, and reads.
cp -r "$prefix/share/mime" "$root/mime"
update-mime-database "$root/mime" 2>"$root/err" || fail "the MIME type: $(cat "$root/err")"
grep -q "application/x-kalvora-recipe" "$root/mime/globs2" || fail "no type for a recipe exchange file"
grep -q "MimeType=application/x-kalvora-recipe;" "$prefix/share/applications/org.kalvora.Kalvora.desktop" || fail "the entry does not open recipe files"
appstreamcli validate --no-net "$prefix/share/metainfo/org.kalvora.Kalvora.metainfo.xml" >/dev/null || fail "the AppStream data"
echo "the installed program starts as a fresh user's"
