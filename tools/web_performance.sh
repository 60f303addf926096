#!/usr/bin/env bash
# Measures Rillo in the browser and writes the section "Rillo in the
# browser" of docs/performance.md (the rest of the file stays as it is):
# builds the site, serves it on a free port of 127.0.0.1 and measures it in
# headless Chromium with web/tests/measure.js: the intro drawn cold, on a
# reload served by the service worker and cold with the CPU slowed four
# times, a press to its disc, a press to the computer's disc, 100 full
# repaints a run, the bytes transferred and the memory; then Lighthouse
# (pinned in tools/lighthouse, installed here, for this benchmark only) with
# its mobile and desktop settings.
#
#   tools/web_performance.sh                 5 runs, 3 Lighthouse runs each
#   PERF_RUNS=9 PERF_LIGHTHOUSE_RUNS=5 tools/web_performance.sh
#
# Figures are reported against their targets, never judged; run it on a
# quiet machine for figures to compare. Not part of test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

install_missing_packages cmake ninja-build emscripten chromium python3
command -v node >/dev/null || install_missing_packages nodejs npm
[ -d web/tests/node_modules/playwright-core ] || (cd web/tests && npm ci --no-audit --no-fund --loglevel=error)
[ -d tools/lighthouse/node_modules/lighthouse ] || (cd tools/lighthouse && npm ci --no-audit --no-fund --loglevel=error)

cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"

out=build/performance-web
mkdir -p "$out"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web >"$out/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
    sleep 0.1
done

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
node web/tests/measure.js --url "http://127.0.0.1:$port/" --site build/web --runs "${PERF_RUNS:-5}" \
    >"$out/section.md"

reports=()
for run in $(seq "${PERF_LIGHTHOUSE_RUNS:-3}"); do
    for form in mobile desktop; do
        preset=()
        [ "$form" = desktop ] && preset=(--preset=desktop)
        CHROME_PATH=${RILLO_CHROMIUM:-/usr/bin/chromium} node tools/lighthouse/node_modules/lighthouse/cli/index.js \
            "http://127.0.0.1:$port/" "${preset[@]}" --quiet --output=json --output-path="$out/lighthouse-$form-$run.json" \
            --only-categories=performance,accessibility,best-practices,seo \
            --chrome-flags="--headless=new --no-sandbox --disable-gpu"
        reports+=("$form=$PWD/$out/lighthouse-$form-$run.json")
    done
done
{
    printf '\n'
    # PERF_LIGHTHOUSE_RUNS=0 measures the page alone.
    if [ "${#reports[@]}" -gt 0 ]; then
        node tools/lighthouse/summary.js "${reports[@]}"
    else
        printf 'Lighthouse was not run (PERF_LIGHTHOUSE_RUNS=0).\n'
    fi
    printf '\nLoad average (1, 5, 15 min) before the runs: %s, after: %s. The machine has %s cores.\n' \
        "$load_before" "$(cut -d' ' -f1-3 /proc/loadavg)" "$(nproc)"
} >>"$out/section.md"

# The browser's section is the file's last; everything before it stays.
report=docs/performance.md
kept=$(sed '/^## Rillo in the browser$/,$d' "$report")
{
    printf '%s\n\n' "$kept"
    cat "$out/section.md"
} >"$report.new"
mv "$report.new" "$report"
cat "$out/section.md"
