# Starts an X server of our own for the Linux program. Sourced by
# e2e/linux/run.sh and tools/linux_performance.sh.
#
#   start_xvfb [XVFB_ARGS...]
#
# takes the first free display from :40 to :60, starts Xvfb there and waits
# until it answers; it sets xvfb_display (":N") and xvfb_pid. Another server
# may take the display between the test and the start: ours then dies and
# the next display is tried. stop_xvfb stops only that server.
start_xvfb() {
    local n owner
    for n in $(seq 40 60); do
        [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp "$@" >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            kill -0 "$xvfb_pid" 2>/dev/null || break
            # The lock file names the server that won the display; a server
            # that lost it lingers as a zombie, which kill -0 still finds.
            owner=$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock" || true)
            [ -z "$owner" ] || [ "$owner" = "$xvfb_pid" ] || break
            if [ -n "$owner" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
                xvfb_display=":$n"
                return 0
            fi
            sleep 0.1
        done
        stop_xvfb
    done
    echo "no X server could be started on :40 to :60" >&2
    return 1
}

stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}
