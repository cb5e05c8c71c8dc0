#!/usr/bin/env bash
# cmake --install puts the programs, the menu entry and the icon in place,
# and the installed programs run.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/zendrel bin/zendrel-demo-site share/applications/zendrel.desktop \
         share/icons/hicolor/48x48/apps/zendrel.png; do
  [ -e "$prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
[ -x "$prefix/bin/zendrel" ] && [ -x "$prefix/bin/zendrel-demo-site" ]

"$prefix/bin/zendrel" --version | grep -q '^zendrel [0-9]'
"$prefix/bin/zendrel-demo-site" --help | grep -q -- '--latency-ms'
grep -q '^Exec=zendrel$' "$prefix/share/applications/zendrel.desktop"
grep -q '^Icon=zendrel$' "$prefix/share/applications/zendrel.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/zendrel.desktop"
fi
echo "install: ok"
