#!/usr/bin/env bash
# Line coverage of the fuzz corpus: builds the fuzz targets once more with clang's source
# coverage (build-fuzz-cov/), runs each over the corpus that scripts/fuzz.sh kept in
# $TARVEK_FUZZ_BUILD_DIR/corpus (default build-fuzz) and its seeds, and prints the lines
# covered in each file of the readers.
set -euo pipefail
cd "$(dirname "$0")/.."
from="${TARVEK_FUZZ_BUILD_DIR:-build-fuzz}"
build_dir=build-fuzz-cov
TARVEK_EXTRA_PACKAGES="clang libclang-rt-14-dev llvm" bash scripts/deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTARVEK_FUZZ=ON \
  -DTARVEK_BUILD_TESTS=OFF -DTARVEK_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build_dir" --target tarvek_fuzz_all -j"${TARVEK_FUZZ_BUILD_JOBS:-$(nproc)}" >/dev/null
rm -rf "$build_dir/profiles" && mkdir -p "$build_dir/profiles"
objects=()
while read -r t; do
  [ -z "$t" ] && continue
  LLVM_PROFILE_FILE="$build_dir/profiles/$t.profraw" ASAN_OPTIONS=detect_leaks=0 \
    "$build_dir/fuzz/$t" -runs=0 "$from/corpus/$t" "$from/seeds/$t" >/dev/null 2>&1 || true
  objects+=(-object "$build_dir/fuzz/$t")
done < "$build_dir/fuzz/targets.txt"
llvm-profdata merge -sparse "$build_dir"/profiles/*.profraw -o "$build_dir/profiles/all.profdata"
llvm-cov report "${objects[@]:1}" -instr-profile="$build_dir/profiles/all.profdata" \
  platform/textfile.cpp platform/numbers.cpp document/drawing_file.cpp document/view_settings.cpp \
  document/startup.cpp document/part_file.cpp households/household_table.cpp households/handover.cpp households/ledger_poll.cpp \
  platform/jpeg_reader.cpp
