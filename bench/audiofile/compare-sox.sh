#!/usr/bin/env bash
# The audio-file library side by side with sox, on files of the same length.
#
#   bench/audiofile/compare-sox.sh [BUILD_DIR] [SECONDS] [write|read|both]
#
# write: sox converts a 16-bit stereo 48 kHz WAV of SECONDS (default 600) to
#   24 bits; audiofile-bench writes a 24-bit stereo 48 kHz broadcast-wave file
#   of the same length from float samples, with its peak envelope.
# read: a 24-bit stereo 48 kHz WAV of SECONDS without a peak envelope (made
#   by sox, plain PCM) is read by `sox FILE -n stat`, and opened by
#   audiofile-read-bench, which builds its waveform peaks (and writes their
#   cache) and reports how many bytes it read against the file's size.
# Both write into the same temporary folder; each side runs REPEAT times
# (default 3), alternating which goes first, and the best wall time counts.
set -euo pipefail
build=$(realpath "${1:-build}")
seconds="${2:-600}"
mode="${3:-both}"
repeat="${REPEAT:-3}"
bench="$build/bin/audiofile-bench"
readBench="$build/bin/audiofile-read-bench"
command -v sox >/dev/null || { echo "sox is not installed" >&2; exit 2; }
for b in "$bench" "$readBench"; do
  [ -x "$b" ] || { echo "no $b; build the targets audiofile-bench and audiofile-read-bench first" >&2; exit 2; }
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
now() { date +%s.%N; }
timed() { local t0 t1; t0=$(now); "$@"; t1=$(now); awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }'; }
smaller() { awk -v x="$1" -v y="${2:-$1}" 'BEGIN { print (x < y ? x : y) }'; }

# Runs "sox side" and "our side" REPEAT times, alternating the order, and
# prints the best of each.
compare() {
  local label="$1" sox_side="$2" our_side="$3" best_sox="" best_ours="" s o
  for r in $(seq "$repeat"); do
    if [ $((r % 2)) -eq 1 ]; then
      s=$(timed $sox_side); o=$(timed $our_side)
    else
      o=$(timed $our_side); s=$(timed $sox_side)
    fi
    echo "$label run $r: sox ${s} s, ours ${o} s"
    best_sox=$(smaller "$s" "$best_sox")
    best_ours=$(smaller "$o" "$best_ours")
  done
  awk -v l="$label" -v s="$best_sox" -v o="$best_ours" \
    'BEGIN { printf "%s best: sox %.3f s, ours %.3f s, ratio sox/ours %.2f\n", l, s, o, s / o }'
}

if [ "$mode" = write ] || [ "$mode" = both ]; then
  # The source for sox, made before timing.
  sox -n -r 48000 -c 2 -b 16 "$out/source16.wav" synth "$seconds" sine 220-440 sine 330-660 vol 0.7
  write_sox() { rm -f "$out/sox24.wav"; sox "$out/source16.wav" -b 24 "$out/sox24.wav"; }
  write_ours() { rm -f "$out/ours24.wav"; "$bench" "$out/ours24.wav" "$seconds" 24 2 48000 >/dev/null; }
  compare write write_sox write_ours
  echo "write sizes: sox $(stat -c %s "$out/sox24.wav") bytes, audiofile-bench $(stat -c %s "$out/ours24.wav") bytes"
  if command -v sndfile-info >/dev/null; then
    sndfile-info "$out/ours24.wav" | grep -E "^(Sample Rate|Frames|Channels|Duration)" | tr -s ' ' | paste -sd ';'
  fi
  rm -f "$out/source16.wav" "$out/sox24.wav" "$out/ours24.wav"
fi

if [ "$mode" = read ] || [ "$mode" = both ]; then
  # Plain PCM (sox writes 24-bit WAV as WAVE_FORMAT_EXTENSIBLE otherwise,
  # which the library refuses), no envelope: the peaks come from a scan.
  sox -n -r 48000 -c 2 -b 24 -t wavpcm "$out/long24.wav" synth "$seconds" sine 220-440 sine 330-660 vol 0.7
  read_sox() { sox "$out/long24.wav" -n stat 2>/dev/null; }
  read_ours() { "$readBench" "$out/long24.wav" >"$out/read.txt"; }
  compare read read_sox read_ours
  echo "read: $(cat "$out/read.txt")"
fi
