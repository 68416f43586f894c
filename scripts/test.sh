#!/usr/bin/env bash
# Builds everything and runs every test: the native build with CTest, and the
# Windows-only sources cross-compiled with MinGW. Re-runnable. Prints each stage's wall time.
set -euo pipefail
cd "$(dirname "$0")/.."

stage_start=0
stage() {
    stage_start=$(date +%s)
    echo "== $1"
}
stage_done() {
    echo "== $1 took $(( $(date +%s) - stage_start )) s"
}

stage "Set-up"
bash scripts/setup-debian.sh
stage_done "Set-up"

stage "Build"
cmake --preset default
cmake --build --preset default
stage_done "Build"

stage "Windows-only sources (MinGW cross-compile)"
cmake -S tests/windows -B build/mingw -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/tests/windows/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DTAVLO_HOST_QT_HEADERS="$(pkg-config --variable=includedir Qt6Core)" \
    -DTAVLO_HOST_RTMIDI_HEADERS="$(pkg-config --variable=includedir rtmidi)"
cmake --build build/mingw
stage_done "Windows-only sources (MinGW cross-compile)"

stage "Tests"
ctest --preset default
stage_done "Tests"
