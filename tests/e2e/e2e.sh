#!/usr/bin/env bash
# The shipped exe under Wine, used as a person would: it is started in a working directory,
# typed into through X (xdotool), Generate is reached with Tab and pressed with the space bar,
# and it is closed with Alt+F4. What it shows is read back from its windows by the probe, what
# it writes is compared with bytes worked out independently (expect.py), and its trace with the
# lines it must print.
#
#   e2e.sh CASE APP_EXE PROBE_EXE WORK_DIR
#
# CTest runs each case inside the Wine prefix fixture (CFG_WINE_HOME).
set -euo pipefail

if (($# != 4)); then
    echo "usage: $0 CASE APP_EXE PROBE_EXE WORK_DIR" >&2
    exit 2
fi
case_name=$1
app=$2
probe_exe=$3
work=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run=$here/../../scripts/wine-run.sh
expect_py=$here/expect.py

: "${CFG_WINE_HOME:?set CFG_WINE_HOME to a Wine home made by scripts/wine-env.sh start}"
# The tool and the probes run one after the other in one prefix, so it must be up already.
if [[ ! -s $CFG_WINE_HOME/display ]]; then
    echo "start the Wine home first: scripts/wine-env.sh start $CFG_WINE_HOME" >&2
    exit 2
fi
export DISPLAY=:$(cat "$CFG_WINE_HOME/display")

LOCALE_EN=en_US.UTF-8
LOCALE_ZH=zh_CN.UTF-8
locale=$LOCALE_EN
app_pid=
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

stop() {
    echo "FAIL: $*" >&2
    exit 1
}

# Whatever happens, the tool we started does not outlive the case.
cleanup() {
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

hex() {
    printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n'
    echo
}

# The folder as the tool sees it: Wine maps / to drive Z:.
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

text_hex() { # LANG NAME
    python3 "$expect_py" text "$1" "$2"
}

# The probe's lines end in CR LF, as text on Windows does.
probe() {
    LC_ALL=$locale "$run" "$probe_exe" "$@" | tr -d '\r'
}

start_app() {
    (cd "$work" && LC_ALL=$locale exec "$run" "$app") >"$work/stdout.txt" 2>"$work/stderr.txt" &
    app_pid=$!
    probe wait-dialog >"$work/dialog.txt" || stop "the dialog did not open"
}

read_dialog() {
    probe dialog >"$work/dialog.txt" || stop "the dialog is gone"
}

# FIELD of the first control with ID in the last dialog read (text, visible, focus, sel, ...).
control() { # ID FIELD
    sed -n "s/^control id=$1 .*\\b$2=\\([^ ]*\\).*/\\1/p" "$work/dialog.txt" | head -n 1
}

dialog_field() { # FIELD
    sed -n "s/^dialog .*\\b$1=\\([^ ]*\\).*/\\1/p" "$work/dialog.txt"
}

expect_equal() { # WHAT ACTUAL EXPECTED
    if [[ $2 != "$3" ]]; then
        fail "$1: got '$2', expected '$3'"
    fi
}

expect_control_text() { # ID TEXT
    local expected
    expected=$(hex "$2")
    expect_equal "text of control $1" "$(control "$1" text)" "${expected:--}"
}

x11_focus() { # X11_WINDOW
    xdotool windowfocus --sync "$1"
}

focus_dialog() {
    read_dialog
    x11_focus "$(dialog_field x11)"
}

type_text() {
    xdotool type --delay 25 -- "$1"
}

keys() {
    xdotool key --delay 40 "$@"
}

# The one message box the dialog owns: its caption, text and button, then Enter closes it.
answer_message_box() { # LANG TEXT_NAME
    local box
    box=$(probe wait-msgbox) || stop "no message box appeared"
    echo "$box" >>"$work/msgboxes.txt"
    local caption owner text buttons x11
    caption=$(sed -n 's/^msgbox .*\btext=\([^ ]*\).*/\1/p' <<<"$box")
    owner=$(sed -n 's/^msgbox .*\bowner=\([^ ]*\).*/\1/p' <<<"$box")
    text=$(sed -n 's/^msgtext text=\([^ ]*\).*/\1/p' <<<"$box")
    buttons=$(sed -n 's/^msgbutton id=\([0-9]*\).*/\1/p' <<<"$box" | tr '\n' ' ')
    x11=$(sed -n 's/^msgbox x11=\([0-9]*\).*/\1/p' <<<"$box")
    expect_equal "message box caption" "$caption" "$(text_hex "$1" TXT_CAPTION_NOTICE)"
    expect_equal "message box text" "$text" "$(text_hex "$1" "$2")"
    expect_equal "message box owner" "$owner" dialog
    expect_equal "message box buttons" "$buttons" "1 "
    x11_focus "$x11"
    keys Return
    probe wait-no-msgbox || stop "Enter did not close the message box"
}

# The tab stops in order: server, port, user, password, Browse, save path, Generate.
TAB_STOPS=(40019 40005 40017 40020 40011 40009 40010)

# From the focused tab stop to the one with ID, by Tab presses.
tab_to() { # ID
    read_dialog
    local from=-1 to=-1 i
    for i in "${!TAB_STOPS[@]}"; do
        [[ $(control "${TAB_STOPS[$i]}" focus) == 1 ]] && from=$i
        [[ ${TAB_STOPS[$i]} == "$1" ]] && to=$i
    done
    ((from >= 0)) || stop "no tab stop has the focus"
    local presses=$(((to - from + ${#TAB_STOPS[@]}) % ${#TAB_STOPS[@]}))
    x11_focus "$(dialog_field x11)"
    for ((i = 0; i < presses; i++)); do
        keys Tab
    done
    read_dialog
    expect_equal "focus after tabbing to $1" "$(control "$1" focus)" 1
}

press_generate() {
    tab_to 40010
    keys space
}

close_with_alt_f4() {
    focus_dialog
    keys alt+F4
    local status=0
    for _ in $(seq 1 300); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && stop "Alt+F4 did not end the tool"
    wait "$app_pid" || status=$?
    app_pid=
    expect_equal "exit code" "$status" 0
}

expect_file() { # FIELD=VALUE... (on top of the record's values at start)
    python3 "$expect_py" file "$work/expected.bin" "$@"
    python3 "$expect_py" compare "$work/expected.bin" "$work/CfgFtpDn.bin" ||
        fail "CfgFtpDn.bin differs from the expected record"
}

# The trace, Windows line ends taken off, against the lines given one per argument.
expect_trace() {
    printf '%s\n' "$@" >"$work/expected-trace.txt"
    tr -d '\r' <"$work/stdout.txt" >"$work/trace.txt"
    if ! diff -u "$work/expected-trace.txt" "$work/trace.txt" >&2; then
        fail "the trace differs"
    fi
}

# Every label, group box and button of the dialog in the given language.
LABELS=(
    40018:TXT_SELECT_TYPE 40013:TXT_FTP_PARAMS 40000:TXT_SERVER 40004:TXT_PORT 40003:TXT_USER
    40006:TXT_PASSWORD 40021:TXT_UPLOAD_DIR 40008:TXT_SAVE_PATH 40011:TXT_BROWSE
    40010:TXT_GENERATE 40007:TXT_VERSION 40023:TXT_DIR_ROOT
)
expect_language() { # LANG
    expect_equal "title" "$(dialog_field text)" "$(text_hex "$1" TXT_TITLE)"
    local label
    for label in "${LABELS[@]}"; do
        expect_equal "text of ${label%%:*}" "$(control "${label%%:*}" text)" \
            "$(text_hex "$1" "${label#*:}")"
    done
}

# What the user sees, in template order; the directory and URL 1 controls stay hidden.
VISIBLE=(40018 40001 40013 40000 40019 40004 40005 40003 40017 40006 40020 40008 40011 40009
    40010 40007)
expect_visible_controls() {
    local shown
    shown=$(sed -n 's/^control id=\([0-9]*\) .*visible=1.*/\1/p' "$work/dialog.txt" | tr '\n' ' ')
    expect_equal "visible controls" "$shown" "${VISIBLE[*]} "
}

LOAD_NO_FILE=("sizeof = 308" "File not exist!" "iGetFileSize = 0" "File szie != struct size!")
SEPARATOR=________________________________________________

# Saving, then reading back what was saved.
save_lines() { # FILE_PATH SELECT_BY PORT SERVER
    printf '%s\n' "Open file - \"$1\" success!" "$SEPARATOR" "sizeof = 308" "iGetFileSize = 308" \
        "Open file - \"$1\" success!" "g_sFactoryConfig.bySelectBy =$2" \
        "g_sFactoryConfig.uwDebugPort=$3" "g_sFactoryConfig.szDebugUrl =$4"
}

case_first_start() {
    start_app
    local folder file
    folder=$(windows_path "$work")
    file="$folder\\CfgFtpDn.bin"
    expect_language en
    expect_visible_controls
    expect_equal "type list selection" "$(control 40001 sel)" 1
    expect_control_text 40001 FTP
    expect_control_text 40005 21
    expect_control_text 40019 ""
    expect_control_text 40017 ""
    expect_control_text 40009 "$folder"
    expect_equal "first focus on the server" "$(control 40019 focus)" 1

    focus_dialog
    type_text ftp.example.com
    keys Tab
    type_text 2121 # replaces the 21 that Tab selected
    keys Tab
    type_text camera
    keys Tab
    type_text 's3cret!'
    press_generate
    answer_message_box en MSG_SUCCESS

    expect_file uwDebugPort=2121 szDebugUrl=ftp.example.com szFtpServer=ftp.example.com \
        szFtpUser=camera 'szFtpPassword=s3cret!' szFtpDir=/
    close_with_alt_f4
    local saved
    mapfile -t saved < <(save_lines "$file" 1 2121 ftp.example.com)
    expect_trace "CurDir:$folder" "${LOAD_NO_FILE[@]}" "[MAKE]" "* bySelectBy =1" "${saved[@]}"
}

# Settings the window does not show, and old text behind terminators, in a file made elsewhere.
PREPARED=(
    bySelectBy=0 byAlign=0x5A uwDebugPort=8021
    'szDebugUrl=old.example.com\0server-tail' byUrl1Enable=1 'szUrl1=backup.example.net\0url1-tail'
    iDirMode=1 'szFtpDir=/camera/up\0dir-tail' byReserved=0xC3
    'szFtpServer=old.example.com\0copy-tail' 'szFtpUser=operator\0user-tail'
    'szFtpPassword=pw\0pass-tail'
)

case_reedit_keeps_unseen() {
    mkdir -p "$work"
    python3 "$expect_py" file "$work/CfgFtpDn.bin" "${PREPARED[@]}"
    start_app
    local folder file
    folder=$(windows_path "$work")
    file="$folder\\CfgFtpDn.bin"
    expect_equal "type list selection" "$(control 40001 sel)" 0
    expect_control_text 40001 SFTP
    expect_control_text 40005 8021
    expect_control_text 40019 old.example.com
    expect_control_text 40017 operator
    expect_control_text 40022 /camera/up
    expect_control_text 40024 backup.example.net
    expect_equal "directory edit hidden" "$(control 40022 visible)" 0

    focus_dialog
    keys Tab
    type_text 9021
    press_generate
    answer_message_box en MSG_SUCCESS

    expect_file "${PREPARED[@]}" uwDebugPort=9021
    close_with_alt_f4
    local saved
    mapfile -t saved < <(save_lines "$file" 0 9021 old.example.com)
    expect_trace "CurDir:$folder" "sizeof = 308" "iGetFileSize = 308" \
        "Open file - \"$file\" success!" "g_sFactoryConfig.bySelectBy =0" \
        "g_sFactoryConfig.uwDebugPort=8021" "g_sFactoryConfig.szDebugUrl =old.example.com" \
        "[MAKE]" "* bySelectBy =0" "${saved[@]}"
}

# One entry changed per step, in the order Generate checks them; each step gets its warning
# and leaves no file. An empty text is the field cleared with BackSpace.
STEPS=(
    ":MSG_NEED_SERVER"
    "40019=ftp.example.com 40005=:MSG_NEED_PORT"
    "40005=70000:MSG_PORT_RANGE"
    "40005=21:MSG_NEED_USER"
    "40017=camera:MSG_NEED_PASSWORD"
)

case_empty_field_warns() {
    start_app
    local step entry id text
    for step in "${STEPS[@]}"; do
        for entry in ${step%%:*}; do
            id=${entry%%=*}
            text=${entry#*=}
            tab_to "$id"
            if [[ -z $text ]]; then
                keys BackSpace
            else
                type_text "$text"
            fi
        done
        press_generate
        answer_message_box en "${step#*:}"
        [[ -e $work/CfgFtpDn.bin ]] && fail "a file was written after ${step#*:}"
    done
    close_with_alt_f4
    local makes=()
    for step in "${STEPS[@]}"; do
        makes+=("[MAKE]" "* bySelectBy =1")
    done
    expect_trace "CurDir:$(windows_path "$work")" "${LOAD_NO_FILE[@]}" "${makes[@]}"
}

case_chinese_texts() {
    locale=$LOCALE_ZH
    start_app
    expect_language zh
    expect_visible_controls
    press_generate
    answer_message_box zh MSG_NEED_SERVER
    close_with_alt_f4
}

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd -P)
case "$case_name" in
first_start | reedit_keeps_unseen | empty_field_warns | chinese_texts)
    "case_$case_name"
    ;;
*)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
if ((failures > 0)); then
    echo "$case_name: $failures check(s) failed; see $work" >&2
    exit 1
fi
echo "$case_name: passed"
