#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, builds Kalvora, then starts it ("run"), runs the
# whole test suite ("test") or makes a Debian package of it ("package").
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

# Qt Charts draws the reaction course; its CMake files look for Qt's OpenGL development files.
# Eigen solves the design from targets; libxlsxwriter writes the exported workbooks.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libqt6printsupport6
          libgl-dev libsqlite3-dev libeigen3-dev libxlsxwriter-dev libcups2-dev libgtest-dev libbenchmark-dev
          fonts-liberation fonts-urw-base35)
# The print tests run their own CUPS scheduler and read the printed pages back from the PDF; the
# stacking tests run the windows under a real window manager on a virtual display; the export tests
# read the written workbooks back with unzip; the install test validates the desktop entry and the
# AppStream data.
if [ "$mode" = test ]; then
    packages+=(cups poppler-utils xvfb openbox x11-utils unzip desktop-file-utils appstream)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

case "$mode" in
run)
    # The program finds its Data folder and help file in its working directory.
    cd "$build/bin"
    exec ./Kalvora
    ;;
test)
    ctest --test-dir "$build" --output-on-failure -j2
    ;;
package)
    # A Debian package of the installed program, in the build folder.
    (cd "$build" && cpack -G DEB)
    ls "$build"/kalvora_*.deb
    ;;
*)
    echo "usage: $0 [run|test|package]" >&2
    exit 2
    ;;
esac
