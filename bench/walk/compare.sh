#!/usr/bin/env bash
# Compares the media search dialog's folder walk with find(1) on the same
# generated tree, in the same run: 100,000 files in 1,000 folders, no audio
# or video. Passes when the walk takes at most 3x find's time and the dialog
# processes events at least every 50 ms.
#
#   bench/walk/compare.sh BUILD_DIR [TREE_DIR]
#
# The tree is made under /tmp (default /tmp/zintrop-walk-tree) and kept for
# later runs; delete it to make it anew.
set -euo pipefail

build=${1:?usage: compare.sh BUILD_DIR [TREE_DIR]}
tree=${2:-/tmp/zintrop-walk-tree}
bench="$build/bin/walk-bench"
runs=${RUNS:-5}
[ -x "$bench" ] || { echo "no $bench; build the walk-bench target first" >&2; exit 2; }

# 10 top folders with 99 subfolders each: 1,000 folders of 100 files.
if [ ! -f "$tree.complete" ]; then
  rm -rf "$tree"
  mkdir -p "$tree"
  exts=(png txt dat jpg xml bin)
  fill() {
    local names=() f
    for f in $(seq -w 0 99); do names+=("$1/file$f.${exts[$((10#$f % 6))]}"); done
    touch "${names[@]}"
  }
  for t in $(seq 0 9); do
    mkdir -p "$tree/top$t"; fill "$tree/top$t"
    for s in $(seq -w 0 98); do
      mkdir -p "$tree/top$t/sub$s"; fill "$tree/top$t/sub$s"
    done
  done
  touch "$tree.complete"
fi
folders=$(find "$tree" -mindepth 1 -type d | wc -l)
files=$(find "$tree" -type f | wc -l)
echo "tree: $tree, $files files in $folders folders (plus the root)"

now_ns() { date +%s%N; }
find "$tree" > /dev/null # warm the cache for both sides
find_times=()
for _ in $(seq "$runs"); do
  t0=$(now_ns); find "$tree" > /dev/null; t1=$(now_ns)
  find_times+=($(( (t1 - t0) / 1000 )))
done
find_best_us=$(printf '%s\n' "${find_times[@]}" | sort -n | head -1)
find_median_us=$(printf '%s\n' "${find_times[@]}" | sort -n | sed -n "$(( runs / 2 + 1 ))p")

out=$("$bench" "$tree" "$runs")
echo "$out"
summary=$(echo "$out" | tail -1)
walk_best_ms=$(echo "$summary" | sed -E 's/.*best_ms=([0-9.]+).*/\1/')
walk_median_ms=$(echo "$summary" | sed -E 's/.*median_ms=([0-9.]+).*/\1/')
max_gap_ms=$(echo "$summary" | sed -E 's/.*max_gap_ms=([0-9.]+).*/\1/')

# Best of the runs on both sides: the machine may be busy with other work.
awk -v w="$walk_best_ms" -v f="$find_best_us" -v wm="$walk_median_ms" -v fmed="$find_median_us" \
    -v g="$max_gap_ms" 'BEGIN {
  fm = f / 1000.0; ratio = w / fm
  printf "find median: %.1f ms, walk median: %.1f ms, ratio %.2f\n", fmed / 1000.0, wm, wm / (fmed / 1000.0)
  printf "find best: %.1f ms, walk best: %.1f ms, ratio %.2f (limit 3.00)\n", fm, w, ratio
  printf "longest gap between event passes: %.2f ms (limit 50)\n", g
  ok = (ratio <= 3.0 && g <= 50.0)
  print ok ? "PASS" : "FAIL"
  exit ok ? 0 : 1
}'
