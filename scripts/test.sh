#!/usr/bin/env bash
# Builds and tests everything, as CI does:
#   mingw-i686  the shipped 32-bit exe (this machine cannot run it; it is checked statically)
#   mingw-x64   the same sources for x86_64, with the dialog tests and the end-to-end runs
#               under Wine on Xvfb
#   native      the portable code and the dialog tests against the stand-in, plus the static
#               checks of both built exes
#   sanitize    the native tests under AddressSanitizer and UndefinedBehaviorSanitizer
# Every stage runs even after a failure; the exit code is non-zero if any failed.
# Usage: scripts/test.sh [--no-install]
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
jobs=$(nproc 2>/dev/null || echo 2)

if [[ ${1:-} != --no-install ]]; then
    bash scripts/install-deps.sh || exit 1
fi

summary=()
failed=0

# Runs one stage, timed; its CTest summary lines are kept for the end.
stage() { # NAME COMMAND...
    local name=$1 start=$SECONDS status
    shift
    echo
    echo "==== $name"
    "$@" 2>&1 | tee "$root/build/$name.log"
    status=${PIPESTATUS[0]}
    local result=passed
    if ((status != 0)); then
        result="FAILED (exit $status)"
        failed=1
    fi
    summary+=("$(printf '%-24s %5ss  %s' "$name" $((SECONDS - start)) "$result")")
    local line
    while IFS= read -r line; do
        summary+=("    $line")
    done < <(grep -E 'tests passed|tests failed|Total Test time' "$root/build/$name.log")
}

configure_build() { # PRESET [CMAKE ARGS...]
    local preset=$1
    shift
    cmake --preset "$preset" "$@" && cmake --build --preset "$preset" -j "$jobs"
}

run_tests() { # PRESET
    ctest --preset "$1" -j "$jobs"
}

mkdir -p build
exe_i686=$root/build/mingw-i686/win/CfgFtpDnMaker.exe
exe_x64=$root/build/mingw-x64/win/CfgFtpDnMaker.exe

stage mingw-i686.build configure_build mingw-i686
stage mingw-x64.build configure_build mingw-x64 -DCFG_BUILD_TESTS=ON
stage mingw-x64.test run_tests mingw-x64
stage native.build configure_build native -DCFG_BUILD_TESTS=ON \
    -DCFG_EXE_I686="$exe_i686" -DCFG_EXE_X64="$exe_x64"
stage native.test run_tests native
stage sanitize.build configure_build sanitize -DCFG_BUILD_TESTS=ON
stage sanitize.test run_tests sanitize

echo
echo "==== summary"
printf '%s\n' "${summary[@]}"
if ((failed)); then
    echo "FAILED"
    exit 1
fi
echo "all stages passed"
