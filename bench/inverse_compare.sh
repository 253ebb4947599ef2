#!/usr/bin/env bash
# orvale inverse side by side with GeographicLib's GeodSolve -i on the same job: 1 M
# random point pairs (fixed seed) anywhere on WGS84, lines of every length from metres
# to antipodes, text in from a file and text out to a file. Runs alternate between the
# tools; the best of RUNS stands for each (interference only slows a run). Prints the
# times, pairs per second, how many times faster orvale is, and how far GeodSolve's
# ranges and azimuths are from orvale's.
#
#   bench/inverse_compare.sh [path/to/orvale]
#   POINTS=200000 RUNS=5 bench/inverse_compare.sh
#
# Needs (and installs nothing): Debian geographiclib-tools (GeodSolve). orvale is the
# release build by default:
#   cmake --preset release && cmake --build --preset release --target orvale_program
# orvale also works out the rhumb line of every pair (GeodSolve does not), and uses
# every core; GeodSolve one.
set -euo pipefail
cd "$(dirname "$0")/.."

orvale=${1:-build/release/apps/orvale/orvale}
points=${POINTS:-1000000}
runs=${RUNS:-3}
seed=20261206

if [[ ! -x $orvale ]]; then
  echo "inverse_compare: no orvale at $orvale; build it with" >&2
  echo "  cmake --preset release && cmake --build --preset release --target orvale_program" >&2
  exit 2
fi
if ! command -v GeodSolve > /dev/null; then
  echo "inverse_compare: no GeodSolve (apt-get install geographiclib-tools)" >&2
  exit 2
fi
orvale=$(realpath "$orvale")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Latitudes uniform in area, longitudes anywhere, 9 decimals.
awk -v n="$points" -v seed="$seed" 'BEGIN {
  srand(seed)
  pi = atan2(0, -1)
  for (i = 0; i < n; ++i) {
    s1 = 2 * rand() - 1; s2 = 2 * rand() - 1
    printf "%.9f %.9f %.9f %.9f\n", atan2(s1, sqrt(1 - s1 * s1)) * 180 / pi, rand() * 360 - 180,
      atan2(s2, sqrt(1 - s2 * s2)) * 180 / pi, rand() * 360 - 180
  }
}' > "$work/pairs.txt"

measure() {
  local output=$1
  shift
  local start end
  start=$(date +%s%N)
  "$@" < "$work/pairs.txt" > "$output"
  end=$(date +%s%N)
  seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
}

best_orvale= best_geodsolve=
for ((run = 1; run <= runs; ++run)); do
  measure "$work/orvale.txt" "$orvale" inverse --decimals 9
  if [[ -z $best_orvale ]] || awk -v a="$seconds" -v b="$best_orvale" 'BEGIN { exit !(a < b) }'; then
    best_orvale=$seconds
  fi
  measure "$work/geodsolve.txt" GeodSolve -i -p 9
  if [[ -z $best_geodsolve ]] || awk -v a="$seconds" -v b="$best_geodsolve" 'BEGIN { exit !(a < b) }'; then
    best_geodsolve=$seconds
  fi
done

echo "$points point pairs, best of $runs alternating runs, $(nproc) cores; orvale uses them all, GeodSolve one"
echo "  orvale: $orvale, commit $(git rev-parse --short HEAD 2> /dev/null || echo '?')"
echo "  GeodSolve: $(GeodSolve --version 2>&1 | head -n 1)"
awk -v o="$best_orvale" -v g="$best_geodsolve" -v n="$points" 'BEGIN {
  printf "  %-10s %8s %14s\n", "tool", "seconds", "M pairs/s"
  printf "  %-10s %8.3f %14.3f\n", "orvale", o, n / o / 1e6
  printf "  %-10s %8.3f %14.3f\n", "GeodSolve", g, n / g / 1e6
  printf "  orvale is %.1fx as fast\n", g / o }'
# orvale: range azimuth_ab azimuth_ba(back) ...; GeodSolve: azi1 azi2(forward) s12.
paste -d ' ' "$work/orvale.txt" "$work/geodsolve.txt" | awk '
  function abs(x) { return x < 0 ? -x : x }
  function apart(x, y,   d) { d = (x - y) % 360; if (d < 0) d += 360; return d > 180 ? 360 - d : d }
  { ds = abs($1 - $9); if (ds > most_s) most_s = ds
    if ($1 > 0 && $1 < 19900000) { da = apart($2, $7) * 3600; if (da > most_a) most_a = da } }
  END { printf "  largest difference: range %.3g m, azimuth %.3g\" (lines shorter than 19,900 km)\n", most_s, most_a }'
