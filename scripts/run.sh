#!/usr/bin/env bash
# Installs what is missing, builds, lays out a fresh program folder with the sample
# temple, and starts the full editor there, as the ledger would; with --tablet, the
# tablet edition.
#
# Without a display (no $DISPLAY) it runs the editor on a virtual X server, saves a
# screenshot of its window and ends it; the path of the screenshot is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
program=tarvek_pro
case "${1:-}" in
  "") ;;
  --tablet) program=tarvek_tablet ;;
  *) echo "usage: bash scripts/run.sh [--tablet]" >&2; exit 2 ;;
esac
bash scripts/deps.sh
if [ -z "${DISPLAY:-}" ]; then
  TARVEK_EXTRA_PACKAGES="xvfb x11-apps imagemagick" bash scripts/deps.sh
fi
bash scripts/build.sh
build_dir="${TARVEK_BUILD_DIR:-build}"

# The ledger keeps the editor and its exchange files in one folder.
folder=$(mktemp -d "${TMPDIR:-/tmp}/tarvek_sample.XXXXXX")
cp "$build_dir/app/$program" "$folder/"
cp -r samples/temple/. "$folder/"
# A fresh request: anything but "OK" in the fifth field.
printf '"墓地","","","明星寺","","本堂裏墓地"\r\n' | iconv -f UTF-8 -t CP932 > "$folder/選択図面.csv"
echo "Program folder: $folder"

if [ -n "${DISPLAY:-}" ]; then
  "$folder/$program"
  echo "Outcome line written back for the ledger:"
  iconv -f CP932 -t UTF-8 "$folder/選択図面.csv"
  exit 0
fi

display=:97
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$folder/$program" &
editor=$!
sleep 3
shot="$(cd "$build_dir" && pwd)/sample-window-$program.png"
DISPLAY=$display xwd -root -silent | convert xwd:- "$shot"
kill "$editor" 2>/dev/null || true
wait "$editor" 2>/dev/null || true
echo "No display here: the editor ran on a virtual screen. Screenshot: $shot"
