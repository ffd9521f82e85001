#!/usr/bin/env bash
# Builds the RTF reader fuzzer with clang's libFuzzer and AddressSanitizer.
# Usage: fuzz/build.sh [build-dir]; then run, for example,
#   build-fuzz/rtf_reader_fuzzer -max_total_time=600 -jobs=1 -workers=1 -timeout=10 \
#       -max_len=65536 -dict=fuzz/rtf.dict build-fuzz/corpus fuzz/corpus
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/build-fuzz}
mkdir -p "$OUT/corpus"
CXX=${CXX:-clang++-14}
"$CXX" -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address -fno-omit-frame-pointer \
  -I"$ROOT/src/formats/rtf" $(pkg-config --cflags Qt6Gui) \
  "$ROOT/fuzz/rtf_reader_fuzzer.cpp" "$ROOT"/src/formats/rtf/*.cpp \
  $(pkg-config --libs Qt6Gui) -o "$OUT/rtf_reader_fuzzer"
echo "built $OUT/rtf_reader_fuzzer"
