#!/bin/sh
# The viewer in a real window: starts a virtual X server, opens `vantrel view` on an element of
# a million segments, drags, zooms, scrubs, plays and clicks with real input events, looks at
# the window's pixels and reads what the viewer traced (VANTREL_VIEW_TRACE), then changes the
# element on disk and sees it re-read.
#
# Usage: run_viewer_test.sh VANTREL
# Exit status 0 passed, 1 failed, 77 skipped (no Xvfb, xdotool or ImageMagick).
set -u

VANTREL=$1
HERE=$(dirname "$0")
. "$HERE/window_session.sh"
TRACE="$WORK/trace"
export VANTREL_VIEW_TRACE="$TRACE"

# A failure shows what the viewer traced last.
fail_details() {
  [ -f "$TRACE" ] && tail -n 5 "$TRACE"
}

# An element of $1 segments on the demo drives that cuts a pocket as a CAM program does: rings
# of 2000 short segments, 1 to 50 mm across, a step down and a new feed at each ring.
write_element() {
  awk -v n="$1" '
  function column(name, what,   i, r, a, first, v) {
    printf "%s=", name
    for (i = 0; i < n; i++) {
      r = 1 + int(i / 2000) % 50; a = (i % 2000) * step; first = i % 2000 == 0
      if (what == "x") v = sprintf("%.3f", r * (cos(a + step) - cos(a)))
      else if (what == "y") v = sprintf("%.3f", r * (sin(a + step) - sin(a)))
      else if (what == "z") v = first ? "-0.01" : "0"
      else if (what == "a") v = first ? "0.5" : "0"
      else v = first ? 0.02 + int(i / 2000) % 5 * 0.01 : "0"
      printf "%s%s", (i ? " " : ""), v
    }
    printf "\n"
  }
  BEGIN {
    step = 2 * 3.14159265358979 / 2000
    print "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1"
    print "SlaveX=0\nSlaveY=1\nSlaveZ=2"
    column("X_TPOS[mm]", "x"); column("Y_TPOS[mm]", "y"); column("Z_TPOS[mm]", "z")
    column("CACC[m/s^2]", "a"); column("CSPD[m/s]", "v")
    print "Execute=0\nWaitForCompletion=1"
  }'
}

SEGMENTS=1000000
write_element 4 >"$WORK/small.element" || fail "could not write the small element"

# Without a display the viewer refuses in one line and opens nothing.
DISPLAY= "$VANTREL" view "$WORK/small.element" >"$WORK/out" 2>"$WORK/err"
status=$?
[ "$status" -eq 2 ] || fail "no display: exit $status, expected 2"
[ "$(wc -l <"$WORK/err")" -eq 1 ] && grep -q "no display" "$WORK/err" ||
  fail "no display: $(cat "$WORK/err")"
pass "without a display the viewer refuses in one line"

require_tools Xvfb xdotool import convert compare
start_xvfb 1280x1024x24

write_element "$SEGMENTS" >"$WORK/big.element" || fail "could not write the big element"
: >"$TRACE"
started=$(date +%s%N)
timeout -k 5 120 "$VANTREL" view "$WORK/big.element" >"$WORK/viewer.out" 2>"$WORK/viewer.err" &
APP_PID=$!
WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name "big.element - $SEGMENTS segments" | head -n 1)
[ -n "$WINDOW" ] || fail "the viewer window did not appear: $(cat "$WORK/viewer.err")"
wait_for 'grep -q "^frame " "$TRACE"' 300 || fail "the viewer drew no frame"
opened=$((($(date +%s%N) - started) / 1000000))
grep -q "^path $SEGMENTS " "$TRACE" || fail "the viewer did not hold $SEGMENTS segments"
pass "$SEGMENTS segments shown in $opened ms"

# The canvas: below the bar of views, above the controls; its middle lies on the path.
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
CX=$((WIDTH / 2))
CY=$(((HEIGHT - 104 + 32) / 2))

# The window's picture; $2 says how many path-coloured pixels (neither grey nor white) it has.
snap() {
  import -window "$WINDOW" "$WORK/$1.png" 2>/dev/null || fail "could not take a picture"
}
coloured_pixels() {
  convert "$WORK/$1.png" -crop "${WIDTH}x$((HEIGHT - 136))+0+32" -fx '(abs(r-g)>0.15||abs(g-b)>0.15)?1:0' \
    -format '%[fx:mean*w*h]' info: 2>/dev/null | cut -d. -f1
}
snap fitted
fitted=$(coloured_pixels fitted)
[ "${fitted:-0}" -gt 20000 ] || fail "the fitted view shows $fitted coloured pixels, not the pocket"
pass "the fitted view is coloured by speed over the pocket ($fitted pixels)"

