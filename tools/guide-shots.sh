#!/usr/bin/env bash
# Makes the user guide's and the software centres' screenshots from the
# current build: tools/guide-shots.sh [BUILD_DIR] [PHOTO_FOLDER]
# Without a photo folder, three photos are made with ImageMagick. Needs Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
photos=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$photos" ]; then
  photos=$work/photos
  mkdir -p "$photos"
  for i in 1 2 3; do
    size=3000x2000
    [ "$i" = 2 ] && size=2000x3000
    convert -size "$size" -seed "$i" plasma:fractal -blur 0x4 -fill '#e8c8a8' \
      -draw "ellipse 50%,45% 12%,16% 0,360" -quality 92 "$photos/IMG_000$i.jpg" 2>/dev/null ||
      convert -size "$size" -seed "$i" plasma:fractal -quality 92 "$photos/IMG_000$i.jpg"
  done
fi
mapfile -t pictures < <(find "$photos" -maxdepth 1 -iname '*.jpg' | sort | head -3)
[ ${#pictures[@]} -gt 0 ] || { echo "no JPEG photos in $photos" >&2; exit 1; }
# Settings of this run stay apart from the user's.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config LANG=C.UTF-8 LC_ALL=C.UTF-8
grab() { xvfb-run -a -s "-screen 0 1600x1000x24" "$build/tools/$1" "${@:2}" >/dev/null 2>&1; }
for d in sheets contact colour calibration orders; do mkdir -p "$work/$d"; done
grab grabsheets "$work/sheets" "${pictures[1]:-${pictures[0]}}" "${pictures[0]}"
grab grabcontact "$work/contact" "$photos"
grab grabcolour "$work/colour"
grab grabcalibration "$work/calibration"
grab grabordersheets "$work/orders" "${pictures[@]}"
shot() { # from to [resize]
  convert "$work/$1" ${3:+-resize "$3"} -strip "$2"
}
shot sheets/arrange.png docs/guide/id-sheet.png
shot sheets/dialog-mixed.png docs/guide/print-sheet-dialog.png
shot sheets/preview.png docs/guide/print-preview.png 70%
shot contact/contact-dialog.png docs/guide/contact-dialog.png
shot contact/contact-arrange.png docs/guide/contact-sheet.png
shot colour/colour-dialog.png docs/guide/colour-dialog.png
shot colour/arrange-proofed.png docs/guide/soft-proof.png
shot calibration/calibration-dialog.png docs/guide/calibration-dialog.png
shot orders/dialog.png docs/guide/order-sheets.png
shot sheets/arrange.png desktop/screenshots/id-sheet.png
shot contact/contact-arrange.png desktop/screenshots/contact-sheet.png
echo "screenshots written to docs/guide and desktop/screenshots"
