#!/usr/bin/env bash
# render-baseline.sh NAME CORVANE COMPARE BASELINE_DIR OUT_DIR ARGS...: renders
# one case with `corvane --screenshot` (or `--figure`, when ARGS start with it;
# or `--movie`, whose first frame $CORVANE_MOVIE_FRAME decodes) and compares it
# with BASELINE_DIR/NAME.png.
# On a mismatch the picture got (NAME.png) and a difference picture
# (NAME.diff.png) stay in OUT_DIR. With CORVANE_UPDATE_BASELINES=1 the
# picture got becomes the new baseline instead.
set -euo pipefail
name=$1 corvane=$2 compare=$3 baselines=$4 out=$5
shift 5
if [ -z "${DISPLAY:-}" ]; then
  echo "skipped: no display (run under xvfb-run)" >&2
  exit 77
fi
mkdir -p "$out"
# Qt warns without a runtime folder, and warnings fail the test: one of its own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
# A run to compare with is made by the build (the comparison_runs target).
previous=
for arg in "$@"; do
  if [ "$previous" = "--compare" ] && [ ! -f "$arg/configure.dat" ]; then
    echo "no run in $arg: build the comparison_runs target first" >&2
    exit 1
  fi
  previous=$arg
done
got="$out/$name.png"
command=--screenshot
if [ "${1:-}" = "--figure" ] || [ "${1:-}" = "--movie" ]; then
  command=$1
  shift
fi
if [ "$command" = "--movie" ]; then
  movie="$out/$name.mp4"
  "$corvane" --movie "$movie" "$@"
  "${CORVANE_MOVIE_FRAME:?the movie_frame tool}" "$movie" 0 "$got"
  rm -f "$movie"
else
  "$corvane" "$command" "$got" "$@"
fi
if [ "${CORVANE_UPDATE_BASELINES:-0}" = "1" ]; then
  cp "$got" "$baselines/$name.png"
  echo "baseline $baselines/$name.png updated"
  exit 0
fi
if [ ! -f "$baselines/$name.png" ]; then
  echo "no baseline $baselines/$name.png: make it with CORVANE_UPDATE_BASELINES=1" >&2
  exit 1
fi
if "$compare" "$got" "$baselines/$name.png" "$out/$name.diff.png"; then
  rm -f "$got" "$out/$name.diff.png"
else
  echo "the picture got is $got" >&2
  exit 1
fi