frames_before=$(grep -c "^frame " "$TRACE")
xdotool mousemove --window "$WINDOW" "$CX" "$CY" mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove --window "$WINDOW" $((CX + step * 20)) $((CY + step * 10))
  sleep 0.05
done
xdotool mouseup 1
sleep 0.5
snap dragged
cmp -s "$WORK/fitted.png" "$WORK/dragged.png" && fail "dragging did not move the picture"
dragged=$(($(grep -c "^frame " "$TRACE") - frames_before))
[ "$dragged" -ge 1 ] || fail "a drag drew no frame"
pass "a drag pans the view ($dragged frames)"

xdotool key f
sleep 0.5
for turn in 1 2 3; do xdotool mousemove --window "$WINDOW" "$CX" "$CY" click 4; done
sleep 0.5
snap zoomed
cmp -s "$WORK/fitted.png" "$WORK/zoomed.png" && fail "the wheel did not zoom"
xdotool key f
sleep 0.5
snap refitted
compare -metric AE "$WORK/fitted.png" "$WORK/refitted.png" null: 2>"$WORK/diff" ||
  fail "f did not fit the path as it was first shown ($(cat "$WORK/diff") pixels differ)"
pass "the wheel zooms in, f fits again"

# Frame times of the drags and zooms, as the viewer measured them.
awk '/^frame / { n++; t += $2; if ($2 > m) m = $2 } END { printf "frames: %d, mean %.1f ms, slowest %.1f ms\n", n, t / n, m }' "$TRACE"

# Scrubbing: End puts the marker at the end of the motion, Home at its start, a click on the
# slider's middle about half way.
xdotool key End
wait_for 'tail -n 3 "$TRACE" | grep -q "segment $((SEGMENTS - 1))$"' 50 ||
  fail "End did not move the marker to the last segment"
xdotool key Home
wait_for 'tail -n 3 "$TRACE" | grep -q "^cursor 0 segment 0$"' 50 || fail "Home did not move the marker to the start"
xdotool mousemove --window "$WINDOW" $((WIDTH / 2)) $((HEIGHT - 104 + 18)) click 1
sleep 0.3
middle=$(grep "^cursor " "$TRACE" | tail -n 1 | awk '{ print $4 }')
[ "${middle:-0}" -gt $((SEGMENTS / 4)) ] && [ "$middle" -lt $((SEGMENTS * 3 / 4)) ] ||
  fail "a click on the slider's middle put the marker at segment $middle"
pass "the slider and Home and End move the marker (the middle: segment $middle)"

xdotool key Home key space
sleep 1
xdotool key space
played=$(grep "^cursor " "$TRACE" | tail -n 1 | awk '{ print $2 }')
awk -v t="$played" 'BEGIN { exit !(t > 0.5 && t < 5) }' || fail "a second of play moved the time to $played s"
pass "play runs the time on ($played s after a second)"

xdotool mousemove --window "$WINDOW" "$CX" "$CY" click 1
wait_for 'grep -q "^pick [0-9]" "$TRACE"' 30 || fail "a click on the path named no segment"
# A timed segment's values run past the window's width: they go on below, whole, so that the
# box of the picked segment holds two bands of text.
sleep 0.3
snap picked
bands=$(convert "$WORK/picked.png" -crop "${WIDTH}x44+0+$((HEIGHT - 104 + 56))" \
  -fx '(r+g+b<1.2)?1:0' -scale '1x44!' -depth 16 txt:- 2>/dev/null |
  awk -F'[(,)]' 'NR > 1 { ink = $3 > 0; if (ink && !was) bands++; was = ink } END { print bands + 0 }')
[ "$bands" -eq 2 ] || fail "the picked segment's values take $bands lines, not two"
xdotool mousemove --window "$WINDOW" 5 40 click 1
wait_for 'grep -q "^pick none" "$TRACE"' 30 || fail "a click beside the path named a segment"
pass "a click names the nearest segment, a click beside the path none"

# The element changes on disk: the viewer re-reads it. A broken one keeps the old path.
printf 'not an element\n' >"$WORK/broken"
mv "$WORK/broken" "$WORK/big.element"
wait_for 'grep -q "^reread failed" "$TRACE"' 50 || fail "a broken element was not reported"
write_element 6 >"$WORK/next"
mv "$WORK/next" "$WORK/big.element"
wait_for 'grep -q "^reread ok" "$TRACE"' 50 || fail "the changed element was not re-read"
timeout 10 xdotool search --sync --onlyvisible --name "big.element - 6 segments" >/dev/null ||
  fail "the title does not show the new count"
pass "a change on disk is re-read; a broken file keeps the path shown"

xdotool key Escape
wait "$APP_PID"
status=$?
APP_PID=""
[ "$status" -eq 0 ] || fail "the viewer ended with exit $status: $(cat "$WORK/viewer.err")"
pass "Escape closes the viewer (exit 0)"
