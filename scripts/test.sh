#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build and one with
# AddressSanitizer and UndefinedBehaviorSanitizer. Tests run headless.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"

sumdash_install_missing

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== Normal build"
sumdash_build build -DSUMDASH_SANITIZE=OFF -DSUMDASH_BUILD_TESTS=ON -DSUMDASH_BUILD_BENCH=ON
ctest --test-dir "$SUMDASH_ROOT/build" --output-on-failure --parallel "$jobs"

echo "== Fuzzing each reader of stored or typed input briefly"
bash "$SUMDASH_ROOT/scripts/fuzz.sh" 10

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
sumdash_build build-asan -DSUMDASH_SANITIZE=ON -DSUMDASH_BUILD_TESTS=ON -DSUMDASH_BUILD_BENCH=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$SUMDASH_ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$SUMDASH_ROOT/build-asan" --output-on-failure --parallel "$jobs"
