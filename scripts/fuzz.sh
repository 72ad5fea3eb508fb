#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan) into build-fuzz/
# and runs each for SECONDS (default 60), several at a time; prints the executions,
# coverage and findings of each. Exits non-zero when any target found something.
#
#   scripts/fuzz.sh [SECONDS]
#   TARVEK_FUZZ_RUNS=1000000 scripts/fuzz.sh   runs a fixed number of inputs instead
#   TARVEK_FUZZ_PARALLEL=3                     targets run at once (default: all cores)
#   TARVEK_FUZZ_TARGETS="fuzz_cp932 ..."       only these targets
#
# New inputs go to build-fuzz/corpus/<target>/ (kept between runs), findings to
# build-fuzz/findings/, the log of each target to build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds="${1:-60}"
runs="${TARVEK_FUZZ_RUNS:-}"
build_dir="${TARVEK_FUZZ_BUILD_DIR:-build-fuzz}"
parallel="${TARVEK_FUZZ_PARALLEL:-$(nproc)}"

TARVEK_EXTRA_PACKAGES="clang libclang-rt-14-dev" bash scripts/deps.sh
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARVEK_FUZZ=ON -DTARVEK_BUILD_TESTS=OFF -DTARVEK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target tarvek_fuzz_all -j"${TARVEK_FUZZ_BUILD_JOBS:-$(nproc)}"

read -r -a targets <<< "${TARVEK_FUZZ_TARGETS:-$(tr '\n' ' ' < "$build_dir/fuzz/targets.txt")}"
mkdir -p "$build_dir/corpus" "$build_dir/findings" "$build_dir/logs" "$build_dir/seeds"

# Seeds: the committed families of damage, the test fixtures and the sample temple.
seed_dir() {
  local t=$1 d="$build_dir/seeds/$1"
  rm -rf "$d" && mkdir -p "$d"
  [ -d "fuzz/seeds/$t" ] && cp fuzz/seeds/"$t"/* "$d/"
  case "$t" in
    fuzz_drawing_file) cp tests/data/*_data.txt samples/temple/*_data.txt "$d/" ;;
    fuzz_view_settings)
      # The view sections of the fixtures, after the version byte.
      for f in tests/data/*_data.txt samples/temple/*_data.txt; do
        { printf '\000'; LC_ALL=C awk 'f { print } /^<form_data>\r?$/ { f = 1 }' "$f"; } > "$d/view_$(basename "$f")"
      done ;;
    fuzz_drawing_request) cp samples/temple/選択図面.csv "$d/" ;;
    fuzz_household_table) cp samples/temple/檀家厨子.csv "$d/" ;;
    fuzz_handover) cp samples/temple/受渡し_fm.csv "$d/" ;;
    fuzz_part_file)
      # The fixtures and the sample drawing, each read as a part, an old part and a drawing.
      for f in tests/data/*_data.txt samples/temple/*_data.txt; do
        for b in 0 1 2; do { printf "\\00$b"; cat "$f"; } > "$d/${b}_$(basename "$f")"; done
      done ;;
    fuzz_cp932) cp tests/data/*_data.txt samples/temple/*.csv samples/temple/*_data.txt "$d/" ;;
  esac
  echo "$d"
}

run_target() {
  local t=$1 limit
  local seeds corpus="$build_dir/corpus/$t" log="$build_dir/logs/$t.log"
  seeds=$(seed_dir "$t")
  mkdir -p "$corpus"
  if [ -n "$runs" ]; then limit=(-runs="$runs"); else limit=(-max_total_time="$seconds"); fi
  set +e
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}" \
    "$build_dir/fuzz/$t" "${limit[@]}" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$build_dir/findings/$t-" "$corpus" "$seeds" >"$log" 2>&1
  local rc=$?
  set -e
  echo "$rc" > "$build_dir/logs/$t.rc"
}

# Findings of this run only.
for t in "${targets[@]}"; do rm -f "$build_dir/findings/$t-"*; done
start=$(date +%s)
running=0
for t in "${targets[@]}"; do
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true

failed=0
printf '%-22s %12s %8s %8s %8s %8s  %s\n' target executions seconds cov ft corpus findings
# A target stopped by its first input has no statistics: its row shows "?" and the
# table goes on to every other target.
for t in "${targets[@]}"; do
  log="$build_dir/logs/$t.log"
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1 || true)
  secs=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' | tail -1 || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  corp=$(grep -o 'corp: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  findings=$(find "$build_dir/findings" -name "$t-*" | wc -l)
  rc=$(cat "$build_dir/logs/$t.rc")
  [ "$rc" -ne 0 ] && [ "$findings" -eq 0 ] && findings="exit $rc"
  printf '%-22s %12s %8s %8s %8s %8s  %s\n' "$t" "${execs:-?}" "${secs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$findings"
  if [ "$rc" -ne 0 ] || [ "$findings" != 0 ]; then
    failed=1
    grep -m3 -E 'finding|ERROR|SUMMARY' "$log" | sed 's/^/    /' || true
    find "$build_dir/findings" -name "$t-*" | sed 's/^/    input: /'
  fi
done
echo "fuzzing took $(( $(date +%s) - start )) s"
exit "$failed"
