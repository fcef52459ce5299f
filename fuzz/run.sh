#!/usr/bin/env bash
# Fuzzes every harness of fuzz/ with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and prints one line per harness: executions,
# coverage, findings. Not part of the test run.
#
#   fuzz/run.sh [SECONDS] [HARNESS ...]
#
# SECONDS (default 60) is the time given to each harness; HARNESS names limit
# the run to those folders of fuzz/. FUZZ_JOBS=N fuzzes N harnesses at once.
# The growing corpus stays in build-fuzz/corpus/<name>; a finding (crash,
# leak, timeout, out-of-memory, sanitizer report) lands in
# build-fuzz/findings/<name>/ and is a bug: fix it and add the input to
# fuzz/<name>/seeds/. Inputs slower than the report threshold are kept there
# too as slow-unit-* and counted apart ("slow"): they are not failures.
# A harness whose legitimate inputs need more time or memory than the
# defaults (the PNG path takes pictures up to 150 megapixels) lists extra
# libFuzzer flags in fuzz/<name>/options; later flags win.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
root="$(pwd)"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${FUZZ_JOBS:-1}"

bash scripts/setup.sh fuzz

if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for f in fuzz/*/CMakeLists.txt; do names+=("$(basename "$(dirname "$f")")"); done
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINTROP_FUZZ=ON >/dev/null
targets=()
for n in "${names[@]}"; do targets+=("fuzz-$n"); done
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

fuzz_one() {
  local n="$1" corpus="$build/corpus/$1" findings="$build/findings/$1" log="$build/logs/$1.log"
  mkdir -p "$corpus" "$findings" "$build/logs"
  local extra=()
  if [ -f "$root/fuzz/$n/options" ]; then
    read -r -a extra <"$root/fuzz/$n/options"
  fi
  # Qt's image plug-ins and style would load from the system: keep it offscreen.
  # The system libraries' one-off allocations are not leaks of ours.
  QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='*=false' \
  LSAN_OPTIONS="suppressions=$root/cmake/lsan.supp" \
    "$build/fuzz/fuzz-$n" -max_total_time="$seconds" -print_final_stats=1 \
      -timeout=25 -rss_limit_mb=4096 -artifact_prefix="$findings/" "${extra[@]}" \
      "$corpus" "$root/fuzz/$n/seeds" >"$log" 2>&1 || true
  local execs cov found slow
  execs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  cov="$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo 0)"
  found="$(find "$findings" -type f ! -name 'slow-unit-*' | wc -l)"
  slow="$(find "$findings" -type f -name 'slow-unit-*' | wc -l)"
  printf '%-16s executions %-10s coverage %-6s findings %-4s slow %s\n' \
    "$n" "${execs:-0}" "${cov:-0}" "$found" "$slow"
}

export -f fuzz_one
export build root seconds
printf '%s\n' "${names[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$@"' _ {}
