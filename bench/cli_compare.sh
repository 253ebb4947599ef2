#!/usr/bin/env bash
# orvale project side by side with PROJ's cs2cs and cct and GDAL's gdaltransform on the
# same job: 1 M random points (fixed seed), geographical (longitude latitude, WGS 84) to
# UTM zone 31N and back, text in from a file and text out to a file. Runs alternate
# between the tools; the best of RUNS stands for each (interference only slows a run).
# Prints the times, points per second, how many times faster orvale is, the peak memory
# of each, and how far each tool's numbers are from orvale's.
#
#   bench/cli_compare.sh [path/to/orvale]
#   POINTS=200000 RUNS=5 bench/cli_compare.sh
#
# Needs (and installs nothing): Debian proj-bin (cs2cs, cct), gdal-bin (gdaltransform)
# and time (/usr/bin/time, for the peak memory; without it /proc is polled instead). A
# tool that is missing is named and left out. orvale is the release build by default:
#   cmake --preset release && cmake --build --preset release --target orvale_program
set -euo pipefail
cd "$(dirname "$0")/.."

orvale=${1:-build/release/apps/orvale/orvale}
points=${POINTS:-1000000}
runs=${RUNS:-3}
seed=20261206

if [[ ! -x $orvale ]]; then
  echo "cli_compare: no orvale at $orvale; build it with" >&2
  echo "  cmake --preset release && cmake --build --preset release --target orvale_program" >&2
  exit 2
fi
orvale=$(realpath "$orvale")

missing=()
for program in cs2cs cct gdaltransform; do
  command -v "$program" > /dev/null || missing+=("$program")
done
if ((${#missing[@]})); then
  echo "cli_compare: missing ${missing[*]}: left out (apt-get install proj-bin gdal-bin)" >&2
fi
have() { ! [[ " ${missing[*]} " == *" $1 "* ]]; }
if [[ ! -x /usr/bin/time ]]; then
  echo "cli_compare: no /usr/bin/time (apt-get install time): peak memory polled from /proc" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Longitude 0..6 and latitude 0..84 degrees, 9 decimals: zone 31N's own area.
awk -v n="$points" -v seed="$seed" 'BEGIN {
  srand(seed)
  for (i = 0; i < n; ++i) printf "%.9f %.9f\n", rand() * 6, rand() * 84
}' > "$work/geographical.txt"

utm="+proj=utm +zone=31 +ellps=WGS84"
geographical="+proj=longlat +ellps=WGS84"

# The command of each tool for a direction: longitude latitude in and out, metres with 3
# decimals, degrees with 9 (gdaltransform has no choice of decimals: it prints ~15
# significant digits). cct wants a height and a time, or it refuses every point.
tool_command() {
  local tool=$1 direction=$2
  local decimals=3 inverse=() from=$geographical to=$utm
  if [[ $direction == inverse ]]; then
    decimals=9 inverse=(-I) from=$utm to=$geographical
  fi
  case $tool in
    orvale)
      local flag=()
      [[ $direction == inverse ]] && flag=(--inverse)
      echo "$orvale" project --projection utm:31 --lon-lat "${flag[@]}" ;;
    cs2cs) echo cs2cs -f "%.${decimals}f" $from +to $to ;;
    cct) echo cct -d $decimals -z 0 -t 0 "${inverse[@]}" $utm ;;
    gdaltransform) echo gdaltransform -s_srs "'$from'" -t_srs "'$to'" -output_xy ;;
  esac
}

# Runs a command with standard input and output redirected; sets `seconds` and
# `peak_kb`.
measure() {
  local input=$1 output=$2
  shift 2
  local start end
  start=$(date +%s%N)
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -f %M -o "$work/peak" "$@" < "$input" > "$output"
    peak_kb=$(tail -n 1 "$work/peak")
  else
    "$@" < "$input" > "$output" &
    local pid=$! seen
    peak_kb=0
    while kill -0 "$pid" 2> /dev/null; do
      seen=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2> /dev/null || true)
      [[ -n $seen && $seen -gt $peak_kb ]] && peak_kb=$seen
      sleep 0.01
    done
    wait "$pid"
  fi
  end=$(date +%s%N)
  seconds=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')
}

