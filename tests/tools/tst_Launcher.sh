#!/bin/sh
# The installed launcher runs a per-user copy of the program folder: the
# program files follow the installed ones, the bank is the user's own.
# Arguments: the launcher script. A stand-in program records where it ran.
set -eu
launcher=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$root/usr/bin" "$root/usr/lib/examora/Data" "$root/home"
cp "$launcher" "$root/usr/bin/examora"
write_program() {
    printf '#!/bin/sh\n# %s\necho "$(pwd)|$(dirname "$0")|$*" > "$(dirname "$0")/ran"\n' "$1" > "$root/usr/lib/examora/examora"
    chmod 755 "$root/usr/lib/examora/examora"
}
write_program "version 1"
echo "template 1" > "$root/usr/lib/examora/TestMn.frf"
echo "sample bank" > "$root/usr/lib/examora/Data/Jsy_Data.mdb"
chmod 444 "$root/usr/lib/examora/Data/Jsy_Data.mdb"   # as a system folder holds it
user="$root/home/.local/share/examora"

# First start: the folder is laid out and the program runs from it.
HOME="$root/home" XDG_DATA_HOME= "$root/usr/bin/examora" --first
[ "$(cat "$user/ran")" = "$user|$user|--first" ] || fail "program ran as: $(cat "$user/ran")"
[ "$(cat "$user/Data/Jsy_Data.mdb")" = "sample bank" ] || fail "bank not copied"
[ -w "$user/Data/Jsy_Data.mdb" ] || fail "the user's bank is not writable"
[ "$(cat "$user/TestMn.frf")" = "template 1" ] || fail "template not copied"

# The user's bank and settings stay; a new installed version replaces the program files.
echo "bank with papers" > "$user/Data/Jsy_Data.mdb"
echo "[System]" > "$user/Theme.Cfg"
write_program "version 2"
echo "template 2" > "$root/usr/lib/examora/TestMn.frf"
HOME="$root/home" "$root/usr/bin/examora"
[ "$(cat "$user/Data/Jsy_Data.mdb")" = "bank with papers" ] || fail "the user's bank was replaced"
[ "$(cat "$user/Theme.Cfg")" = "[System]" ] || fail "Theme.Cfg was touched"
grep -q "version 2" "$user/examora" || fail "program not updated"
[ "$(cat "$user/TestMn.frf")" = "template 2" ] || fail "template not updated"

# XDG_DATA_HOME chooses the folder; a launcher reached through a symlink still finds the program.
ln -s "$root/usr/bin/examora" "$root/examora-link"
XDG_DATA_HOME="$root/data" HOME="$root/home" "$root/examora-link"
[ -f "$root/data/examora/ran" ] || fail "XDG_DATA_HOME not used"

# Without the program folder the launcher says so and fails.
rm -rf "$root/usr/lib/examora"
if HOME="$root/home" "$root/usr/bin/examora" 2>/dev/null; then fail "started without a program folder"; fi
echo "1 passed, 0 failed"
