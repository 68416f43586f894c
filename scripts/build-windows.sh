#!/usr/bin/env bash
# Builds the Windows programs with the MinGW Qt toolchain and lays each one out as a folder
# that runs on Windows as it is, then makes the installer:
#   build/windows/deploy/Tavlo_App/       the full edition
#   build/windows/deploy/Tavlo Updater/   the update-only edition
#   build/windows/installer/Tavlo-Setup-<version>.exe
# A folder whose program does not start under Wine is not shipped.
# Options: --ci builds only what the Wine tests and the installer smoke test need, and makes
# the installer with a quicker compression.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
ci=0
[ "${1:-}" = "--ci" ] && ci=1

"$root/scripts/setup-debian.sh"
"$root/scripts/windows/setup-debian.sh"
"$root/scripts/windows/toolchain.sh"

toolchain=$root/build/qt6-mingw
build=$root/build/windows
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake --preset windows "${launcher[@]}" >/dev/null
if [ $ci -eq 1 ]; then
    cmake --build --preset windows --target Tavlo_App Tavlo_Updater wine_tests
else
    cmake --build --preset windows
fi

. "$root/scripts/windows/wine-env.sh" "$build"
tavlo_wine_prepare
tavlo_wine_display
trap tavlo_wine_stop EXIT

version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
publisher=$(sed -n 's/^set(TAVLO_PUBLISHER "\([^"]*\)".*/\1/p' resources/CMakeLists.txt)
mkdir -p "$build/screenshots" "$build/installer"
ship() { # exe name, window title
    local folder="$build/deploy/${1%.exe}"
    "$root/scripts/windows/deploy.sh" "$toolchain" "$build/$1" "$folder.partial"
    if ! "$root/scripts/windows/start-check.sh" "$folder.partial/$1" "$2" "$build/screenshots/${1%.exe}.png"; then
        rm -rf "$folder.partial"
        echo "build-windows: $1 does not start from its folder under Wine, so it is not shipped."
        return 1
    fi
    rm -rf "$folder"
    mv "$folder.partial" "$folder"
}
ship Tavlo_App.exe "Tavlo Updater v$version"
ship "Tavlo Updater.exe" "Tavlo Updater"

setup="$build/installer/Tavlo-Setup-$version.exe"
fast=()
[ $ci -eq 1 ] && fast=(-DFAST_COMPRESSION)
makensis -V2 "${fast[@]}" -DVERSION="$version" -DPUBLISHER="$publisher" \
    -DAPPDIR="$build/deploy/Tavlo_App" -DUPDATER_EXE="$build/deploy/Tavlo Updater/Tavlo Updater.exe" \
    -DICON="$root/resources/icons/tavlo_windows_icon.ico" -DOUTFILE="$setup" installer/Tavlo.nsi
echo "build-windows: $build/deploy/Tavlo_App, $build/deploy/Tavlo Updater, $setup"
