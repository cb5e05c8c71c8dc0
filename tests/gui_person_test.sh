#!/usr/bin/env bash
# A person at the real window on a virtual X display: types a keyword, clicks
# the search button, right-clicks the first row, chooses "复制地址" and finds
# that row's magnet address on the X clipboard.
set -euo pipefail
build=${1:?build directory}
program=$build/zendrel
[ -x "$program" ] || { echo "no program at $program"; exit 1; }
for tool in xvfb-run xdotool xclip; do
  command -v $tool >/dev/null || { echo "$tool missing (scripts/setup installs it)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '#!/bin/sh\nexit 0\n' >"$work/xdg-open"  # the home page opens nowhere
chmod +x "$work/xdg-open"

# The first row of the same search, from the command line.
rows=$("$program" search 1080p --demo 2>/dev/null)
expected=$(printf '%s\n' "$rows" | sed -n 1p | cut -f4)
case $expected in magnet:\?xt=urn:btih:*) ;; *) echo "no row from the command line"; exit 1;; esac

cat >"$work/session.sh" <<'SH'
set -u
"$PROGRAM" --demo 2>"$WORK/stderr" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(timeout 20 xdotool search --sync --name 'Zendrel  BY:Korvash' | head -1)
[ -n "$window" ] || { echo "no window"; cat "$WORK/stderr"; exit 1; }
xdotool windowmove --sync "$window" 0 0
# Client coordinates of the window description, below the menu bar.
at() { xdotool mousemove --window "$window" "$1" $(($2 + 21)); }

at 100 54; xdotool click 1                     # into 编辑框1
xdotool type --delay 15 "1080p"
at 390 54; xdotool click 1                     # 按钮1
printf 'before' | xclip -selection clipboard
# Right-click the first row until the search has filled it.
for _ in $(seq 1 50); do
  sleep 0.2
  at 300 140; xdotool click 3
  sleep 0.3
  xdotool key Down Down Return                 # the second item: 复制地址
  sleep 0.2
  got=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
  [ "$got" != "before" ] && [ -n "$got" ] && break
  xdotool key Escape
done
printf '%s' "$got" >"$WORK/clipboard"
SH

WORK=$work PROGRAM=$program PATH="$work:$PATH" BROWSER=true \
  env -u QT_QPA_PLATFORM timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh"

got=$(cat "$work/clipboard" 2>/dev/null || true)
[ "$got" = "$expected" ] || { echo "clipboard: '$got', expected '$expected'"; exit 1; }
echo "the first row's magnet address reached the clipboard"
