#!/usr/bin/env bash
# Builds the programs and starts the full edition. Re-runnable.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

cmake --preset default
cmake --build --preset default

exec ./build/default/app/Tavlo_App "$@"
