#!/usr/bin/env bash
# Lays out a Windows program as a folder that runs on Windows as it is, from the MinGW Qt
# toolchain (Debian has no windeployqt). What it copies, and why, is all in this file:
#   - the exe itself, and the further programs named after OUT_DIR (the command-line program
#     beside the full edition), which share its DLLs;
#   - plugins/platforms/qwindows.dll   the window system plugin: without it Qt cannot start;
#   - plugins/tls/qschannelbackend.dll TLS through Windows' Schannel, for the HTTPS catalogue
#                                      and download (qcertonlybackend is not enough);
#   - plugins/imageformats/qico.dll    the .ico window icon (PNG is built into Qt);
#   - the QML modules the window documents import: QtQml (with its WorkerScript and Models),
#     QtQuick, QtQuick/Window, QtQuick/Templates, QtQuick/Layouts, QtQuick/Controls with the
#     Basic and Material styles and their impl parts, QtQuick/Dialogs with the folder list
#     model its file dialog draws with (the programs' own modules, Tavlo_App,
#     Tavlo Updater and Tavlo_Controls, are compiled into the exe);
#   - every DLL the exe, the plugins and the QML plugins import that the toolchain's bin/
#     holds, followed transitively (the Qt DLLs, rtmidi.dll and the MinGW runtime DLLs
#     libstdc++-6, libgcc_s_seh-1, libwinpthread-1); system DLLs are left to Windows;
#   - (everything stripped of its symbols)
#   - qt.conf, so that Qt looks for the plugins and QML modules beside the exe.
# Usage: deploy.sh TOOLCHAIN_DIR EXE OUT_DIR [FURTHER_EXE...]
set -euo pipefail

toolchain=$1
exe=$2
out=$3
further=("${@:4}")
objdump=x86_64-w64-mingw32-objdump

say() { echo "deploy: $*"; }

for e in "$exe" "${further[@]}"; do
    [ -f "$e" ] || { say "$e was not built"; exit 1; }
done
rm -rf "$out"
mkdir -p "$out"
cp "$exe" "${further[@]}" "$out/"

plugins=(platforms/qwindows.dll tls/qschannelbackend.dll imageformats/qico.dll)
for p in "${plugins[@]}"; do
    mkdir -p "$out/plugins/$(dirname "$p")"
    cp "$toolchain/plugins/$p" "$out/plugins/$p"
done

qml_modules=(QtQml QtQuick/Window QtQuick/Templates QtQuick/Layouts
             QtQuick/Controls/Basic QtQuick/Controls/Material QtQuick/Controls/impl
             QtQuick/Dialogs Qt/labs/folderlistmodel)
mkdir -p "$out/qml/QtQuick/Controls"
for f in qmldir plugins.qmltypes qtquick2plugin.dll; do
    cp "$toolchain/qml/QtQuick/$f" "$out/qml/QtQuick/"
done
for f in qmldir plugins.qmltypes qtquickcontrols2plugin.dll; do
    cp "$toolchain/qml/QtQuick/Controls/$f" "$out/qml/QtQuick/Controls/"
done
for m in "${qml_modules[@]}"; do
    mkdir -p "$out/qml/$(dirname "$m")"
    cp -r "$toolchain/qml/$m" "$out/qml/$m"
done
# Debug symbols and design-time files are not needed to run.
find "$out/qml" \( -name '*.debug' -o -name 'designer' \) -prune -exec rm -rf {} +

cat > "$out/qt.conf" <<'CONF'
[Paths]
Prefix = .
Plugins = plugins
QmlImports = qml
CONF

# The DLLs imported by everything copied so far, transitively, from the toolchain's bin/.
declare -A seen=()
queue=()
while IFS= read -r -d '' f; do queue+=("$f"); done < <(find "$out" \( -name '*.exe' -o -name '*.dll' \) -print0)
while [ ${#queue[@]} -gt 0 ]; do
    f=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r dll; do
        key=${dll,,}
        [ -n "${seen[$key]:-}" ] && continue
        seen[$key]=1
        if [ -f "$toolchain/bin/$dll" ]; then
            cp "$toolchain/bin/$dll" "$out/"
            queue+=("$out/$dll")
        fi
    done < <("$objdump" -p "$f" | sed -n 's/^\s*DLL Name: //p')
done
# The toolchain's DLLs carry their symbols; a shipped folder does not need them.
find "$out" \( -name '*.exe' -o -name '*.dll' \) -print0 | xargs -0 x86_64-w64-mingw32-strip --strip-unneeded
say "$(basename "$exe") laid out in $out ($(find "$out" -type f | wc -l) files, $(du -sh "$out" | cut -f1))"
