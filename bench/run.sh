#!/bin/sh
# Builds the benchmarks (Release, build-bench/) and runs them all in one go:
# the Google Benchmark cases with their baselines and ratios, the gallery's
# (bench_gallery.cpp), then start-up
# time (hyperfine) and peak memory (GNU time) of the editor against a bare
# Qt window, on an X server (Xvfb) and offscreen. Arguments go to ovex_bench:
#   bench/run.sh --benchmark_repetitions=3
#   bench/run.sh --benchmark_filter=Import
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build-bench"
startup="$dir/bench/ovex_startup"

# Peak resident memory in KiB, the median of 11 runs.
peak() {
    for _ in 1 2 3 4 5 6 7 8 9 10 11; do
        /usr/bin/time -f %M "$startup" "$1" 2>&1 >/dev/null | tail -n 1
    done | sort -n | sed -n 6p
}

# Start-up time and peak memory on the platform QT_QPA_PLATFORM names.
# hyperfine runs one command's runs before the other's, so a change of load
# on a shared machine would tilt one long pair; ten short pairs in turn, and
# the median of their ratios, are steadier.
measure_startup() {
    label=$QT_QPA_PLATFORM
    echo
    echo "== start-up, $label"
    for round in 1 2 3 4 5 6 7 8 9 10; do
        hyperfine -N --style none --warmup 2 --runs 10 --export-json "$dir/startup-$label-$round.json" \
            "$startup editor" "$startup bare" >/dev/null
    done
    jq -s -r --arg platform "$label" '
        def median: sort | .[length / 2 | floor];
        (map(.results[0].median / .results[1].median) | median) as $ratio
        | (map(.results[0].median) | median * 1000) as $editor
        | (map(.results[1].median) | median * 1000) as $bare
        | "start-up editor/bare (\($platform)): \($ratio * 100 | round / 100)x, median of 10 rounds of 10 runs each (editor \($editor * 10 | round / 10) ms, bare \($bare * 10 | round / 10) ms), target <= 1.3x"' \
        "$dir"/startup-"$label"-*.json
    editor_kib=$(peak editor)
    bare_kib=$(peak bare)
    echo "peak memory editor/bare ($label): $(echo "scale=2; $editor_kib / $bare_kib" | bc)x ($editor_kib KiB / $bare_kib KiB), target <= 1.2x"
}

# The recovery look-up after the first paint: a folder holding the copies of
# 100 closed editors against an empty one, the editor waiting for the look-up.
measure_lookup() {
    echo
    echo "== recovery look-up, $QT_QPA_PLATFORM: empty folder, then 100 copies"
    copies="$dir/recovery-100"
    rm -rf "$copies" "$dir/recovery-empty"
    "$startup" copies "$copies"
    OVEX_STARTUP_LOOKUP=1 hyperfine -N --style basic --warmup 2 --runs 30 \
        "env OVEX_STARTUP_RECOVERY=$dir/recovery-empty $startup editor" \
        "env OVEX_STARTUP_RECOVERY=$copies $startup editor" | grep -E "Benchmark|Time|faster"
    echo "== start-up with those 100 copies against the bare window (no waiting for the look-up)"
    hyperfine -N --style basic --warmup 2 --runs 30 \
        "env OVEX_STARTUP_RECOVERY=$copies $startup editor" "$startup bare" | grep -E "Benchmark|Time|faster"
}

if [ "${1:-}" = "--startup-only" ]; then
    measure_startup
    exit 0
fi

sh "$root/tools/setup.sh" libbenchmark-dev hyperfine time jq bc xvfb xauth
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOVEX_BUILD_TESTS=OFF -DOVEX_BUILD_BENCH=ON
cmake --build "$dir" --target ovex_bench ovex_bench_gallery ovex_startup

status=0
QT_QPA_PLATFORM=offscreen "$dir/bench/ovex_bench" "$@" || status=1
QT_QPA_PLATFORM=offscreen "$dir/bench/ovex_bench_gallery" --benchmark_repetitions=3 || status=1

# A real X server, as a user starts the program; then offscreen, where no
# display connection hides any of the editor's own start-up work.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --startup-only
export QT_QPA_PLATFORM=offscreen
measure_startup
measure_lookup
exit $status
