#!/usr/bin/env bash
# Installs what is missing, builds Sumdash! and starts the game.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"

sumdash_install_missing
# The game alone, in the folder of the normal preset that scripts/test.sh also builds.
sumdash_build normal run

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    cat >&2 <<MESSAGE
Sumdash! is built, but this machine has no display to show it on (neither DISPLAY nor
WAYLAND_DISPLAY is set). To play it here, start it inside a virtual X display:

    xvfb-run -a $SUMDASH_ROOT/build/sumdash

or run it without any window at all (nothing will be visible):

    QT_QPA_PLATFORM=offscreen $SUMDASH_ROOT/build/sumdash

On a desktop, run scripts/run.sh from a terminal inside your desktop session.
MESSAGE
    exit 2
fi

exec "$SUMDASH_ROOT/build/sumdash" "$@"
