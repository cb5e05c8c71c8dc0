#!/usr/bin/env bash
# "zendrel search" over the demo index's largest result set (the empty
# keyword: every entry, 17 pages): wall time and peak memory on loopback,
# then with 50 ms before every answer, the ratio of wall time to
# requests x 50 ms. bench/command_line_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-5}
zendrel=$build/zendrel
site=$build/zendrel-demo-site
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

start_site() {  # latency-ms; sets $site_address. Not run in $(...): the
  # site's pid must reach the exit trap of this shell.
  "$site" --latency-ms "$1" >"$work/site-$1.out" &
  pids+=($!)
  for _ in $(seq 1 100); do
    grep -q 'serving on' "$work/site-$1.out" 2>/dev/null && break
    sleep 0.05
  done
  site_address=$(grep -o 'http://[0-9.:]*' "$work/site-$1.out")
}

measure() {  # address label
  local best_wall=999 best_rss=0
  for _ in $(seq 1 "$runs"); do
    /usr/bin/time -v "$zendrel" search "" --search-site "$1" --torrent-service "$1" \
      >"$work/rows" 2>"$work/time" || true  # a failed search still has its figures
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]; print s}' "$work/time")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time")
    best_wall=$(awk -v a="$wall" -v b="$best_wall" 'BEGIN {print (a < b ? a : b)}')
    [ "$rss" -gt "$best_rss" ] && best_rss=$rss
  done
  rows=$(wc -l <"$work/rows")
  printf '%-22s rows %d  wall (best of %d) %.3f s  peak RSS (worst) %.1f MB\n' \
    "$2" "$rows" "$runs" "$best_wall" "$(awk -v k="$best_rss" 'BEGIN {print k/1024}')"
  last_wall=$best_wall
}

# The first page, three probe fetches (pages 5, 9, 13), then pages 2 to 18.
requests=21

# Start-up and end of the process around a search: a search whose one
# request is refused at once (nothing listens on port 1).
measure "http://127.0.0.1:1" "start-up, no site"
startup=$last_wall
start_site 0
measure "$site_address" "loopback, no latency"
start_site 50
measure "$site_address" "loopback, 50 ms"
awk -v w="$last_wall" -v s="$startup" -v r="$requests" 'BEGIN {
  printf "ratio process wall / (%d requests x 50 ms) = %.3f\n", r, w / (r * 0.05)
  printf "ratio search alone (minus start-up) / (%d x 50 ms) = %.3f\n", r, (w - s) / (r * 0.05)
}'
