#!/usr/bin/env bash
# Installs the Debian packages that building and running the programmer need;
# with --test, also those of the tests, the fuzz targets and packaging.
# Idempotent: when everything is present already, it changes nothing and needs no network.
#   scripts/setup.sh [--test]
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config make
  qtbase5-dev
  libusb-1.0-0-dev
  umockdev libumockdev-dev libglib2.0-dev
)
if [ "${1:-}" = "--test" ]; then
  PACKAGES+=(
    libgtest-dev libgmock-dev googletest
    binutils srecord
    clang libclang-rt-14-dev
    help2man dpkg-dev file
  )
fi

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
