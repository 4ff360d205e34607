#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in build-fuzz/
# and runs each for SECONDS seconds, starting from the seed corpus.
#   fuzz/run.sh                  60 s each
#   fuzz/run.sh 3600             an hour each
#   fuzz/run.sh 600 fuzz_import  one target only
# A failing input is saved as build-fuzz/artifacts/<target>-crash-...; copy it
# into fuzz/regressions/<lines|import|color|scheme|recovery|recoveryfolder|clipboard|picture|folder>/
# so tst_fuzzinputs replays it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-fuzz_lines fuzz_color fuzz_import fuzz_scheme fuzz_recovery fuzz_recoveryfolder fuzz_clipboard fuzz_picture fuzz_folder}

sh "$root/tools/setup.sh" clang libclang-rt-dev

dir="$root/build-fuzz"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DOVEX_BUILD_TESTS=OFF -DOVEX_BUILD_FUZZ=ON
# shellcheck disable=SC2086
cmake --build "$dir" --target $targets

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tools/lsan.supp:print_suppressions=0"
mkdir -p "$dir/artifacts"
for target in $targets; do
    name=${target#fuzz_}
    case $name in
        color) max_len=512 ;;
        clipboard) max_len=1024 ;;
        *) max_len=65536 ;;
    esac
    # New inputs go to a working corpus outside the source tree.
    work="$dir/corpus/$name"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    "$dir/fuzz/$target" "$work" "$root/fuzz/corpus/$name" "$root/fuzz/regressions/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
        -artifact_prefix="$dir/artifacts/$target-" -print_final_stats=1 2>"$dir/$target.log" || {
        tail -n 60 "$dir/$target.log"
        echo "$target failed; the input is in $dir/artifacts/" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units|^Done' "$dir/$target.log" || true
done
