#!/usr/bin/env bash
# Installs what is missing, builds, and starts the full editor on the sample temple.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
build_dir="${TARVEK_BUILD_DIR:-build}"
if [ ! -x "$build_dir/app/tarvek_pro" ]; then
  echo "Built the drawing document and its tests; the editor window itself is not built yet."
  exit 0
fi
exec "$build_dir/app/tarvek_pro"
