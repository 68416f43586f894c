#!/usr/bin/env bash
# Builds the programs and starts the demo: the real full edition against the simulated
# instrument and a local release server, so both flows can be tried without the hardware.
# On a machine without a display it runs under a virtual one and plays the update and the
# transfer flow by itself, writing screenshots and an event log (it prints where).
# Arguments are passed to the demo (see --help), e.g. --releases FOLDER or --autoplay both.
# Re-runnable.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

cmake --preset default
cmake --build --preset default

demo=./build/default/demo/tavlo_demo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$demo" --out build/demo "$@"
fi
echo "run: no display here; playing both flows on a virtual display"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$demo" --autoplay both --out build/demo "$@"
