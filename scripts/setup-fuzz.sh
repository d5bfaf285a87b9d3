#!/usr/bin/env bash
# Installs what the fuzz build needs beyond the normal build: clang, its
# libFuzzer and sanitizer runtimes, and the symbolizer for readable reports.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
packages=(clang libclang-rt-14-dev llvm-14)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
