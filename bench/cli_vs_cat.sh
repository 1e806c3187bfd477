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

labels=("veltra-cli show" "veltra-cli show --json" "cat" "/bin/true (baseline)")
run() {
  case $1 in
    0) "$cli" show "$image" ;;
    1) "$cli" show --json "$image" ;;
    2) cat "$image" ;;
    3) /bin/true ;;
  esac >/dev/null
}
declare -A times

# The commands take turns, so that whatever else the machine does weighs on
# each of them alike.
for ((i = 0; i < runs + 5; i++)); do
  for c in "${!labels[@]}"; do
    now_us start
    run "$c"
    now_us end
    ((i < 5)) && continue  # warming the caches
    times[$c]+="$((end - start)) "
  done
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | sed -n "$((runs / 2 + 1))p"; }

echo "image: $image ($(stat -c %s "$image") bytes), $runs runs each, medians"
declare -a medians
for c in "${!labels[@]}"; do
  medians[c]=$(median "${times[$c]}")
  printf '%-24s %8d us\n' "${labels[c]}" "${medians[c]}"
done
awk -v s="${medians[0]}" -v c="${medians[2]}" -v b="${medians[3]}" 'BEGIN {
  printf "ratio show/cat: %.2f; net of the baseline: show %d us, cat %d us\n", s / c, s - b, c - b }'
