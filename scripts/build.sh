#!/usr/bin/env bash
# Configures (once) and builds the project into build/ with CMake and Ninja.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QINGLAN_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
