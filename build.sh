#!/bin/sh
# The two jobs of the README.
#   ./build.sh        installs what is missing and builds everything
#   ./build.sh test   installs what is missing, builds and runs every test:
#                     the unit and tool tests, then the fuzz targets briefly
#                     over their seed corpora (clang, sanitizers)
set -eu
cd "$(dirname "$0")"
mode=${1:-main}
jobs=$(nproc 2>/dev/null || echo 2)

case "$mode" in
main)
    ./setup.sh
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DMIRVEX_BUILD_TESTS=OFF -DMIRVEX_BUILD_BENCH=OFF
    cmake --build build
    echo "Built: $(ls build/bin | tr '\n' ' ')"
    ;;
test)
    ./setup.sh --tests
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DMIRVEX_BUILD_TESTS=ON -DMIRVEX_BUILD_BENCH=ON
    cmake --build build
    ctest --test-dir build --output-on-failure -j"$jobs"
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DMIRVEX_FUZZ=ON
    cmake --build build-fuzz
    ctest --test-dir build-fuzz --output-on-failure -j"$jobs"
    ;;
*)
    echo "usage: ./build.sh [test]" >&2
    exit 2
    ;;
esac
