# Starts an X server of our own. Sourced by e2e/linux/run.sh,
# tools/linux_performance.sh and e2e/run.sh.
#
#   [xvfb_first=N xvfb_last=M] start_xvfb [XVFB_ARGS...]
#
# takes the first free display from :40 to :60 (or :N to :M), starts Xvfb
# there and waits until it answers; it sets xvfb_display (":N") and xvfb_pid.
# Another server may take the display between the test and the start: ours
# then dies and the next display is tried. stop_xvfb stops only that server.
#
# The server never resets: by default an X server resets whenever its last
# client leaves, and a program connecting meanwhile (the checks' short-lived
# tools come and go between two programs) is dropped without a word.
start_xvfb() {
    local n owner
    for n in $(seq "${xvfb_first:-40}" "${xvfb_last:-60}"); do
        [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] || continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset "$@" >/dev/null 2>&1 &
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
    echo "no X server could be started on :${xvfb_first:-40} to :${xvfb_last:-60}" >&2
    return 1
}

stop_xvfb() {
    [ -n "${xvfb_pid:-}" ] || return 0
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}
