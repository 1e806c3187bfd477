#!/usr/bin/env bash
# Runs each fuzz target for FUZZ_SECONDS (default 60) on a corpus grown from
# the generated seeds and the committed regression inputs, with the image
# structure's dictionary. A crash fails the run; its input is kept under
# BUILD/artifacts/ and belongs in fuzz/regressions/TARGET/ (minimised with
# -minimize_crash=1) once fixed.
set -euo pipefail
build=${1:?usage: fuzz/run.sh BUILD_FOLDER}
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$build/seeds"
"$build/fuzz/make_seeds" "$build/seeds"
mkdir -p "$build/artifacts"

for target in load conversions roundtrip; do
  # Page texts are short: longer inputs only slow the conversions down.
  limit=()
  [ "$target" = conversions ] && limit=(-max_len=4096)
  corpus="$build/corpus/$target"
  log="$build/fuzz-$target.log"
  mkdir -p "$corpus"
  # The first folder receives what the fuzzer finds; the others only seed it.
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -dict="$root/fuzz/veltra.dict" "${limit[@]}" \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "$build/seeds/$target" "$root/fuzz/regressions/$target" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$target FAILED (log: $log, input: $build/artifacts/)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz_$target: ${runs:-?} executions in ${secs:-$seconds} s (${rate:-?} a second), $cov, corpus $(ls "$corpus" | wc -l) files"
done
