#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-crawl benchmark: crawl a generated site of 10,000 pages served by a loopback nginx,
# once with corvida-cli (8 connections, pages and pictures kept) and once with wget's spider,
# and compare wall time and peak memory. The site has one host, so corvida-cli is given
# --per-host 8 as well: all 8 connections go to it, as they did before crawls were limited
# per host (4 by default), and the figures stay comparable with earlier runs.
#
#   bash bench/crawl-bench.sh [PATH/TO/corvida-cli]
#
# The corvida-cli to measure comes from the argument, else from CORVIDA_CLI, else a release
# build in build/crawlbench is made. PAGES, LINKS, PICTURES and SEED change the site.
# SCHEME=https serves the site over TLS with the tests' certificate (tests/data/tls), which
# both tools trust through its CA file; every request of either tool is then an https one.
# The temporary directory is made in TMPDIR (default /tmp); both tools write every page they
# parse into it, so its file system weighs on both figures (TMPDIR=/dev/shm takes it out).
# Installs nginx, wget and time with apt-get when they are missing (needs root or sudo).
# Everything else lives in a temporary directory that is removed on every exit. Only
# 127.0.0.1 is used. Fails when a tool misses part of the site; prints the targets' verdict.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
CLI="${1:-${CORVIDA_CLI:-}}"
PAGES="${PAGES:-10000}"
LINKS="${LINKS:-20}"
PICTURES="${PICTURES:-300}"
SEED="${SEED:-20261206}"
SCHEME="${SCHEME:-http}"
TLS="$ROOT/tests/data/tls"
case "$SCHEME" in
http) LISTEN_TLS="" CORVIDA_TLS=() WGET_TLS=() ;;
https)
    LISTEN_TLS="ssl"
    CORVIDA_TLS=(--ca-file "$TLS/ca.pem")
    WGET_TLS=(--ca-certificate="$TLS/ca.pem")
    ;;
*) echo "SCHEME is http or https" >&2 && exit 2 ;;
esac
MAX_PEAK_MB=300

need() { # command package
    if ! command -v "$1" >/dev/null 2>&1 && ! [ -x "/usr/sbin/$1" ]; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        echo "installing $2" >&2
        $sudo apt-get install -y --no-install-recommends "$2" >/dev/null
    fi
}
need nginx nginx
need wget wget
[ -x /usr/bin/time ] || need /usr/bin/time time
NGINX="$(command -v nginx || echo /usr/sbin/nginx)"

