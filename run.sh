#!/usr/bin/env bash
# Builds what is missing (Release) and opens Corvane on DATA_DIR, by default on
# the sample run that the build makes. Further arguments go to the program.
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
"$BUILD/bin/corvane" "$@"
