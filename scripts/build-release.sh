#!/usr/bin/env bash
# Configures and builds the release build in build/: the programs as users
# get them, without tests and benchmarks. Sourced by run.sh and package.sh
# after scripts/deps.sh, so that both use one build and neither compiles what
# the other has built.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZR_TESTS=OFF -DZR_BENCH=OFF "${zr_launcher[@]}"
cmake --build build -j"$zr_jobs"
