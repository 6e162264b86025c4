#!/usr/bin/env bash
# Side by side on the batch benchmark's 100,000 loans (12 to 360 monthly
# payments): quorvane-cli's batch on one job against the npm `xirr` package.
# Installs `xirr` into a folder of its own under the build directory (never
# run by the tests). Needs a Release build with the benchmarks and the
# companion: cmake --build build-rel --target quorvane-cli write_batch_loans
#
#   bash bench/peer/run.sh [BUILD_DIR]      (default build-rel)
#
# Prints loans per second for both, by wall time and by CPU time (on a busy
# machine the CPU figures are the ones to compare), and the ratios.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build-rel}" && pwd)"
work="$build/peer"
mkdir -p "$work"
if [ ! -d "$work/node_modules/xirr" ]; then
  npm install --prefix "$work" --no-audit --no-fund --no-save xirr@1 >/dev/null
fi
"$build/bench/write_batch_loans" "$work/loans.csv"

# Wall and CPU seconds (user + system) of one command.
measure() {
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" >"$work/out.txt"
  awk '{ printf "%s %s", $1, $2 + $3 }' "$work/time.txt"
}

read -r ours_wall ours_cpu < <(measure "$build/src/cli/quorvane-cli" apr --format csv --jobs 1 "$work/loans.csv"; echo)
read -r peer_wall peer_cpu < <(measure node "$here/xirr_batch.js" "$work/loans.csv" "$work"; echo)
read -r loans failed _ <"$work/out.txt"

awk -v n="$loans" -v f="$failed" -v ow="$ours_wall" -v oc="$ours_cpu" -v pw="$peer_wall" -v pc="$peer_cpu" 'BEGIN {
  printf "quorvane-cli (1 job): %8.0f loans/s wall, %8.0f loans/s CPU\n", n / ow, n / oc
  printf "npm xirr:             %8.0f loans/s wall, %8.0f loans/s CPU (no rate for %d of %d loans)\n", n / pw, n / pc, f, n
  printf "ratio quorvane-cli / xirr: %.2f by wall time, %.2f by CPU time\n", pw / ow, pc / oc
}'
