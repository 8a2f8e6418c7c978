#!/usr/bin/env bash
# The desktop program started in Slimline mode on a virtual X server under a real window
# manager (openbox), where a window shown minimised may still be mapped as a normal one: the
# main window must end up iconic, and the delayed-run window must stay the active one.
# Offscreen tests cannot see this; only a window manager decides a window's state.
# Usage: window-manager-test.sh KESTRUNE KESTRUNEC MACHINE_TOOL. Exits 77 (skipped) without
# Xvfb, openbox, xprop or xdotool (scripts/setup installs them).
set -euo pipefail
gui=$(realpath "$1") console=$(realpath "$2") tool=$(realpath "$3")
for program in xvfb-run Xvfb openbox xprop xdotool; do
    command -v "$program" >/dev/null || {
        echo "$program is not installed: skipped"
        exit 77
    }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KESTRUNE_APP_DIR=$work/app KESTRUNE_MACHINE=$work/machine QT_QPA_PLATFORM=xcb
mkdir -p "$KESTRUNE_APP_DIR"
"$tool" init --demo >/dev/null
# A delayed row far enough off that the delayed-run window is still open while we look.
"$console" add Delayed --name Later --path /bin/true --delay 600 >/dev/null
"$console" enable Delayed Later >/dev/null

# Runs on the virtual screen: prints one line per finding, ends with 0 when all hold.
cat >"$work/on-screen.sh" <<'EOF'
set -u
gui=$1
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
"$gui" /SlimLine >/dev/null 2>&1 &
program=$!
finish() { kill "$program" "$wm" 2>/dev/null; wait "$program" 2>/dev/null; exit "$1"; }

# WM_STATE is set by the window manager once it manages a window: "Normal" or "Iconic".
state_of() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
main= delayed=
# Generous: on a loaded machine the program can take many seconds to map its windows.
for _ in $(seq 600); do
    for window in $(xdotool search --pid "$program" 2>/dev/null); do
        [ -n "$(state_of "$window")" ] || continue
        if [ "$(xdotool getwindowname "$window")" = "Kestrune - Delayed Apps" ]; then
            delayed=$window
        else
            main=$window
        fi
    done
    [ -n "$main" ] && [ -n "$delayed" ] && break
    sleep 0.1
done
[ -n "$main" ] || { echo "the main window was never managed"; finish 1; }
[ -n "$delayed" ] || { echo "the delayed-run window was never managed"; finish 1; }

# The window is minimised again once it has been mapped: on a loaded machine that can come
# late, but a window left Normal stays Normal, so waiting for it cannot hide the fault.
for _ in $(seq 100); do
    [ "$(state_of "$main")" = Iconic ] && break
    sleep 0.1
done
# Past the moment a window manager would have mapped it normally, and for a while after.
failed=0
for _ in $(seq 10); do
    sleep 0.3
    state=$(state_of "$main")
    [ "$state" = Iconic ] || { echo "main window: $state, wanted Iconic"; failed=1; break; }
done
[ "$failed" -eq 1 ] || echo "main window: Iconic"
active=$(xprop -root _NET_ACTIVE_WINDOW | sed -n 's/.*# //p')
if [ "$((active))" -eq "$delayed" ] && [ "$(state_of "$delayed")" = Normal ]; then
    echo "delayed-run window: Normal and active"
else
    echo "delayed-run window: $(state_of "$delayed"), active window $active, wanted $delayed ($(printf 0x%x "$delayed"))"
    failed=1
fi
finish "$failed"
EOF
# A second look on a fresh screen when the first fails: on a loaded machine the program or the
# window manager can miss a moment now and then, while a main window that is never minimised
# fails both looks.
for look in 1 2; do
    xvfb-run -a -s "-screen 0 1366x768x24" bash "$work/on-screen.sh" "$gui" && exit 0
    echo "look $look failed"
done
exit 1
