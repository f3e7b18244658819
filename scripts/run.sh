#!/usr/bin/env bash
# Builds the Windows exes and opens the tool. On Windows (Git Bash, MSYS2) the 32-bit exe runs
# as it is. Elsewhere the x86_64 build runs under Wine on your display ($DISPLAY); Wine's prefix
# is kept in build/wine-desktop, so later starts are quick. The tool loads and saves
# CfgFtpDn.bin in the directory you start this script from; its trace lines appear here.
# Usage: scripts/run.sh [--no-install]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
workdir=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

on_windows=0
case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) on_windows=1 ;;
esac

if [[ $on_windows == 0 && ${1:-} != --no-install ]]; then
    bash "$root/scripts/install-deps.sh"
fi

build() { # PRESET
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs" --target CfgFtpDnMaker >/dev/null
    echo "run: built $root/build/$1/win/CfgFtpDnMaker.exe"
}

cd "$root"
build mingw-i686
if [[ $on_windows == 1 ]]; then
    cd "$workdir"
    exec "$root/build/mingw-i686/win/CfgFtpDnMaker.exe"
fi
build mingw-x64

if [[ -z ${DISPLAY:-} ]]; then
    echo "run: no display: DISPLAY is not set, so the dialog cannot be shown here." >&2
    echo "run: start this from a graphical session, or copy" >&2
    echo "     $root/build/mingw-i686/win/CfgFtpDnMaker.exe to a Windows machine." >&2
    exit 1
fi

source "$root/scripts/wine-env.sh" "$root/build/wine-desktop" || exit 1
trap wine_env_cleanup EXIT
cd "$workdir"
echo "run: opening the dialog on $DISPLAY (working directory $workdir)"
status=0
"$WINELOADER" "$root/build/mingw-x64/win/CfgFtpDnMaker.exe" || status=$?
echo "run: the tool ended with exit code $status"
exit "$status"
