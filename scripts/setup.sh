#!/usr/bin/env bash
# Installs what the build needs on Debian/Ubuntu (skipped when already there);
# packages named as arguments are installed as well.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-image-formats-plugins libheif-dev libgl1-mesa-dev xvfb xauth
          libjpeg62-turbo-dev libtiff-dev libjpeg-turbo-progs libqpdf-dev liblcms2-dev
          libxcb1-dev libcups2-dev libexiv2-dev)
packages+=(poppler-utils) # the tests look at printed PDF pages
packages+=(qt6-l10n-tools qt6-tools-dev qt6-translations-l10n) # translations, Qt's own included
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
