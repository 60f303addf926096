#!/usr/bin/env bash
# Builds Rillo for Windows and plays it under Wine on this Debian or Ubuntu
# machine. Installs what is missing first.
#
#   ./play.sh --web   builds Rillo for the browser and serves it on
#                     http://127.0.0.1:8000/ until Ctrl+C
#   ./play.sh --linux builds the native Linux program (SDL2) and starts it
set -euo pipefail
cd "$(dirname "$0")"
. tools/packages.sh

if [ "${1:-}" = --web ]; then
    exec bash tools/serve_web.sh
fi

if [ "${1:-}" = --linux ]; then
    # xfonts-base: the X core fonts SDL draws its message boxes with.
    install_missing_packages cmake ninja-build g++ libsdl2-dev libsdl2-ttf-dev fonts-liberation \
        xfonts-base
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found. Rillo needs one; on a machine without a screen run it under Xvfb:"
        echo "  sudo apt-get install -y xvfb xfonts-base && Xvfb :1 -screen 0 1024x768x24 & DISPLAY=:1 ./play.sh --linux"
        exit 1
    fi
    cmake --preset linux >/dev/null
    cmake --build --preset linux
    exec ./build/linux/rillo
fi

install_missing_packages cmake ninja-build g++-mingw-w64-x86-64 wine wine64 fonts-liberation

if [ -z "${DISPLAY:-}" ]; then
    echo "No display found. Rillo needs one; on a machine without a screen run it under Xvfb:"
    echo "  sudo apt-get install -y xvfb && Xvfb :1 -screen 0 1024x768x24 & DISPLAY=:1 ./play.sh"
    exit 1
fi

cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -d "$WINEPREFIX" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i
    wineserver -w
fi
cd build/windows
exec wine rillo.exe
