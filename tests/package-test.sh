#!/usr/bin/env bash
# package-test.sh DEB: installs the Debian package DEB on this machine through
# apt (which brings what it depends on), runs the installed program from /usr
# with nothing of the build tree in reach (no build path in the environment,
# in the working folder or in the binaries' search paths), and removes the
# package again. Needs root, as CI runs; exits 77 (skipped) without it.
set -euo pipefail
deb=$(realpath "$1")
fail() { echo "package-test: $*" >&2; exit 1; }
if [ "$(id -u)" != 0 ]; then
  echo "package-test: skipped: installing a package needs root" >&2
  exit 77
fi
if dpkg-query -W -f='${Status}' corvane 2>/dev/null | grep -q "install ok installed"; then
  fail "a corvane package is installed already: remove it first"
fi
build_tree=$(cd "$(dirname "$deb")" && pwd)
work=$(mktemp -d)
cleanup() {
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -q corvane >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  fail "apt-get install: $(tail -5 "$work/apt.log")"

module=$(ls /usr/lib/python3/dist-packages/corvane/_corvane*.so 2>/dev/null | head -1)
[ -n "$module" ] || fail "no Python module in /usr/lib/python3/dist-packages/corvane"
for f in /usr/bin/corvane /usr/bin/corvane-model-service /usr/libexec/corvane/corvane-encode "$module"; do
  [ -f "$f" ] || fail "no $f"
  [ "$f" = "$module" ] || [ -x "$f" ] || fail "$f is not executable"
  # Installed binaries search no folder of the build.
  dynamic=$(readelf -d "$f") || fail "readelf cannot read $f"
  if grep -E 'R(UN)?PATH' <<<"$dynamic" | grep -qF "$build_tree"; then
    fail "$f searches the build tree: $(grep -E 'R(UN)?PATH' <<<"$dynamic")"
  fi
done
grep -qx 'Exec=corvane %f' /usr/share/applications/corvane.desktop || fail "desktop entry"
[ -s /usr/share/icons/hicolor/256x256/apps/corvane.png ] || fail "no icon"
[ -f /usr/share/corvane/sample-run/configure.dat ] || fail "no sample run"

# The installed program as a user without a display runs it: a bare
# environment, a home of its own, the working folder outside the build.
mkdir -m 700 "$work/home" "$work/runtime"
run() {
  (cd / && env -i PATH=/usr/bin:/bin HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" "$@")
}
version=$(run corvane --version) || fail "corvane --version"
[[ "$version" == *"1.0"* ]] || fail "corvane --version says \"$version\""
run corvane --figure "$work/chart.png" --option 2100 --quantity 1 /usr/share/corvane/sample-run/ \
  >"$work/figure.log" 2>&1 || fail "corvane --figure: $(cat "$work/figure.log")"
[ "$(head -c 8 "$work/chart.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "the figure is no PNG"
# A movie: the installed encoder, found beside the installed program.
run corvane --movie "$work/walk.mp4" --view dynamic --speed 3600 --fps 1 --size 160x120 \
  /usr/share/corvane/sample-run/ >"$work/movie.log" 2>&1 || fail "corvane --movie: $(cat "$work/movie.log")"
[ -s "$work/walk.mp4" ] || fail "no movie"
# The Python module, under Debian's own interpreter, from the installed files.
python_out=$(run /usr/bin/python3 -B -c "import corvane; print(corvane.__file__)") || fail "import corvane: $python_out"
[[ "$python_out" == /usr/lib/python3/dist-packages/corvane/* ]] || fail "import corvane found $python_out"
run /usr/bin/python3 -B -c "
import corvane
run = corvane.load('/usr/share/corvane/sample-run')
assert len(run.body) > 0 and not run.fabric('Trunk').empty, 'no tables'
print(len(corvane.study(['/usr/share/corvane/sample-run'])))" >"$work/python.log" 2>&1 ||
  fail "corvane.load of the sample run: $(cat "$work/python.log")"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -q corvane >/dev/null 2>&1 || fail "apt-get purge"
[ ! -e /usr/bin/corvane ] || fail "/usr/bin/corvane stays after the package went"
[ ! -e /usr/lib/python3/dist-packages/corvane ] || fail "the Python module stays after the package went"
echo "package-test: passed"
