#!/usr/bin/env bash
# Runs every test of Rillo: the native unit tests (with AddressSanitizer and
# UndefinedBehaviorSanitizer), the check of the pictures against the program's
# geometry (tools/check_data.py), the static checks (clang-tidy, cppcheck,
# clang-format), the Windows build, the end-to-end scenarios
# under Wine on a private Xvfb, the page built with emscripten and its
# scenarios in headless Chromium, the Linux program with its end-to-end checks
# and its package, and the benchmarks (numbers only).
# Installs what is missing first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. tools/packages.sh

# What the native tests and the lint need comes first (the lint reads the
# Linux program's build too, so SDL's headers are among them); the packages
# of the later stages (Wine, the X server, emscripten, the browser) install in the
# background meanwhile, into build/packages.log, and are waited for before
# the Windows program is built.
install_missing_packages cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev \
    g++-mingw-w64-x86-64 clang-tidy cppcheck clang-format jq python3 libsdl2-dev libsdl2-ttf-dev \
    fonts-liberation
mkdir -p build
(
    install_missing_packages wine wine64 fonts-liberation xvfb x11-utils imagemagick \
        emscripten chromium xdotool xfonts-base
    command -v node >/dev/null || install_missing_packages nodejs npm
) >build/packages.log 2>&1 &
packages=$!
wait_for_packages() {
    if ! wait "$packages"; then
        cat build/packages.log
        echo "test.sh: the packages of the later stages could not be installed" >&2
        exit 1
    fi
    cat build/packages.log
}

jobs=$(nproc)

echo "== native build and unit tests (at ${SECONDS} s)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
python3 tools/check_data.py

echo "== lint (at ${SECONDS} s)"
bash tools/lint.sh

echo "== Windows program (at ${SECONDS} s)"
wait_for_packages
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

echo "== release package (at ${SECONDS} s)"
cmake --build --preset windows --target package >/dev/null
bash tools/check_package.sh

echo "== end-to-end under Wine (at ${SECONDS} s)"
bash e2e/run.sh

echo "== the release package, unpacked, under Wine (at ${SECONDS} s)"
version=$(sed -n 's/^project(Rillo LANGUAGES CXX VERSION \([0-9.]*\))$/\1/p' CMakeLists.txt)
E2E_PACKAGE=$PWD/build/windows/package/rillo-$version-win64.zip \
    bash e2e/run.sh window no_intro intro_menu two_player_win beat_easy_computer

echo "== web build and browser tests (at ${SECONDS} s)"
(cd web/tests && npm ci --no-audit --no-fund --loglevel=error)
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
bash web/tests/run.sh
cmake --build --preset web --target web_package >/dev/null
bash tools/check_web_package.sh

echo "== Linux program (at ${SECONDS} s)"
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs"
./build/linux/rillo_linux_test
bash e2e/linux/run.sh
cmake --build --preset linux --target package >/dev/null
bash tools/check_linux_package.sh

echo "== benchmarks (at ${SECONDS} s)"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
./build/release/bench/rillo_bench --benchmark_min_time=0.05

echo "== strength of the computer levels (at ${SECONDS} s)"
./build/release/bench/rillo_strength 20000

echo "== all tests passed (at ${SECONDS} s)"
