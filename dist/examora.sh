#!/bin/sh
# Starts Examora from a per-user copy of its program folder.
#
# The program keeps its question bank (Data/Jsy_Data.mdb), Theme.Cfg and its
# other settings beside its executable, and an installed system folder is
# not writable for a normal user. So each user runs a copy of the program in
# ${XDG_DATA_HOME:-~/.local/share}/examora: the program files (the executable
# and the report template TestMn.frf) follow the installed version at every
# start; the bank is copied once and from then on belongs to the user, as do
# the settings files the program writes there.
#
# Started as examora-editor (a link to this launcher) it runs the bank
# editor in the same folder, on the same bank; as examora-hall, the exam
# room's view.
set -eu

case $(basename "$0") in
    examora-editor) program=examora-editor ;;
    examora-hall) program=examora-hall ;;
    *) program=examora ;;
esac

here=$(dirname "$(readlink -f "$0")")
program_dir=$(readlink -f "$here/../lib/examora")
user_dir="${XDG_DATA_HOME:-$HOME/.local/share}/examora"

if [ ! -x "$program_dir/$program" ]; then
    echo "$program: the program folder $program_dir is missing; reinstall Examora" >&2
    exit 1
fi
mkdir -p "$user_dir/Data"

# Replaced through a temporary name, so that two starts at once never run
# a half-copied file.
refresh() {
    if ! cmp -s "$program_dir/$1" "$user_dir/$1"; then
        cp "$program_dir/$1" "$user_dir/.$1.$$"
        mv -f "$user_dir/.$1.$$" "$user_dir/$1"
    fi
}
refresh "$program"
refresh TestMn.frf

if [ ! -e "$user_dir/Data/Jsy_Data.mdb" ]; then
    cp "$program_dir/Data/Jsy_Data.mdb" "$user_dir/Data/.Jsy_Data.mdb.$$"
    chmod u+w "$user_dir/Data/.Jsy_Data.mdb.$$"
    mv "$user_dir/Data/.Jsy_Data.mdb.$$" "$user_dir/Data/Jsy_Data.mdb"
fi

cd "$user_dir"
exec "$user_dir/$program" "$@"
