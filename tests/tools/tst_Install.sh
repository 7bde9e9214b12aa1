#!/bin/sh
# `cmake --install` lays out a program folder that runs: the executables,
# a sample bank that passes the bank check, the template, the launcher,
# the bank tool on the path, the menu entry and the icon.
# Argument: the build folder.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null
for file in lib/examora/examora lib/examora/examora-bank bin/examora; do
    [ -x "$prefix/$file" ] || fail "$file missing or not executable"
done
for file in lib/examora/Data/Jsy_Data.mdb lib/examora/TestMn.frf share/applications/examora.desktop \
            share/icons/hicolor/scalable/apps/examora.svg; do
    [ -s "$prefix/$file" ] || fail "$file missing"
done
[ "$(readlink -f "$prefix/bin/examora-bank")" = "$(readlink -f "$prefix/lib/examora/examora-bank")" ] \
    || fail "bin/examora-bank does not lead to the program folder"
grep -q '^Exec=examora$' "$prefix/share/applications/examora.desktop" || fail "menu entry does not start examora"
QT_QPA_PLATFORM=offscreen "$prefix/bin/examora-bank" check "$prefix/lib/examora/Data/Jsy_Data.mdb" > /dev/null 2>&1 \
    || fail "the installed sample bank does not pass the bank check"
echo "1 passed, 0 failed"
