#!/usr/bin/env bash
# Wine for the Windows build: the 64-bit loader only (this machine runs no 32-bit x86 code),
# a prefix of our own, and an X display.
#
# Sourced:   source scripts/wine-env.sh [HOME]
#   Sets WINELOADER, WINESERVER, WINEDEBUG, WINEPREFIX (HOME/prefix; a fresh temporary HOME when
#   none is given) and DISPLAY, creates the prefix once, starts a persistent wineserver, and
#   defines wine_env_cleanup, which stops the server and the Xvfb that this shell started (and
#   removes a temporary HOME).
# Executed:  scripts/wine-env.sh start|stop HOME
#   The same as a pair of steps, for callers that live in different processes (CTest's fixture
#   tests): "start" leaves the server and Xvfb running and records them in HOME; "stop" ends them.
#
# DISPLAY: an Xvfb of our own is started when DISPLAY is unset, or always when
# WINE_ENV_OWN_DISPLAY=1 (tests: their windows must not land on a developer's screen, and
# keyboard focus must be theirs alone). Its display is recorded in HOME/display, so later
# processes (wine-run.sh) find it.

wine_env_pick_binaries() {
    local loader server
    for loader in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 /usr/bin/wine64; do
        [[ -x $loader ]] && break
    done
    for server in /usr/lib/wine/wineserver64 /usr/lib/x86_64-linux-gnu/wine/wineserver64 \
        /usr/bin/wineserver64 /usr/bin/wineserver; do
        [[ -x $server ]] && break
    done
    if [[ ! -x $loader || ! -x $server ]]; then
        echo "wine-env: no 64-bit Wine found; run scripts/install-deps.sh" >&2
        return 1
    fi
    export WINELOADER=$loader WINESERVER=$server
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialogs while the prefix is created.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Reuses a display recorded in HOME while its Xvfb lives; otherwise the caller's DISPLAY, or a
# new Xvfb on a free display number chosen by the server itself (-displayfd).
wine_env_display() {
    local home=$1 number pid
    WINE_ENV_XVFB=1
    if [[ -s $home/display && -s $home/xvfb.pid ]] && kill -0 "$(cat "$home/xvfb.pid")" 2>/dev/null; then
        export DISPLAY=:$(cat "$home/display")
        return 0
    fi
    if [[ -n ${DISPLAY:-} && ${WINE_ENV_OWN_DISPLAY:-0} != 1 ]]; then
        WINE_ENV_XVFB=0
        return 0
    fi
    if ! command -v Xvfb >/dev/null; then
        echo "wine-env: Xvfb is missing; run scripts/install-deps.sh" >&2
        return 1
    fi
    rm -f "$home/display"
    # Detached and with its own output, so that CTest does not wait for it to close our pipes.
    setsid Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        </dev/null >/dev/null 2>"$home/xvfb.log" 5>"$home/display.tmp" &
    pid=$!
    for _ in $(seq 1 200); do
        number=$(tr -dc '0-9' <"$home/display.tmp" 2>/dev/null || true)
        [[ -n $number ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if [[ -z ${number:-} ]]; then
        echo "wine-env: Xvfb did not start; see $home/xvfb.log" >&2
        kill "$pid" 2>/dev/null
        return 1
    fi
    echo "$pid" >"$home/xvfb.pid"
    echo "$number" >"$home/display"
    WINE_ENV_STARTED_XVFB=1
    rm -f "$home/display.tmp"
    export DISPLAY=:$number
}

# Once per prefix: wineboot (about 12 s) and our settings. On our own Xvfb there is no window
# manager: Wine then draws the window frames itself, so the caption and its close box exist on
# screen, and handles its windows unmanaged, so that it does not wait for a window manager's
# answer each time a window is shown or hidden (2 s each otherwise).
wine_env_prefix() {
    local prefix=$1
    export WINEPREFIX=$prefix
    if [[ -f $prefix/.cfg-ready ]]; then
        return 0
    fi
    mkdir -p "$prefix"
    "$WINELOADER" wineboot --init >"$prefix/../wineboot.log" 2>&1 || true
    if [[ ${WINE_ENV_XVFB:-1} == 1 ]]; then
        local setting
        for setting in Decorated Managed; do
            "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d N /f \
                >/dev/null 2>&1
        done
    fi
    "$WINESERVER" -w
    # Debian's 64-bit Wine does not find the fonts of fonts-wine by itself; without Marlett the
    # caption's close box shows a letter. C:\windows\Fonts is always searched.
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
        [[ -e $font ]] && ln -sf "$font" "$prefix/drive_c/windows/Fonts/"
    done
    if [[ ! -f $prefix/system.reg ]]; then
        echo "wine-env: wineboot failed; see $prefix/../wineboot.log" >&2
        return 1
    fi
    touch "$prefix/.cfg-ready"
}

# Wine's background processes (services, device drivers, rpcss) inherit the standard output of
# the program that starts them, and a persistent server keeps them alive: started here with
# nothing attached, they cannot hold a test runner's pipes open.
# The server exits 0 when it was not yet running.
wine_env_server() {
    if "$WINESERVER" -p </dev/null >/dev/null 2>&1; then
        WINE_ENV_STARTED_SERVER=1
        "$WINELOADER" wineboot </dev/null >/dev/null 2>&1 || true
    fi
}

# Only what was started for HOME: the server of its prefix (and with it every Wine process
# there), and, unless told "keep-display", the Xvfb recorded in it.
wine_env_stop() {
    local home=$1 display=${2:-}
    if [[ -d $home/prefix ]]; then
        WINEPREFIX=$home/prefix "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
    if [[ $display != keep-display && -s $home/xvfb.pid ]]; then
        kill "$(cat "$home/xvfb.pid")" 2>/dev/null || true
        rm -f "$home/xvfb.pid" "$home/display"
    fi
}

# HOME holds prefix/, the recorded display and the logs. Without one, a temporary HOME that
# wine_env_cleanup removes again.
wine_env_setup() {
    WINE_ENV_HOME=${1:-}
    WINE_ENV_TEMPORARY=0
    WINE_ENV_STARTED_XVFB=0
    WINE_ENV_STARTED_SERVER=0
    if [[ -z $WINE_ENV_HOME ]]; then
        WINE_ENV_HOME=$(mktemp -d "${TMPDIR:-/tmp}/cfg-wine.XXXXXX")
        WINE_ENV_TEMPORARY=1
    fi
    mkdir -p "$WINE_ENV_HOME"
    WINE_ENV_HOME=$(cd "$WINE_ENV_HOME" && pwd)
    export WINE_ENV_HOME
    wine_env_pick_binaries &&
        wine_env_display "$WINE_ENV_HOME" &&
        wine_env_prefix "$WINE_ENV_HOME/prefix" &&
        wine_env_server
}

# Ends the server, and the Xvfb if this shell started it.
wine_env_cleanup() {
    [[ -n ${WINE_ENV_HOME:-} ]] || return 0
    if [[ ${WINE_ENV_STARTED_XVFB:-0} == 1 ]]; then
        wine_env_stop "$WINE_ENV_HOME"
    else
        wine_env_stop "$WINE_ENV_HOME" keep-display
    fi
    if [[ ${WINE_ENV_TEMPORARY:-0} == 1 ]]; then
        rm -rf "$WINE_ENV_HOME"
    fi
    WINE_ENV_HOME=
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    set -euo pipefail
    case "${1:-}:${2:-}" in
    start:?*)
        WINE_ENV_OWN_DISPLAY=${WINE_ENV_OWN_DISPLAY:-1}
        wine_env_setup "$2"
        echo "wine-env: prefix $WINEPREFIX on display $DISPLAY"
        ;;
    stop:?*)
        wine_env_pick_binaries
        wine_env_stop "$(cd "$2" 2>/dev/null && pwd || echo "$2")"
        ;;
    *)
        echo "usage: $0 start|stop HOME   (or source it: source $0 [HOME])" >&2
        exit 2
        ;;
    esac
else
    wine_env_setup "${1:-}"
fi
