#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fetch 10,000 small files from a loopback nginx with Corvida's HTTP client (16 and 64
# transfers at once) and with wget over the same list, and compare files per second.
#
#   bash bench/fetch-bench.sh [BUILD_DIR] [COUNT]
#
# Installs nginx and wget with apt-get when they are missing (needs root or sudo). Everything
# else lives in a temporary directory that is removed at the end. Only 127.0.0.1 is used.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build/release}"
COUNT="${2:-10000}"

need() {
    if ! command -v "$1" >/dev/null 2>&1 && ! [ -x "/usr/sbin/$1" ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get install -y --no-install-recommends "$2" >/dev/null
    fi
}
need nginx nginx
need wget wget
NGINX="$(command -v nginx || echo /usr/sbin/nginx)"

if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD" --target FetchBench -j2 >/dev/null

WORK="$(mktemp -d /tmp/corvida-fetch-bench.XXXXXX)"
# nginx workers run as an unprivileged user: let them read the site.
chmod 755 "$WORK"
NGINX_PID=""
cleanup() {
    [ -n "$NGINX_PID" ] && kill "$NGINX_PID" 2>/dev/null && wait "$NGINX_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# The site: COUNT small HTML pages of 1 to 4 KiB.
mkdir -p "$WORK/site" "$WORK/corvida" "$WORK/wget" "$WORK/nginx"
/usr/bin/python3 - "$WORK/site" "$COUNT" <<'PY'
import sys
site, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    body = "<p>line %d of page %d</p>\n" % (i, i) * (40 + i % 120)
    with open("%s/f%05d.html" % (site, i), "w") as f:
        f.write("<html><head><title>Page %d</title></head><body>\n%s</body></html>\n" % (i, body))
PY

PORT="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
cat > "$WORK/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $WORK/nginx/nginx.pid;
error_log $WORK/nginx/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    client_body_temp_path $WORK/nginx/body;
    proxy_temp_path $WORK/nginx/proxy;
    fastcgi_temp_path $WORK/nginx/fastcgi;
    uwsgi_temp_path $WORK/nginx/uwsgi;
    scgi_temp_path $WORK/nginx/scgi;
    server {
        listen 127.0.0.1:$PORT backlog=1024;
        root $WORK/site;
    }
}
CONF
"$NGINX" -c "$WORK/nginx/nginx.conf" -p "$WORK/nginx" &
NGINX_PID=$!
for _ in $(seq 50); do
    curl_ok=$(/usr/bin/python3 -c "import socket; s=socket.socket(); print(s.connect_ex(('127.0.0.1', $PORT)))")
    [ "$curl_ok" = "0" ] && break
    sleep 0.1
done

echo "== Corvida: $COUNT files from nginx on 127.0.0.1:$PORT"
CORVIDA_FETCH_BASE="http://127.0.0.1:$PORT/" CORVIDA_FETCH_COUNT="$COUNT" CORVIDA_FETCH_OUT="$WORK/corvida" \
    "$BUILD/bench/FetchBench" --benchmark_counters_tabular=true | tee "$WORK/corvida.txt"
fetched=$(ls "$WORK/corvida" | wc -l)
[ "$fetched" -eq "$COUNT" ] || { echo "Corvida fetched $fetched of $COUNT files" >&2; exit 1; }
cmp -s "$WORK/site/f00042.html" "$WORK/corvida/f00042.html" || { echo "fetched file differs" >&2; exit 1; }

echo "== wget: the same $COUNT files (one connection, kept alive)"
for i in $(seq 0 $((COUNT - 1))); do printf 'http://127.0.0.1:%s/f%05d.html\n' "$PORT" "$i"; done > "$WORK/urls.txt"
start=$(date +%s.%N)
wget -q -nd -P "$WORK/wget" -i "$WORK/urls.txt"
end=$(date +%s.%N)
wget_rate=$(/usr/bin/python3 -c "print(round($COUNT / ($end - $start)))")
echo "wget: $wget_rate files/s"

echo "== Summary (files per second)"
awk '/BM_FetchSmallFiles\/16/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9.]+k?$/) v = $i; print "corvida, 16 at once: " v }
     /BM_FetchSmallFiles\/64/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9.]+k?$/) v = $i; print "corvida, 64 at once: " v }' \
    "$WORK/corvida.txt"
echo "wget, sequential:    $wget_rate"
