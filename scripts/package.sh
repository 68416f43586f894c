#!/usr/bin/env bash
# Builds the Debian packages "tavlo" (the full edition) and "tavlo-updater" (the update-only
# edition) into build/default/packages/ and checks them: desktop-file-validate on the menu
# entries, appstreamcli on the metainfo, and lintian --pedantic on the packages (no error,
# warning or pedantic tag allowed; an override in packaging/ says why it is one).
# Re-runnable; prints the packages' paths.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

cmake --preset default
cmake --build --preset default --target Tavlo_App Tavlo_Updater Tavlo_Cli tavlo_package_files
rm -rf build/default/packages
(cd build/default && cpack -G DEB)

desktop-file-validate resources/desktop/*.desktop
for metainfo in build/default/packaging/staged/*/*.metainfo.xml; do
    appstreamcli validate --no-net --explain "$metainfo"
done
lintian --pedantic --fail-on error,warning,pedantic --tag-display-limit 0 build/default/packages/*.deb

echo "package: built and checked"
ls -1 "$PWD"/build/default/packages/*.deb
