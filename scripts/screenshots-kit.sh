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
# Each window is waited for, at most ZINTROP_SHOTS_WAIT seconds (60).
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

shots=screenshots-kit
source scripts/shots-wait.sh

shot() {  # shot name [geometry]
  settle "${2:-}"
  grab "$out/$1.png" "${2:-}"
  # Nothing on screen (not even the desktop picture) is all black.
  [ "$(convert "$out/$1.png" -format '%[fx:maxima]' info:)" != 0 ] || fail "$1.png is black"
  echo "saved $out/$1.png"
}

# widget name [text]: the line "name x y w h [text]" of a named widget of
# the demo (with that text, for buttons), once the demo has written it.
widget() {
  local line deadline=$((SECONDS + limit))
  while :; do
    line="$(grep "^$1 " "$geometry" 2>/dev/null | grep "${2:-}\$" | tail -1 || true)"
    [ -n "$line" ] && { echo "$line"; return; }
    [ "$SECONDS" -lt "$deadline" ] || fail "no widget $1 ${2:-} on screen within $limit s"
    sleep 0.1
  done
}

# where name [text]: the centre of a named widget, as "x y".
where() {
  local line
  line="$(widget "$@")" || exit 1
  set -- $line
  echo "$(( $2 + $4 / 2 )) $(( $3 + $5 / 2 ))"
}

# origin name: the top-left corner of a named widget, as "x y".
origin() {
  local line
  line="$(widget "$1")" || exit 1
  set -- $line
  echo "$2 $3"
}

click() {
  local at
  at="$(where "$@")" || exit 1
  xdotool mousemove $at click 1
  sleep 0.3
}

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
mark --name '^ImageMagick: '
display -geometry +0+0 "$work/desktop.png" &
pids+=($!)
wait_window "the picture on the desktop" --name '^ImageMagick: ' >/dev/null
shot 1-desktop

# ---- the editor ------------------------------------------------------------
"$demo" editor &
editor=$!
pids+=($editor)
: > "$work/marked"
editorWindow="$(wait_window "the editor" --pid "$editor")"
shot 2-editor-opened
at="$(origin ImageNoteWorkArea)"
read -r cx cy <<< "$at"

# Lines 3 pixels wide (the third entry of the width menu).
mark --pid "$editor"
click ImageNoteEditorThikness
menu="$(wait_window "the width menu" --pid "$editor")"
xdotool key Down Down Down Return
wait_closed "$menu" "the width menu" --pid "$editor"
click ImageNoteEditorRectangle
drag $(( cx + 140 )) $(( cy + 140 )) $(( cx + 830 )) $(( cy + 245 ))
click ImageNoteEditorArrow
drag $(( cx + 1060 )) $(( cy + 110 )) $(( cx + 845 )) $(( cy + 190 ))
# A red from the colour grid (row 2, column 1), then an oval.
at="$(origin ImageNoteEditorColorDecor)"
read -r sx sy <<< "$at"
mark --pid "$editor"
xdotool mousemove $(( sx + 10 )) $(( sy + 10 )) click 1
grid="$(wait_window "the colour grid" --pid "$editor")"
shot 3-colour-grid 400x260+0+0
xdotool mousemove $(( sx + 5 + 5 + 22 + 10 )) $(( sy + 5 + 22 + 5 + 2 * 22 + 10 )) click 1
wait_closed "$grid" "the colour grid" --pid "$editor"
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
shot 5-note-typed
click NoteEditWidgetAccept
shot 6-note-accepted

# Undo the note and redo it, then save through the dialog.
click ImageNoteEditorUndo
shot 7-after-undo
click ImageNoteEditorRedo
mark --pid "$editor"
click ImageNoteEditorSave
dialog="$(wait_window "the save dialog" --pid "$editor")"
shot 8-save-dialog
xdotool type --delay 5 "$HOME/annotated.png"
xdotool key Return
wait_closed "$dialog" "the save dialog" --pid "$editor"
deadline=$((SECONDS + limit))
until [ -s "$HOME/annotated.png" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "the editor saved nothing within $limit s"
  sleep 0.1
done
identify "$HOME/annotated.png"
cp "$HOME/annotated.png" "$out/9-saved-by-editor.png"

# A new screenshot: the editor hides, the desktop is grabbed again.
click NewScreenShowButton
wait_closed "$editorWindow" "the editor, hiding for the grab," --pid "$editor"
: > "$work/marked"
editorWindow="$(wait_window "the editor, back with the new grab," --pid "$editor")"
shot 10-new-screenshot
# The new picture counts as unsaved: quitting asks first.
mark --pid "$editor"
click ImageNoteEditorQuit
wait_window "the quit question" --pid "$editor" >/dev/null
shot 11-quit-question
click PushButton Yes
wait_exit "$editor" "the editor"

# ---- the cropper -----------------------------------------------------------
"$demo" cropper > "$work/cropper.log" &
cropper=$!
pids+=($cropper)
: > "$work/marked"
wait_window "the cropper" --pid "$cropper" >/dev/null
shot 12-cropper
xdotool mousemove 1150 260 mousedown 1
for i in $(seq 1 10); do xdotool mousemove $(( 1150 + 55 * i )) $(( 260 + 44 * i )); sleep 0.02; done
shot 13-cropper-selecting
xdotool mouseup 1
wait_exit "$cropper" "the cropper"
grep -q saved "$work/cropper.log" || { echo "the cropper saved nothing" >&2; exit 1; }
cut="$(ls "$HOME"/Desktop/ScreenShot_*.png)"
identify "$cut"
cp "$cut" "$out/14-saved-by-cropper.png"

# ---- the measurer ----------------------------------------------------------
"$demo" measurer &
measurer=$!
pids+=($measurer)
: > "$work/marked"
wait_window "the measurer" --pid "$measurer" >/dev/null
settle
xdotool mousemove 160 160 mousedown 1
for i in $(seq 1 10); do xdotool mousemove $(( 160 + 60 * i )) $(( 160 + 30 * i )); sleep 0.02; done
shot 15-measurer
xdotool mouseup 1
xdotool key Escape
wait_exit "$measurer" "the measurer"
echo "done: $out"
