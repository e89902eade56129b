#!/usr/bin/env bash
# run-fuzz.sh TARGET KEPT_CORPUS [LIBFUZZER_ARGS...]: replays every input of
# the kept corpus once (no search, so the result is the same on every run).
set -euo pipefail
target=$1 kept=$2
shift 2
"$target" -runs=0 -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
  -artifact_prefix="${FUZZ_ARTIFACTS:-$PWD}/" "$@" "$kept"
