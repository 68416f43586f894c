# Sourced by the Windows stage's scripts: Wine in a private prefix under the build folder and
# a virtual display. Usage: . scripts/windows/wine-env.sh BUILD_DIR
tavlo_wine_build=${1:?build folder}
export WINEPREFIX="$tavlo_wine_build/wineprefix"
export WINEDEBUG=-all
# No .NET or web engine installers, no desktop menu entries on the Linux side, no sound
# devices (the programs use MIDI only, and Wine's ALSA driver talks loudly without a card).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv=d"
export WINEARCH=win64

tavlo_wine_prepare() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        echo "wine: creating the prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || { echo "wine: could not create the prefix $WINEPREFIX"; return 1; }
        wineserver -w
    fi
}

# Keeps one Wine server running for the whole stage, started before the tests start in
# parallel (several first starts at once against a cold server fail without a word).
tavlo_wine_warm() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display unless one is given; tavlo_wine_stop ends it.
tavlo_wine_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        tavlo_xvfb_pid=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$tavlo_xvfb_pid" 2>/dev/null
    done
    echo "wine: no virtual display could be started"
    return 1
}

tavlo_wine_stop() {
    wineserver -k 2>/dev/null || true
    if [ -n "${tavlo_xvfb_pid:-}" ]; then
        kill "$tavlo_xvfb_pid" 2>/dev/null || true
        wait "$tavlo_xvfb_pid" 2>/dev/null || true
        tavlo_xvfb_pid=""
    fi
}
