#!/usr/bin/env bash
# The Debian package built, installed with dpkg, started once as a fresh user starts it, and
# removed again. Installing needs root (the CI machine runs as root); elsewhere it is skipped.
set -euo pipefail
build=$1
if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: installing a package needs root"
    exit 77
fi
if dpkg-query -W -f='${Status}' kalvora 2>/dev/null | grep -q "install ok installed"; then
    echo "skipped: this machine has Kalvora installed, which the test would remove"
    exit 77
fi
fail() { echo "FAILED: $*" >&2; exit 1; }
root=$(mktemp -d)
trap 'dpkg -r kalvora >/dev/null 2>&1 || true; rm -rf "$root"' EXIT

(cd "$build" && cpack -G DEB -B "$root/package" >/dev/null) || fail "cpack"
deb=$(ls "$root"/package/kalvora_*.deb)
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the package names no Qt dependency"
dpkg -i "$deb" >/dev/null || fail "dpkg -i"
[ -x /usr/bin/kalvora ] || fail "no /usr/bin/kalvora"
! readelf -S /usr/bin/kalvora | grep -q "\.debug_info" || fail "the packaged program keeps its debugging symbols"

mkdir -p "$root/home" "$root/elsewhere"
cd "$root/elsewhere"
status=0
env -u KALVORA_DATA -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$root/home" QT_QPA_PLATFORM=offscreen \
    timeout 5 /usr/bin/kalvora >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed program ended with $status instead of running"
[ -s "$root/home/.local/share/Kalvora/Data/Recipes.adt" ] || fail "the user's Data folder was not filled"

dpkg -r kalvora >/dev/null || fail "dpkg -r"
[ ! -e /usr/bin/kalvora ] || fail "/usr/bin/kalvora stayed after removal"
echo "the package installs, starts and goes"
