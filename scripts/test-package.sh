#!/usr/bin/env bash
# Builds the Debian package from an existing build folder and checks it with
# lintian; errors and warnings fail. As root, and when no examora package is
# installed already, it also installs the package, starts the programs as a
# user would and removes the package again: the user's bank must stay.
#   scripts/test-package.sh [BUILD]        (default: build)
# EXAMORA_PACKAGE_INSTALL=0 leaves out the install.
set -euo pipefail
build=$(readlink -f "${1:-build}")
[ -f "$build/CPackConfig.cmake" ] || { echo "test-package: $build is not a configured build folder" >&2; exit 2; }
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --build "$build" -j2 --target examora examora-editor examora-hall examora-bank examora_install_bank examora_install_compressed
out=$(mktemp -d)
home=""
installed_here=0
cleanup() {
    if [ "$installed_here" = 1 ]; then dpkg -r examora > /dev/null 2>&1 || true; fi
    rm -rf "$out" ${home:+"$home"}
}
trap cleanup EXIT
(cd "$build" && cpack -G DEB -B "$out" > "$out/cpack.log") || { cat "$out/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$out"/examora_*.deb)
echo "test-package: built $(basename "$deb")"

# Informational and pedantic tags are shown but do not fail.
lintian --fail-on error,warning --display-info "$deb"
echo "test-package: lintian found no errors or warnings"

if [ "${EXAMORA_PACKAGE_INSTALL:-1}" = 0 ]; then
    echo "test-package: install check left out (EXAMORA_PACKAGE_INSTALL=0)"
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "test-package: install check left out (needs root)"
    exit 0
fi
if dpkg-query -W -f='${Status}' examora 2>/dev/null | grep -q "install ok installed"; then
    echo "test-package: install check left out (an examora package is installed already)"
    exit 0
fi

dpkg -i "$deb" > /dev/null || fail "dpkg -i (missing dependencies? run scripts/setup.sh)"
installed_here=1
version=$(dpkg-deb -f "$deb" Version)
version=${version%-*}
home=$(mktemp -d)
as_user() { env -u DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_DATA_HOME= "$@"; }
# The menu entry's command starts the exam program on a copy of the sample
# bank in the user's folder and shows a window.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/examora.desktop)
user_bank="$home/.local/share/examora/Data/Jsy_Data.mdb"
HOME="$home" XDG_DATA_HOME= xvfb-run -a -s "-screen 0 1280x800x24" sh -c "
    $exec_line &
    program=\$!
    for i in \$(seq 60); do
        if xdotool search --onlyvisible --pid \$program > /dev/null 2>&1; then
            kill \$program; wait \$program || true; exit 0
        fi
        sleep 0.5
    done
    kill \$program 2>/dev/null; exit 1" || fail "the menu entry's command showed no window"
[ -s "$user_bank" ] || fail "the sample bank was not copied to the user's folder"
as_user examora-bank check "$user_bank" > /dev/null || fail "the user's bank does not pass the bank check"
for program in examora examora-editor examora-hall examora-bank; do
    [ "$(as_user "$program" --version)" = "$program $version" ] || fail "$program --version"
    man -w "$program" > /dev/null || fail "no manual page for $program"
done

echo "papers of the user" >> "$home/.local/share/examora/Theme.Cfg"
before=$(sha256sum < "$user_bank")
dpkg -r examora > /dev/null || fail "dpkg -r"
installed_here=0
[ ! -e /usr/lib/examora/examora ] || fail "the program folder is left after removal"
[ "$(sha256sum < "$user_bank")" = "$before" ] || fail "removing the package changed the user's bank"
grep -q "papers of the user" "$home/.local/share/examora/Theme.Cfg" || fail "removing the package touched the user's settings"
echo "test-package: installed, started from the menu entry, removed; the user's bank stays"
