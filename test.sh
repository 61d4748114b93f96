#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test
# twice: under C.UTF-8 and under a locale whose decimal separator is ","
# (the second run only re-runs the built tests). Then runs each fuzz target
# for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
. scripts/comma_locale.sh

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DZR_SANITIZE=ON "${zr_launcher[@]}"
cmake --build build-test -j"$zr_jobs"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== tests under C.UTF-8"
LC_ALL=C.UTF-8 ctest --test-dir build-test --output-on-failure -j"$zr_jobs"
comma=$(zr_comma_locale "$PWD/build-test")
if [ -z "$comma" ]; then
    echo "no locale with a \",\" decimal separator could be made (package locales)" >&2
    exit 1
fi
echo "== tests under $comma"
env $comma ctest --test-dir build-test --output-on-failure -j"$zr_jobs"

# The Debian package, built from the release build and run by unprivileged users.
tests/package/test_package.sh

# Fuzzing: the loaders and decoders get random input for ZR_FUZZ_SECONDS each.
if [ -n "$(ls tests/fuzz/*.cpp 2>/dev/null)" ]; then
    cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DZR_FUZZ=ON -DZR_SANITIZE=ON -DZR_BENCH=OFF "${zr_launcher[@]}"
    for src in tests/fuzz/*.cpp; do
        name=$(basename "$src" .cpp)
        cmake --build build-fuzz --target "$name" -j"$zr_jobs"
        corpus="tests/fuzz/corpus/${name#fuzz_}"
        work=$(mktemp -d)
        [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
        echo "== $name"
        ASAN_OPTIONS=detect_leaks=1 build-fuzz/tests/"$name" -max_total_time="${ZR_FUZZ_SECONDS:-30}" \
            -print_final_stats=1 "$work" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY|Done" || true
        test "${PIPESTATUS[0]}" -eq 0
        rm -rf "$work"
    done
fi
