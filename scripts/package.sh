#!/usr/bin/env bash
# Installs what is missing, builds Sumdash! in Release and makes its Debian package in
# build-package/. Install it with: sudo apt install ./build-package/sumdash_*.deb
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"

sumdash_install_missing
sumdash_build package
(cd "$SUMDASH_ROOT" && cpack --preset package)
ls "$SUMDASH_ROOT"/build-package/sumdash_*.deb
