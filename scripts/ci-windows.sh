#!/usr/bin/env bash
# The Windows stage of CI: builds with the MinGW Qt toolchain only what its checks need, runs
# the Windows tests under Wine through CTest, starts both programs from their folders and the
# command-line program beside the full edition, plays the demo's flows under Wine (the full
# edition the update and the transfer, the update-only edition the update) against the release
# server on the Linux side, and installs the installer over an older release, starts the
# installed program and uninstalls it. Prints its wall time, and the time elapsed as each
# step starts.
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
step "building the demo"
(cd "$root" && cmake --build --preset windows --target tavlo_demo tavlo_demo_updater)
# The demo's release server runs on the Linux side (under Wine no program can serve HTTPS):
# from the native build, built here when it is not there yet.
server=$root/build/default/demo/tavlo_demo_server
if [ ! -x "$server" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    (cd "$root" && cmake --preset default "${launcher[@]}" >/dev/null \
        && cmake --build --preset default --target tavlo_demo_server)
fi

. "$root/scripts/windows/wine-env.sh" "$build"
tavlo_wine_display
trap 'tavlo_wine_stop; finish' EXIT
tavlo_wine_warm
step "the tests under Wine"
ctest --test-dir "$build" -j2 --output-on-failure --timeout 120 -R "$(cat "$build/wine-tests.txt")"

step "the demo under Wine"
"$root/scripts/windows/demo-check.sh" "$build" "$server"

step "the installer over the older release"
"$root/scripts/windows/installer-check.sh" "$build/installer/Tavlo-Setup-$project_version.exe" \
    "$build/older/installer/Tavlo-Setup-$older.exe" "$build/screenshots/installed-Tavlo_App.png" \
    "$build/deploy/Tavlo_App"
