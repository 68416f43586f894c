#!/usr/bin/env bash
# Installs the Debian packages the Windows stage needs on top of scripts/setup-debian.sh:
# Qt's shader tools on the host side of the cross build, Wine to run the programs and tests,
# NSIS for the installer, and the X tools that find, picture and check the windows.
set -euo pipefail
packages=(qt6-shadertools-dev g++-mingw-w64-x86-64-posix wine wine64 nsis
          xvfb xauth x11-apps x11-utils imagemagick)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { echo "setup-windows: all packages are installed"; exit 0; }
echo "setup-windows: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
