#!/usr/bin/env bash
# Installs what is missing, builds Sumdash! in Release and makes its Debian package in
# build-package/. Install it with: sudo apt install ./build-package/sumdash_*.deb
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"

sumdash_install_missing
cmake -S "$SUMDASH_ROOT" -B "$SUMDASH_ROOT/build-package" -DCMAKE_BUILD_TYPE=Release \
    -DSUMDASH_SANITIZE=OFF -DSUMDASH_BUILD_TESTS=OFF -DSUMDASH_BUILD_BENCH=OFF >/dev/null
cmake --build "$SUMDASH_ROOT/build-package" --parallel "$(nproc)"
(cd "$SUMDASH_ROOT/build-package" && cpack -G DEB)
ls "$SUMDASH_ROOT"/build-package/sumdash_*.deb
