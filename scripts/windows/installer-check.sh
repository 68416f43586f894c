#!/usr/bin/env bash
# The installer's smoke test under Wine: installs silently (/S) over an older install to check
# the in-place upgrade (every file of the new release in place byte for byte, nothing of the
# older one left beside it, the uninstall entry showing the new version), starts the
# installed program and checks its window, uninstalls and checks that nothing of it is left
# (files, Start menu entries, registry keys).
# Usage: installer-check.sh SETUP.exe OLDER_SETUP.exe|"" SCREENSHOT.png [DEPLOYED_FOLDER]
#   DEPLOYED_FOLDER: the folder the new installer was made from (deploy/Tavlo_App)
# Needs WINEPREFIX and DISPLAY (scripts/windows/wine-env.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=$1
older=$2
shot=$3
deployed=${4:-}
say() { echo "installer-check: $*"; }
fail() { say "$*"; exit 1; }

dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Tavlo"
menu_root="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tavlo"

# wine returns when the silent installer ends (the stage keeps one persistent Wine server, so
# "wineserver -w" would wait for ever).
install() { wine "$1" /S /CurrentUser; }

if [ -n "$older" ]; then
    install "$older" || fail "the older installer failed"
    [ -f "$dir/Tavlo_App.exe" ] || fail "the older installer left no Tavlo_App.exe in $dir"
    touch "$dir/qml/left-by-the-older-version.txt"
    older_exe=$(sha256sum "$dir/Tavlo_App.exe" | cut -d' ' -f1)
fi
install "$setup" || fail "the installer failed"
if [ -n "$deployed" ]; then
    (cd "$deployed" && find . -type f) | while read -r f; do
        cmp -s "$deployed/$f" "$dir/$f" || { echo "$f"; break; }
    done | grep . && fail "the upgrade did not put the new release's files in place (above)"
fi
if [ -n "$older" ] && [ "$(sha256sum "$dir/Tavlo_App.exe" | cut -d' ' -f1)" = "$older_exe" ]; then
    fail "the upgrade left the older Tavlo_App.exe in place"
fi
for f in Tavlo_App.exe tavlo.exe Uninstall.exe qt.conf Qt6Quick.dll rtmidi.dll plugins/platforms/qwindows.dll; do
    [ -e "$dir/$f" ] || fail "the install lacks $f"
done
[ -e "$dir/qml/left-by-the-older-version.txt" ] && fail "the upgrade left a file of the older version behind"
[ -f "$menu_root/Tavlo.lnk" ] || fail "no Start menu entry for Tavlo"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo' /v DisplayVersion 2>/dev/null \
    | grep -q "$(basename "$setup" .exe | sed 's/^Tavlo-Setup-//')" || fail "the uninstall entry lacks the version"
say "installed into $dir"

"$here/start-check.sh" "$dir/Tavlo_App.exe" "Tavlo" "$shot" || fail "the installed program did not show its window"

wine "$dir/Uninstall.exe" /S /CurrentUser
for _ in $(seq 60); do [ -e "$dir" ] || break; sleep 0.5; done # the uninstaller runs from a copy
[ -e "$dir" ] && fail "the uninstaller left $(find "$dir" | head -5 | tr '\n' ' ')"
[ -e "$menu_root" ] && fail "the uninstaller left the Start menu folder"
wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo' >/dev/null 2>&1 \
    && fail "the uninstaller left its registry entry"
say "installed, started, uninstalled; nothing left"
