#!/usr/bin/env bash
# Installs what is missing, builds, and starts Examora on the sample bank.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  cat >&2 <<'MSG'
examora: there is no display to open the window on (DISPLAY is not set).
Run it inside a virtual X server instead, for example:
    xvfb-run -a -s "-screen 0 1280x800x24" build/examora/examora
and take a picture of it with:  import -display :99 -window root shot.png
MSG
  exit 1
fi
exec build/examora/examora
