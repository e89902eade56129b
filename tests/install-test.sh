#!/usr/bin/env bash
# install-test.sh BUILD_DIR: installs the build into a temporary prefix and
# runs the installed program from there: it finds its models, pictures and
# sample run under the prefix, and the desktop entry and icon are in place.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install-test: $*" >&2; exit 1; }
[ -x "$prefix/bin/corvane" ] || fail "no bin/corvane"
[ -x "$prefix/bin/corvane-model-service" ] || fail "no bin/corvane-model-service"
grep -qx 'MimeType=inode/directory;' "$prefix/share/applications/corvane.desktop" || fail "desktop entry"
grep -qx 'Icon=corvane' "$prefix/share/applications/corvane.desktop" || fail "desktop entry icon"
[ -s "$prefix/share/icons/hicolor/256x256/apps/corvane.png" ] || fail "no icon"

"$prefix/bin/corvane" --info "$prefix/share/corvane/sample-run/" >/dev/null || fail "the sample run does not load"
# The model service finds its catalogue under the prefix.
"$prefix/bin/corvane-model-service" --port 0 >"$prefix/service.log" 2>&1 &
service=$!
# Until it says so, or ends without: no deadline of ours (the test's own
# timeout stops a service that hangs), so a loaded machine only takes longer.
until grep -q "listening on" "$prefix/service.log"; do
  kill -0 "$service" 2>/dev/null || break
  sleep 0.1
done
kill "$service" 2>/dev/null || true
grep -q "listening on" "$prefix/service.log" || fail "the model service: $(cat "$prefix/service.log")"
# The installed program draws a scene with its own models (needs a display).
if [ -n "${DISPLAY:-}" ]; then
  mkdir -m 700 "$prefix/runtime"  # Qt warns without a runtime folder of its own
  export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$prefix/runtime}"
  "$prefix/bin/corvane" --screenshot "$prefix/space.png" --view space --size 160x120 \
    "$prefix/share/corvane/sample-run/" || fail "the space-suit scene from the prefix"
  [ -s "$prefix/space.png" ] || fail "no picture"
fi
echo "install-test: passed"
