#!/usr/bin/env bash
# CTest's emulator for the Windows build (CMAKE_CROSSCOMPILING_EMULATOR): runs a test exe
# under Wine in the build folder's prefix, with the toolchain's DLLs on WINEPATH (Qt finds
# its plugins beside them). The CI stage script gives it a virtual display.
here=$(cd "$(dirname "$0")" && pwd)
build=${TAVLO_WINDOWS_BUILD:-$here/../../build/windows}
toolchain=${TAVLO_WINDOWS_TOOLCHAIN:-$here/../../build/qt6-mingw}
. "$here/wine-env.sh" "$build"
export WINEPATH="Z:$(cd "$toolchain/bin" && pwd | tr / '\\')"
exec wine "$@"
