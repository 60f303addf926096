#!/usr/bin/env bash
# Serves the built site build/web on a free port of 127.0.0.1 and runs the
# browser scenarios against it in headless Chromium; the server is stopped
# by its process id afterwards. Arguments go to run.js (scenario names,
# --list). Screenshots go to build/web-e2e/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
site=$root/build/web
out=$root/build/web-e2e
[ -f "$site/index.html" ] && [ -f "$site/rillo.wasm" ] || {
    echo "web: build the site first: cmake --preset web && cmake --build --preset web" >&2
    exit 1
}
[ -d "$root/web/tests/node_modules/playwright-core" ] || {
    echo "web: install the test packages first: (cd web/tests && npm ci)" >&2
    exit 1
}
if [ "${1:-}" = --list ]; then
    exec node "$root/web/tests/run.js" --list
fi

mkdir -p "$out"
rm -rf "$out/screenshots"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$out/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || { cat "$out/server.log" >&2; exit 1; }
    sleep 0.1
done
node "$root/web/tests/run.js" --url "http://127.0.0.1:$port/" --shots "$out/screenshots" "$@"
