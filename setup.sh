#!/bin/sh
# Installs the Debian packages the project needs, only those that are missing.
# Usage: ./setup.sh          build and run dependencies
#        ./setup.sh --tests  also what the tests, benchmarks and fuzz targets need
set -eu

BUILD_PKGS="build-essential cmake ninja-build pkg-config zlib1g-dev qt6-base-dev \
qt6-multimedia-dev qt6-svg-dev libxlsxwriter-dev libyaml-cpp-dev fonts-liberation2 \
fonts-dejavu-core gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav"
TEST_PKGS="libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth python3 python3-openpyxl \
poppler-utils lua5.4 fp-compiler clang-14 libclang-rt-14-dev"

pkgs="$BUILD_PKGS"
[ "${1:-}" = "--tests" ] && pkgs="$pkgs $TEST_PKGS"

missing=""
for p in $pkgs; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
