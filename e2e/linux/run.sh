#!/usr/bin/env bash
# Runs the Linux program's end-to-end checks (e2e/linux/checks.py) on a private
# Xvfb, on the first free display from :40 to :60, and stops only that server.
# Without named checks it runs them all, then the game of two again on an X
# server without the core fonts SDL's message boxes need (xfonts-base), where
# the program shows boxes of its own.
#
#   bash e2e/linux/run.sh [PROGRAM_FOLDER] [CHECK ...]   (default: build/linux)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-$root/build/linux}
shift || true

# run_on XVFB_ARGS... -- CHECK...: one Xvfb, the checks on it, the server gone.
run_on() {
    local args=() display="" n xvfb status=0
    while [ "$1" != -- ]; do args+=("$1"); shift; done
    shift
    for n in $(seq 40 60); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            display=$n
            break
        fi
    done
    [ -n "$display" ] || { echo "e2e/linux: no free display from :40 to :60" >&2; return 1; }
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp "${args[@]}" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        xdpyinfo -display ":$display" >/dev/null 2>&1 && break
        sleep 0.1
    done
    DISPLAY=":$display" python3 -u "$root/e2e/linux/checks.py" "$folder" "$@" || status=1
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    return "$status"
}

status=0
run_on -- "$@" || status=1
if [ $# -eq 0 ]; then
    echo "-- again on an X server without core fonts (the program's own boxes):"
    run_on -fp built-ins -- two_player_win || status=1
fi
exit "$status"
