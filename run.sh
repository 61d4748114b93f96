#!/usr/bin/env bash
# Installs what is missing, builds, installs into ./inst and starts the program.
#   ./run.sh           the program
#   ./run.sh --demo    the program with a simulated radio on a pseudo-terminal
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZR_TESTS=OFF -DZR_BENCH=OFF "${zr_launcher[@]}"
cmake --build build -j"$zr_jobs"
cmake --install build --prefix "$PWD/inst" >/dev/null
# --demo: the program starts the simulated radio (zrcps-sim, installed beside
# it) on a pseudo-terminal, loaded with a sample radio full of channels, and
# chooses it as the port; the port dialog offers the same as "Demo radio".
if [ "${1:-}" = "--demo" ]; then
    exec inst/V100/zrcps --demo
fi
exec inst/V100/zrcps
