#!/bin/sh
# The editor in a real window: starts a virtual X server, runs `vantrel edit` on it, drives
# the window with real mouse and key events and checks the element file it writes against
# what the script back end writes for the same actions.
#
# Usage: run_window_test.sh VANTREL
# Exit status 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool).
set -u

VANTREL=$1
HERE=$(dirname "$0")
. "$HERE/window_session.sh"
EXAMPLE="$HERE/../../examples/linear3.element"
TITLE="Motion - Linear Interpolation"
# The editor notes there each modal window it has done with (the window back end's trace).
VANTREL_WINDOW_TRACE="$WORK/trace"
export VANTREL_WINDOW_TRACE

"$VANTREL" new -o "$WORK/start.element" || fail "vantrel new"

# Without a display the editor refuses in one line, pointing to --script, and changes nothing.
for display in "" ":65000"; do
  cp "$WORK/start.element" "$WORK/nodisplay.element"
  DISPLAY=$display timeout -k 5 20 "$VANTREL" edit "$WORK/nodisplay.element" >"$WORK/out" 2>"$WORK/err"
  status=$?
  [ "$status" -eq 2 ] || fail "no display '$display': exit $status, expected 2"
  [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "no display '$display': not one line: $(cat "$WORK/err")"
  grep -q -- "--script" "$WORK/err" || fail "no display '$display': no hint at --script"
  cmp -s "$WORK/start.element" "$WORK/nodisplay.element" || fail "no display: file changed"
done
pass "without a display the editor refuses and leaves the file alone"

require_tools Xvfb xdotool
start_xvfb 1024x768x24

# Every wait below is on a condition, bounded generously: a machine busy with other tests may
# be many times slower than an idle one, and only a hang should fail.
BOUND=120

# Waits up to BOUND seconds for a visible window whose title matches $1; prints its id.
find_window() {
  timeout "$BOUND" xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Starts the editor on file $1 in the background and sets WINDOW to its window.
open_editor() {
  timeout -k 5 $((BOUND * 3)) "$VANTREL" edit "$1" >"$WORK/editor.out" 2>"$WORK/editor.err" &
  APP_PID=$!
  WINDOW=$(find_window "$TITLE")
  [ -n "$WINDOW" ] || fail "the editor window did not appear: $(cat "$WORK/editor.err")"
}

# Waits for the editor to end; sets STATUS to its exit status.
close_editor() {
  wait "$APP_PID"
  STATUS=$?
  APP_PID=""
}

# Clicks the middle of the control at dialog units x y width height. Dialog units are
# quarters of the 6-pixel base width and eighths of the 13-pixel base height.
click() {
  px=$(((($1 * 2 + $3) * 6 + 4) / 8))
  py=$(((($2 * 2 + $4) * 13 + 8) / 16))
  xdotool mousemove --window "$WINDOW" "$px" "$py" click 1
}

# Replaces the focused edit's text as a person does: select all, then type.
type_text() {
  xdotool key ctrl+a
  xdotool type --delay 20 -- "$1"
}

# Answers the prompt titled $1 with the text $2 and Return, then waits until the prompt is
# gone and its dialog has taken the answer, so that no later input reaches the prompt.
answer_prompt() {
  [ -n "$(find_window "^$1\$")" ] || fail "the prompt \"$1\" did not appear"
  : >"$VANTREL_WINDOW_TRACE"
  type_text "$2" && xdotool key Return
  # The title is put in here: inside wait_for, $1 is the condition itself.
  wait_for "grep -qx 'closed $1' \"\$VANTREL_WINDOW_TRACE\"" $((BOUND * 10)) ||
    fail "the prompt \"$1\" did not close"
}

# Fails with the message $3 unless the scripted editor, run with the script of standard input
# on a copy of the element $1, writes what the window wrote to $2.
script_writes_same() {
  cp "$1" "$WORK/scripted.element"
  "$VANTREL" edit "$WORK/scripted.element" --script - >/dev/null ||
    fail "the scripted editor failed: $3"
  cmp -s "$WORK/scripted.element" "$2" || fail "$3:
$(diff "$WORK/scripted.element" "$2" | head -n 20)"
}

# Controls of dialog 214 by their template positions.
POSITION_X="109 109 60 14"
CLEAR_BUFFER="31 45 53 10"
INSERT_BELOW="74 175 50 14"
MOVE_UP="128 158 50 14"
UPDATE="128 175 50 14"
EDIT_EVENT="304 54 60 12"
REMOVE="182 175 50 14"
OK="96 298 50 14"
LIST_LEFT=6
LIST_TOP=207
LIST_WIDTH=362

# Confirmed edit of an element with five segments: the start event's delay entered in its
# prompt, a typed segment (its Y reached with Tab) inserted below the first and moved up, a
# check box toggled, then Enter, which confirms.
cp "$EXAMPLE" "$WORK/example.element" || fail "no example element at $EXAMPLE"
cp "$EXAMPLE" "$WORK/window.element"
open_editor "$WORK/window.element"
click $EDIT_EVENT && answer_prompt "Edit Event" "500"
click $POSITION_X && type_text "12.5"
# Tab follows the template's tab stops: past the X unit to the Y edit, whose text it selects.
xdotool key Tab Tab && xdotool type -- "-7"
click $INSERT_BELOW
click $MOVE_UP
click $CLEAR_BUFFER
xdotool key Return
close_editor
[ "$STATUS" -eq 0 ] || fail "confirmed edit: exit $STATUS: $(cat "$WORK/editor.err")"

script_writes_same "$WORK/example.element" "$WORK/window.element" \
  "the window wrote another element than the script" <<'SCRIPT'
event 500
click IDC_EDIT_EVENT
type IDC_POSITION_X 12.5
type IDC_POSITION_Y -7
click IDC_INSERT_BELOW
click IDC_MOVE_UP
click IDC_CLEAR_BUFFER
enter
SCRIPT
cmp -s "$WORK/example.element" "$WORK/window.element" && fail "the edit changed nothing"
pass "an event prompt, typed values, Insert Below, Move Up, a check box and Enter write what the script writes"

# A long element opens at once; a turn of the mouse wheel over the list, a click on the row at
# its top and Remove take out that row's segment, and OK writes the rest back whole. The bound
# is generous, so that a loaded machine never fails it: the list used to be rebuilt for every
# row it received, and 100,000 segments then showed no window for minutes.
SEGMENTS=100000
awk -v n="$SEGMENTS" 'BEGIN {
  print "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1"
  print "SlaveX=0\nSlaveY=1\nSlaveZ=2"
  printf "X_TPOS[mm]="; for (i = 0; i < n; i++) printf "%s%d.5", (i ? " " : ""), i % 97 + 1
  printf "\nY_TPOS[mm]="; for (i = 0; i < n; i++) printf "%s%d", (i ? " " : ""), i % 13 - 6
  printf "\nZ_TPOS[mm]="; for (i = 0; i < n; i++) printf "%s%d.25", (i ? " " : ""), i % 7
  printf "\nCACC[m/s^2]="; for (i = 0; i < n; i++) printf "%s%s", (i ? " " : ""), (i % 3 ? "0" : "0.5")
  printf "\nCSPD[m/s]="; for (i = 0; i < n; i++) printf "%s%s", (i ? " " : ""), (i % 2 ? "0.05" : "0")
  print "\nExecute=0\nWaitForCompletion=1"
}' >"$WORK/long.element" || fail "could not write the long element"
cp "$WORK/long.element" "$WORK/long-window.element"
started=$(date +%s%N)
open_editor "$WORK/long-window.element"
opened=$((($(date +%s%N) - started) / 1000000))
[ "$opened" -le 30000 ] || fail "$SEGMENTS segments took $opened ms to open"
# The list's top row, a few pixels below the top edge of its frame.
list_x=$(((($LIST_LEFT * 2 + $LIST_WIDTH) * 6 + 4) / 8))
list_top=$((($LIST_TOP * 13 + 4) / 8 + 6))
xdotool mousemove --window "$WINDOW" "$list_x" "$list_top" click 5
xdotool mousemove --window "$WINDOW" "$list_x" "$list_top" click 1
click $REMOVE
click $OK
close_editor
[ "$STATUS" -eq 0 ] || fail "long element: exit $STATUS: $(cat "$WORK/editor.err")"
# One step of the wheel scrolls three rows.
printf 'select IDC_SEGMENT_LIST 3\nclick IDC_REMOVE\nok\n' |
  script_writes_same "$WORK/long.element" "$WORK/long-window.element" \
    "the window wrote the long element otherwise than the script"
[ "$(grep -c '^X_TPOS\[mm\]=' "$WORK/long-window.element")" -eq 1 ] &&
  [ "$(grep '^X_TPOS' "$WORK/long-window.element" | wc -w)" -eq $((SEGMENTS - 1)) ] ||
  fail "the window did not write the $SEGMENTS segments but the removed one"
pass "$SEGMENTS segments open in $opened ms; a row picked after scrolling is removed, OK writes the rest"

# At CAM sizes: the title names the file and counts its segments; the window grows, the list
# with it and the buttons below it moving down; a click on a row and Down twice choose the row
# two below it, though the editor sends the focus on to the X edit after each choice.
cp "$EXAMPLE" "$WORK/grown.element"
open_editor "$WORK/grown.element"
[ -n "$(find_window "grown\.element \\(5 segments\\)")" ] ||
  fail "the title does not name the file and its 5 segments: $(xdotool getwindowname "$WINDOW")"
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
old_height=$HEIGHT
# The editor gets the new size before the input that follows, so no wait is needed for it.
xdotool windowsize --sync "$WINDOW" $((WIDTH + 300)) $((HEIGHT + 200))
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
[ "$HEIGHT" -eq $((old_height + 200)) ] || fail "the editor did not grow: height $HEIGHT"
xdotool mousemove --window "$WINDOW" "$list_x" "$list_top" click 1
xdotool key Down Down
click $REMOVE
[ -n "$(find_window "grown\.element \\(4 segments\\)")" ] ||
  fail "the title did not count the removed segment"
px=$((((96 * 2 + 50) * 6 + 4) / 8))
py=$((((298 * 2 + 14) * 13 + 8) / 16 + 200))
xdotool mousemove --window "$WINDOW" "$px" "$py" click 1
close_editor
[ "$STATUS" -eq 0 ] || fail "grown editor: exit $STATUS: $(cat "$WORK/editor.err")"
printf 'select IDC_SEGMENT_LIST 2\nclick IDC_REMOVE\nok\n' |
  script_writes_same "$EXAMPLE" "$WORK/grown.element" \
    "Down in the grown window chose another row than the script"
pass "the title counts the segments; the window grows, OK moves down, Down steps the list"

# Cancelled edit: Escape leaves the file as it was.
cp "$WORK/start.element" "$WORK/cancel.element"
open_editor "$WORK/cancel.element"
click $POSITION_X && type_text "99"
click $INSERT_BELOW
xdotool key Escape
close_editor
[ "$STATUS" -eq 1 ] || fail "cancelled edit: exit $STATUS, expected 1"
cmp -s "$WORK/start.element" "$WORK/cancel.element" || fail "cancelled edit changed the file"
pass "Escape cancels and leaves the file alone"

# Waits for the window titled $1 and points at it: without a window manager, keys go to the
# window under the pointer.
point_at() {
  found=$(find_window "^$1\$")
  [ -n "$found" ] || fail "the window \"$1\" did not appear"
  xdotool mousemove --window "$found" 20 20
}

# Someone else changes the element while the editor is open: OK does not write over it, but
# asks whether to save the element in another file. Yes and a name in the chooser save it there
# (exit 0); No keeps the edit in a recovery file beside the element (exit 2).
OK_BUTTON="96 298 50 14"
cp "$EXAMPLE" "$WORK/expected.element"
"$VANTREL" edit "$WORK/expected.element" --script - <<'SCRIPT' >/dev/null || fail "scripted OK"
type IDC_POSITION_X 3
click IDC_UPDATE
ok
SCRIPT
for answer in yes no; do
  cp "$EXAMPLE" "$WORK/changed.element"
  open_editor "$WORK/changed.element"
  click $POSITION_X && type_text "3"
  click $UPDATE
  echo "WaitForCompletion=0" >>"$WORK/changed.element"
  cp "$WORK/changed.element" "$WORK/theirs.element"
  click $OK_BUTTON
  point_at Vantrel
  if [ "$answer" = yes ]; then
    xdotool key Return
    point_at "Save As"
    type_text "$WORK/elsewhere.element" && xdotool key Return
  else
    xdotool key Tab Return
  fi
  close_editor
  cmp -s "$WORK/theirs.element" "$WORK/changed.element" || fail "$answer: their change was lost"
  if [ "$answer" = yes ]; then
    [ "$STATUS" -eq 0 ] || fail "saved elsewhere: exit $STATUS: $(cat "$WORK/editor.err")"
    cmp -s "$WORK/expected.element" "$WORK/elsewhere.element" || fail "saved elsewhere: wrong text"
  else
    [ "$STATUS" -eq 2 ] || fail "declined: exit $STATUS, expected 2"
    grep -q "kept in $WORK/changed.element.recovered" "$WORK/editor.err" ||
      fail "declined: $(cat "$WORK/editor.err")"
    cmp -s "$WORK/expected.element" "$WORK/changed.element.recovered" ||
      fail "declined: the recovery file holds another text"
  fi
done
pass "an element changed meanwhile is not written over; the edit is saved elsewhere or kept"

# A display that goes away mid-edit ends the editor as a failure in one line (exit 2), not as
# a cancel, and leaves the file alone.
cp "$WORK/start.element" "$WORK/lost.element"
open_editor "$WORK/lost.element"
click $POSITION_X && type_text "7"
stop_xvfb
close_editor
[ "$STATUS" -eq 2 ] || fail "lost display: exit $STATUS, expected 2: $(cat "$WORK/editor.err")"
[ "$(wc -l <"$WORK/editor.err")" -eq 1 ] || fail "lost display: not one line: $(cat "$WORK/editor.err")"
grep -q "^vantrel: the window's display failed: " "$WORK/editor.err" ||
  fail "lost display: $(cat "$WORK/editor.err")"
cmp -s "$WORK/start.element" "$WORK/lost.element" || fail "lost display: file changed"
pass "a lost display ends the editor with exit 2 and leaves the file alone"

echo "7 passed, 0 failed"
