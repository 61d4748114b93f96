#!/usr/bin/env bash
# Installs what is missing, builds, installs into ./inst and starts the program.
#   ./run.sh           the program
#   ./run.sh --demo    the program with a simulated radio on a pseudo-terminal
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh

. scripts/build-release.sh
cmake --install build --prefix "$PWD/inst" >/dev/null
# --demo: the program starts the simulated radio (zrcps-sim, installed beside
# it) on a pseudo-terminal, loaded with a sample radio full of channels, and
# chooses it as the port; the port dialog offers the same as "Demo radio".
if [ "${1:-}" = "--demo" ]; then
    exec inst/bin/zrcps --demo
fi
exec inst/bin/zrcps
