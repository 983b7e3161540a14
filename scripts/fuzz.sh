#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + AddressSanitizer + UndefinedBehaviorSanitizer;
# the fuzz preset) and runs each for the given number of seconds (default 60), keeping what it
# finds in fuzz/corpus/<target>/. A crash stops the script with the input saved under build-fuzz/.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$SUMDASH_ROOT/scripts/deps.sh"
source "$SUMDASH_ROOT/scripts/build.sh"
seconds="${1:-60}"

sumdash_install_missing clang libclang-rt-14-dev
sumdash_build fuzz >/dev/null

for target in club_reader practice_count top_times submit_query; do
    corpus="$SUMDASH_ROOT/fuzz/corpus/$target"
    mkdir -p "$corpus"
    log="$SUMDASH_ROOT/build-fuzz/$target.log"
    if ! (cd "$SUMDASH_ROOT/build-fuzz" && "./fuzz/fuzz_$target" -max_total_time="$seconds" \
            -print_final_stats=1 "$corpus" "$SUMDASH_ROOT/fuzz/seeds/$target" >"$log" 2>&1); then
        echo "fuzz: $target found a crash:"
        tail -30 "$log"
        exit 1
    fi
    runs="$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$')"
    echo "fuzz: $target ran $runs inputs in ${seconds}s, no crash ($(ls "$corpus" | wc -l) in its corpus)"
done
