#!/usr/bin/env bash
# Static checks of every C++ source: clang-format (layout), clang-tidy (with
# the .clang-tidy files of the tree) and cppcheck (with
# tools/cppcheck.suppressions). Installs the tools when they are missing.
#
# clang-tidy reads the compile databases CMake writes at configure time:
# build/native for the portable core and the unit tests, build/release for
# the benchmarks, build/windows for the Win32 files and the end-to-end
# driver, which it checks as mingw-w64 code against the mingw-w64 headers,
# build/linux for the sdl_ files and the icon tool.
# Nothing is built. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

install_missing_packages clang-tidy cppcheck clang-format jq cmake ninja-build g++ \
    libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 libsdl2-dev libsdl2-ttf-dev

jobs=2
started=$(date +%s)
out=build/lint
rm -rf "$out"
mkdir -p "$out"

cmake --preset native >/dev/null
cmake --preset release >/dev/null
cmake --preset windows >/dev/null
cmake --preset linux >/dev/null

# The sources each database compiles, each listed once.
sources_of() {
    jq -r '.[].file' "build/$1/compile_commands.json" | sed "s|^$PWD/||" | grep -E '\.cpp$' |
        sort -u
}
{
    sources_of native | sed 's|^|native |'
    sources_of release | grep '^bench/' | sed 's|^|release |'
    sources_of windows | grep -E '(^|/)win32_[^/]*\.cpp$|^e2e/' | sed 's|^|windows |'
    sources_of linux | grep -E '(^|/)sdl_[^/]*\.cpp$|^tools/' | sed 's|^|linux |'
} >"$out/tidy-jobs"

# clang finds the mingw-w64 C headers itself but not the C++ library of the
# cross compiler; these are the folders the cross compiler searches for it.
mingw_cxx_includes=$(x86_64-w64-mingw32-g++ -xc++ -E -v /dev/null 2>&1 |
    sed -n 's|^ \(/[^ ]*/include/c++[^ ]*\)$|\1|p')
export LINT_OUT=$out
export LINT_MINGW_ARGS=""
for dir in $mingw_cxx_includes; do
    LINT_MINGW_ARGS+=" --extra-arg=-isystem$dir"
done

# One file: its findings go to a file of their own, so parallel runs do not
# interleave; the status file marks a failed run.
tidy_one() {
    local database=$1 file=$2
    local log="$LINT_OUT/tidy-$(echo "$file" | tr '/' '_').log"
    local extra=""
    [ "$database" = windows ] && extra=$LINT_MINGW_ARGS
    # shellcheck disable=SC2086
    if ! clang-tidy -p "build/$database" --quiet $extra "$file" >"$log" 2>&1; then
        echo "$file" >>"$LINT_OUT/tidy-failed"
    fi
}
export -f tidy_one

echo "clang-format: $(git ls-files '*.cpp' '*.h' | wc -l) files"
format_status=0
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror >"$out/format.log" 2>&1 ||
    format_status=1
format_findings=$(grep -c 'error:' "$out/format.log" || true)

echo "clang-tidy: $(wc -l <"$out/tidy-jobs") files, $jobs at a time"
xargs -P "$jobs" -L 1 bash -c 'tidy_one "$@"' _ <"$out/tidy-jobs"
cat "$out"/tidy-*.log >"$out/tidy.log" 2>/dev/null || true
# A header's finding is reported once for every file that includes it.
tidy_findings=$({ grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' "$out/tidy.log" || true; } |
    sort -u | tee "$out/tidy-findings" | wc -l)

echo "cppcheck"
cppcheck_args=(--enable=warning,style,performance,portability --error-exitcode=1 --inline-suppr
    --suppressions-list=tools/cppcheck.suppressions --std=c++17 -j "$jobs" --quiet
    --template='{file}:{line}:{column}: {severity}: {message} [{id}]')
cppcheck_status=0
# The portable core, the tests and the benchmarks, as the native and release
# builds compile them; then the Win32 files and the driver with the Windows
# API's library description.
cppcheck "${cppcheck_args[@]}" --library=googletest -I. \
    $(sources_of native) $(sources_of release | grep '^bench/') >"$out/cppcheck.log" 2>&1 ||
    cppcheck_status=1
cppcheck "${cppcheck_args[@]}" --library=windows -I. -D_WIN32 -DWIN32 -D_WIN64 \
    $(sources_of windows | grep -E '(^|/)win32_[^/]*\.cpp$|^e2e/') >>"$out/cppcheck.log" 2>&1 ||
    cppcheck_status=1
# The Linux program's own files and their test (SDL's headers left out: their
# many configurations are SDL's own business).
cppcheck "${cppcheck_args[@]}" --library=googletest -I. -DRILLO_FONT_FOLDER='""' \
    $(sources_of linux | grep -E '(^|/)sdl_[^/]*\.cpp$|^tools/') >>"$out/cppcheck.log" 2>&1 ||
    cppcheck_status=1
cppcheck_findings=$(grep -cE '^[^ ]+:[0-9]+:[0-9]+: ' "$out/cppcheck.log" || true)

status=0
if [ "$format_status" -ne 0 ]; then
    cat "$out/format.log"
    status=1
fi
if [ -s "$out/tidy-failed" ] || [ "$tidy_findings" -ne 0 ]; then
    # Each failed file's whole output, notes and all.
    while read -r file; do
        echo "== clang-tidy $file"
        grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' \
            "$out/tidy-$(echo "$file" | tr '/' '_').log" || true
    done <"$out/tidy-failed"
    status=1
fi
if [ "$cppcheck_status" -ne 0 ] || [ "$cppcheck_findings" -ne 0 ]; then
    cat "$out/cppcheck.log"
    status=1
fi
echo "lint: clang-format $format_findings, clang-tidy $tidy_findings, cppcheck $cppcheck_findings" \
    "findings in $(($(date +%s) - started)) s"
exit "$status"
