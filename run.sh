#!/usr/bin/env bash
# Builds what is missing (Release) and opens Corvane on DATA_DIR, by default on
# the sample run that the build makes. Further arguments go to the program.
# On a machine without a display it renders the run's four views to out/*.png
# (Corvane needs no display for pictures) and prints their paths.
# The model service runs beside it (unless one answers already) and stops
# when the program ends.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh >&2

BUILD=build-release
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF >&2
fi
cmake --build "$BUILD" >&2

if [ $# -eq 0 ]; then
  set -- "$BUILD/bin/sample-run/"
fi
if ! (exec 3<>/dev/tcp/127.0.0.1/8470) 2>/dev/null; then
  "$BUILD/bin/corvane-model-service" >/dev/null 2>&1 &
  service=$!
  trap 'kill "$service" 2>/dev/null' EXIT
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No display to open the window on: show what Corvane shows, as pictures.
  echo "run.sh: this machine has no display (DISPLAY is not set), so the viewer's window cannot open." >&2
  echo "run.sh: rendering the four views of the run to PNG files instead:" >&2
  mkdir -p out
  run=""
  for a in "$@"; do case "$a" in -*) ;; *) run="$a" ;; esac; done
  [ -n "$run" ] || run="$BUILD/bin/sample-run/"
  for view in science static dynamic space; do
    "$BUILD/bin/corvane" --screenshot "out/$view.png" --window \
      --view "$view" --model-service http://127.0.0.1:8470 "$run" >&2 || exit 1
    echo "$PWD/out/$view.png"
  done
  exit 0
fi
"$BUILD/bin/corvane" "$@"
