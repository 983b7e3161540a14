#!/usr/bin/env bash
# Installs what is missing, builds Sumdash! in Release and makes its two Debian packages in
# build-package/: the game, and the scoreboard server as a system service. Install the game
# with: sudo apt install ./build-package/sumdash_[0-9]*.deb
# and the server with: sudo apt install ./build-package/sumdash-server_[0-9]*.deb
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"

sumdash_install_missing
sumdash_build package
(cd "$SUMDASH_ROOT" && cpack --preset package)
ls "$SUMDASH_ROOT"/build-package/sumdash_[0-9]*.deb "$SUMDASH_ROOT"/build-package/sumdash-server_[0-9]*.deb
