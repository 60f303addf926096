#!/usr/bin/env bash
# Runs the Linux program's end-to-end checks (e2e/linux/checks.py) on a private
# Xvfb, on the first free display from :40 to :60, and stops only that server.
#
#   bash e2e/linux/run.sh [PROGRAM_FOLDER] [CHECK ...]   (default: build/linux)
# The X server needs the core fonts (xfonts-base) for SDL's message boxes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-$root/build/linux}
shift || true

display=""
for n in $(seq 40 60); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "e2e/linux: no free display from :40 to :60" >&2; exit 1; }
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
done
DISPLAY=":$display" python3 -u "$root/e2e/linux/checks.py" "$folder" "$@"
