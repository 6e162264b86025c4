#!/usr/bin/env bash
# The include graph of src/ by layer: how many includes go from each folder
# to each other folder, and any include that goes up a layer or sideways
# between two tools (which the build refuses as well; this says where).
#
#   bash scripts/include-graph.sh          prints the graph, exit 1 on a bad edge
#   bash scripts/include-graph.sh --quiet  prints bad edges only
set -euo pipefail
cd "$(dirname "$0")/.."

# Layer of each folder; a folder may include its own layer's folder and any
# lower layer. Folders of one layer do not include each other.
declare -A layer=(
  [base]=0 [data]=1 [core]=2 [schedule]=3
  [chart]=4 [onepay]=4 [splitrate]=4 [varrate]=4 [figure]=4 [regz]=4
  [cli]=5 [app]=5
)
quiet=false
[ "${1:-}" = "--quiet" ] && quiet=true

bad=0
declare -A edges=()
while IFS=: read -r file included; do
  from=${file#src/}; from=${from%%/*}
  to=${included%%/*}
  if [[ $included == ../* || -z ${layer[$to]+x} ]]; then
    # Qt and standard headers are written with <>; a quoted include must
    # name a folder of src/.
    echo "$file: include \"$included\" does not name a folder of src/" >&2
    bad=1
    continue
  fi
  edges[$from' -> '$to]=$((${edges[$from' -> '$to]:-0} + 1))
  if [ "$from" != "$to" ] && (( ${layer[$to]} >= ${layer[$from]} )); then
    echo "$file: includes \"$included\": $from (layer ${layer[$from]}) may not use $to (layer ${layer[$to]})" >&2
    bad=1
  fi
done < <(grep -rHoE '^#include "[^"]+"' src --include='*.h' --include='*.cpp' |
         sed -E 's/:#include "(.*)"$/:\1/')

if ! $quiet; then
  echo "Includes between folders of src/ (layer 0 is the lowest):"
  for edge in "${!edges[@]}"; do
    from=${edge%% -> *}; to=${edge##* -> }
    [ "$from" = "$to" ] && continue
    printf '%d %d %-9s -> %-9s %4d\n' "${layer[$from]}" "${layer[$to]}" "$from" "$to" "${edges[$edge]}"
  done | sort -k1,1n -k3,3 -k2,2n -k5,5 |
    awk '{printf "  %-9s (%s) -> %-9s (%s) %5d\n", $3, $1, $5, $2, $6}'
  [ $bad = 0 ] && echo "No include goes up a layer or between tools."
fi
exit $bad
