#!/usr/bin/env bash
# Runs fuzz targets for FUZZ_SECONDS each (default 60) on a corpus grown from
# the generated seeds and the committed regression inputs, with the image
# structure's dictionary: every target one after the other, or the ones named
# after the build folder. With FUZZ_PARALLEL=1 the targets run side by side
# (the long run: an hour each takes an hour, not three). A crash fails the
# run; its input is kept under BUILD/artifacts/ and belongs in
# fuzz/regressions/TARGET/ (minimised with -minimize_crash=1) once fixed.
set -euo pipefail
build=${1:?usage: fuzz/run.sh BUILD_FOLDER [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(load conversions roundtrip)
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)

# Each run seeds from a folder of its own, so that runs side by side do not
# remove each other's seeds.
mkdir -p "$build/artifacts"
seeds=$(mktemp -d "$build/seeds.XXXXXX")
trap 'rm -rf "$seeds"' EXIT
"$build/fuzz/make_seeds" "$seeds"

fuzz_one() {
  local target=$1 limit=()
  # Page texts are short: longer inputs only slow the conversions down.
  [ "$target" = conversions ] && limit=(-max_len=4096)
  # Files as long as whole-flash dumps (256 KiB), not as the 1 MiB capacity:
  # inputs that long would slow every run down fourfold for nothing the
  # structure walk has not met already. The seeds at the capacity are cut
  # to this here; the test suite's replay runs them whole.
  [ "$target" = load ] || [ "$target" = roundtrip ] && limit=(-max_len=262144)
  local corpus="$build/corpus/$target" log="$build/fuzz-$target.log"
  mkdir -p "$corpus"
  # The first folder receives what the fuzzer finds; the others only seed it.
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -dict="$root/fuzz/veltra.dict" "${limit[@]}" \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "$seeds/$target" "$root/fuzz/regressions/$target" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$target FAILED (log: $log, input: $build/artifacts/)" >&2
    return 1
  fi
  local runs secs cov rate
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz_$target: ${runs:-?} executions in ${secs:-$seconds} s (${rate:-?} a second), $cov, corpus $(ls "$corpus" | wc -l) files"
}

if [ "${FUZZ_PARALLEL:-0}" = 1 ]; then
  pids=()
  for target in "${targets[@]}"; do fuzz_one "$target" & pids+=($!); done
  status=0
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  exit $status
fi
for target in "${targets[@]}"; do fuzz_one "$target"; done
