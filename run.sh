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
exec inst/V100/zrcps-cli new
