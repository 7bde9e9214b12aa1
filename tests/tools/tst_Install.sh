#!/bin/sh
# `cmake --install` lays out a program folder that runs: the executables,
# a sample bank that passes the bank check, the template, the launcher,
# the bank tool on the path, the menu entry and the icon, the manual pages
# and the package's copyright and changelog.
# Argument: the build folder.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
for file in lib/examora/examora lib/examora/examora-editor lib/examora/examora-bank bin/examora; do
    [ -x "$prefix/$file" ] || fail "$file missing or not executable"
done
for file in lib/examora/Data/Jsy_Data.mdb lib/examora/TestMn.frf share/applications/examora.desktop \
            share/icons/hicolor/scalable/apps/examora.svg; do
    [ -s "$prefix/$file" ] || fail "$file missing"
done
[ "$(readlink -f "$prefix/bin/examora-bank")" = "$(readlink -f "$prefix/lib/examora/examora-bank")" ] \
    || fail "bin/examora-bank does not lead to the program folder"
[ "$(readlink "$prefix/bin/examora-editor")" = examora ] || fail "bin/examora-editor does not lead to the launcher"
[ -s "$prefix/share/doc/examora/copyright" ] || fail "copyright missing"
gzip -t "$prefix/share/doc/examora/changelog.Debian.gz" || fail "changelog.Debian.gz missing or broken"
# gzip -9n: no file name (flag 0x08) and no time stamp in the header.
no_name_header() { [ "$(od -An -tx1 -j3 -N5 "$1" | tr -d ' ')" = 0000000000 ]; }
no_name_header "$prefix/share/doc/examora/changelog.Debian.gz" || fail "changelog.Debian.gz carries a name or a time"
for program in examora examora-editor examora-bank; do
    page="$prefix/share/man/man1/$program.1.gz"
    [ -s "$page" ] || fail "manual page of $program missing"
    no_name_header "$page" || fail "$program.1.gz carries a name or a time"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null)
    [ -z "$warnings" ] || fail "$program.1: $warnings"
done
grep -q '^Exec=examora$' "$prefix/share/applications/examora.desktop" || fail "menu entry does not start examora"
QT_QPA_PLATFORM=offscreen "$prefix/bin/examora-bank" check "$prefix/lib/examora/Data/Jsy_Data.mdb" > /dev/null 2>&1 \
    || fail "the installed sample bank does not pass the bank check"
echo "1 passed, 0 failed"
