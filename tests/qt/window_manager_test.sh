#!/usr/bin/env bash
# The Qt tests of what a window manager changes (frames, minimising, the
# keyboard's window) on a virtual X display with openbox: a 1366x768 laptop
# and a 2560x1440 display at a scale factor of 2.
#   tests/qt/window_manager_test.sh TEST-PROGRAM
# Exit status 77 (skipped) without Xvfb, openbox or xprop.
set -euo pipefail
program=$1
filter=${QZ_WM_FILTER:-'QtScreenFit.*:QtWindowManager.*'}
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "window manager test: no $tool"; exit 77; }
done
scratch=$(mktemp -d)
xvfb=
wm=
finish() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$scratch"
}
trap finish EXIT

# Runs the tests on a display of `size` at scale factor `scale`.
run() {
  local size=$1 scale=$2 until
  : >"$scratch/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
  xvfb=$!
  until=$((SECONDS + 60))
  until [ -s "$scratch/display" ]; do
    kill -0 "$xvfb" 2>/dev/null || { echo "window manager test: Xvfb did not start" >&2; exit 1; }
    [ "$SECONDS" -lt "$until" ] || { echo "window manager test: no display in time" >&2; exit 1; }
    sleep 0.1
  done
  export DISPLAY=:$(cat "$scratch/display")
  openbox >/dev/null 2>&1 &
  wm=$!
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
    kill -0 "$wm" 2>/dev/null || { echo "window manager test: openbox did not start" >&2; exit 1; }
    [ "$SECONDS" -lt "$until" ] || { echo "window manager test: no window manager in time" >&2; exit 1; }
    sleep 0.1
  done
  echo "--- ${size}, scale factor ${scale}"
  local status=0
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale timeout -k 10 300 "$program" --gtest_filter="$filter" || status=$?
  kill "$wm" "$xvfb" 2>/dev/null || true
  wait "$wm" "$xvfb" 2>/dev/null || true
  wm= xvfb=
  return $status
}

status=0
run 1366x768 1 || status=1
run 2560x1440 2 || status=1
exit $status
