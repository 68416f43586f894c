#!/usr/bin/env bash
# The Windows stage of CI: builds what the tests need with the MinGW Qt toolchain, runs the
# Windows tests under Wine through CTest, starts both programs from their folders, and
# installs, starts and uninstalls the installer. Prints its wall time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
finish() { echo "ci-windows: wall time $(( $(date +%s) - start )) s"; }
trap finish EXIT

"$root/scripts/build-windows.sh" --ci

build=$root/build/windows
. "$root/scripts/windows/wine-env.sh" "$build"
tavlo_wine_display
trap 'tavlo_wine_stop; finish' EXIT
tavlo_wine_warm
ctest --test-dir "$build" -j2 --output-on-failure --timeout 120 -R "$(cat "$build/wine-tests.txt")"

version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup="$build/installer/Tavlo-Setup-$version.exe"
# The installer over an earlier install of the same layout: the in-place upgrade.
"$root/scripts/windows/installer-check.sh" "$setup" "$setup" "$build/screenshots/installed-Tavlo_App.png"
