#!/usr/bin/env bash
# CI stage: the packages on a machine that only has them. Builds and checks the .deb files
# (scripts/package.sh), installs "tavlo" with dpkg and its dependencies with apt-get, starts
# the installed full edition on a virtual display, checks that its window comes up with the
# logo and that nothing is missing on stderr, stops it and purges the package. Prints its
# wall time. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

bash scripts/package.sh
deb=$(ls build/default/packages/tavlo_*.deb)
out=build/default/package-smoke
rm -rf "$out"
mkdir -p "$out"

cleanup() {
    if [ -n "${app_pid:-}" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
    fi
    $SUDO dpkg --purge tavlo >/dev/null 2>&1 || true
}
trap cleanup EXIT

echo "== installing $deb"
$SUDO dpkg -i "$deb" || $SUDO apt-get -f install -y -q --no-install-recommends
dpkg-query -W -f='${Status}\n' tavlo | grep -q "install ok installed"
test -x /usr/bin/tavlo-app
test -f /usr/share/applications/com.tavlo_instruments.Tavlo.desktop
test -f /usr/share/icons/hicolor/512x512/apps/com.tavlo_instruments.Tavlo.png

echo "== the command-line program"
# It starts without a display, answers --version, and says plainly that no instrument is there.
env -u DISPLAY /usr/bin/tavlo --version | grep -q "^tavlo "
env -u DISPLAY /usr/bin/tavlo --help | grep -q "Exit codes:"
set +e
env -u DISPLAY /usr/bin/tavlo list 2>"$out/cli-stderr.log"
code=$?
set -e
# Without an instrument: "No instrument found" (3); on a machine without a MIDI system (CI's):
# that one sentence alone, nothing of the MIDI library's (14).
lines=$(wc -l < "$out/cli-stderr.log")
listed=false
case "$code" in
    3) grep -q "No instrument found" "$out/cli-stderr.log" && listed=true ;;
    14) grep -q "MIDI system could not be opened" "$out/cli-stderr.log" && [ "$lines" = 1 ] && listed=true ;;
esac
if [ "$listed" != true ]; then
    echo "ci-package: tavlo list gave exit code $code:" >&2
    cat "$out/cli-stderr.log" >&2
    exit 1
fi

echo "== starting /usr/bin/tavlo-app on a virtual display"
# The installed program, not the build tree's: no QML import path or plugin path is set.
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$PWD/$out/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
display=:97
Xvfb $display -screen 0 800x900x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
trap 'cleanup; kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e /tmp/.X11-unix/X97 ] && break
    sleep 0.1
done
DISPLAY=$display /usr/bin/tavlo-app >"$out/stdout.log" 2>"$out/stderr.log" &
app_pid=$!

# The window is up when a screenshot of the screen shows the logo's teal.
shown=0
for _ in $(seq 30); do
    sleep 1
    if ! kill -0 "$app_pid" 2>/dev/null; then
        break
    fi
    DISPLAY=$display python3 scripts/screen_shows_logo.py "$out/screen.png" && { shown=1; break; }
done

if kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
else
    echo "ci-package: the installed program ended by itself"
    shown=0
fi
echo "-- stderr of the installed program:"
cat "$out/stderr.log"
# The program's own log lines (category "tavlo.*") are left out: with no network here, the
# catalogue check fails and says so, as it should.
if grep -Ev "^tavlo\." "$out/stderr.log" \
        | grep -Ei "module .* is not installed|not found|could not|cannot|failed to load"; then
    echo "ci-package: FAIL: the installed program reports something missing"
    exit 1
fi
if [ "$shown" -ne 1 ]; then
    echo "ci-package: FAIL: no window with the logo appeared"
    exit 1
fi
echo "ci-package: the window with the logo appeared ($out/screen.png)"

echo "== purging"
$SUDO dpkg --purge tavlo
! test -e /usr/bin/tavlo-app
! test -e /usr/bin/tavlo

echo "== Package smoke test took $(( $(date +%s) - start )) s"
