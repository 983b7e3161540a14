#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build and one with
# AddressSanitizer and UndefinedBehaviorSanitizer. Tests run headless; their environment, and the
# sanitizers' options, come with the test presets.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"

sumdash_install_missing
jobs="$(nproc)"
# ctest finds the presets in the source folder.
cd "$SUMDASH_ROOT"

echo "== Normal build"
sumdash_build normal
ctest --preset normal --parallel "$jobs"

echo "== Fuzzing each reader of stored or typed input briefly"
bash "$SUMDASH_ROOT/scripts/fuzz.sh" 10

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
sumdash_build sanitizers
ctest --preset sanitizers --parallel "$jobs"
