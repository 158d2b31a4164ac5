#!/usr/bin/env bash
# make run-web: builds the page and serves build/web/ on 127.0.0.1 until
# interrupted, opening it in a browser where there is a display.  PORT picks
# the port (8080 by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/web.sh"
port=${PORT:-8080}
url="http://127.0.0.1:$port/index.html"
echo "Serving the game at $url (Ctrl+C stops it)"
if [[ -n "${WAYLAND_DISPLAY:-}" || -n "${DISPLAY:-}" ]] && command -v xdg-open >/dev/null; then
    (sleep 1; xdg-open "$url" >/dev/null 2>&1 || true) &
fi
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$root/build/web"
