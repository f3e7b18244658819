#!/usr/bin/env bash
# Runs a Windows exe of the x86_64 build under Wine and passes its exit code, standard output
# and standard error through; CMake uses it as CMAKE_CROSSCOMPILING_EMULATOR.
#   scripts/wine-run.sh EXE [ARGS...]
# With CFG_WINE_HOME set (CTest's prefix fixture does so), the exe runs in the prefix and on the
# display prepared there (scripts/wine-env.sh start), which keeps a run cheap. Without it, a
# temporary prefix is made for this one run and removed afterwards.
set -uo pipefail

if (($# < 1)); then
    echo "usage: $0 EXE [ARGS...]" >&2
    exit 2
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "${CFG_WINE_HOME:-}" || exit 1

# Processes that Wine starts on the program's behalf (the desktop's explorer.exe) inherit its
# output and may outlive it; were that our own stdout, a caller reading it to the end (CTest)
# would wait for them. So the program writes to files, copied out as they grow until it exits.
spool=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
: >"$spool/out"
: >"$spool/err"
# A program started in the background would otherwise read from /dev/null.
if ! { exec 3<&0; } 2>/dev/null; then
    exec 3</dev/null
fi
"$WINELOADER" "$@" <&3 3<&- >"$spool/out" 2>"$spool/err" &
program=$!
exec 3<&-
tail -n +1 -s 0.1 -f --pid="$program" "$spool/out" &
out_copy=$!
tail -n +1 -s 0.1 -f --pid="$program" "$spool/err" >&2 &
err_copy=$!
trap 'kill "$program" 2>/dev/null' TERM INT
wait "$program"
status=$?
wait "$out_copy" "$err_copy"
rm -rf "$spool"
# A home nobody had prepared is left as it was found: prefix kept, nothing left running.
if [[ -z ${CFG_WINE_HOME:-} || $WINE_ENV_STARTED_SERVER == 1 || $WINE_ENV_STARTED_XVFB == 1 ]]; then
    wine_env_cleanup
fi
exit "$status"
