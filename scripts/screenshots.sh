#!/usr/bin/env bash
# Pictures of the tool for the README, taken from the x86_64 build under Wine on a private Xvfb:
#   docs/dialog-en.png       the dialog on an English system, filled in
#   docs/dialog-zh.png       the dialog on a Chinese (PRC) system
#   docs/message-success.png the message after a successful Generate
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build/mingw-x64, built beforehand)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build/mingw-x64}
app=$build/win/CfgFtpDnMaker.exe
probe_exe=$build/tests/e2e/e2e_probe.exe
docs=$root/docs
for exe in "$app" "$probe_exe"; do
    if [[ ! -f $exe ]]; then
        echo "screenshots: $exe is missing; build first:" >&2
        echo "  cmake --preset mingw-x64 && cmake --build --preset mingw-x64" >&2
        exit 1
    fi
done

export WINE_ENV_OWN_DISPLAY=1
source "$root/scripts/wine-env.sh" || exit 1
app_pid=
finish() {
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    wine_env_cleanup
}
trap finish EXIT

# A folder on drive C:, so the save path reads as a Windows user would see it.
work=$WINEPREFIX/drive_c/CameraConfig
mkdir -p "$work" "$docs"

probe() { # LOCALE COMMAND
    LC_ALL=$1 "$WINELOADER" "$probe_exe" "$2" | tr -d '\r'
}

field() { # LINE FIELD
    sed -n "s/.*\\b$2=\\([^ ]*\\).*/\\1/p" <<<"$1"
}

# The window's own rectangle (with the frame Wine draws) cut from the screen.
shoot() { # LINE OUT
    local rect x y w h
    rect=$(field "$1" rect)
    IFS=, read -r x y w h <<<"$rect"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip "$2"
    echo "screenshots: $2"
}

start_app() { # LOCALE
    (cd "$work" && LC_ALL=$1 exec "$WINELOADER" "$app") >/dev/null 2>&1 &
    app_pid=$!
    probe "$1" wait-dialog >/dev/null
}

close_app() { # LOCALE
    local dialog
    dialog=$(probe "$1" dialog | head -n 1)
    xdotool windowfocus --sync "$(field "$dialog" x11)" key alt+F4
    wait "$app_pid" || true
    app_pid=
}

# The mouse pointer stays out of the pictures.
xdotool mousemove 0 0

start_app en_US.UTF-8
dialog=$(probe en_US.UTF-8 dialog | head -n 1)
xdotool windowfocus --sync "$(field "$dialog" x11)"
xdotool type --delay 25 ftp.example.com
xdotool key Tab
xdotool type --delay 25 2121
xdotool key Tab
xdotool type --delay 25 camera
xdotool key Tab
xdotool type --delay 25 secret
xdotool key Tab Tab Tab
sleep 0.5 # let the last keystrokes paint
shoot "$(probe en_US.UTF-8 dialog | head -n 1)" "$docs/dialog-en.png"
xdotool key space
box=$(probe en_US.UTF-8 wait-msgbox | head -n 1)
sleep 0.5
shoot "$box" "$docs/message-success.png"
xdotool windowfocus --sync "$(field "$box" x11)" key Return
close_app en_US.UTF-8
rm -f "$work/CfgFtpDn.bin"

start_app zh_CN.UTF-8
sleep 0.5
shoot "$(probe zh_CN.UTF-8 dialog | head -n 1)" "$docs/dialog-zh.png"
close_app zh_CN.UTF-8
