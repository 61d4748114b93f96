#!/usr/bin/env bash
# The Debian package as users get it. Builds it with scripts/package.sh (from
# the release build), then checks:
#  - its name, control fields and the dependencies worked out from the
#    libraries; its files against tests/package/files.txt, their owner, the
#    links on the PATH, the icon sizes, the manual pages and the completion;
#  - the desktop entry, the AppStream entry and the document type with the
#    desktop's own tools;
#  - an unpacked copy made read-only, run by two unprivileged users with homes
#    of their own: zrcps-cli new, show and export-csv, and zrcps offscreen
#    until its main window is up and closed (--self-test). Each user's settings
#    are in that user's ~/.config/zrcps, and the copy is unchanged.
# The runs as other users need root (setpriv); they are skipped otherwise.
set -euo pipefail
cd "$(dirname "$0")/../.."

fail() {
    echo "package test: FAILED: $*" >&2
    exit 1
}
say() { echo "package test: $*"; }

t0=$(date +%s)
deb=$(scripts/package.sh | tail -n1)
t1=$(date +%s)
say "built $deb in $((t1 - t0)) s"

# --- name and control fields -------------------------------------------------
version=$(sed -n 's/^project(zrcps VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
[ "$deb" = "zrcps_${version}_${arch}.deb" ] || fail "package file $deb, expected zrcps_${version}_${arch}.deb"
[ "$(dpkg-deb -f "$deb" Package)" = zrcps ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
[ "$(dpkg-deb -f "$deb" Section)" = hamradio ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(sed -E 's/ \([^)]*\)//g; s/,//g' <<<"$depends") "
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6svg6; do
    [[ $names == *" $dep "* ]] || fail "Depends lacks $dep: $depends"
done
! grep -Eq "libasan|libubsan" <<<"$depends" || fail "a sanitizer build was packaged: $depends"

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
root=$work/root
dpkg-deb -x "$deb" "$root"

# --- files ---------------------------------------------------------------------
mapfile -t patterns < <(grep -Ev '^(#|$)' tests/package/files.txt)
mapfile -t files < <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
# shellcheck disable=SC2053  # the patterns are globs on purpose
matches() { # TEXT PATTERN...: whether TEXT matches one of the patterns
    local text=$1 p
    shift
    for p; do [[ $text == $p ]] && return 0; done
    return 1
}
# shellcheck disable=SC2053
matched() { # PATTERN TEXT...: whether one of the texts matches PATTERN
    local pattern=$1 text
    shift
    for text; do [[ $text == $pattern ]] && return 0; done
    return 1
}
for f in "${files[@]}"; do
    matches "$f" "${patterns[@]}" || fail "file not in tests/package/files.txt: $f"
done
for p in "${patterns[@]}"; do
    matched "$p" "${files[@]}" || fail "missing from the package: $p"
done
! dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep -q . || fail "files not owned by root/root"
for prog in zrcps zrcps-cli zrcps-sim; do
    [ "$(readlink "$root/usr/bin/$prog")" = "../lib/zrcps/V100/$prog" ] || fail "usr/bin/$prog is not a link to the program"
    [ -x "$root/usr/lib/zrcps/V100/$prog" ] || fail "$prog is not executable"
done
for size in 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/zrcps.png
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size} pixel icon is $dims"
done
for page in zrcps zrcps-cli zrcps-sim; do
    man=$root/usr/share/man/man1/$page.1.gz
    warnings=$(zcat "$man" | groff -man -Tutf8 -ww -z 2>&1) || fail "$page.1 does not format"
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
bash -n "$root/usr/share/bash-completion/completions/zrcps-cli" || fail "the completion is not valid bash"
help=$(env -i PATH=/usr/bin:/bin "$root/usr/bin/zrcps" --help 2>&1) || fail "zrcps --help without a display: $help"
grep -q -- '--self-test' <<<"$help" || fail "zrcps --help: $help"
say "$((${#files[@]})) files, dependencies: $depends"

# --- the desktop's own checks ------------------------------------------------------
desktop-file-validate "$root/usr/share/applications/zrcps.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.zrcps.zrcps.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$root/usr/share/metainfo/org.zrcps.zrcps.metainfo.xml")"
mime=$work/mime
mkdir -p "$mime/packages"
cp "$root/usr/share/mime/packages/zrcps.xml" "$mime/packages/"
out=$(XDG_DATA_DIRS=$work XDG_DATA_HOME=$work update-mime-database "$mime" 2>&1) && [ -z "$out" ] || fail "update-mime-database: $out"
grep -q '^50:application/x-zrcps-document:\*\.dat$' "$mime/globs2" || fail "no *.dat glob for the document type"
grep -aq 'application/x-zrcps-document' "$mime/magic" || fail "no magic for the document type"

# --- two users run the unpacked, read-only copy ----------------------------------
if [ "$(id -u)" -ne 0 ]; then
    say "not root: the runs as unprivileged users are skipped"
    exit 0
fi
chmod -R a-w "$root"
manifest() { (cd "$root" && find . -printf '%p %y %s %m %T@\n' | sort | sha256sum); }
unchanged=$(manifest)
bin=$root/usr/bin

# user UID HOME COMMAND...: runs COMMAND in HOME as the user UID with nothing
# of root's environment.
user() {
    local uid=$1 home=$2
    shift 2
    (cd "$home" && env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
        QT_QPA_PLATFORM=offscreen setpriv --reuid="$uid" --regid="$uid" --clear-groups -- "$@")
}
new_home() {
    local uid=$1 home=$work/home-$1
    mkdir -p "$home/run"
    chown -R "$uid:$uid" "$home"
    chmod 700 "$home" "$home/run"
    echo "$home"
}

t2=$(date +%s)
ann=64991
annhome=$(new_home $ann)
user $ann "$annhome" "$bin/zrcps-cli" new "$annhome/radio.dat" >/dev/null || fail "zrcps-cli new"
[ "$(stat -c %s "$annhome/radio.dat")" = 11037 ] || fail "zrcps-cli new wrote $(stat -c %s "$annhome/radio.dat") bytes"
shown=$(user $ann "$annhome" "$bin/zrcps-cli" show "$annhome/radio.dat") || fail "zrcps-cli show"
grep -q '^Format version V100$' <<<"$shown" || fail "zrcps-cli show: $shown"
user $ann "$annhome" "$bin/zrcps-cli" export-csv "$annhome/radio.dat" "$annhome/radio.csv" || fail "zrcps-cli export-csv"
head -n1 "$annhome/radio.csv" | grep -q '^Location,Name,Frequency' || fail "export-csv wrote $(head -n1 "$annhome/radio.csv")"

out=$(user $ann "$annhome" timeout 120 "$bin/zrcps" --self-test 2>"$work/ann.err") ||
    fail "zrcps --self-test as user $ann: $out $(cat "$work/ann.err")"
grep -q '^zrcps: main window shown: .*:new\.dat\]$' <<<"$out" || fail "zrcps --self-test: $out"
grep -qx "zrcps: settings kept in $annhome/.config/zrcps" <<<"$out" || fail "zrcps --self-test: $out"
conf=$annhome/.config/zrcps
for f in mysetup.ini Setting.ini BatchFun.ini Habit.ini; do
    [ -f "$conf/$f" ] || fail "no $f in the user's $conf"
    [ "$(stat -c %u "$conf/$f")" = $ann ] || fail "$conf/$f is not the user's"
done
grep -q '^IsFirstRun=0' "$conf/mysetup.ini" || fail "the first start was not recorded in $conf/mysetup.ini"
[ "$(stat -c %s "$conf/Setting.ini")" = 4 ] || fail "Setting.ini was not written at exit"

# A document named on the command line opens, as from the file manager.
out=$(user $ann "$annhome" timeout 120 "$bin/zrcps" --self-test radio.dat 2>"$work/ann.err") ||
    fail "zrcps --self-test radio.dat: $out $(cat "$work/ann.err")"
grep -q '^zrcps: main window shown: .*:radio\.dat\]$' <<<"$out" || fail "zrcps --self-test radio.dat: $out"

# A second user keeps settings of their own.
bob=64992
bobhome=$(new_home $bob)
mkdir -p "$bobhome/.config/zrcps"
printf '[language]\nIsFirstRun=0\ncomPort=7\nHandshaking=0\nStopBit=0\nCurrentLanguage=1\n' \
    >"$bobhome/.config/zrcps/mysetup.ini"
chown -R $bob:$bob "$bobhome/.config"
annsettings=$(cat "$conf"/*.ini | sha256sum)
out=$(user $bob "$bobhome" timeout 120 "$bin/zrcps" --self-test 2>"$work/bob.err") ||
    fail "zrcps --self-test as user $bob: $out $(cat "$work/bob.err")"
grep -q '^comPort=7' "$bobhome/.config/zrcps/mysetup.ini" || fail "the second user's port was lost"
grep -q '^comPort=1' "$conf/mysetup.ini" || fail "the first user's port changed"
[ "$(cat "$conf"/*.ini | sha256sum)" = "$annsettings" ] || fail "the second user's run changed the first user's files"
[ -f "$bobhome/.config/zrcps/Setting.ini" ] || fail "no Setting.ini for the second user"

[ "$(manifest)" = "$unchanged" ] || fail "something was written into the installed files"
t3=$(date +%s)
say "two users ran the read-only copy in $((t3 - t2)) s; settings in their own ~/.config/zrcps"
