#!/usr/bin/env bash
# Whole-process time of `veltra-cli show` on one image against `cat` of the
# same file: the median of many runs of each, in microseconds.
#
#   bench/cli_vs_cat.sh [VELTRA_CLI [IMAGE [RUNS]]]
#
# Defaults: build/cli/veltra-cli, build/samples/gtx680.rom (`make samples`), 301 runs.
set -euo pipefail

cli=${1:-build/cli/veltra-cli}
image=${2:-build/samples/gtx680.rom}
runs=${3:-301}

for f in "$cli" "$image"; do
  [[ -e "$f" ]] || { echo "cli_vs_cat: $f not found" >&2; exit 2; }
done

# Stores microseconds now in the variable named $1. bash 5 reads the clock
# itself, without a subshell; starting `date` for every reading would add its
# own start-up to each run and swamp a program this short.
now_us() {
  if [[ -n "${EPOCHREALTIME:-}" ]]; then
    local t=${EPOCHREALTIME/[.,]/}
    printf -v "$1" '%d' $((10#$t))
  else
    printf -v "$1" '%d' $(($(date +%s%N) / 1000))
  fi
}

# Median wall time of running "$@" $runs times, output discarded.
median_us() {
  local times=() start end i
  for ((i = 0; i < 5; i++)); do "$@" >/dev/null; done  # warm the caches
  for ((i = 0; i < runs; i++)); do
    now_us start
    "$@" >/dev/null
    now_us end
    times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p"
}

show=$(median_us "$cli" show "$image")
json=$(median_us "$cli" show --json "$image")
cat=$(median_us cat "$image")
# What starting any program costs here, timing included.
base=$(median_us /bin/true)

echo "image: $image ($(stat -c %s "$image") bytes), $runs runs each, medians"
printf '%-24s %8d us\n' "veltra-cli show" "$show" "veltra-cli show --json" "$json" "cat" "$cat" \
  "/bin/true (baseline)" "$base"
awk -v s="$show" -v c="$cat" -v b="$base" 'BEGIN {
  printf "ratio show/cat: %.2f; net of the baseline: show %d us, cat %d us\n", s / c, s - b, c - b }'
