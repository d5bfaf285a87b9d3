#!/usr/bin/env bash
# The desktop entry and the software centres' metadata pass their validators
# without errors or warnings (infos allowed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh appstream desktop-file-utils
out=$(desktop-file-validate desktop/snapgrid-atlas.desktop 2>&1) || { echo "$out"; exit 1; }
[ -z "$out" ] || { echo "$out"; exit 1; }
for f in desktop/*.metainfo.xml; do
  report=$(appstreamcli validate --no-net --explain "$f" 2>&1) || { echo "$report"; exit 1; }
  if grep -qE '^(E|W): ' <<<"$report"; then echo "$report"; exit 1; fi
done
echo "desktop entry and metainfo valid"
