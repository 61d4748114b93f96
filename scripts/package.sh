#!/usr/bin/env bash
# Builds the Debian package zrcps_<version>_<arch>.deb into the top folder of
# the source tree, from the release build that ./run.sh uses too.
#   scripts/package.sh && sudo apt install ./zrcps_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
. scripts/build-release.sh
rm -rf build/package
(cd build && cpack -G DEB -B "$PWD/package" >/dev/null)
deb=$(ls build/package/zrcps_*.deb)
mv -f "$deb" .
echo "$(basename "$deb")"
