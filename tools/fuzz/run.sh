#!/usr/bin/env bash
# Builds a fuzz target with clang's libFuzzer and the address and undefined behaviour
# sanitizers, and runs it for a given time. Not part of CI: run by hand.
#   tools/fuzz/run.sh [TARGET] [SECONDS] [-- libFuzzer options...]
# TARGET: gif_reader (default), gif_roundtrip, bmp_reader, ini_roundtrip, numbers_dates,
# packed_text.
# SECONDS defaults to 300. Seeds are made here (small files written by this script, ImageMagick
# pictures and the Apache icons); the corpus grows in build/fuzz/corpus/TARGET and crashes land
# in build/fuzz/crashes/TARGET: turn each into a test before fixing it.
#
# clang cannot use GB18030 as its execution character set, so the fuzz build leaves literals in
# UTF-8. The fuzzed readers compare no Chinese literals with their input; only messages and
# week-day names differ from the program's.
set -euo pipefail
cd "$(dirname "$0")/../.."

target=gif_reader
seconds=300
if [[ $# -gt 0 && $1 != -- && ! $1 =~ ^[0-9]+$ ]]; then target=$1; shift; fi
if [[ $# -gt 0 && $1 =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
[[ $# -gt 0 && $1 == -- ]] && shift

out=build/fuzz
obj=$out/obj
seeds=$out/seeds/$target
mkdir -p "$obj" "$out/corpus/$target" "$out/crashes/$target" "$seeds"

core=(platform/Classes.cpp platform/Exceptions.cpp platform/Files.cpp platform/GbkText.cpp)
gif=(gifkit/GifFormat.cpp gifkit/LzwDecoder.cpp gifkit/LzwEncoder.cpp gifkit/GifStream.cpp)
qtcflags=""
libs=()
case $target in
  gif_reader | gif_roundtrip) sources=("${gif[@]}" "${core[@]}") ;;
  ini_roundtrip) sources=(platform/IniFiles.cpp platform/Numbers.cpp "${core[@]}") ;;
  numbers_dates) sources=(platform/Numbers.cpp platform/DateTime.cpp platform/Clock.cpp "${core[@]}") ;;
  packed_text) sources=(workbench/logic/PackedText.cpp); libs=(-lz) ;;
  bmp_reader)
    mapfile -t gui < <(ls platform/gui/*.cpp | grep -v -e Download.cpp -e WebBrowser.cpp)
    mapfile -t layer < <(ls platform/*.cpp | grep -v Signatures.cpp)
    sources=("${gui[@]}" "${layer[@]}")
    qtcflags=$(pkg-config --cflags Qt6Widgets)
    read -ra libs <<<"$(pkg-config --libs Qt6Widgets)"
    ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac

flags=(-std=c++20 -O1 -g -I. -fPIC -fsanitize=address,undefined -fno-sanitize-recover=undefined)
# Objects are rebuilt when their source or any header of the layer or the kit is newer.
newest_header=$(ls -t platform/*.h platform/gui/*.h gifkit/*.h workbench/logic/*.h | head -1)
objects=()
for src in "${sources[@]}"; do objects+=("$obj/${src//\//_}.o"); done
for src in "${sources[@]}"; do
  o=$obj/${src//\//_}.o
  if [[ ! -f $o || $src -nt $o || $newest_header -nt $o ]]; then echo "$src $o"; fi
done | FUZZ_CXXFLAGS="${flags[*]} -fsanitize=fuzzer-no-link $qtcflags" \
  xargs -r -P 4 -n 2 bash -c 'clang++ $FUZZ_CXXFLAGS -c "$1" -o "$2"' compile
# shellcheck disable=SC2086
clang++ "${flags[@]}" -fsanitize=fuzzer $qtcflags "${objects[@]}" "tools/fuzz/${target}_fuzz.cpp" \
  -o "$out/${target}_fuzz" "${libs[@]}"

# Seeds.
case $target in
  gif_reader | gif_roundtrip)
    [ -d /usr/share/apache2/icons ] && find /usr/share/apache2/icons -name '*.gif' -size -8k -exec cp {} "$seeds/" \;
    if command -v convert >/dev/null; then
      convert -size 20x15 -seed 1 plasma: gradient:red-blue -set delay 5 -loop 0 "$seeds/anim.gif" 2>/dev/null || true
      convert -size 17x9 -seed 2 plasma: -interlace GIF "$seeds/interlaced.gif" 2>/dev/null || true
    fi ;;
  bmp_reader)
    if command -v convert >/dev/null; then
      convert -size 7x5 -seed 3 plasma: "BMP3:$seeds/rgb24.bmp" 2>/dev/null || true
      convert -size 9x4 -seed 4 plasma: -colors 200 -type Palette "BMP3:$seeds/pal8.bmp" 2>/dev/null || true
      convert -size 5x3 -seed 5 plasma: -colors 12 -depth 4 -type Palette "BMP3:$seeds/pal4.bmp" 2>/dev/null || true
      convert -size 11x3 xc:white -fill black -draw 'point 2,1' -type Bilevel "BMP3:$seeds/mono.bmp" 2>/dev/null || true
      convert -size 6x6 -seed 6 plasma: -alpha set -define bmp:format=bmp4 "BMP:$seeds/bitfields32.bmp" 2>/dev/null || true
      convert -size 6x2 -seed 7 plasma: -define bmp:subtype=RGB565 "BMP:$seeds/rgb565.bmp" 2>/dev/null || true
    fi ;;
  ini_roundtrip)
    printf '[URLlst]\r\nU12=http://a.com/?x=1&y=2\r\n"[key]"=" padded "\r\n' >"$seeds/plain.ini"
    printf '[\\]\\x81]\r\nk\\=1=line\\r\\nbreak\r\n; comment\r\n[ spaced ]\r\nK=\\\\x\r\n' >"$seeds/escapes.ini"
    printf 'sec\0key\0value\0SEC\0KEY\0other\0\xF2\0\x81=k\0\xF2\n' >"$seeds/triples.bin"
    printf '[\xD6\xD0\xCE\xC4]\r\n\xC7\xAC\xA8\x7C=\x81\\\\\r\n' >"$seeds/gbk.ini" ;;
  numbers_dates)
    for t in 0 -2147483648 9223372036854775807 '$FFFFFFFF' 0x7f 1.5 ' -2.5E-3 ' 1e308 \
             1.79769313486231E308 4.94065645841247E-324 1e-400 .5 'yyyy-mm-dd hh:nn:ss.zzz'; do
      printf '%s' "$t" >"$seeds/$(printf '%s' "$t" | md5sum | cut -c1-8).txt"
    done
    printf '\xd8\x07\x00\x00\x02\x00\x00\x00\x1d\x00\x00\x00\x17\x00\x00\x00\x3b\x00\x00\x00' >"$seeds/leapday.bin" ;;
  packed_text)
    # A short book, its length cut short and grown, and an empty file, packed with Python's zlib.
    python3 - "$seeds" <<'PY'
import os, struct, sys, zlib
text = ("第一章 六爻\r\n" * 20).encode("gb18030")
packed = zlib.compress(text, 9)
for name, data in {"book.dat": struct.pack("<I", len(text)) + packed,
                   "first10.dat": struct.pack("<I", 10) + packed,
                   "toolong.dat": struct.pack("<I", len(text) + 1) + packed,
                   "empty.dat": b""}.items():
    open(os.path.join(sys.argv[1], name), "wb").write(data)
PY
    ;;
esac

"$out/${target}_fuzz" "$out/corpus/$target" "$seeds" -max_total_time="$seconds" -max_len=65536 \
  -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$out/crashes/$target/" -print_final_stats=1 "$@"
