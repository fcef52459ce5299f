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
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
program="$(realpath "$build")/bin/zintrop-lite"
out="$(realpath -m "${1:-$build/screenshots}")"
[ -x "$program" ] || { echo "no program at $program; build first" >&2; exit 1; }
mkdir -p "$out"

work="$(mktemp -d /tmp/zintrop-shots-XXXXXX)"
trap 'rm -rf "$work"' EXIT

if [ -z "${ZINTROP_SHOTS_INNER:-}" ]; then
  export ZINTROP_SHOTS_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$out"
fi

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


shot() {  # shot name [window-name] [geometry]
  local geometry="${3:-420x600+0+0}"
  if [ -n "${2:-}" ]; then
    local id
    id="$(xdotool search --name "$2" | tail -1)"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    geometry="${WIDTH}x${HEIGHT}+${X}+${Y}"
  fi
  import -window root -crop "$geometry" +repage "$out/$1.png"
  echo "saved $out/$1.png"
}

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 2
shot 1-main-window-empty

# The drop area's open button, then the folder dialog: type the folder, Enter.
xdotool mousemove 210 180 click 1
sleep 1.5
shot 2-open-folder-dialog "Find Directory|Choose|Open"
xdotool type --delay 5 "$pics"
xdotool key Return
sleep 2
shot 3-main-window-list

# The first row's menu button, then "Show Image": the preview slides in.
xdotool mousemove 386 240 click 1
sleep 0.7
# The menu opens at the button and reaches past the window's right edge.
shot 3a-row-menu "" 560x600+0+0
xdotool key Down Return
sleep 1.5
shot 3b-preview
sleep 4.5

# The settings button (the gear), then Escape.
xdotool mousemove 157 536 click 1
sleep 1
shot 4-settings-dialog "Settings"
xdotool key Escape
sleep 0.5

# "Compress": the progress dialog runs, then shows DONE.
xdotool mousemove 229 536 click 1
sleep 3.2
shot 5-progress-running
for _ in $(seq 1 120); do
  n="$(find "$dest" -name '*.png' | wc -l)"
  [ "$n" -ge "$count" ] && break
  sleep 0.5
done
sleep 1.5
shot 6-progress-done
xdotool key Escape
sleep 0.7
shot 7-main-window-after
kill $pid
wait $pid 2>/dev/null || true
echo "output files: $(find "$dest" -type f | wc -l)"
