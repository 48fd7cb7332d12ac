#!/usr/bin/env bash
# The main command: builds lumivex for the simulated machine and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target lumivex >&2
exec build/sim/lumivex "$@"
