#!/usr/bin/env bash
# Unpacks the MinGW Qt toolchain into build/qt6-mingw once, after checking its SHA-256.
# Looks in TAVLO_TOOLCHAINS, else in ../shared/toolchains beside the tree (or one level up).
# Says in one sentence what is wrong when the archive is missing or damaged.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
archive_name=qt6-mingw-6.4.2.tar.xz
dest=$root/build/qt6-mingw
stamp=$dest/.unpacked-from

candidates=()
[ -n "${TAVLO_TOOLCHAINS:-}" ] && candidates+=("$TAVLO_TOOLCHAINS")
candidates+=("$root/../shared/toolchains" "$root/../../shared/toolchains")
archive=""
for dir in "${candidates[@]}"; do
    if [ -f "$dir/$archive_name" ]; then archive=$dir/$archive_name; break; fi
done
if [ -z "$archive" ]; then
    echo "build-windows: the Windows toolchain $archive_name is not in ../shared/toolchains (nor in TAVLO_TOOLCHAINS); put it there with its .sha256 file." >&2
    exit 1
fi
if [ ! -f "$archive.sha256" ]; then
    echo "build-windows: $archive has no checksum file beside it ($archive_name.sha256), so it cannot be trusted." >&2
    exit 1
fi
expected=$(awk '{print $1; exit}' "$archive.sha256")
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$expected" ] && [ -f "$dest/mingw.cmake" ]; then
    exit 0
fi
actual=$(sha256sum "$archive" | awk '{print $1}')
if [ "$actual" != "$expected" ]; then
    echo "build-windows: $archive is damaged (its SHA-256 is not the one in $archive_name.sha256); copy it again." >&2
    exit 1
fi
rm -rf "$dest" "$dest.partial"
mkdir -p "$dest.partial"
if ! tar -C "$dest.partial" -xf "$archive" || [ ! -f "$dest.partial/qt6-mingw/mingw.cmake" ]; then
    rm -rf "$dest.partial"
    echo "build-windows: $archive could not be unpacked into a usable toolchain." >&2
    exit 1
fi
mv "$dest.partial/qt6-mingw" "$dest"
rmdir "$dest.partial"
echo "$expected" > "$stamp"
echo "build-windows: toolchain unpacked into $dest"
