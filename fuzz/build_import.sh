#!/usr/bin/env bash
# Builds the import fuzzers (.docx reader, .xlsx reader, text recognizer) with
# clang's libFuzzer and AddressSanitizer. Usage: fuzz/build_import.sh [build-dir];
# then run, for example,
#   build-fuzz/docx_reader_fuzzer -max_total_time=600 -timeout=10 -rss_limit_mb=2048 \
#       -dict=fuzz/import.dict build-fuzz/corpus-docx fuzz/corpus-import/docx
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$ROOT/build-fuzz}
OBJ="$OUT/import-obj"
mkdir -p "$OBJ" "$OUT/corpus-docx" "$OUT/corpus-xlsx" "$OUT/corpus-text"
CXX=${CXX:-clang++-14}
FLAGS=(-std=c++17 -g -O1 -fPIC -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer
       -I"$ROOT/src/formats/rtf" -I"$ROOT/src/formats/docx" -I"$ROOT/src/formats/import" -I"$ROOT/fuzz"
       $(pkg-config --cflags Qt6Gui libzip))
SOURCES=("$ROOT"/src/formats/rtf/*.cpp "$ROOT"/src/formats/import/*.cpp
         "$ROOT/src/formats/docx/ZipArchive.cpp")
OBJECTS=()
for source in "${SOURCES[@]}"; do
  object="$OBJ/$(basename "$(dirname "$source")")_$(basename "${source%.cpp}").o"
  if [ ! -f "$object" ] || [ "$source" -nt "$object" ]; then
    "$CXX" "${FLAGS[@]}" -c "$source" -o "$object"
  fi
  OBJECTS+=("$object")
done
for fuzzer in docx_reader_fuzzer xlsx_reader_fuzzer text_recognizer_fuzzer; do
  "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer "$ROOT/fuzz/$fuzzer.cpp" "${OBJECTS[@]}" \
    $(pkg-config --libs Qt6Gui libzip) -o "$OUT/$fuzzer"
  echo "built $OUT/$fuzzer"
done
