#!/usr/bin/env bash
# Sourced by test.sh. zr_comma_locale FOLDER prints the environment settings
# (LOCPATH=... LC_ALL=...) of a locale whose decimal separator is ",":
# the system's de_DE.UTF-8 when it has one, else one generated with
# localedef into FOLDER/locale (once). Prints nothing when none can be had.
zr_comma_locale() {
    local folder=$1 name=de_DE.UTF-8
    if [ "$(LC_ALL=$name locale decimal_point 2>/dev/null)" = "," ]; then
        echo "LC_ALL=$name"
        return
    fi
    local dir="$folder/locale"
    if [ ! -d "$dir/$name" ]; then
        mkdir -p "$dir"
        # localedef exits 1 when it only warned; the check below decides.
        localedef -i de_DE -f UTF-8 "$dir/$name" >/dev/null 2>&1 || true
    fi
    if [ "$(LOCPATH=$dir LC_ALL=$name locale decimal_point 2>/dev/null)" = "," ]; then
        echo "LOCPATH=$dir LC_ALL=$name"
    fi
}