if [ -z "$CLI" ]; then
    BUILD="$ROOT/build/crawlbench"
    if [ ! -f "$BUILD/build.ninja" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVIDA_BENCH=OFF >/dev/null
    fi
    cmake --build "$BUILD" --target corvida-cli -j2 >/dev/null
    CLI="$BUILD/corvida-cli"
fi
[ -x "$CLI" ] || { echo "no corvida-cli at $CLI" >&2; exit 2; }

WORK="$(mktemp -d "${TMPDIR:-/tmp}/corvida-crawl-bench.XXXXXX")"
# nginx workers may run as an unprivileged user: let them read the site.
chmod 755 "$WORK"
NGINX_PID=""
CHILD_PID=""
cleanup() {
    if [ -n "$CHILD_PID" ]; then
        kill -TERM -- "-$CHILD_PID" 2>/dev/null || true
        wait "$CHILD_PID" 2>/dev/null || true
    fi
    if [ -n "$NGINX_PID" ]; then
        kill "$NGINX_PID" 2>/dev/null || true
        wait "$NGINX_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# run_measured COMMAND...: runs COMMAND in a process group of its own and waits for it, so an
# interrupt reaches the trap at once and the cleanup can stop the whole measured command.
run_measured() {
    setsid "$@" &
    CHILD_PID=$!
    local status=0
    wait "$CHILD_PID" || status=$?
    CHILD_PID=""
    return "$status"
}

echo "== generating $PAGES pages (seed $SEED)"
/usr/bin/python3 "$ROOT/bench/make-site.py" "$WORK/site" --pages "$PAGES" --links "$LINKS" \
    --pictures "$PICTURES" --seed "$SEED"
expected() { awk -v k="$1:" '$1 == k { print $2 }' "$WORK/site/expected.txt"; }
EXP_NODES="$(expected nodes)"
EXP_PICTURES="$(expected pictures)"
EXP_BROKEN="$(expected broken_targets)"
echo "site: $PAGES pages, $EXP_PICTURES pictures, $(expected links) links," \
    "$(expected broken_links) of them to $EXP_BROKEN missing pages"

PORT="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
mkdir -p "$WORK/nginx" "$WORK/tls"
# nginx reads the key as its own user: a copy it may read.
cp "$TLS/server.pem" "$TLS/server.key" "$WORK/tls/"
chmod 644 "$WORK/tls/server.key"
cat >"$WORK/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $WORK/nginx/nginx.pid;
error_log $WORK/nginx/error.log;
events { worker_connections 1024; }
http {
    types { text/html html; image/gif gif; text/plain txt; }
    default_type application/octet-stream;
    access_log $WORK/nginx/access.log;
    client_body_temp_path $WORK/nginx/body;
    proxy_temp_path $WORK/nginx/proxy;
    fastcgi_temp_path $WORK/nginx/fastcgi;
    uwsgi_temp_path $WORK/nginx/uwsgi;
    scgi_temp_path $WORK/nginx/scgi;
    server {
        listen 127.0.0.1:$PORT $LISTEN_TLS backlog=1024;
        ssl_certificate $WORK/tls/server.pem;
        ssl_certificate_key $WORK/tls/server.key;
        root $WORK/site;
    }
}
CONF
"$NGINX" -c "$WORK/nginx/nginx.conf" -p "$WORK/nginx" -e "$WORK/nginx/error.log" &
NGINX_PID=$!
answer=""
for _ in $(seq 50); do
    answer="$(/usr/bin/python3 - "$PORT" "$SCHEME" "$TLS/ca.pem" <<'PY' 2>/dev/null || true
import ssl, sys, urllib.request
context = ssl.create_default_context(cafile=sys.argv[3])
with urllib.request.urlopen("%s://127.0.0.1:%s/index.html" % (sys.argv[2], sys.argv[1]), timeout=2, context=context) as r:
    print(r.status)
PY
)"
    [ "$answer" = "200" ] && break
    sleep 0.1
done
[ "$answer" = "200" ] || { echo "nginx does not answer on 127.0.0.1:$PORT" >&2; cat "$WORK/nginx/error.log" >&2; exit 1; }
START="$SCHEME://127.0.0.1:$PORT/index.html"

requests_so_far() { wc -l <"$WORK/nginx/access.log"; }
# Figures from a /usr/bin/time -v report: wall seconds and peak resident set in MB.
wall_seconds() {
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; printf "%.2f\n", s }' "$1"
}
cpu_seconds() { awk -F': ' '/(User|System) time \(seconds\)/ { s += $2 } END { printf "%.2f\n", s }' "$1"; }
peak_mb() { awk -F': ' '/Maximum resident set size/ { printf "%.1f\n", $2 / 1024 }' "$1"; }

echo "== corvida-cli crawl, 8 connections, pages and pictures kept"
mkdir -p "$WORK/corvida"
before=$(requests_so_far)
run_measured /usr/bin/time -v -o "$WORK/corvida.time" "$CLI" --config "$WORK/Corvida.conf" crawl "$START" --dir "$WORK/corvida" \
    "${CORVIDA_TLS[@]}" --connections 8 --per-host 8 --pictures --html --quiet >"$WORK/corvida.out" 2>"$WORK/corvida.err" || {
    echo "corvida-cli failed:" >&2
    cat "$WORK/corvida.err" "$WORK/corvida.time" >&2
    exit 1
}
CORVIDA_REQUESTS=$(($(requests_so_far) - before))
cat "$WORK/corvida.out"
counter() { awk -v k="$1:" '$1 == k { print $2 }' "$WORK/corvida.out"; }
C_NODES="$(counter nodes)"
C_DOCS="$(counter documents)"
C_PICTURES="$(counter pictures)"
C_BROKEN="$(counter broken)"
C_WALL="$(wall_seconds "$WORK/corvida.time")"
C_PEAK="$(peak_mb "$WORK/corvida.time")"
C_CPU="$(cpu_seconds "$WORK/corvida.time")"
C_KEPT_PAGES=$(find "$WORK/corvida" -type f -name '*.htm*' | wc -l)
failed=0
check() { # description actual expected
    if [ "$2" != "$3" ]; then
        echo "MISMATCH: $1: $2, expected $3" >&2
        failed=1
    fi
}
check "corvida nodes" "$C_NODES" "$EXP_NODES"
check "corvida documents (pages and missing pages)" "$C_DOCS" "$((PAGES + EXP_BROKEN))"
check "corvida pictures" "$C_PICTURES" "$EXP_PICTURES"
check "corvida broken" "$C_BROKEN" "$EXP_BROKEN"

echo "== wget --spider -r -l inf"
mkdir -p "$WORK/wget"
before=$(requests_so_far)
# The crawl starts at the site root, so --no-parent would change nothing; leaving it out keeps
# links through ".." from ever being held back. Spider mode keeps no files, but wget writes
# each page into -P while parsing it, so that directory is in the temporary folder too.
run_measured /usr/bin/time -v -o "$WORK/wget.time" wget --spider -r -l inf -nv -e robots=off -P "$WORK/wget" "${WGET_TLS[@]}" \
    "$START" >"$WORK/wget.out" 2>&1 || true # wget exits 8 when it finds broken links
