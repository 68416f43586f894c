#!/usr/bin/env bash
# Builds everything and runs every test: the native build with CTest, and the
# Windows-only sources cross-compiled with MinGW. Re-runnable.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

cmake --preset default
cmake --build --preset default

echo "== Windows-only sources (MinGW cross-compile)"
cmake -S tests/windows -B build/mingw -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/tests/windows/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DTAVLO_HOST_QT_HEADERS="$(pkg-config --variable=includedir Qt6Core)" \
    -DTAVLO_HOST_RTMIDI_HEADERS="$(pkg-config --variable=includedir rtmidi)"
cmake --build build/mingw

echo "== Tests"
ctest --preset default
