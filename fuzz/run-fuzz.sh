#!/usr/bin/env bash
# run-fuzz.sh TARGET KEPT_CORPUS SECONDS: runs a fuzz target for a bounded
# time; new inputs go to a scratch corpus, the kept corpus is only read.
set -euo pipefail
target=$1 kept=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="${FUZZ_ARTIFACTS:-$PWD}/" "$scratch" "$kept"
