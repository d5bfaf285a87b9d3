#!/usr/bin/env bash
# The layering: includes point down (app -> pages -> arrange, output, browse ->
# document -> picture -> platform), and only the window's folder defines its
# members. Prints each violation; fails when there is one.   check.sh [ROOT]
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
exit $bad
