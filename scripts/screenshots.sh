#!/usr/bin/env bash
# Starts the program under Xvfb with a fresh home folder, drives one batch as
# a user would (the drop area's open button and its folder dialog, the
# settings button, "Compress") with xdotool, and saves screenshots of the main
# window, the settings dialog and the progress dialog.
#
#   bash scripts/screenshots.sh [output-folder]
#
# Needs a built program (bash scripts/build.sh test, or BUILD_DIR=...) and
# Xvfb, xdotool and ImageMagick (scripts/setup.sh installs them). The
# positions clicked are those of the window at its default size (420 x 600).
# Each window is waited for, at most ZINTROP_SHOTS_WAIT seconds (60).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
program="$(realpath "$build")/bin/zintrop-lite"
out="$(realpath -m "${1:-$build/screenshots}")"
[ -x "$program" ] || { echo "no program at $program; build first" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${ZINTROP_SHOTS_INNER:-}" ]; then
  export ZINTROP_SHOTS_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$out"
fi

work="$(mktemp -d /tmp/zintrop-shots-XXXXXX)"
trap 'rm -rf "$work"' EXIT

# A fresh home: no introduction, nothing opened after the batch, and the
# maker's hosts on a loopback port where nothing listens.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export ZINTROP_WEB_BASE="http://127.0.0.1:9"
export QT_GSTREAMER_PLAYBIN_AUDIOSINK=fakesink
mkdir -p "$XDG_CONFIG_HOME/Corvane"
dest="$work/out"
mkdir -p "$dest"
cat > "$XDG_CONFIG_HOME/Corvane/Zintrop Lite.conf" <<CONF
[Zintrop%20Lite]
NeverShowItAgain=true
KeyOpenFolderAfter=false
KeyPlaySoundAfter=false
AutoReminder=false
DestinationPath=$dest/
CONF

# The pictures of the batch: seeded plasma, some in a sub-folder.
pics="$work/Holiday pictures"
count=36
mkdir -p "$pics/Day 2"
for i in $(seq 1 $count); do
  target="$pics"
  [ "$i" -gt 24 ] && target="$pics/Day 2"
  convert -seed "$i" -size 1000x750 plasma:fractal "$target/photo_$i.png"
done
echo "notes" > "$pics/readme.txt"

shots=screenshots
source scripts/shots-wait.sh

shot() {  # shot name [window-id] [geometry]
  local geometry="${3:-420x600+0+0}"
  if [ -n "${2:-}" ]; then
    eval "$(xdotool getwindowgeometry --shell "$2")"
    geometry="${WIDTH}x${HEIGHT}+${X}+${Y}"
  fi
  unblack "$geometry" "$1"
  settle "$geometry"
  grab "$out/$1.png" "$geometry"
  echo "saved $out/$1.png"
}

: > "$work/marked"
"$program" &
pid=$!
watched=$pid
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
wait_window "the main window" --pid "$pid" >/dev/null
shot 1-main-window-empty

# The drop area's open button, then the folder dialog: type the folder, Enter.
mark --pid "$pid"
xdotool mousemove 210 180 click 1
dialog="$(wait_window "the folder dialog" --pid "$pid")"
shot 2-open-folder-dialog "$dialog"
xdotool type --delay 5 "$pics"
xdotool key Return
wait_closed "$dialog" "the folder dialog" --pid "$pid"
shot 3-main-window-list
dropArea=420x80+0+40  # above its button, which shows the pointer over it
grab "$work/drop-area.png" "$dropArea"

# The first row's menu button, then "Show Image": the preview slides in.
mark --pid "$pid"
xdotool mousemove 386 240 click 1
menu="$(wait_window "the row's menu" --pid "$pid")"
# The menu opens at the button and reaches past the window's right edge.
shot 3a-row-menu "" 560x600+0+0
xdotool key Down Return
wait_closed "$menu" "the row's menu" --pid "$pid"
shot 3b-preview
# It slides away again by itself.
wait_like "$dropArea" "$work/drop-area.png" "the preview's sliding away"

# The settings button (the gear), then Escape.
mark --pid "$pid"
xdotool mousemove 157 536 click 1
dialog="$(wait_window "the settings dialog" --pid "$pid")"
shot 4-settings-dialog "$dialog"
xdotool key Escape
wait_closed "$dialog" "the settings dialog" --pid "$pid"

# "Compress": the progress dialog runs, then shows DONE.
mark --pid "$pid"
xdotool mousemove 229 536 click 1
dialog="$(wait_window "the progress dialog" --pid "$pid")"
deadline=$((SECONDS + limit))
until [ "$(find "$dest" -name '*.png' | wc -l)" -ge 3 ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the batch wrote nothing within $limit s"
  sleep 0.1
done
# Still running: the shot is taken as it is, not once it stops changing.
unblack 420x600+0+0 5-progress-running
cp "$work/now.png" "$out/5-progress-running.png"
echo "saved $out/5-progress-running.png"
deadline=$((SECONDS + 4 * limit))
until [ "$(find "$dest" -name '*.png' | wc -l)" -ge "$count" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the batch did not finish within $((4 * limit)) s"
  sleep 0.5
done
shot 6-progress-done
xdotool key Escape
wait_closed "$dialog" "the progress dialog" --pid "$pid"
shot 7-main-window-after
kill $pid
wait $pid 2>/dev/null || true
echo "output files: $(find "$dest" -type f | wc -l)"
