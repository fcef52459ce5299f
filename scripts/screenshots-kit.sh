#!/usr/bin/env bash
# Runs the widget kit's screen tools for real under Xvfb (1920 x 1080): a
# picture stands open on the desktop, the annotation editor opens on a grab
# of it, xdotool draws a few shapes, a highlighter stroke and a text note,
# saves the result through the save dialog and asks for a new screenshot;
# then the cropper cuts an area out of the desktop and saves it, and the
# measurer shows the size of a dragged area. Screenshots of every step are
# saved, and the saved pictures are checked.
#
#   bash scripts/screenshots-kit.sh [output-folder]
#
# Needs the built demo (bash scripts/build.sh test, or BUILD_DIR=...) and
# Xvfb, xdotool and ImageMagick (scripts/setup.sh installs them). The demo
# reports where its buttons are, so no position below depends on the style.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
demo="$(realpath "$build")/bin/qmwidgets-kit-demo"
out="$(realpath -m "${1:-$build/screenshots-kit}")"
[ -x "$demo" ] || { echo "no demo at $demo; build first" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${ZINTROP_SHOTS_INNER:-}" ]; then
  export ZINTROP_SHOTS_INNER=1
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$out"
fi

work="$(mktemp -d /tmp/zintrop-kit-shots-XXXXXX)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME/Desktop"
geometry="$work/geometry.txt"
export ZINTROP_DEMO_GEOMETRY="$geometry"

shot() {  # shot name [geometry]
  if [ -n "${2:-}" ]; then
    import -window root -crop "$2" +repage "$out/$1.png"
  else
    import -window root "$out/$1.png"
  fi
  echo "saved $out/$1.png"
}

# where name [text]: the centre of a named widget of the demo (with that
# text, for buttons), as "x y".
where() {
  local line
  for _ in $(seq 1 40); do
    line="$(grep "^$1 " "$geometry" 2>/dev/null | grep "${2:-}\$" | tail -1 || true)"
    if [ -n "$line" ]; then
      set -- $line
      echo "$(( $2 + $4 / 2 )) $(( $3 + $5 / 2 ))"
      return
    fi
    sleep 0.25
  done
  echo "no widget $1 ${2:-} on screen" >&2
  exit 1
}

# origin name: the top-left corner of a named widget, as "x y".
origin() {
  local line
  line="$(grep "^$1 " "$geometry" | tail -1)"
  set -- $line
  echo "$2 $3"
}

click() { xdotool mousemove $(where "$@") click 1; sleep 0.3; }

# drag x1 y1 x2 y2 [steps]: a left-button drag in screen pixels.
drag() {
  local steps="${5:-8}" i
  xdotool mousemove "$1" "$2" mousedown 1
  for i in $(seq 1 "$steps"); do
    xdotool mousemove $(( $1 + ($3 - $1) * i / steps )) $(( $2 + ($4 - $2) * i / steps ))
    sleep 0.02
  done
  xdotool mouseup 1
  sleep 0.3
}

# The desktop: a picture open in a window of its own at full size.
convert -size 1920x1080 gradient:'#28506e-#5a3f78' -fill white -font DejaVu-Sans \
  -pointsize 64 -annotate +160+220 'Release checklist' -pointsize 36 \
  -annotate +160+320 '1. Build passes on every platform' \
  -annotate +160+380 '2. Screenshots reviewed' -annotate +160+440 '3. Notes written' \
  -fill '#f0c040' -draw 'roundrectangle 1150,260 1700,700 30,30' \
  -fill '#28506e' -pointsize 48 -annotate +1260+500 'Due Friday' "$work/desktop.png"
display -geometry +0+0 "$work/desktop.png" &
pids+=($!)
sleep 1.5
shot 1-desktop

# ---- the editor ------------------------------------------------------------
"$demo" editor &
editor=$!
pids+=($editor)
sleep 2
shot 2-editor-opened
read -r cx cy < <(origin ImageNoteWorkArea)

# Lines 3 pixels wide (the third entry of the width menu).
click ImageNoteEditorThikness
xdotool key Down Down Down Return
sleep 0.3
click ImageNoteEditorRectangle
drag $(( cx + 140 )) $(( cy + 140 )) $(( cx + 830 )) $(( cy + 245 ))
click ImageNoteEditorArrow
drag $(( cx + 1060 )) $(( cy + 110 )) $(( cx + 845 )) $(( cy + 190 ))
# A red from the colour grid (row 2, column 1), then an oval.
read -r sx sy < <(origin ImageNoteEditorColorDecor)
xdotool mousemove $(( sx + 10 )) $(( sy + 10 )) click 1
sleep 0.4
shot 3-colour-grid 400x260+0+0
xdotool mousemove $(( sx + 5 + 5 + 22 + 10 )) $(( sy + 5 + 22 + 5 + 2 * 22 + 10 )) click 1
sleep 0.3
click ImageNoteEditorOval
drag $(( cx + 130 )) $(( cy + 335 )) $(( cx + 680 )) $(( cy + 400 ))
# The marker at 8 times the line width, along the first item.
click ImageNoteEditorHighlighter
drag $(( cx + 160 )) $(( cy + 305 )) $(( cx + 820 )) $(( cy + 305 )) 40
click ImageNoteEditorBlur
drag $(( cx + 150 )) $(( cy + 400 )) $(( cx + 530 )) $(( cy + 455 ))
shot 4-editor-shapes

# A text note: drag its box, type, make it 10 points larger, accept.
click ImageNoteEditorText
drag $(( cx + 760 )) $(( cy + 420 )) $(( cx + 1120 )) $(( cy + 560 ))
xdotool type --delay 20 "Check this before Friday"
click NoteEditWidgetInc
click NoteEditWidgetInc
sleep 0.3
shot 5-note-typed
click NoteEditWidgetAccept
sleep 0.5
shot 6-note-accepted

# Undo the note and redo it, then save through the dialog.
click ImageNoteEditorUndo
shot 7-after-undo
click ImageNoteEditorRedo
click ImageNoteEditorSave
sleep 1
shot 8-save-dialog
xdotool type --delay 5 "$HOME/annotated.png"
xdotool key Return
sleep 1
[ -s "$HOME/annotated.png" ] || { echo "the editor saved nothing" >&2; exit 1; }
identify "$HOME/annotated.png"
cp "$HOME/annotated.png" "$out/9-saved-by-editor.png"

# A new screenshot: the editor hides, the desktop is grabbed again.
click NewScreenShowButton
sleep 1.5
shot 10-new-screenshot
# The new picture counts as unsaved: quitting asks first.
click ImageNoteEditorQuit
sleep 0.7
shot 11-quit-question
click PushButton Yes
sleep 0.5
if kill -0 "$editor" 2>/dev/null; then echo "the editor did not quit" >&2; exit 1; fi

# ---- the cropper -----------------------------------------------------------
"$demo" cropper > "$work/cropper.log" &
cropper=$!
pids+=($cropper)
sleep 1.5
shot 12-cropper
xdotool mousemove 1150 260 mousedown 1
for i in $(seq 1 10); do xdotool mousemove $(( 1150 + 55 * i )) $(( 260 + 44 * i )); sleep 0.02; done
sleep 0.3
shot 13-cropper-selecting
xdotool mouseup 1
sleep 1
wait "$cropper" || true
grep -q saved "$work/cropper.log" || { echo "the cropper saved nothing" >&2; exit 1; }
cut="$(ls "$HOME"/Desktop/ScreenShot_*.png)"
identify "$cut"
cp "$cut" "$out/14-saved-by-cropper.png"

# ---- the measurer ----------------------------------------------------------
"$demo" measurer &
measurer=$!
pids+=($measurer)
sleep 1.5
xdotool mousemove 160 160 mousedown 1
for i in $(seq 1 10); do xdotool mousemove $(( 160 + 60 * i )) $(( 160 + 30 * i )); sleep 0.02; done
sleep 0.3
shot 15-measurer
xdotool mouseup 1
xdotool key Escape
sleep 0.5
if kill -0 "$measurer" 2>/dev/null; then echo "the measurer did not close" >&2; exit 1; fi
echo "done: $out"
