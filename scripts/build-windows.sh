#!/usr/bin/env bash
# Builds the Windows programs with the MinGW Qt toolchain and lays each one out as a folder
# that runs on Windows as it is, then makes the installer:
#   build/windows/deploy/Tavlo_App/       the full edition, with the command-line program
#                                         tavlo.exe beside it (the same DLLs)
#   build/windows/deploy/Tavlo Updater/   the update-only edition
#   build/windows/installer/Tavlo-Setup-<version>.exe
# A folder whose program does not start under Wine is not shipped.
# Options:
#   --ci           build only what the Wine tests, the programs and the installer smoke
#                  test need, and make the installer with a quicker compression
#   --version V    the version of the programs and the installer
#                  (default: the project's); the installer check makes an older release so
#   --out DIR      put deploy/, installer/ and screenshots/ there instead of build/windows
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
toolchain=$root/build/qt6-mingw
build=$root/build/windows
project_version=$(sed -n 's/^project(Tavlo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
ci=0
version=$project_version
out=$build
while [ $# -gt 0 ]; do
    case "$1" in
        --ci) ci=1 ;;
        --version) version=${2:?--version takes a version}; shift ;;
        --out) out=${2:?--out takes a folder}; shift ;;
        *) echo "build-windows: unknown option $1 (--ci, --version V, --out DIR)" >&2; exit 2 ;;
    esac
    shift
done
override=""
[ "$version" != "$project_version" ] && override=$version

"$root/scripts/setup-debian.sh"
"$root/scripts/windows/setup-debian.sh"
"$root/scripts/windows/toolchain.sh"

# What CI builds: the programs and the tests that run under Wine (wine_tests, from
# tests/CMakeLists.txt). A further program of the Windows build joins this list and gets a
# ship line below (the installer takes the full edition's folder whole; its uninstall section
# names each exe).
ci_targets=(Tavlo_App Tavlo_Cli Tavlo_Updater wine_tests)

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake --preset windows "${launcher[@]}" -DTAVLO_VERSION_OVERRIDE="$override" >/dev/null
if [ $ci -eq 1 ]; then
    cmake --build --preset windows --target "${ci_targets[@]}"
else
    cmake --build --preset windows
fi

. "$root/scripts/windows/wine-env.sh" "$build"
tavlo_wine_prepare
tavlo_wine_display
trap tavlo_wine_stop EXIT

publisher=$(sed -n 's/^set(TAVLO_PUBLISHER "\([^"]*\)".*/\1/p' resources/CMakeLists.txt)
mkdir -p "$out/screenshots" "$out/installer"
ship() { # exe name, window title, [the command-line program's exe, shipped beside it]
    local folder="$out/deploy/${1%.exe}"
    local cli=${3:-}
    "$root/scripts/windows/deploy.sh" "$toolchain" "$build/$1" "$folder.partial" ${cli:+"$build/$cli"}
    if ! "$root/scripts/windows/start-check.sh" "$folder.partial/$1" "$2" "$out/screenshots/${1%.exe}.png"; then
        rm -rf "$folder.partial"
        echo "build-windows: $1 does not start from its folder under Wine, so it is not shipped."
        return 1
    fi
    if [ -n "$cli" ] && ! "$root/scripts/windows/cli-check.sh" "$folder.partial/$cli" "$version"; then
        rm -rf "$folder.partial"
        echo "build-windows: $cli does not answer as documented from its folder under Wine, so $1's folder is not shipped."
        return 1
    fi
    rm -rf "$folder"
    mv "$folder.partial" "$folder"
}
ship Tavlo_App.exe "Tavlo" tavlo.exe
ship "Tavlo Updater.exe" "Tavlo Updater"

setup="$out/installer/Tavlo-Setup-$version.exe"
fast=()
[ $ci -eq 1 ] && fast=(-DFAST_COMPRESSION)
makensis -V2 "${fast[@]}" -DVERSION="$version" -DPUBLISHER="$publisher" \
    -DAPPDIR="$out/deploy/Tavlo_App" -DUPDATER_EXE="$out/deploy/Tavlo Updater/Tavlo Updater.exe" \
    -DICON="$root/resources/icons/tavlo_windows_icon.ico" -DOUTFILE="$setup" installer/Tavlo.nsi
echo "build-windows: $out/deploy/Tavlo_App (with tavlo.exe), $out/deploy/Tavlo Updater, $setup"
