#!/usr/bin/env bash
# The demo under Wine: each edition plays its flows (the full edition the update and the
# transfer, the update-only edition the update) against the simulated instrument, with the
# software renderer. The release server runs on the Linux side (tavlo_demo_server from the
# native build; under Wine no program can serve HTTPS): the demo reaches it over loopback and
# trusts its certificate authority (--server-ca), which under Windows it puts into the
# current user's root certificate store for its run (Wine's TLS does not take the
# authorities handed to Qt) and takes out again when it ends. The event log and the
# screenshots are checked as the Linux demo's are (tests/e2e/check_demo_log.py), and every
# screenshot must show more than a blank fill.
# Usage: demo-check.sh WINDOWS_BUILD_FOLDER TAVLO_DEMO_SERVER
# Needs WINEPREFIX and DISPLAY (scripts/windows/wine-env.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1
server=$2
say() { echo "demo-check: $*"; }

cd "$build"
# A demo that was killed could not take its server's authority out of the store again, and a
# stale authority of the same name breaks the chain to the next server's ("The signature of
# the certificate is invalid"): the prefix is this build's own, so its user root store starts
# empty.
wine reg delete 'HKCU\Software\Microsoft\SystemCertificates\Root\Certificates' /f >/dev/null 2>&1 || true
# Every run downloads afresh (the Linux demo gets a fresh cache folder the same way).
rm -rf "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Tavlo/cache/updates"
for edition in full updater; do
    exe=tavlo_demo.exe
    [ $edition = updater ] && exe=tavlo_demo_updater.exe
    out=demo-output-$edition
    python3 "$root/tests/e2e/check_demo_log.py" "$exe" "$out" $edition \
        --launcher "$here/wine-run.sh" --server-program "$server" \
        --demo-arg=--software-render --timeout 400
    for shot in "$out"/screenshots/*.png; do
        colours=$(convert "$shot" -format %k info:)
        [ "$colours" -ge 16 ] || { say "$shot shows nothing but a fill ($colours colours)"; exit 1; }
    done
    say "$edition edition: both sides checked, screenshots in $build/$out/screenshots"
done
# Each demo took its server's authority out of the store again when it ended.
left=$(wine reg query 'HKCU\Software\Microsoft\SystemCertificates\Root\Certificates' 2>/dev/null \
    | tr -d '\r' | grep -c '\\Certificates\\' || true)
[ "$left" -eq 0 ] || { say "the demo left $left certificate(s) in the user's root store"; exit 1; }
say "the user's root store is as it was before the demo"
