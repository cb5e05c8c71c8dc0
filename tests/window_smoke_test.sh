#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its window to
# appear, checks it opened the home page once through the browser, and ends it.
set -euo pipefail
build=${1:?build directory}
program=$build/zendrel
[ -x "$program" ] || { echo "no program at $program"; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run missing (scripts/setup installs it)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Stands in for the browser: records what the program asked to open.
cat >"$work/browser" <<'SH'
#!/bin/sh
printf '%s\n' "$*" >>"$(dirname "$0")/opened"
SH
chmod +x "$work/browser"
ln -s "$work/browser" "$work/xdg-open"

cat >"$work/session.sh" <<'SH'
set -u
"$PROGRAM" 2>"$WORK/stderr" &
pid=$!
window=""
for _ in $(seq 1 200); do
  window=$(xdotool search --name 'Zendrel  BY:Korvash' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "no window appeared"; cat "$WORK/stderr"; kill $pid 2>/dev/null; exit 1
fi
xwininfo -id "$window" | grep -E 'Width|Height|Map State'
xwininfo -id "$window" | grep -q 'IsViewable' || { echo "window not mapped"; kill $pid; exit 1; }
kill $pid
wait $pid 2>/dev/null || true
exit 0
SH

PROGRAM=$program WORK=$work BROWSER=$work/browser PATH="$work:$PATH" \
  timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/session.sh"

opened=$(cat "$work/opened" 2>/dev/null || true)
[ "$opened" = "http://www.zendrel.example" ] || { echo "home page opened as: '$opened'"; exit 1; }
echo "window appeared; home page opened once"