WGET_REQUESTS=$(($(requests_so_far) - before))
W_WALL="$(wall_seconds "$WORK/wget.time")"
W_PEAK="$(peak_mb "$WORK/wget.time")"
W_CPU="$(cpu_seconds "$WORK/wget.time")"
W_BROKEN="$(awk '/^Found [0-9]+ broken link/ { print $2 }' "$WORK/wget.out")"
W_BROKEN="${W_BROKEN:-0}"
# wget logs one line per URL it checked: "... URL: http://... 200 OK" (spider mode).
W_NODES="$(grep -o 'URL: *https\?://127\.0\.0\.1:[0-9]*/[^ ]*' "$WORK/wget.out" | sed 's/^URL: *//' | sort -u | wc -l)"
W_NODES=$((W_NODES + W_BROKEN))
tail -n 3 "$WORK/wget.out"
check "wget broken" "$W_BROKEN" "$EXP_BROKEN"
check "wget nodes" "$W_NODES" "$EXP_NODES"

echo "== results: $PAGES pages, $EXP_PICTURES pictures, $EXP_BROKEN missing pages, 127.0.0.1 nginx over $SCHEME"
rate() { /usr/bin/python3 -c "print('%.0f' % ($1 / $2))"; }
# CPU seconds (user + system) say more than wall time when other work shares the machine.
row='%-28s %8s %8s %8s %8s %7s %7s %9s\n'
printf "$row" tool "wall s" "pages/s" "cpu s" "peak MB" nodes broken requests
printf "$row" "corvida-cli (8 connections)" "$C_WALL" "$(rate "$PAGES" "$C_WALL")" "$C_CPU" \
    "$C_PEAK" "$C_NODES" "$C_BROKEN" "$CORVIDA_REQUESTS"
printf "$row" "wget --spider -r -l inf" "$W_WALL" "$(rate "$PAGES" "$W_WALL")" "$W_CPU" \
    "$W_PEAK" "$W_NODES" "$W_BROKEN" "$WGET_REQUESTS"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "corvida kept $C_KEPT_PAGES page copies"

echo "== pipeline: crawl with report, local site and save, then each phase again on the project"
mkdir -p "$WORK/pipeline"
PROJECT="$WORK/pipeline/site.zpj"
measure() { # name command...
    local name="$1"
    shift
    run_measured /usr/bin/time -v -o "$WORK/$name.time" "$CLI" --config "$WORK/Corvida.conf" "$@" \
        >"$WORK/$name.out" 2>"$WORK/$name.err" || {
        echo "corvida-cli $name failed:" >&2
        cat "$WORK/$name.err" >&2
        exit 1
    }
    printf '%-44s %8s %8s %8s\n' "$name" "$(wall_seconds "$WORK/$name.time")" "$(cpu_seconds "$WORK/$name.time")" \
        "$(peak_mb "$WORK/$name.time")"
}
printf '%-44s %8s %8s %8s\n' phase "wall s" "cpu s" "peak MB"
measure "crawl+report+local-site+save" crawl "$START" "${CORVIDA_TLS[@]}" --dir "$WORK/pipeline" --project "$PROJECT" \
    --connections 8 --per-host 8 --pictures --html --report --local-site --quiet
measure "open (info)" info "$PROJECT"
measure "open+report+save (report)" report "$PROJECT"
measure "open+local site+save (local-site)" local-site "$PROJECT"
measure "open+URL list export (list --html)" list "$PROJECT" --html -o "$WORK/pipeline/list.htm"
echo "project file: $(du -k "$PROJECT" | cut -f1) KiB"

verdict=0
if /usr/bin/python3 -c "import sys; sys.exit(0 if $C_WALL < $W_WALL else 1)"; then
    echo "target met: corvida is faster than wget ($C_WALL s against $W_WALL s)"
else
    echo "TARGET MISSED: corvida is not faster than wget ($C_WALL s against $W_WALL s)"
    verdict=1
fi
if /usr/bin/python3 -c "import sys; sys.exit(0 if $C_PEAK <= $MAX_PEAK_MB else 1)"; then
    echo "target met: corvida peak memory $C_PEAK MB <= $MAX_PEAK_MB MB"
else
    echo "TARGET MISSED: corvida peak memory $C_PEAK MB > $MAX_PEAK_MB MB"
    verdict=1
fi
if [ "$failed" -ne 0 ]; then
    echo "a crawl missed part of the site (see MISMATCH lines)" >&2
    exit 1
fi
exit "$verdict"
