#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# fonts-droid-fallback shows the Chinese texts, qt6-translations-l10n the
# texts of Qt's own dialogs in the chosen language.
# Sourced by run.sh and test.sh; needs root (or sudo) only when something is missing.
zr_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    poppler-utils locales
    dpkg-dev desktop-file-utils appstream shared-mime-info groff-base
    fonts-droid-fallback qt6-translations-l10n
)
zr_missing=()
for p in "${zr_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        zr_missing+=("$p")
    fi
done
if [ ${#zr_missing[@]} -gt 0 ]; then
    echo "Installing: ${zr_missing[*]}"
    zr_sudo=""
    [ "$(id -u)" -ne 0 ] && zr_sudo="sudo"
    $zr_sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $zr_sudo apt-get install -y -q --no-install-recommends "${zr_missing[@]}"
fi
zr_launcher=()
if command -v ccache >/dev/null 2>&1; then
    zr_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
zr_jobs=$(nproc 2>/dev/null || echo 2)
