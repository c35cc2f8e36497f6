#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Leafwright needs.
# Quick when everything is already there: only missing packages are installed.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config ccache
  # libraries
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins libqt6svg6
  libfreeimage-dev libcurl4-openssl-dev libpugixml-dev libcpp-httplib-dev libtiff-dev
  # tests, benchmarks, fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev libtiff-tools clang libclang-rt-14-dev
  xvfb xauth imagemagick curl
  # fonts: Japanese user interface and page texts, metric twins of the Windows faces
  fonts-noto-cjk fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2
  # desktop integration
  shared-mime-info desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
