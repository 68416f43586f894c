#!/usr/bin/env bash
# Builds the demo and starts it: the real full edition against the simulated instrument and a
# local release server, so both flows can be tried without the hardware. It installs and
# builds only what the demo needs (the two demo programs, not the tests, benchmarks or
# packages); scripts/test.sh builds the rest.
# On a machine without a display it runs under a virtual one and plays the update and the
# transfer flow by itself, writing screenshots and an event log (it prints where).
# Arguments are passed to the demo (see --help), e.g. --releases FOLDER or --autoplay both.
# Re-runnable.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$(date +%s)
bash scripts/setup-debian.sh demo
installed=$(date +%s)

cmake --preset default
echo "run: building the demo only (tavlo_demo, tavlo_demo_updater); scripts/test.sh builds the rest"
cmake --build --preset default --target tavlo_demo tavlo_demo_updater
echo "run: packages $((installed - start)) s, build $(($(date +%s) - installed)) s"

demo=./build/default/demo/tavlo_demo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$demo" --out build/demo "$@"
fi
echo "run: no display here; playing both flows on a virtual display"
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$demo" --autoplay both --out build/demo "$@"
