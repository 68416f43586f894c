#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the programs needs; with
# "demo", only what building and running the demo needs. Safe to run again; needs root (or
# sudo).
set -euo pipefail

# What the demo needs: the toolchain, Qt and its QML modules, MIDI, TLS, curl, a virtual display.
demo_packages=(
    # toolchain
    build-essential cmake ninja-build pkg-config git python3
    # Qt 6 and its tools (lupdate and lrelease for the translations)
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
    qt6-tools-dev qt6-l10n-tools
    libgl-dev libvulkan-dev
    # QML modules the windows and the QML tests import (not pulled in by dependency)
    qml6-module-qtqml qml6-module-qtquick qml6-module-qtquick-controls
    qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtquick-layouts
    qml6-module-qtqml-workerscript qml6-module-qttest
    # the file dialog of "Install from file..." (the folder list model draws its folder view)
    qml6-module-qtquick-dialogs qml6-module-qt-labs-folderlistmodel
    # MIDI
    librtmidi-dev libasound2-dev
    # download fallback, the test server's certificates
    curl openssl ca-certificates
    # the SHA-256 of the update file (libcrypto)
    libssl-dev
    # a display for the window when there is none
    xvfb xauth
)

# What the tests, benchmarks, fuzzing and packages need besides.
test_packages=(
    # the benchmarks measure the peak memory of other programs
    time
    # screenshots of the installed program (xwd)
    x11-apps
    # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
    clang libclang-rt-dev
    # the Debian packages: dependencies, checks of the packages and of their desktop files
    dpkg-dev file lintian desktop-file-utils appstream
    # the manual page's checks (groff -ww, lexgrog) and the completions' shells
    groff-base man-db zsh fish
    # the Windows-only sources, cross-compiled
    g++-mingw-w64-x86-64-posix
    # real volumes in the storage integration test
    e2fsprogs util-linux mount
)

packages=("${demo_packages[@]}")
if [ "${1:-}" != "demo" ]; then
    packages+=("${test_packages[@]}")
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages are installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
