#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fetch 10,000 small files from a loopback nginx with Corvida's HTTP client (16 and 64
# transfers at once) and with wget over the same list, and compare files per second.
# FetchBench drives the HTTP transfers directly, not through a crawl, so the crawl's limit of
# transfers per host does not apply to it: all 16 or 64 go to the one host, as before.
#
#   bash bench/fetch-bench.sh [BUILD_DIR] [COUNT]
#
# Installs nginx and wget with apt-get when they are missing (needs root or sudo). Everything
# else lives in a temporary directory that is removed at the end. Only 127.0.0.1 is used.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build/release}"
COUNT="${2:-10000}"

need() {  # need COMMAND PACKAGE
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
    status=$(/usr/bin/python3 -c "import socket; s=socket.socket(); print(s.connect_ex(('127.0.0.1', $PORT)))")
    [ "$status" = "0" ] && break
    sleep 0.1
done

# CPU milliseconds the nginx worker has used so far.
nginx_cpu_ms() {
    local worker
    worker="$(pgrep -P "$NGINX_PID" | head -1)"
    awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$worker/stat"
}

# wget fetches the list in one process over one kept-alive connection; prints its rate and
# its CPU time per 1000 files.
run_wget() {
    rm -rf "$WORK/wget" && mkdir -p "$WORK/wget"
    local before after
    before=$(nginx_cpu_ms)
    /usr/bin/python3 - "$WORK/wget" "$WORK/urls.txt" "$COUNT" <<'PY'
import resource, subprocess, sys, time
out, urls, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
start = time.monotonic()
subprocess.run(["wget", "-q", "-nd", "-P", out, "-i", urls], check=True)
seconds = time.monotonic() - start
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
cpu = (usage.ru_utime + usage.ru_stime) * 1e6 / count
print("wget: %d files/s, client CPU %.0f ms per 1000 files" % (count / seconds, cpu))
PY
    after=$(nginx_cpu_ms)
    echo "  nginx CPU: $(( (after - before) * 1000 / COUNT )) ms per 1000 files"
}

for i in $(seq 0 $((COUNT - 1))); do printf 'http://127.0.0.1:%s/f%05d.html\n' "$PORT" "$i"; done > "$WORK/urls.txt"

# The machine may be shared: wget runs before and after Corvida, so that a change of load
# shows up as a difference between its two runs.
echo "== wget, before: $COUNT files over one kept-alive connection"
run_wget

echo "== Corvida: $COUNT files from nginx on 127.0.0.1:$PORT (3 rounds each)"
before=$(nginx_cpu_ms)
CORVIDA_FETCH_BASE="http://127.0.0.1:$PORT/" CORVIDA_FETCH_COUNT="$COUNT" CORVIDA_FETCH_OUT="$WORK/corvida" \
    "$BUILD/bench/FetchBench" --benchmark_counters_tabular=true 2>/dev/null | tee "$WORK/corvida.txt" | grep BM_
after=$(nginx_cpu_ms)
echo "  nginx CPU: $(( (after - before) * 1000 / (6 * COUNT) )) ms per 1000 files"
for round in "$WORK"/corvida/*; do
    fetched=$(ls "$round" | wc -l)
    [ "$fetched" -eq "$COUNT" ] || { echo "Corvida fetched $fetched of $COUNT files in $round" >&2; exit 1; }
    cmp -s "$WORK/site/f00042.html" "$round/f00042.html" || { echo "fetched file differs in $round" >&2; exit 1; }
done

echo "== wget, after"
run_wget
