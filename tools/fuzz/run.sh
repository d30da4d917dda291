#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer and the address and undefined behaviour
# sanitizers, and runs it for a given time. Not part of CI: run by hand.
#   tools/fuzz/run.sh [TARGET] [SECONDS] [-- libFuzzer options...]
# TARGET: gif_reader (default), gif_roundtrip, gif_animator, bmp_reader, ini_roundtrip,
# numbers_dates, packed_text.
# SECONDS defaults to 300. Seeds are the committed tools/fuzz/seeds/TARGET (the ordinary test
# build replays them as a test) and the Apache icons; the corpus grows in
# build/fuzz/corpus/TARGET and crashes land in build/fuzz/crashes/TARGET: turn each into a test
# before fixing it.
set -euo pipefail
cd "$(dirname "$0")/../.."

target=gif_reader
seconds=300
if [[ $# -gt 0 && $1 != -- && ! $1 =~ ^[0-9]+$ ]]; then target=$1; shift; fi
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
[[ $# -gt 0 && $1 == -- ]] && shift

case $target in
  gif_reader | gif_roundtrip | gif_animator | bmp_reader | ini_roundtrip | numbers_dates | packed_text) ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac

# The targets are built by CMake, as the ordinary test build builds them with a replay main.
out=build/fuzz
seeds=$out/seeds/$target
mkdir -p "$out/corpus/$target" "$out/crashes/$target" "$seeds"
CC=clang CXX=clang++ cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELKAR_FUZZ=ON -DZELKAR_TESTS=OFF -DZELKAR_BENCH=OFF >/dev/null
cmake --build "$out" -j "$(nproc)" --target "${target}_fuzz"

# Seeds: the committed ones (the round trip shares the reader's), and the Apache icons for the
# GIF targets.
committed=$target
[ "$target" = gif_roundtrip ] && committed=gif_reader
cp tools/fuzz/seeds/"$committed"/* "$seeds/"
case $target in
  gif_reader | gif_roundtrip | gif_animator)
    [ -d /usr/share/apache2/icons ] && find /usr/share/apache2/icons -name '*.gif' -size -8k -exec cp {} "$seeds/" \; ;;
esac

"$out/tools/fuzz/${target}_fuzz" "$out/corpus/$target" "$seeds" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$out/crashes/$target/" -print_final_stats=1 "$@"
