#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds everything with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang, so the fuzz targets
# build too) and every warning an error, and runs every test under a virtual X
# server. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

# The house style (.clang-format): no file may differ from it.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

BUILD=${CORVANE_TEST_BUILD:-build-test}
CC=clang CXX=clang++ cmake -B "$BUILD" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_SANITIZE=ON -DCORVANE_STRICT=ON -DCORVANE_FUZZ=ON -DCORVANE_BENCH=OFF >/dev/null
cmake --build "$BUILD"

# The house checks (.clang-tidy) on every file the build compiles: a finding
# fails the run, and is listed.
if ! run-clang-tidy -p "$BUILD" -j 2 -quiet \
  "$(pwd)/(app|data|model|render|science|view3d|widgets|tools|tests|fuzz)/.*\.cpp$" >"$BUILD/clang-tidy.log" 2>&1; then
  sed 's/\x1b\[[0-9;]*m//g' "$BUILD/clang-tidy.log" | grep -E "(warning|error): " | sort -u >&2
  echo "test.sh: clang-tidy found the above (log: $BUILD/clang-tidy.log)" >&2
  exit 1
fi

# The whole project as ./run.sh builds the program (g++, Release), the tests
# and benchmarks with it, every warning an error, so that a newcomer's first
# build prints none and no file compiles with one compiler alone (the tests
# add about a quarter to this build, the benchmarks a fiftieth); and the
# shipped models and pictures are the same whichever compiler makes them:
# the asset generator built with g++ must write the very files the clang
# build wrote.
GCC_BUILD=${CORVANE_GCC_BUILD:-build-gcc}
CC=gcc CXX=g++ cmake -B "$GCC_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-Werror \
  -DCORVANE_TESTS=ON -DCORVANE_BENCH=ON >/dev/null
cmake --build "$GCC_BUILD"
gcc_assets=$(mktemp -d)
trap 'rm -rf "$gcc_assets"' EXIT
"$GCC_BUILD/tools/make_assets" "$gcc_assets" >/dev/null
(cd "$gcc_assets" && find . -type f -print0) | while IFS= read -r -d '' f; do
  cmp "$gcc_assets/$f" "$BUILD/bin/$f" || { echo "test.sh: $f differs between g++ and clang" >&2; exit 1; }
done

# The Python module of that build (python/), its tests under Debian's own
# /usr/bin/python3 with the build tree's module: values against pandas,
# outputs against this corvane, a local Dask cluster of worker processes.
ctest --test-dir "$GCC_BUILD" -R '^python_module$' --no-tests=error --output-on-failure

# The Debian package of that build, installed on this machine, run from /usr
# with the build out of reach, and removed (tests/package-test.sh; as root,
# as CI runs, else skipped).
rm -f "$GCC_BUILD"/corvane_*.deb
cmake --build "$GCC_BUILD" --target package >/dev/null
packages=("$GCC_BUILD"/corvane_*_amd64.deb)
if [ ${#packages[@]} != 1 ] || [ ! -f "${packages[0]}" ]; then
  echo "test.sh: the package target made no single corvane_*_amd64.deb in $GCC_BUILD" >&2
  exit 1
fi
package_rc=0
tests/package-test.sh "${packages[0]}" || package_rc=$?
if [ "$package_rc" != 0 ] && [ "$package_rc" != 77 ]; then exit "$package_rc"; fi

# intercept_tls_get_addr=0: see CORVANE_LSAN_OPTIONS in tests/CMakeLists.txt.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Every test once: one that fails now and then is a fault, not luck.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$BUILD" --output-on-failure --parallel 2

# The model hand-over between threads, under ThreadSanitizer: a build of its
# own, of the one test that uses no Qt GUI class.
TSAN_BUILD=${CORVANE_TSAN_BUILD:-build-tsan}
CC=clang CXX=clang++ cmake -B "$TSAN_BUILD" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TSAN=ON -DCORVANE_STRICT=ON -DCORVANE_BENCH=OFF >/dev/null
cmake --build "$TSAN_BUILD" --target test_handover
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir "$TSAN_BUILD" -R '^test_handover$' --output-on-failure
