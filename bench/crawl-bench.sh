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
# The temporary directory is made in TMPDIR (default /tmp); both tools write pages they
# parse into it, so its file system weighs on both figures (TMPDIR=/dev/shm takes it out).
# Installs nginx, wget and time with apt-get when they are missing (needs root or sudo).
# Everything else lives in a temporary directory that is removed on every exit. Only
# 127.0.0.1 is used. Fails when a tool misses part of the site; prints the targets' verdict.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
CLI="${1:-${CORVIDA_CLI:-}}"
MAX_PEAK_MB=300
# shellcheck source=bench/site-bench-common.sh
. "$ROOT/bench/site-bench-common.sh"

make_site
serve_site

echo "== corvida-cli crawl, 8 connections, pages and pictures kept"
mkdir -p "$WORK/corvida"
before=$(requests_so_far)
timed corvida "$CLI" --config "$WORK/Corvida.conf" crawl "$START" --dir "$WORK/corvida" \
    "${CORVIDA_TLS[@]}" --connections 8 --per-host 8 --pictures --html --quiet >"$WORK/corvida.out" 2>"$WORK/corvida.err" || {
    echo "corvida-cli failed:" >&2
    cat "$WORK/corvida.err" "$WORK/corvida.time" >&2
    exit 1
}
CORVIDA_REQUESTS=$(($(requests_so_far) - before))
cat "$WORK/corvida.out"
C_NODES="$(counter corvida nodes)"
C_BROKEN="$(counter corvida broken)"
C_WALL="$(wall_seconds corvida)"
C_PEAK="$(peak_mb corvida)"
C_KEPT_PAGES=$(find "$WORK/corvida" -type f -name '*.htm*' | wc -l)
check "corvida nodes" "$C_NODES" "$EXP_NODES"
check "corvida documents (pages and missing pages)" "$(counter corvida documents)" "$((PAGES + EXP_BROKEN))"
check "corvida pictures" "$(counter corvida pictures)" "$EXP_PICTURES"
check "corvida broken" "$C_BROKEN" "$EXP_BROKEN"

echo "== wget --spider -r -l inf"
before=$(requests_so_far)
wget_spider wget
WGET_REQUESTS=$(($(requests_so_far) - before))
W_WALL="$(wall_seconds wget)"
check "wget broken" "$W_BROKEN" "$EXP_BROKEN"
check "wget nodes" "$W_NODES" "$EXP_NODES"

echo "== results: $PAGES pages, $EXP_PICTURES pictures, $EXP_BROKEN missing pages, 127.0.0.1 nginx over $SCHEME"
# CPU seconds (user + system) say more than wall time when other work shares the machine.
row='%-28s %8s %8s %8s %8s %7s %7s %9s\n'
printf "$row" tool "wall s" "pages/s" "cpu s" "peak MB" nodes broken requests
printf "$row" "corvida-cli (8 connections)" "$C_WALL" "$(rate "$PAGES" "$C_WALL")" "$(cpu_seconds corvida)" \
    "$C_PEAK" "$C_NODES" "$C_BROKEN" "$CORVIDA_REQUESTS"
printf "$row" "wget --spider -r -l inf" "$W_WALL" "$(rate "$PAGES" "$W_WALL")" "$(cpu_seconds wget)" \
    "$(peak_mb wget)" "$W_NODES" "$W_BROKEN" "$WGET_REQUESTS"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "corvida kept $C_KEPT_PAGES page copies"

echo "== pipeline: crawl with report, local site and save, then each phase again on the project"
mkdir -p "$WORK/pipeline"
PROJECT="$WORK/pipeline/site.zpj"
measure() { # name command...
    local name="$1"
    shift
    timed_cli "$name" "$@"
    printf '%-44s %8s %8s %8s\n' "$name" "$(wall_seconds "$name")" "$(cpu_seconds "$name")" "$(peak_mb "$name")"
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
if holds "$C_WALL < $W_WALL"; then
    echo "target met: corvida is faster than wget ($C_WALL s against $W_WALL s)"
else
    echo "TARGET MISSED: corvida is not faster than wget ($C_WALL s against $W_WALL s)"
    verdict=1
fi
if holds "$C_PEAK <= $MAX_PEAK_MB"; then
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
