#!/usr/bin/env bash
# Builds Rillo for the browser and serves the site build/web on
# http://127.0.0.1:8000/ with Python's own static server, opening it in a
# browser where there is a display. Ctrl+C stops the server. Run by
# ./play.sh --web; installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

install_missing_packages cmake ninja-build emscripten python3
command -v node >/dev/null || install_missing_packages nodejs

port=${RILLO_PORT:-8000}
address=http://127.0.0.1:$port/
cmake --preset web >/dev/null
cmake --build --preset web

python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true' EXIT INT TERM
for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || { echo "Port $port is taken; try RILLO_PORT=8001 ./play.sh --web" >&2; exit 1; }
    sleep 0.1
done

echo "Rillo is served on $address (Ctrl+C stops it)."
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
    xdg-open "$address" >/dev/null 2>&1 || echo "Open $address in a browser."
else
    echo "No display here: open $address in a browser."
fi
wait "$server"
