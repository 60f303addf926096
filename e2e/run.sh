#!/usr/bin/env bash
# Runs the end-to-end scenarios of build/windows/rillo_e2e.exe against
# build/windows/rillo.exe under Wine, on an X server of its own.
#
#   e2e/run.sh                 every scenario the driver knows
#   e2e/run.sh window no_intro only these
#   e2e/run.sh --list          the scenarios in their order, with their time limits
#
# Each scenario gets a fresh working folder build/e2e/<scenario>/work with a
# copy of build/windows/src (less the files the scenario leaves out); the
# driver runs in build/e2e/<scenario>, and the screenshots it saves there are
# converted to build/e2e/screenshots/<scenario>-<name>.png; the scenario's
# verdict is kept in build/e2e/<scenario>/verdict ("PASS", "PASS package" or
# "FAIL"). Nothing outside build/ is written: tools/update_screenshots.sh
# takes the README's pictures from there. One line per scenario, then
# "N passed, N failed"; the exit status is non-zero when any failed.
#
#   E2E_PACKAGE=build/windows/package/rillo-1.0.0-win64.zip e2e/run.sh ...
#
# runs the scenarios against the release package instead: each working folder
# is the zip's unpacked folder and the program is its rillo.exe, started there
# as a double click would start it.
#
# Each scenario has 180 s (E2E_TIMEOUT=<seconds> sets another default); a
# scenario that asks the driver for longer gets the longer of the two. The
# limit only catches a driver that hangs (every wait inside a scenario has a
# bound of its own), so it leaves room for a machine three times slower than
# a quiet one: on a busy two-core machine gdi_handles took over 60 s. Each
# scenario's line gives its time.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/windows
driver=$build/rillo_e2e.exe
program=$build/rillo.exe
scenario_timeout=${E2E_TIMEOUT:-180}

package=${E2E_PACKAGE:-}
if [ -n "$package" ] && [ ! -f "$package" ]; then
    echo "e2e: the package $package is missing" >&2
    exit 2
fi
if [ ! -f "$driver" ] || [ ! -f "$program" ] || [ ! -d "$build/src" ]; then
    echo "e2e: build the Windows program first: cmake --preset windows && cmake --build --preset windows" >&2
    exit 2
fi
for tool in wine Xvfb xdpyinfo convert timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "e2e: $tool is missing" >&2
        exit 2
    fi
