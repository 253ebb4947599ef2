#!/usr/bin/env bash
# orvale shift side by side with PROJ's cs2cs on the same two jobs, 1 M random points
# (fixed seed), longitude latitude height in text from a file and out to a file:
#   ntv2     DHDN to ETRS89 through BKG's BETA2007 NTv2 grid (Debian proj-data), over
#            Germany: orvale shift -D ntv2/0 --grid BETA2007.gsb --reverse (the grid
#            applied as it stands is the datum's way back);
#   helmert  ETRS89/WGS 84 to OSGB 36 by the 7-parameter Helmert transformation of
#            catalogue entry wgs84/5, geographical to geographical: orvale shift -D
#            wgs84/5; cs2cs with the same seven values as +towgs84 of the source side.
# Runs alternate between the tools; the best of RUNS stands for each (interference only
# slows a run). Prints the times, points per second, how many times faster orvale is,
# and the largest horizontal difference between the two tools' positions, in metres.
#
#   bench/shift_compare.sh [path/to/orvale]
#   POINTS=200000 RUNS=5 bench/shift_compare.sh
#
# Needs (and installs nothing): Debian proj-bin (cs2cs) and proj-data (BETA2007.gsb).
# orvale is the release build by default:
#   cmake --preset release && cmake --build --preset release --target orvale_program
set -euo pipefail
cd "$(dirname "$0")/.."

orvale=${1:-build/release/apps/orvale/orvale}
points=${POINTS:-1000000}
runs=${RUNS:-3}
seed=20261207
grid=${GRID:-/usr/share/proj/BETA2007.gsb}

if [[ ! -x $orvale ]]; then
  echo "shift_compare: no orvale at $orvale; build it with" >&2
  echo "  cmake --preset release && cmake --build --preset release --target orvale_program" >&2
  exit 2
fi
command -v cs2cs > /dev/null || { echo "shift_compare: no cs2cs (apt-get install proj-bin)" >&2; exit 2; }
[[ -r $grid ]] || { echo "shift_compare: no $grid (apt-get install proj-data)" >&2; exit 2; }
orvale=$(realpath "$orvale")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Settings and records of the runs go to a drive of their own, not the user's.
export ORVALE_DRIVE_C=$work/drive
mkdir -p "$ORVALE_DRIVE_C"

# Germany (BETA2007's extent, inside by a margin) and Great Britain, 9 decimals.
awk -v n="$points" -v seed="$seed" 'BEGIN {
  srand(seed)
  for (i = 0; i < n; ++i) printf "%.9f %.9f %.3f\n", 6 + rand() * 8.5, 47.5 + rand() * 7, rand() * 500
}' > "$work/germany.txt"
awk -v n="$points" -v seed="$seed" 'BEGIN {
  srand(seed)
  for (i = 0; i < n; ++i) printf "%.9f %.9f %.3f\n", -6 + rand() * 8, 50 + rand() * 8.5, rand() * 500
}' > "$work/britain.txt"

# OSGB 36 to WGS 84: the entry's seven values with their signs turned.
helmert="+towgs84=446.448,-125.157,542.06,0.1502,0.247,0.8421,-20.4894"
tool_command() {
  local tool=$1 job=$2
  case $tool/$job in
    orvale/ntv2) echo "$orvale" shift -D ntv2/0 --grid "$grid" --reverse --lon-lat ;;
    orvale/helmert) echo "$orvale" shift -D wgs84/5 --lon-lat ;;
    # PROJ reads +towgs84 as a system's step to WGS 84, and inverts it (exactly, where
    # orvale's reverse negates the values: 1 cm apart here) to go from WGS 84.
    cs2cs/ntv2)
      echo cs2cs -f %.9f +proj=longlat +ellps=bessel +nadgrids="$grid" +towgs84=0,0,0 \
        +to +proj=longlat +ellps=GRS80 +towgs84=0,0,0 ;;
    cs2cs/helmert)
      echo cs2cs -f %.9f +proj=longlat +datum=WGS84 +to +proj=longlat +ellps=airy "$helmert" ;;
  esac
}

best() {  # tool job input -> seconds of the best run
  local tool=$1 job=$2 input=$3 best_seconds="" command
  command=$(tool_command "$tool" "$job")
  for ((run = 0; run < runs; ++run)); do
    local start end seconds
    start=$(date +%s.%N)
    eval "$command" < "$input" > "$work/$tool-$job.out"
    end=$(date +%s.%N)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    if [[ -z $best_seconds ]] || awk -v s="$seconds" -v b="$best_seconds" 'BEGIN { exit !(s < b) }'; then
      best_seconds=$seconds
    fi
  done
  echo "$best_seconds"
}

# Largest horizontal distance between the two outputs' positions, metres (degrees on a
# sphere of 6371 km). Heights are not compared: cs2cs carries the input height through
# a 2D system unchanged, where orvale gives the ellipsoidal height on the target side.
largest_gap() {
  paste "$work/orvale-$1.out" "$work/cs2cs-$1.out" | awk '
    { dlon = ($1 - $4) * cos($2 * 0.0174532925199433); dlat = $2 - $5
      d = sqrt(dlon * dlon + dlat * dlat) * 111194.93; if (d > m) m = d }
    END { printf "%.4f m", m }'
}

printf '%-8s %10s %12s %10s %12s %8s  %s\n' job orvale_s orvale_pts/s cs2cs_s cs2cs_pts/s ratio "largest gap"
for job in ntv2 helmert; do
  input=$work/germany.txt
  [[ $job == helmert ]] && input=$work/britain.txt
  orvale_seconds=$(best orvale "$job" "$input")
  cs2cs_seconds=$(best cs2cs "$job" "$input")
  awk -v job="$job" -v o="$orvale_seconds" -v c="$cs2cs_seconds" -v n="$points" -v gap="$(largest_gap "$job")" \
    'BEGIN { printf "%-8s %10.3f %12.0f %10.3f %12.0f %7.1fx  %s\n", job, o, n / o, c, n / c, c / o, gap }'
done
