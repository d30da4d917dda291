#!/usr/bin/env bash
# Builds the GIF reader fuzz target with clang's libFuzzer and the address and undefined
# behaviour sanitizers, and runs it. Not part of CI: run by hand.
#   tools/fuzz/run.sh [seconds]   (default 300)
# Seeds: the Apache icons and small animations made with ImageMagick. Crashes land in
# build/fuzz/crashes; turn each into a test before fixing it.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
out=build/fuzz
mkdir -p "$out/corpus" "$out/crashes" "$out/seeds"

sources=(gifkit/GifFormat.cpp gifkit/LzwDecoder.cpp gifkit/LzwEncoder.cpp gifkit/GifStream.cpp
         platform/Classes.cpp platform/Exceptions.cpp platform/Files.cpp platform/GbkText.cpp)
clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  "${sources[@]}" tools/fuzz/gif_reader_fuzz.cpp -o "$out/gif_reader_fuzz"

if [ -d /usr/share/apache2/icons ]; then
  find /usr/share/apache2/icons -name '*.gif' -exec cp {} "$out/seeds/" \;
fi
if command -v convert >/dev/null; then
  convert -size 20x15 -seed 1 plasma: gradient:red-blue -set delay 5 -loop 0 "$out/seeds/anim.gif" 2>/dev/null || true
  convert -size 17x9 -seed 2 plasma: -interlace GIF "$out/seeds/interlaced.gif" 2>/dev/null || true
fi

"$out/gif_reader_fuzz" "$out/corpus" "$out/seeds" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$out/crashes/" -print_final_stats=1
