#!/usr/bin/env bash
# The layering: includes point down (app -> pages -> arrange, output, browse ->
# document -> picture -> platform), only the window's folder defines its
# members, and the folders above the document change its records only through
# its operations. Prints each violation; fails when there is one.   check.sh [ROOT]
set -u
root=${1:-$(dirname "$0")/../..}
cd "$root" || exit 2
files=()
for dir in platform picture document arrange output browse pages; do
  for f in "$dir"/*.cpp "$dir"/*.h; do [ -e "$f" ] && files+=("$f"); done
done
bad=0
awk '
  BEGIN {
    ok["platform"] = " platform "
    ok["picture"] = " picture platform "
    ok["document"] = " document picture platform "
    ok["arrange"] = ok["output"] = ok["browse"] = " arrange output browse document picture platform "
    ok["pages"] = " pages arrange output browse document picture platform "
  }
  match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) {
    split(FILENAME, part, "/")
    target = substr($0, RSTART, RLENGTH)
    sub(/.*"/, "", target); sub(/\/$/, "", target)
    if (index(ok[part[1]], " " target " ") == 0) {
      printf "%s:%d: %s/ includes %s/: %s\n", FILENAME, FNR, part[1], target, $0
      found = 1
    }
  }
  END { exit found }
' "${files[@]}" || bad=1
while IFS= read -r hit; do
  echo "$hit: TMainForm member defined outside app/"; bad=1
done < <(grep -nE '^[A-Za-z_:<>&*, ]*\bTMainForm::[A-Za-z_0-9~]+\(' "${files[@]}" 2>/dev/null)
# The records are read-only above document/: no set-up access, no cast
# dropping the const, no marking of changes made behind the operations' back.
above=()
for dir in arrange output browse pages app; do
  for f in "$dir"/*.cpp "$dir"/*.h; do [ -e "$f" ] && above+=("$f"); done
done
while IFS= read -r hit; do
  echo "$hit: records changed outside the document's operations"; bad=1
done < <(grep -nE 'recordsForSetUp|const_cast<[^>]*(TArrangement|PictureEntry|Placement|SheetTexts)|(\.|->)touch\(' "${above[@]}" 2>/dev/null)
exit $bad