tools=(orvale)
for tool in cs2cs cct gdaltransform; do
  have "$tool" && tools+=("$tool")
done

# Every tool inverts the same grid co-ordinates: orvale's forward output.
eval "$(tool_command orvale forward)" < "$work/geographical.txt" > "$work/grid.txt"

declare -A best peak
for ((run = 1; run <= runs; ++run)); do
  for direction in forward inverse; do
    input=$work/geographical.txt
    [[ $direction == inverse ]] && input=$work/grid.txt
    for tool in "${tools[@]}"; do
      eval "measure '$input' '$work/$tool.$direction.txt' $(tool_command "$tool" "$direction")"
      key=$tool.$direction
      if [[ -z ${best[$key]:-} ]] || awk -v a="$seconds" -v b="${best[$key]}" 'BEGIN { exit !(a < b) }'; then
        best[$key]=$seconds
      fi
      [[ ${peak_kb:-0} -gt ${peak[$key]:-0} ]] && peak[$key]=$peak_kb
    done
  done
done

# The largest difference from orvale's output over every line (first two fields), the
# lines that differ at all at the decimals printed (a last digit rounded the other way)
# and those that differ by more than one unit of the last decimal.
difference() {
  local tool=$1 direction=$2 unit=$3
  paste -d ' ' <(awk '{ print $1, $2 }' "$work/orvale.$direction.txt") \
    <(awk '{ print $1, $2 }' "$work/$tool.$direction.txt") |
    awk -v unit="$unit" '
      function abs(x) { return x < 0 ? -x : x }
      { d = abs($1 - $3); if (abs($2 - $4) > d) d = abs($2 - $4)
        if (d > most) most = d
        if (d > unit * 0.5) ++near
        if (d > unit * 1.001 || NF != 4) ++far }
      END { printf "%.3g; %d lines differ, %d by more than %g", most, near, far, unit }'
}

echo "$points points, best of $runs alternating runs, $(nproc) cores; orvale uses them all, the others one"
for tool in "${tools[@]}"; do
  case $tool in
    orvale) version="$orvale, commit $(git rev-parse --short HEAD 2> /dev/null || echo '?')" ;;
    cs2cs | cct) version=$(cs2cs 2>&1 | head -n 1) ;;
    gdaltransform) version=$(gdalinfo --version 2> /dev/null) ;;
  esac
  echo "  $tool: ${version:-?}"
done
for direction in forward inverse; do
  if [[ $direction == forward ]]; then
    echo -e "\nforward: longitude latitude (9 decimals) to UTM 31N easting northing (3 decimals)"
    unit=0.001
  else
    echo -e "\ninverse: easting northing (3 decimals) to longitude latitude (9 decimals)"
    unit=0.000000001
  fi
  printf "  %-14s %8s %12s %16s %9s   %s\n" tool seconds "M points/s" "orvale faster" "peak MB" \
    "largest difference from orvale"
  ours=${best[orvale.$direction]}
  for tool in "${tools[@]}"; do
    key=$tool.$direction
    compared=-
    [[ $tool != orvale ]] && compared=$(difference "$tool" "$direction" "$unit")
    awk -v tool="$tool" -v s="${best[$key]}" -v ours="$ours" -v n="$points" -v kb="${peak[$key]}" \
      -v compared="$compared" 'BEGIN {
        printf "  %-14s %8.3f %12.2f %15.1fx %9.1f   %s\n", tool, s, n / s / 1e6, s / ours,
          kb / 1024, compared }'
  done
  echo "  the same lines, for a look:"
  for line in 1 $((points / 2)) "$points"; do
    for tool in "${tools[@]}"; do
      printf "    %-14s line %-8s %s\n" "$tool" "$line" \
        "$(sed -n "${line}p" "$work/$tool.$direction.txt" | awk '{ print $1, $2 }')"
    done
  done
done