done
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# A Wine of our own: private prefix, quiet logs (E2E_WINEDEBUG=+loaddll, say,
# shows Wine's own), no .NET or browser installer, and no sound driver at all
# (set here, not in the prefix, which ./play.sh shares and plays sound from):
# Wine's PulseAudio driver, loaded where libpulse is installed but no sound
# server runs, now and then aborts the program at its exit inside libpulse
# (an assertion in pa_context_disconnect). Without a driver, a sound the game
# starts fails quietly and one it plays to its end returns at once; which
# sounds the game asks for is checked by the unit tests and the page's tests.
export WINEPREFIX=$root/build/wineprefix
export WINEDEBUG=${E2E_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"

# The X server of the run (start_xvfb, stop_xvfb).
. "$root/tools/xvfb.sh"
wine_used=0
cleanup() {
    if [ "$wine_used" = 1 ]; then
        # Ends the processes of our own prefix only.
        "$wineserver" -k >/dev/null 2>&1
        "$wineserver" -w >/dev/null 2>&1
    fi
    stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# An X server of our own on the first free display from :97 to :120.
if ! xvfb_first=97 xvfb_last=120 start_xvfb; then
    exit 2
fi
export DISPLAY=$xvfb_display

# The prefix is made once; the lock keeps a second run from racing the first.
mkdir -p "$root/build"
wine_used=1
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "e2e: preparing the Wine prefix $WINEPREFIX (once)"
        wineboot -i >/dev/null 2>&1 && "$wineserver" -w
    fi
) 9>"$root/build/wineprefix.lock"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "e2e: the Wine prefix could not be prepared" >&2
    exit 2
fi
# Without a window manager, Wine waits 2 s for the manager's answer at each
# new box or dialog of a managed window; unmanaged windows show at once.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wineserver" -w
fi
# One server for all scenarios, so each start finds Wine running.
"$wineserver" -p >/dev/null 2>&1

# A Linux path as Wine's drive Z: sees it.
windows_path() {
    local path=$1
    printf 'Z:%s' "${path//\//\\}"
}

# The driver's scenarios: "name<TAB>files left out of src<TAB>seconds". The
# fields are cut at each tab here, as read would merge two tabs around an
# empty list of files.
declare -A left_out
declare -A time_limit
known=()
while IFS= read -r line; do
    line=${line%$'\r'}
    name=${line%%$'\t'*}
    [ -n "$name" ] || continue
    rest=""
    [ "$name" = "$line" ] || rest=${line#*$'\t'}
    files=${rest%%$'\t'*}
    seconds=""
    [ "$files" = "$rest" ] || seconds=${rest#*$'\t'}
    limit=$scenario_timeout
    if [[ "$seconds" =~ ^[0-9]+$ ]] && [ "$seconds" -gt "$limit" ]; then
        limit=$seconds
    fi
    known+=("$name")
    left_out[$name]=$files
    time_limit[$name]=$limit
done < <(wine "$driver" --list 2>/dev/null)
if [ ${#known[@]} -eq 0 ]; then
    echo "e2e: the driver lists no scenarios" >&2
    exit 2
fi

if [ "${1:-}" = --list ]; then
    for name in "${known[@]}"; do
        printf '%-24s %4s s  %s\n' "$name" "${time_limit[$name]}" "${left_out[$name]:+without ${left_out[$name]}}"
    done
    exit 0
fi
if [ $# -gt 0 ]; then
    chosen=("$@")
else
    chosen=("${known[@]}")
fi

shots=$root/build/e2e/screenshots
mkdir -p "$shots"
passed=0
failed=0
for name in "${chosen[@]}"; do
    if [ -z "${left_out[$name]+set}" ]; then
        echo "FAIL $name: no such scenario (known: ${known[*]})"
        failed=$((failed + 1))
        continue
    fi
    dir=$root/build/e2e/$name
    rm -rf "$dir"
    rm -f "$shots/$name"-*.png
    if [ -n "$package" ]; then
        # The zip's one folder, as it unpacks, is the working folder.
        mkdir -p "$dir/unpacked"
        (cd "$dir/unpacked" && cmake -E tar xf "$package")
        work=$(find "$dir/unpacked" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        run_program=$work/rillo.exe
    else
        work=$dir/work
        run_program=$program
        mkdir -p "$work"
        cp -r "$build/src" "$work/src"
    fi
    for file in ${left_out[$name]}; do
        rm -f "$work/src/$file"
    done

    limit=${time_limit[$name]}
    began=$SECONDS
    # Under a busy Wine the start of the driver itself now and then fails
    # inside Wine (its start program answers status 1 with "Application could
    # not be started"), before a line of the scenario runs. Such a start is
    # tried again, at most three times in all, and each retry is printed; a
    # driver that started is never run twice.
    for attempt in 1 2 3; do
        (cd "$dir" && timeout "$limit" wine "$driver" "$name" \
            "$(windows_path "$run_program")" "$(windows_path "$work")") \
            >"$dir/driver.log" 2>"$dir/driver.err"
        status=$?
        if [ "$status" -eq 0 ] || [ "$status" -eq 124 ] ||
            grep -q "^rillo_e2e $name: started" "$dir/driver.err"; then
            break
        fi
        echo "    start $attempt of the driver failed inside Wine (status $status):" \
            "$(cat "$dir/driver.log" "$dir/driver.err" | tr -s '\r\n' '  ')"
        if [ "$attempt" -lt 3 ]; then
            echo "    trying again"
            sleep 1
        fi
    done
    tr -d '\r' <"$dir/driver.log" >"$dir/driver.txt"

    # Everything the driver said before its verdict, indented.
    verdict=$(grep -E '^(PASS|FAIL) ' "$dir/driver.txt" | tail -n 1)
    grep -vE '^(PASS|FAIL) ' "$dir/driver.txt" | sed 's/^/    /'

    for shot in "$dir"/*.bmp; do
        [ -f "$shot" ] || continue
        base=$(basename "$shot" .bmp)
        if ! convert "$shot" -strip -define png:exclude-chunks=date,time "$shots/$name-$base.png"; then
            verdict="FAIL $name: screenshot $base.bmp could not be converted"
            status=1
        fi
    done

    if [ "$status" -eq 0 ] && [ "$verdict" = "PASS $name" ]; then
        echo "PASS $name ($((SECONDS - began)) s)"
        echo "PASS${package:+ package}" >"$dir/verdict"
        passed=$((passed + 1))
    else
        echo FAIL >"$dir/verdict"
        # A driver stopped by the time limit leaves its game running, and the
        # next scenario would find that game's window beside its own (so the
        # soak once ended without a verdict after gdi_handles ran out of
        # time): every process of our prefix ends before the next scenario.
        "$wineserver" -k >/dev/null 2>&1
        "$wineserver" -w >/dev/null 2>&1
        "$wineserver" -p >/dev/null 2>&1
        if [ "$status" -eq 124 ]; then
            echo "FAIL $name: no verdict within $limit s"
        elif [ -n "$verdict" ] && [ "${verdict#FAIL }" != "$verdict" ]; then
            echo "$verdict ($((SECONDS - began)) s)"
        else
            echo "FAIL $name: driver ended with status $status (see $dir/driver.err)"
        fi
        # What the driver or Wine wrote on stderr: the only trace of a driver
        # that died before its verdict.
        tr -d '\r' <"$dir/driver.err" | tail -n 20 | sed 's/^/    stderr: /'
        failed=$((failed + 1))
    fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
