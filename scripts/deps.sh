#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev
  libxcb1-dev
  libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont
  poppler-utils  # pdfinfo and pdftocairo: the printing tests read the printed pages
  xvfb openbox libxcb-xtest0-dev  # "台帳へ" is tested on a virtual X server with a window manager
)
# Tools only some commands need (the sample run on a virtual screen).
read -r -a extra <<< "${TARVEK_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
