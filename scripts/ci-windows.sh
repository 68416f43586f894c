#!/usr/bin/env bash
# The Windows stage of CI: builds with the MinGW Qt toolchain only what its checks need, runs
# the Windows tests under Wine through CTest, starts both programs from their folders, and
# installs the installer over an older release, starts the installed program and uninstalls
# it. Prints its wall time. (The demo under Wine, scripts/windows/demo-check.sh, is not part
# of it yet: Wine's TLS does not complete the handshake with the release server.)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
finish() { echo "ci-windows: wall time $(( $(date +%s) - start )) s"; }
trap finish EXIT
step() { echo "ci-windows: $1 ($(( $(date +%s) - start )) s)"; }

# An older release to upgrade from: the same programs with an earlier version in the full
# edition's file properties and in the installer. Built first, so that the tree ends with the
# current version.
project_version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
IFS=. read -r major minor patch <<<"$project_version"
if [ "$patch" -gt 0 ]; then older=$major.$minor.$((patch - 1)); else older=$major.$((minor - 1)).99; fi
build=$root/build/windows
step "building the older release $older"
"$root/scripts/build-windows.sh" --ci --version "$older" --out "$build/older"
step "building the current release $project_version"
"$root/scripts/build-windows.sh" --ci

. "$root/scripts/windows/wine-env.sh" "$build"
tavlo_wine_display
trap 'tavlo_wine_stop; finish' EXIT
tavlo_wine_warm
step "the tests under Wine"
ctest --test-dir "$build" -j2 --output-on-failure --timeout 120 -R "$(cat "$build/wine-tests.txt")"

step "the installer over the older release"
"$root/scripts/windows/installer-check.sh" "$build/installer/Tavlo-Setup-$project_version.exe" \
    "$build/older/installer/Tavlo-Setup-$older.exe" "$build/screenshots/installed-Tavlo_App.png" \
    "$build/deploy/Tavlo_App"
