#!/usr/bin/env bash
# Builds the benchmarks in Release, prints their figures, and ends with one table that sets each
# figure of Sumdash! beside the same figure of a minimal Qt window measured in the same run, and
# each figure of the scoreboard server beside nginx's. About four minutes; on a real X server where one exists, else on a virtual one.
set -euo pipefail
SUMDASH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The build folder may be moved elsewhere, e.g. SUMDASH_BENCH_BUILD=/tmp/bench bench/run.sh.
BUILD_DIR="$(realpath -m "${SUMDASH_BENCH_BUILD:-$SUMDASH_ROOT/build-bench}")"
# Every benchmark's output, kept after the run; the closing table is gathered from it.
BENCH_LOG="$BUILD_DIR/bench/last-run.log"

# Other work on the machine shows in the figures, the percentiles most of all.
print_load() {
    echo "($1: load average $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores)"
}

# One benchmark, its output shown and added to the log: run_one PROGRAM TITLE [ARGUMENT...]
run_one() {
    local started=$SECONDS
    local program="$1"
    echo "== $2"
    shift 2
    "$BUILD_DIR/bench/$program" "$@" | tee -a "$BENCH_LOG"
    echo "($program took $((SECONDS - started)) s)"
    echo
}

run_benchmarks() {
    : >"$BENCH_LOG"
    print_load "before"
    run_one startup_bench "Start-up: to the first window on screen, and resident memory"
    run_one clock_bench "Clock: CPU while idle and while a run's clock ticks, the clock after a minute"
    run_one keystroke_bench "Keystroke: Enter to the next problem on screen"
    run_one records_bench "Records: the club board on a large club, and ranking a top time"
    run_one facts_bench "Fact Times: the window opening on a long kept history"
    run_one server_bench "Scoreboard server: submissions, the board, slow and oversized requests, beside nginx" \
        "$BUILD_DIR/server/app/sumdash-server" "$SUMDASH_ROOT/bench/server-post.lua" \
        "$SUMDASH_ROOT/packaging/server/nginx-sumdash-server.conf"
    print_load "after"
    echo
    # Each benchmark tagged its rows of the table among its details; here they come together,
    # in the order the benchmarks numbered them.
    echo "== Sumdash! beside a minimal Qt Widgets window (the server beside nginx), measured in this run"
    echo
    echo "| Figure | Sumdash! | reference: minimal Qt window, or nginx | ratio | goal |"
    echo "| --- | --- | --- | --- | --- |"
    grep '^summary-row ' "$BENCH_LOG" | sort -n -s -k2,2 | cut -d' ' -f3- || true
    echo
    echo "(All the output above is kept in $BENCH_LOG.)"
}

# Inside xvfb-run: only the measuring part.
if [ "${1:-}" = "--measure-only" ]; then
    run_benchmarks
    exit 0
fi

# The server's figures need a load generator, nginx beside it and PostgreSQL.
source "$SUMDASH_ROOT/scripts/deps.sh"
sumdash_install_missing wrk nginx

echo "== Building the benchmarks (Release) in $BUILD_DIR"
# The bench preset, in whichever folder was asked for.
(cd "$SUMDASH_ROOT" && cmake --preset bench -B "$BUILD_DIR" >/dev/null)
# Two jobs at most: the machine is shared with other builds.
cmake --build "$BUILD_DIR" --parallel 2 --target benchmarks >/dev/null

# Qt wants a private runtime folder; a throwaway one keeps its warning out of the figures.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

if [ -n "${QT_QPA_PLATFORM:-}" ]; then
    echo "== Measuring on the platform asked for: QT_QPA_PLATFORM=$QT_QPA_PLATFORM"
    run_benchmarks
elif [ -n "${DISPLAY:-}" ]; then
    echo "== Measuring on the X display $DISPLAY"
    run_benchmarks
elif command -v xvfb-run >/dev/null 2>&1; then
    echo "== No display: measuring on a virtual X server (xvfb-run, 1280x1024x24)"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --measure-only
else
    echo "== No display and no xvfb-run: measuring offscreen (QT_QPA_PLATFORM=offscreen)."
    echo "   These figures leave out the window system; install xvfb for real X figures."
    export QT_QPA_PLATFORM=offscreen
    run_benchmarks
fi
