#!/usr/bin/env bash
# The whole test run: install what is missing, build, run every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${TARVEK_BUILD_DIR:-build}" --output-on-failure -j"$(nproc)"
