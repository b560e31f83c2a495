#!/bin/bash
# The real binary on a real X display (Xvfb) under a window manager (openbox), driven with
# xdotool as a user would: open a database named on the command line, type into a cell, Close,
# answer "Yes" to "Save Changes?", and check the file holds the text. Screenshots go to OUTDIR.
#
#   smoke-test.sh QEL2005 DESKTOP_FIXTURE OUTDIR
#
# Exits 77 (skipped) where the X tools are missing.
set -u
app=$1
fixture=$2
out=$3

for tool in Xvfb openbox xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: '$tool' is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "FAILED: $*"
    shot failure
    exit 1
}

shot() {
    import -window root "$out/$1.png" 2>/dev/null || echo "(no screenshot $1)"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local limit=$(($1 * 10))
    shift
    for ((i = 0; i < limit; i++)); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# windows NAME_REGEX COUNT: exactly COUNT visible windows are so named.
windows() {
    test "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l)" -eq "$2"
}

mkdir -p "$out" "$work/home" "$work/runtime" "$work/app" "$work/files"
chmod 700 "$work/runtime"
rm -f "$out"/*.png

# A copy of the executable keeps its folder (System/) beside it, inside the temporary tree.
cp "$app" "$work/app/qel2005"
"$fixture" settings "$work/app" || fail "the settings could not be written"
file="$work/files/smoke.QEL"
"$fixture" database "$file" || fail "the database could not be written"

# Xvfb takes a free display and says which on the descriptor it is given.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$work/app/qel2005" "$file" >"$work/qel2005.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")

title='^Database \[ smoke\.QEL \]$'
wait_for 30 xdotool search --onlyvisible --name "$title" ||
    fail "no database window: $(cat "$work/qel2005.log")"
window=$(xdotool search --onlyvisible --name "$title" | head -n1)
xdotool windowactivate --sync "$window"
sleep 1
shot 1-database-window

# A click into the first cell (below the menu bar, tool bar and column header) gives its
# editor the keyboard; the text goes after what the cell holds.
xdotool mousemove --window "$window" 45 73 click 1
sleep 0.3
typed=" typed under X"
expected="row 1$typed"
xdotool key End
xdotool type --delay 40 "$typed"
sleep 0.5
shot 2-typed

# File, then its third item, Close.
xdotool mousemove --window "$window" 20 10 click 1
sleep 0.5
xdotool key Down Down Down
sleep 0.3
shot 3-file-menu
xdotool key Return

# "Save Changes?" comes up over the window, with the window's title.
wait_for 10 windows "$title" 2 || fail "no \"Save Changes?\" question"
sleep 0.5
shot 4-save-changes
xdotool key y

saved() {
    test "$("$fixture" cell "$file" 1 1)" = "$expected"
}
wait_for 10 saved || fail "the file holds \"$("$fixture" cell "$file" 1 1)\", not \"$expected\""

# "Saved" comes up with the application's title, beside the start window; OK is its default.
wait_for 10 windows '^Qel 2005$' 2 || fail "no \"Saved\" notice"
sleep 0.5
shot 5-saved
xdotool key Return
wait_for 10 windows '^Qel 2005$' 1 || fail "the \"Saved\" notice stayed"
kill -0 "$app_pid" 2>/dev/null || fail "qel2005 ended: $(cat "$work/qel2005.log")"
echo "PASSED: the text typed under X was saved into $file"
