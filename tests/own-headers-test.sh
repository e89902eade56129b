#!/usr/bin/env bash
# The build's check that internal/ headers stay with their library
# (cmake/CheckOwnHeaders.cmake): on a small tree of its own it lets a
# library and its internal headers name them, and stops a test that does,
# naming the file and the header.
set -euo pipefail
script=$1
cmake=${2:-cmake}
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/data/internal" "$tree/tests" "$tree/model/reader/internal" "$tree/model"
echo '#pragma once' >"$tree/data/internal/Grid.h"
printf '#include "internal/Grid.h"\n' >"$tree/data/internal/Other.h"
printf '#include "internal/Grid.h"\n' >"$tree/data/Load.cpp"
echo '#pragma once' >"$tree/model/reader/internal/Text.h"
printf '#include "internal/Text.h"\n' >"$tree/model/reader/Reader.cpp"
printf '#include "Load.h"\n' >"$tree/tests/LoadTest.cpp"
"$cmake" -DROOT="$tree" -P "$script"

check_refused() {  # FILE HEADER: the check stops, naming both
  if out=$("$cmake" -DROOT="$tree" -P "$script" 2>&1); then
    echo "own-headers-test: $1 including $2 was let through" >&2
    exit 1
  fi
  grep -qF "$1 includes \"$2\", which is another library's own" <<<"$out" || {
    echo "own-headers-test: the check did not name $1 and $2:" >&2
    echo "$out" >&2
    exit 1
  }
}
printf '#include "internal/Grid.h"\n' >"$tree/tests/LoadTest.cpp"
check_refused tests/LoadTest.cpp internal/Grid.h
printf '#include "Load.h"\n' >"$tree/tests/LoadTest.cpp"
# A folder above a library is another library too.
printf '  #  include "internal/Text.h"\n' >"$tree/model/OBJ.cpp"
check_refused model/OBJ.cpp internal/Text.h
rm "$tree/model/OBJ.cpp"
# Nor through a path of another folder, or in angle brackets, from any folder.
printf '#include "reader/internal/Text.h"\n' >"$tree/model/OBJ.cpp"
check_refused model/OBJ.cpp reader/internal/Text.h
rm "$tree/model/OBJ.cpp"
mkdir -p "$tree/newfolder"
printf '#include <internal/Grid.h>\n' >"$tree/newfolder/Use.cpp"
check_refused newfolder/Use.cpp internal/Grid.h
echo "own-headers-test: passed"
