#!/usr/bin/env bash
# orvale gridshift side by side with PROJ on the same job: 1 M random points (fixed
# seed) inside Germany's BETA2007 NTv2 grid (DHDN to ETRS89), text in from a file and
# text out to a file, shifted forward and then back. PROJ runs the same grid as
# `cct +proj=hgridshift +grids=BETA2007.gsb` (with unit conversions around it, cct
# taking radians for that step) and as `cs2cs` between the same two geographic systems
# with the grid as the datum shift. Runs alternate between the tools; the best of RUNS
# stands for each (interference only slows a run). Prints times, points per second,
# the ratios, and how far PROJ's results are from orvale's.
#
#   bench/gridshift_compare.sh [path/to/orvale]
#   POINTS=200000 RUNS=5 bench/gridshift_compare.sh
#
# Needs (and installs nothing): Debian proj-bin (cct, cs2cs) and proj-data
# (/usr/share/proj/BETA2007.gsb). orvale is the release build by default:
#   cmake --preset release && cmake --build --preset release --target orvale_program
# orvale uses every core, cct and cs2cs one; a run of orvale with one worker (-j 1)
# gives the like-for-like ratio.
set -euo pipefail
cd "$(dirname "$0")/.."

orvale=${1:-build/release/apps/orvale/orvale}
points=${POINTS:-1000000}
runs=${RUNS:-3}
grid=${GRID:-/usr/share/proj/BETA2007.gsb}
seed=20261207

if [[ ! -x $orvale ]]; then
  echo "gridshift_compare: no orvale at $orvale; build it with" >&2
  echo "  cmake --preset release && cmake --build --preset release --target orvale_program" >&2
  exit 2
fi
for tool in cct cs2cs; do
  if ! command -v $tool > /dev/null; then
    echo "gridshift_compare: no $tool (apt-get install proj-bin proj-data)" >&2
    exit 2
  fi
done
if [[ ! -r $grid ]]; then
  echo "gridshift_compare: no $grid (apt-get install proj-data)" >&2
  exit 2
fi
orvale=$(realpath "$orvale")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Longitude and latitude (x y, as PROJ reads them) inside the grid's extent,
# 5.6E to 15.2E and 47.2N to 55.1N, 9 decimals.
awk -v n="$points" -v seed="$seed" 'BEGIN {
  srand(seed)
  for (i = 0; i < n; ++i) printf "%.9f %.9f\n", 5.6 + rand() * 9.6, 47.2 + rand() * 7.9
}' > "$work/points.txt"
# cct reads x y z t; the same points with height and time 0.
awk '{ print $1, $2, 0, 0 }' "$work/points.txt" > "$work/points4.txt"

measure() {
  local input=$1 output=$2
  shift 2
  local start end
  start=$(date +%s%N)
  "$@" < "$input" > "$output"
  end=$(date +%s%N)
  seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
}

keep_best() {  # name of the variable holding the best time so far
  if [[ -z ${!1} ]] || awk -v a="$seconds" -v b="${!1}" 'BEGIN { exit !(a < b) }'; then
    printf -v "$1" '%s' "$seconds"
  fi
}

pipeline="+proj=pipeline +step +proj=unitconvert +xy_in=deg +xy_out=rad
  +step +proj=hgridshift +grids=$grid +step +proj=unitconvert +xy_in=rad +xy_out=deg"
from="+proj=longlat +ellps=bessel +nadgrids=$grid +no_defs +type=crs"
# Without +towgs84 on the target cs2cs sees no common datum and applies no shift.
to="+proj=longlat +ellps=GRS80 +towgs84=0,0,0 +no_defs +type=crs"

orvale_forward= orvale_single= orvale_inverse= cct_forward= cct_inverse= cs2cs_forward=
for ((run = 1; run <= runs; ++run)); do
  measure "$work/points.txt" "$work/orvale.txt" "$orvale" gridshift --grid "$grid" --lon-lat
  keep_best orvale_forward
  measure "$work/points.txt" "$work/orvale1.txt" "$orvale" gridshift --grid "$grid" --lon-lat -j 1
  keep_best orvale_single
  measure "$work/orvale.txt" "$work/orvale_back.txt" \
    "$orvale" gridshift --grid "$grid" --lon-lat --inverse
  keep_best orvale_inverse
  # shellcheck disable=SC2086
  measure "$work/points4.txt" "$work/cct.txt" cct -d 9 $pipeline
  keep_best cct_forward
  # shellcheck disable=SC2086
  measure "$work/cct.txt" "$work/cct_back.txt" cct -d 9 -I $pipeline
  keep_best cct_inverse
  measure "$work/points.txt" "$work/cs2cs.txt" cs2cs -f %.9f "$from" +to "$to"
  keep_best cs2cs_forward
done

echo "$points points in BETA2007, best of $runs alternating runs, $(nproc) cores;" \
  "orvale uses them all, PROJ's tools one"
echo "  orvale: $orvale, commit $(git rev-parse --short HEAD 2> /dev/null || echo '?')"
echo "  PROJ: $(cct --version 2>&1 | head -n 1)"
awk -v n="$points" -v of="$orvale_forward" -v o1="$orvale_single" -v oi="$orvale_inverse" -v cf="$cct_forward" \
  -v ci="$cct_inverse" -v sf="$cs2cs_forward" 'BEGIN {
  printf "  %-22s %8s %12s %10s\n", "run", "seconds", "M points/s", "orvale is"
  printf "  %-22s %8.3f %12.3f\n", "orvale gridshift", of, n / of / 1e6
  printf "  %-22s %8.3f %12.3f\n", "orvale gridshift -j 1", o1, n / o1 / 1e6
  printf "  %-22s %8.3f %12.3f %9.1fx\n", "cct hgridshift", cf, n / cf / 1e6, cf / of
  printf "  %-22s %8.3f %12.3f %9.1fx\n", "cs2cs +nadgrids", sf, n / sf / 1e6, sf / of
  printf "  one worker against one: %.1fx cct, %.1fx cs2cs\n", cf / o1, sf / o1
  printf "  %-22s %8.3f %12.3f\n", "orvale gridshift -i", oi, n / oi / 1e6
  printf "  %-22s %8.3f %12.3f %9.1fx\n", "cct -I hgridshift", ci, n / ci / 1e6, ci / oi }'

# Agreement, in millimetres on the ground (1e-9 degree of latitude is 0.11 mm):
# orvale shifts the position truncated to 0.00001" as the grids' own software does.
awk '{ print $1, $2 }' "$work/cct.txt" > "$work/cct2.txt"
paste -d ' ' "$work/orvale.txt" "$work/cct2.txt" "$work/orvale_back.txt" "$work/points.txt" |
  awk 'function abs(x) { return x < 0 ? -x : x }
  function mm(dlon, dlat, lat) {
    return 1000 * 111320 * sqrt((dlon * cos(lat * 0.0174532925199433)) ^ 2 + dlat ^ 2)
  }
  { d = mm($1 - $3, $2 - $4, $2); if (d > forward) forward = d
    b = mm($5 - $7, $6 - $8, $8); if (b > back) back = b }
  END { printf "  largest difference: forward from cct %.3f mm, round trip %.3f mm\n", forward, back }'
