#!/usr/bin/env bash
# Builds the Debian packages "tavlo" (the full edition) and "tavlo-updater" (the update-only
# edition) into build/default/packages/ and checks them: desktop-file-validate on the menu
# entries, appstreamcli on the metainfo and lintian on the packages (no error allowed).
# Re-runnable; prints the packages' paths.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

cmake --preset default
cmake --build --preset default --target Tavlo_App Tavlo_Updater tavlo_package_files
rm -rf build/default/packages
(cd build/default && cpack -G DEB)

desktop-file-validate resources/desktop/*.desktop
for metainfo in build/default/packaging/staged/*/*.metainfo.xml; do
    appstreamcli validate --no-net --explain "$metainfo"
done
# Errors fail the packages; warnings are printed (the README says why each one is kept).
lintian --fail-on error --no-tag-display-limit build/default/packages/*.deb

echo "package: built and checked"
ls -1 "$PWD"/build/default/packages/*.deb
