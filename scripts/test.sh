#!/usr/bin/env bash
# Builds everything and runs every test: the native build with CTest, the Windows-only
# sources cross-compiled with MinGW, the Debian packages installed and started, the whole
# suite once more under AddressSanitizer and UndefinedBehaviorSanitizer, every fuzz target
# for 30 s, and the Windows programs built with the MinGW Qt toolchain from
# ../shared/toolchains, tested under Wine (the unit tests, both programs, the installer).
# Re-runnable. Prints each stage's wall time and the total.
set -euo pipefail
cd "$(dirname "$0")/.."

run_start=$(date +%s)
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

stage "Debian packages (build, install, start, purge)"
bash scripts/ci-package.sh
stage_done "Debian packages (build, install, start, purge)"

stage "Tests under ASan and UBSan"
bash scripts/ci-sanitizers.sh
stage_done "Tests under ASan and UBSan"

stage "Fuzzing"
bash scripts/ci-fuzz.sh
stage_done "Fuzzing"

stage "Windows (MinGW build, tests under Wine, installer)"
bash scripts/ci-windows.sh
stage_done "Windows (MinGW build, tests under Wine, installer)"

echo "== All stages took $(( $(date +%s) - run_start )) s"
