#!/usr/bin/env bash
# The layering check catches each kind of violation planted in a copy of the tree.
set -u
here=$(cd "$(dirname "$0")" && pwd)
src=$here/../..
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
plant() { # name file text
  rm -rf "$work/tree" && mkdir -p "$work/tree"
  for d in platform picture document arrange output browse pages app; do cp -r "$src/$d" "$work/tree/"; done
  printf '%s\n' "$3" >"$work/tree/$2"
  if bash "$here/check.sh" "$work/tree" >/dev/null; then echo "not caught: $1"; exit 1; fi
}
bash "$here/check.sh" "$src" || { echo "the tree itself fails the check"; exit 1; }
plant "a subsystem includes the window" document/Planted.cpp '#include "app/MainUnit.h"'
plant "a subsystem includes a page" browse/Planted.cpp '#include "pages/CollectionPage.h"'
plant "the picture layer includes the document" picture/Planted.cpp '#include "document/Arrangement.h"'
plant "the platform includes the picture layer" platform/Planted.h '#include "picture/Dib.h"'
plant "a window member defined in a page" pages/Planted.cpp 'void TMainForm::Planted() {}'
plant "a sheet maker edits the records" arrange/Planted.cpp 'void f(ArrangementDocument &d) { d.recordsForSetUp().Placements.Append(); }'
plant "a page casts the records writable" pages/Planted.cpp 'auto &r = const_cast<TArrangement &>(Doc.records());'
plant "an exporter marks a change it made itself" output/Planted.cpp 'void f(ArrangementDocument *d) { d->touch(ArrangementDocument::Everything); }'
echo "every planted violation caught"
