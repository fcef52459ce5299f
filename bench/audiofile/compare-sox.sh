#!/usr/bin/env bash
# Writing a broadcast-wave file from floats, side by side with sox converting
# a file of the same length.
#
#   bench/audiofile/compare-sox.sh [BUILD_DIR] [SECONDS]
#
# sox converts a 16-bit stereo 48 kHz WAV of SECONDS (default 600) to 24 bits;
# audiofile-bench writes a 24-bit stereo 48 kHz broadcast-wave file of the
# same length from float samples, with its peak envelope. Both write into the
# same temporary folder; each side runs REPEAT times (default 3), alternating
# which goes first, and the best wall time counts.
set -euo pipefail
build=$(realpath "${1:-build}")
seconds="${2:-600}"
repeat="${REPEAT:-3}"
bench="$build/bin/audiofile-bench"
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 2; }
[ -x "$bench" ] || { echo "no $bench; build the target audiofile-bench first" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
now() { date +%s.%N; }

# The source for sox, made before timing.
sox -n -r 48000 -c 2 -b 16 "$out/source16.wav" synth "$seconds" sine 220-440 sine 330-660 vol 0.7

best_sox=""; best_ours=""
run_sox() { sox "$out/source16.wav" -b 24 "$out/sox24.wav"; }
run_ours() { "$bench" "$out/ours24.wav" "$seconds" 24 2 48000 >/dev/null; }
timed() { local t0 t1; t0=$(now); "$@"; t1=$(now); awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }'; }

for r in $(seq "$repeat"); do
  rm -f "$out/sox24.wav" "$out/ours24.wav"
  if [ $((r % 2)) -eq 1 ]; then
    s=$(timed run_sox); o=$(timed run_ours)
  else
    o=$(timed run_ours); s=$(timed run_sox)
  fi
  echo "run $r: sox ${s} s, audiofile-bench ${o} s"
  best_sox=$(awk -v x="$s" -v y="${best_sox:-$s}" 'BEGIN { print (x < y ? x : y) }')
  best_ours=$(awk -v x="$o" -v y="${best_ours:-$o}" 'BEGIN { print (x < y ? x : y) }')
done
echo "sizes: sox $(stat -c %s "$out/sox24.wav") bytes, audiofile-bench $(stat -c %s "$out/ours24.wav") bytes"
if command -v sndfile-info >/dev/null; then
  sndfile-info "$out/ours24.wav" | grep -E "^(Sample Rate|Frames|Channels|Duration)" | tr -s ' ' | paste -sd ';'
fi
awk -v s="$best_sox" -v o="$best_ours" \
  'BEGIN { printf "best: sox %.3f s, audiofile-bench %.3f s, ratio sox/ours %.2f\n", s, o, s / o }'
