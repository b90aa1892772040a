# SPDX-License-Identifier: MIT
# Shared parts of the whole-crawl benchmarks (crawl-bench.sh, big-site-bench.sh), sourced by
# them after they set ROOT (the source tree) and, if they wish, CLI (a corvida-cli to measure):
# the tools they need, the corvida-cli build, a temporary directory that every exit removes,
# the generated site served by a loopback nginx, and commands measured with /usr/bin/time.
#
# Settings read from the environment: PAGES, LINKS, PICTURES and SEED shape the site;
# SCHEME=https serves it over TLS with the tests' certificate (tests/data/tls), which both
# tools then trust through CORVIDA_TLS and WGET_TLS; TMPDIR holds the temporary directory
# (TMPDIR=/dev/shm takes the disk out of the figures). Only 127.0.0.1 is used.

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

# need COMMAND PACKAGE: installs PACKAGE with apt-get when COMMAND is missing (root or sudo).
need() {
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

# The corvida-cli to measure: CLI when set, else a release build in build/crawlbench.
if [ -z "${CLI:-}" ]; then
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

# timed NAME COMMAND...: runs COMMAND under /usr/bin/time into $WORK/NAME.time; the figures
# are then read with wall_seconds, cpu_seconds, system_seconds and peak_mb.
timed() {
    local name="$1"
    shift
    run_measured /usr/bin/time -f 'wall %e\nuser %U\nsystem %S\nrss_kb %M' -o "$WORK/$name.time" "$@"
}
# timed_cli NAME ARGS...: corvida-cli ARGS with the bench's settings, timed as NAME, its output
# in $WORK/NAME.out and .err; a failure ends the bench with its error output.
timed_cli() {
    local name="$1"
    shift
    timed "$name" "$CLI" --config "$WORK/Corvida.conf" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" || {
        echo "corvida-cli $name failed:" >&2
        cat "$WORK/$name.err" >&2
        exit 1
    }
}
time_field() { awk -v k="$2" '$1 == k { print $2 }' "$WORK/$1.time"; }
wall_seconds() { time_field "$1" wall; }
cpu_seconds() { awk '$1 == "user" || $1 == "system" { s += $2 } END { printf "%.2f\n", s }' "$WORK/$1.time"; }
system_seconds() { time_field "$1" system; }
peak_mb() { awk '$1 == "rss_kb" { printf "%.1f\n", $2 / 1024 }' "$WORK/$1.time"; }

# make_site: writes the site into $WORK/site and sets EXP_NODES, EXP_PICTURES, EXP_BROKEN.
make_site() {
    echo "== generating $PAGES pages (seed $SEED)"
    /usr/bin/python3 "$ROOT/bench/make-site.py" "$WORK/site" --pages "$PAGES" --links "$LINKS" \
        --pictures "$PICTURES" --seed "$SEED"
    EXP_NODES="$(expected nodes)"
    EXP_PICTURES="$(expected pictures)"
    EXP_BROKEN="$(expected broken_targets)"
    echo "site: $PAGES pages, $EXP_PICTURES pictures, $(expected links) links," \
        "$(expected broken_links) of them to $EXP_BROKEN missing pages"
}
expected() { awk -v k="$1:" '$1 == k { print $2 }' "$WORK/site/expected.txt"; }

# serve_site: serves $WORK/site on a free loopback port and sets START to its index page.
serve_site() {
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
    local answer=""
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
    if [ "$answer" != "200" ]; then
        echo "nginx does not answer on 127.0.0.1:$PORT" >&2
        cat "$WORK/nginx/error.log" >&2
        exit 1
    fi
    START="$SCHEME://127.0.0.1:$PORT/index.html"
}

# Requests nginx has answered so far.
requests_so_far() { wc -l <"$WORK/nginx/access.log"; }

# A counter ("nodes: 123") from the output of a crawl run NAME.
counter() { awk -v k="$2:" '$1 == k { print $2 }' "$WORK/$1.out"; }

failed=0
# check DESCRIPTION ACTUAL EXPECTED: notes a mismatch; the script fails at its end.
check() {
    if [ "$2" != "$3" ]; then
        echo "MISMATCH: $1: $2, expected $3" >&2
        failed=1
    fi
}

# wget_spider NAME: wget's spider over the whole site into $WORK/NAME, measured as NAME; sets
# W_NODES and W_BROKEN from its log.
wget_spider() {
    mkdir -p "$WORK/$1"
    # The crawl starts at the site root, so --no-parent would change nothing; leaving it out
    # keeps links through ".." from ever being held back. Spider mode keeps no files, but wget
    # writes each page into -P while parsing it, so that directory is in the temporary folder.
    timed "$1" wget --spider -r -l inf -nv -e robots=off -P "$WORK/$1" "${WGET_TLS[@]}" \
        "$START" >"$WORK/$1.out" 2>&1 || true # wget exits 8 when it finds broken links
    W_BROKEN="$(awk '/^Found [0-9]+ broken link/ { print $2 }' "$WORK/$1.out")"
    W_BROKEN="${W_BROKEN:-0}"
    # wget logs one line per URL it checked: "... URL: http://... 200 OK" (spider mode).
    W_NODES="$(grep -o 'URL: *https\?://127\.0\.0\.1:[0-9]*/[^ ]*' "$WORK/$1.out" | sed 's/^URL: *//' | sort -u | wc -l)"
    W_NODES=$((W_NODES + W_BROKEN))
    tail -n 3 "$WORK/$1.out"
}

# True when the arithmetic comparison $1 holds (floating point).
holds() { /usr/bin/python3 -c "import sys; sys.exit(0 if ($1) else 1)"; }
rate() { /usr/bin/python3 -c "print('%.0f' % ($1 / $2))"; }
