#!/usr/bin/env bash
# Configures and builds Sumdash! through the CMake presets of CMakePresets.json (normal,
# sanitizers, package, bench, fuzz). Sourced by the other scripts for sumdash_build; run on its
# own, `scripts/build.sh [PRESET]` builds one preset (normal by default) without installing
# anything.
set -euo pipefail
SUMDASH_ROOT="${SUMDASH_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

# sumdash_build CONFIGURE_PRESET [BUILD_PRESET]: configures the preset's build folder quietly and
# builds it on every core; the build preset, which may pick targets, defaults to the same name.
sumdash_build() {
    local configure="$1"
    local build="${2:-$1}"
    (cd "$SUMDASH_ROOT" && cmake --preset "$configure" >/dev/null \
        && cmake --build --preset "$build" --parallel "$(nproc)")
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    sumdash_build "${1:-normal}"
fi
