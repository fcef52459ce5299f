#!/usr/bin/env bash
# Runs zintrop-bench and Debian's pngquant side by side on the same PNG files
# and prints their throughput and the ratio.
#
#   bench/compare-pngquant.sh [CORPUS_DIR] [BUILD_DIR]
#
# CORPUS_DIR (default ./corpus) holds PNG files directly and/or in sub-folders
# (one level, as the corpus script makes them). BUILD_DIR (default ./build)
# holds bin/zintrop-bench. pngquant runs as the batch would: one process per
# file, single-threaded, "--speed 4 256". zintrop-bench runs at its defaults
# (256 colours, dithering). Both write into a temporary folder. Each side runs
# REPEAT times (default 3), alternating, and the best time counts.
set -euo pipefail
corpus=$(realpath "${1:-corpus}")
build=$(realpath "${2:-build}")
bench="$build/bin/zintrop-bench"
repeat="${REPEAT:-3}"
command -v pngquant >/dev/null || { echo "pngquant is not installed" >&2; exit 2; }
[ -x "$bench" ] || { echo "no $bench; build the target zintrop-bench first" >&2; exit 2; }

dirs=()
for d in "$corpus" "$corpus"/*/; do
  d=${d%/}
  if compgen -G "$d/*.png" >/dev/null || compgen -G "$d/*.PNG" >/dev/null; then dirs+=("$d"); fi
done
[ ${#dirs[@]} -gt 0 ] || { echo "no PNG files in $corpus" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
now() { date +%s.%N; }

run_pngquant() {
  local i=0
  for d in "${dirs[@]}"; do
    mkdir -p "$out/pq/$i"
    find "$d" -maxdepth 1 -type f -iname '*.png' -print0 | sort -z |
      while IFS= read -r -d '' f; do
        OMP_NUM_THREADS=1 pngquant --speed 4 256 --force --output "$out/pq/$i/$(basename "$f")" -- "$f" 2>/dev/null || true
      done
    i=$((i + 1))
  done
}

run_zintrop() {
  local i=0
  : > "$out/summary"
  for d in "${dirs[@]}"; do
    OMP_NUM_THREADS=1 "$bench" "$d" "$out/zt/$i" 2>/dev/null | grep '^summary:' >> "$out/summary" || true
    i=$((i + 1))
  done
}

best_pq=""; best_zt=""
for r in $(seq "$repeat"); do
  t0=$(now); run_pngquant; t1=$(now); run_zintrop; t2=$(now)
  pq=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
  zt=$(awk -v a="$t1" -v b="$t2" 'BEGIN { printf "%.3f", b - a }')
  echo "run $r: pngquant ${pq} s, zintrop-bench ${zt} s"
  best_pq=$(awk -v x="$pq" -v y="${best_pq:-$pq}" 'BEGIN { print (x < y ? x : y) }')
  best_zt=$(awk -v x="$zt" -v y="${best_zt:-$zt}" 'BEGIN { print (x < y ? x : y) }')
done

files=$(awk -F'files |,' '{ s += $2 } END { print s }' "$out/summary")
mp=$(sed -E 's/.*megapixels ([0-9.]+),.*/\1/' "$out/summary" | awk '{ s += $1 } END { printf "%.3f", s }')
fails=$(sed -E 's/.*failures ([0-9]+).*/\1/' "$out/summary" | awk '{ s += $1 } END { print s }')
pq_bytes=$(find "$out/pq" -type f -name '*.png' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
zt_bytes=$(sed -E 's/.*bytes out ([0-9]+),.*/\1/' "$out/summary" | awk '{ s += $1 } END { print s }')

echo "files $files, megapixels $mp, zintrop failures $fails"
awk -v mp="$mp" -v pq="$best_pq" -v zt="$best_zt" -v pb="$pq_bytes" -v zb="$zt_bytes" 'BEGIN {
  printf "pngquant      : %8.3f s  %7.3f MP/s  %11d bytes out\n", pq, mp / pq, pb
  printf "zintrop-bench : %8.3f s  %7.3f MP/s  %11d bytes out\n", zt, mp / zt, zb
  printf "throughput ratio (zintrop / pngquant): %.2f\n", pq / zt
}'
