#!/usr/bin/env bash
# Configures and builds into build/ (or $TARVEK_BUILD_DIR), with any further CMake
# options in $TARVEK_CMAKE_ARGS (such as -DTARVEK_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${TARVEK_BUILD_DIR:-build}"
read -r -a extra_args <<< "${TARVEK_CMAKE_ARGS:-}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra_args[@]}"
cmake --build "$build_dir" -j"$(nproc)"
