#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Crawl at scale: a generated site of 100,000 pages served by a loopback nginx, crawled by
# corvida-cli with 8 connections and again with 32 (all of them to the site's one host), and
# by wget's spider; then corvida-cli's info, report and list on the saved project. The crawls
# keep no copy of any page or picture, as a link check does. Each corvida-cli crawl runs twice,
# 8 and 32 connections taking turns, and the faster run of each counts: the first crawl after
# the site is made runs up to a fifth slower, whichever it is, and the machines this runs on
# vary by a tenth from run to run. Every step is measured with /usr/bin/time (wall, CPU,
# system and peak resident memory), and a table and the verdict against the targets follow:
#   - peak memory of the 8-connection crawl at most MAX_KB_PER_NODE per node of the graph;
#   - the 8-connection crawl at least MIN_SPEEDUP times faster than wget;
#   - 8 connections no slower than 32 (within SAME_SPEED_TOLERANCE).
#
#   bash bench/big-site-bench.sh [PATH/TO/corvida-cli]
#
# The corvida-cli comes from the argument, else CORVIDA_CLI, else a release build in
# build/crawlbench. PAGES (default 100000), LINKS, PICTURES, SEED, SCHEME and TMPDIR as in
# crawl-bench.sh; TMPDIR=/dev/shm takes the disk out of the figures. The whole run takes some
# minutes; on a shared machine prefer the CPU figures. Only 127.0.0.1 is used.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
CLI="${1:-${CORVIDA_CLI:-}}"
PAGES="${PAGES:-100000}"
MAX_KB_PER_NODE=2
MIN_SPEEDUP=3
SAME_SPEED_TOLERANCE=1.05
# shellcheck source=bench/site-bench-common.sh
. "$ROOT/bench/site-bench-common.sh"

make_site
serve_site

# crawl_site NAME CONNECTIONS: a crawl that keeps no copies, saved to $WORK/NAME/site.zpj.
crawl_site() {
    echo "== corvida-cli crawl, $2 connections"
    mkdir -p "$WORK/$1"
    local before
    before=$(requests_so_far)
    timed "$1" "$CLI" --config "$WORK/Corvida.conf" crawl "$START" --dir "$WORK/$1" --project "$WORK/$1/site.zpj" \
        "${CORVIDA_TLS[@]}" --connections "$2" --per-host "$2" --no-html --no-pictures --no-audio --no-video \
        --no-report --no-local-site --quiet >"$WORK/$1.out" 2>"$WORK/$1.err" || {
        echo "corvida-cli crawl failed:" >&2
        cat "$WORK/$1.err" "$WORK/$1.time" >&2
        exit 1
    }
    echo "requests $(($(requests_so_far) - before))" >>"$WORK/$1.out"
    cat "$WORK/$1.out"
    check "$1 nodes" "$(counter "$1" nodes)" "$EXP_NODES"
    check "$1 broken" "$(counter "$1" broken)" "$EXP_BROKEN"
    check "$1 kept files" "$(find "$WORK/$1" -type f ! -name site.zpj | wc -l)" 0
}
crawl_site crawl8 8
crawl_site crawl32 32
crawl_site crawl8b 8
crawl_site crawl32b 32
# faster NAME NAME: the run of the two with the shorter wall time.
faster() {
    if holds "$(wall_seconds "$1") <= $(wall_seconds "$2")"; then echo "$1"; else echo "$2"; fi
}
CRAWL8="$(faster crawl8 crawl8b)"
CRAWL32="$(faster crawl32 crawl32b)"

echo "== wget --spider -r -l inf"
before=$(requests_so_far)
wget_spider wget
echo "requests $(($(requests_so_far) - before))" >>"$WORK/wget.out"
check "wget broken" "$W_BROKEN" "$EXP_BROKEN"
check "wget nodes" "$W_NODES" "$EXP_NODES"

# The 8-connection crawl's project.
PROJECT="$WORK/crawl8/site.zpj"
echo "== corvida-cli info, report and list on the project ($(du -k "$PROJECT" | cut -f1) KiB)"
timed_cli info info "$PROJECT"
timed_cli report report "$PROJECT"
timed_cli list list "$PROJECT" -o "$WORK/list.txt"

echo "== results: $PAGES pages, $EXP_NODES nodes, $EXP_BROKEN missing pages, 127.0.0.1 nginx over $SCHEME," \
    "temporary files in ${TMPDIR:-/tmp}"
row='%-32s %8s %8s %8s %8s %8s %8s\n'
printf "$row" step "wall s" "cpu s" "sys s" "peak MB" "KB/node" "requests"
line() { # name caption
    printf "$row" "$2" "$(wall_seconds "$1")" "$(cpu_seconds "$1")" "$(system_seconds "$1")" "$(peak_mb "$1")" \
        "$(/usr/bin/python3 -c "print('%.2f' % ($(peak_mb "$1") * 1024 / $EXP_NODES))")" \
        "$(awk '$1 == "requests" { print $2 }' "$WORK/$1.out")"
}
line crawl8 "corvida-cli crawl, 8 conn."
line crawl32 "corvida-cli crawl, 32 conn."
line crawl8b "corvida-cli crawl, 8 conn. (2)"
line crawl32b "corvida-cli crawl, 32 conn. (2)"
line wget "wget --spider -r -l inf"
line info "corvida-cli info"
line report "corvida-cli report"
line list "corvida-cli list"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

C_WALL="$(wall_seconds "$CRAWL8")"
C32_WALL="$(wall_seconds "$CRAWL32")"
W_WALL="$(wall_seconds wget)"
C_PEAK="$(peak_mb "$CRAWL8")"
verdict=0
if holds "$C_PEAK * 1024 <= $MAX_KB_PER_NODE * $EXP_NODES"; then
    echo "target met: peak memory $C_PEAK MB, at most $MAX_KB_PER_NODE KB per node"
else
    echo "TARGET MISSED: peak memory $C_PEAK MB, more than $MAX_KB_PER_NODE KB per node"
    verdict=1
fi
if holds "$C_WALL * $MIN_SPEEDUP <= $W_WALL"; then
    echo "target met: the crawl is $(rate "$W_WALL" "$C_WALL") times as fast as wget ($C_WALL s against $W_WALL s)"
else
    echo "TARGET MISSED: the crawl is not $MIN_SPEEDUP times as fast as wget ($C_WALL s against $W_WALL s)"
    verdict=1
fi
if holds "$C_WALL <= $C32_WALL * $SAME_SPEED_TOLERANCE"; then
    echo "target met: 8 connections are no slower than 32 ($C_WALL s against $C32_WALL s)"
else
    echo "TARGET MISSED: 8 connections are slower than 32 ($C_WALL s against $C32_WALL s)"
    verdict=1
fi
if [ "$failed" -ne 0 ]; then
    echo "a crawl missed part of the site (see MISMATCH lines)" >&2
    exit 1
fi
exit "$verdict"
