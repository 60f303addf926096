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

# The X server of each run (start_xvfb, stop_xvfb).
. "$root/tools/xvfb.sh"

# run_on XVFB_ARGS... -- CHECK...: one Xvfb, the checks on it, the server gone.
run_on() {
    local args=() status=0
    while [ "$1" != -- ]; do args+=("$1"); shift; done
    shift
    start_xvfb "${args[@]}" || return 1
    DISPLAY=$xvfb_display python3 -u "$root/e2e/linux/checks.py" "$folder" "$@" || status=1
    stop_xvfb
    return "$status"
}

status=0
run_on -- "$@" || status=1
if [ $# -eq 0 ]; then
    echo "-- again on an X server without core fonts (the program's own boxes):"
    run_on -fp built-ins -- two_player_win || status=1
fi
exit "$status"
