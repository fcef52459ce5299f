# Waiting for windows under Xvfb, shared by the screenshot scripts (sourced,
# not run). Every wait is for something to show on screen or to end, for at
# most ZINTROP_SHOTS_WAIT seconds (60): a loaded machine can take long to
# open a window. The caller sets `shots` (its name, for messages) and `work`
# (a scratch folder); `watched` may hold the pid of a program whose end
# makes every window wait fail at once.
limit="${ZINTROP_SHOTS_WAIT:-60}"

fail() { echo "$shots: $*" >&2; exit 1; }

# windows criteria...: the ids of the windows on screen that match
# (xdotool search's --pid or --name), one a line.
windows() { xdotool search --all --onlyvisible "$@" 2>/dev/null | sort || true; }

# mark criteria..., then wait_window what criteria...: waits until a
# matching window that was not on screen at the mark is shown (a program's
# first window, a dialog, a menu), prints its id.
mark() { windows "$@" > "$work/marked"; }
wait_window() {
  local what="$1" deadline=$((SECONDS + limit)) id
  shift
  while :; do
    id="$(windows "$@" | comm -13 "$work/marked" - | tail -1)"
    [ -n "$id" ] && { echo "$id"; return; }
    [ "$SECONDS" -lt "$deadline" ] || fail "$what did not show within $limit s"
    if [ -n "${watched:-}" ] && ! kill -0 "$watched" 2>/dev/null; then
      fail "the program ended while waiting for $what"
    fi
    sleep 0.1
  done
}

# wait_closed id what criteria...: waits until that window is off the screen.
wait_closed() {
  local id="$1" what="$2" deadline=$((SECONDS + limit))
  shift 2
  while windows "$@" | grep -x "$id" >/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$what was still open after $limit s"
    sleep 0.1
  done
}

# wait_exit pid what: waits until the program has ended.
wait_exit() {
  local deadline=$((SECONDS + limit))
  while kill -0 "$1" 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$2 did not end within $limit s"
    sleep 0.1
  done
  wait "$1" 2>/dev/null || true
}

# grab file [geometry]: the screen, or that part of it, as a picture.
grab() {
  if [ -n "${2:-}" ]; then
    import -window root -crop "$2" +repage "$1"
  else
    import -window root "$1"
  fi
}

# settle [geometry]: waits until the screen (or that part) stops changing
# (an animation ended, a list filled): two grabs a third of a second apart
# alike. A screen still changing at the limit is taken as it is.
settle() {
  local deadline=$((SECONDS + limit))
  grab "$work/settle-a.png" "${1:-}"
  while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.3
    grab "$work/settle-b.png" "${1:-}"
    compare -metric AE "$work/settle-a.png" "$work/settle-b.png" null: 2>/dev/null && return
    mv "$work/settle-b.png" "$work/settle-a.png"
  done
  echo "$shots: ${1:-the screen} still changing after $limit s; taken as it is" >&2
}

# wait_like geometry picture what: waits until that part of the screen
# looks like the picture again.
wait_like() {
  local deadline=$((SECONDS + limit))
  until grab "$work/now.png" "$1" && compare -metric AE "$work/now.png" "$2" null: 2>/dev/null; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$3 did not happen within $limit s"
    sleep 0.2
  done
}

# unblack geometry what: waits until that part of the screen is no longer
# all black, as a window is between showing and its first painting; the
# last grab stays in $work/now.png.
unblack() {
  local deadline=$((SECONDS + limit))
  until grab "$work/now.png" "$1" && [ "$(convert "$work/now.png" -format '%[fx:maxima]' info:)" != 0 ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$2 was still black after $limit s"
    sleep 0.1
  done
}
