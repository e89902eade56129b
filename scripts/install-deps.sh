#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test, and
# the German locale that the locale tests switch to. Idempotent: packages
# already present are skipped, apt is not touched at all when nothing is
# missing, and the locale is compiled only when it does not load.
set -euo pipefail

# fonts-droid-fallback: the full-width colon of the 3D page's captions, which
# neither Liberation nor DejaVu has. libboost-dev: Boost.Beast and Boost.Asio,
# the model service's HTTP server (header-only); libcpp-httplib-dev stays for
# the tests' clients and misbehaving servers. wrk: the load of bench_service.
# poppler-utils: the figure tests read a PDF's words and their boxes with
# pdftotext. The FFmpeg libraries write movies (H.264 through libx264, which libavcodec
# brings along) and read them back in the tests. libegl-dev, libegl-mesa0: the
# 3D scenes' own GL context where there is no display (EGL, surfaceless).
# libtomlplusplus-dev: batch files. slurm-wlm, munge: the test that runs a
# batch as an array job on a one-node Slurm of its own. dpkg-dev: the Debian
# package's dependencies, worked out from the binaries (dpkg-shlibdeps);
# qt6-qpa-plugins: Qt's platforms, which the package names and the test that
# installs it finds present. pybind11-dev, python3-dev: the Python module,
# built for Debian's own python3; python3-numpy, python3-pandas: its
# DataFrames; python3-pytest, python3-distributed: its tests (a local Dask
# cluster of worker processes).
PACKAGES=(
  cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-svg-dev libfontconfig-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0
  libfast-float-dev libtinyobjloader-dev libcpp-httplib-dev libboost-dev
  libgtest-dev libbenchmark-dev wrk
  pkg-config libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  xvfb xauth fonts-liberation2 fonts-dejavu-core fonts-droid-fallback locales poppler-utils
  libtomlplusplus-dev slurm-wlm munge dpkg-dev qt6-qpa-plugins
  pybind11-dev python3-dev python3-numpy python3-pandas python3-pytest python3-distributed
)

SUDO=""
if [ "$(id -u)" != "0" ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A locale with a decimal comma: numbers must read the same under it. Asking
# `locale` with the locale set tells whether it really loads (a listed name
# or a folder is not proof).
german_loads() {
  [ "$(LC_ALL=de_DE.UTF-8 locale decimal_point 2>/dev/null)" = "," ]
}
if ! german_loads; then
  echo "Generating the de_DE.UTF-8 locale"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
  german_loads || { echo "install-deps: the de_DE.UTF-8 locale does not load after localedef" >&2; exit 1; }
fi
