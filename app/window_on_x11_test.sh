#!/usr/bin/env bash
# Uses the program on X11 (Xvfb) as a user would, with real pointer clicks and
# the real clipboard: while a long list is written a step acts at once and a
# click on a calculation button waits for the list; the whole list copies to
# another program; "Ende" ends the program with exit code 0, once a transfer
# another program has begun is finished; a display that refuses the
# connection is named in the program's sentence.
#   window_on_x11_test.sh PROGRAM WORK_FOLDER
set -euo pipefail
program=$(realpath "$1")
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work"

exec 3>display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -s display ] && break
  sleep 0.1
done
export DISPLAY=:$(cat display)
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

"$program" -k 2 -m 999999 >program.log 2>&1 &
program_pid=$!
window=$(xdotool search --sync --name '^Anzahl der Partitionen')
sleep 0.5
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
click 180 440 # "Berechnung 2"
click 408 252 # n "+1", at once while the list is written
click 184 357 # "Berechnung 1", after the list
expected=$("$program" -b 1 -n " 1" -k 2 -m 1)
# The list can be copied while it is written; this waits for the whole one.
copied=
lines=0
for _ in $(seq 120); do
  click 600 200 # into the list, then Ctrl+A, Ctrl+C
  xdotool key --window "$window" ctrl+a ctrl+c
  # Under load a reader can lose a long transfer that Qt gave up on; it
  # tries again.
  copied=$(timeout 10 xclip -selection clipboard -o 2>/dev/null | head -3 || true)
  lines=$(timeout 20 xclip -selection clipboard -o 2>/dev/null | wc -l || true)
  [ "$copied" = "$expected" ] && [ "$lines" -eq 1000001 ] && break
  sleep 0.5
done
failures=()
[ "$copied" = "$expected" ] ||
  failures+=("the list after the clicks is not calculation 1 from n = 1:"$'\n'"$copied")
[ "$lines" -eq 1000001 ] || failures+=("the copied list has $lines lines, not 1000001")
# "Ende" while another program reads the copied list: the transfer it has
# begun is finished before the program ends.
timeout 60 xclip -selection clipboard -o >read_at_the_end &
reader_pid=$!
for _ in $(seq 200); do
  [ -s read_at_the_end ] && break
  sleep 0.05
done
click 400 460 # "Ende"
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || failures+=("\"Ende\" ended the program with exit code $status")
reader_status=0
wait "$reader_pid" || reader_status=$?
read_lines=$(wc -l <read_at_the_end)
[ "$reader_status" -eq 0 ] && [ "$read_lines" -eq 1000001 ] ||
  failures+=("a transfer begun before \"Ende\" ended with status $reader_status after $read_lines lines")

# A display that refuses the connection (it wants a cookie the user lacks) is
# named, and what the libraries said is passed on after the sentence.
xauth -q -f cookie add :0 . "$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')" 2>/dev/null
exec 4>refusing_display
Xvfb -displayfd 4 -auth cookie -screen 0 640x480x24 -nolisten tcp >refusing_xvfb.log 2>&1 &
for _ in $(seq 100); do
  [ -s refusing_display ] && break
  sleep 0.1
done
refusing=:$(cat refusing_display)
status=0
DISPLAY=$refusing XAUTHORITY=$PWD/nowhere "$program" 2>refused.log || status=$?
[ "$status" -eq 1 ] && head -1 refused.log | grep -q "Anzeige „$refusing“ (DISPLAY) nicht" &&
  grep -q "could not connect to display $refusing" refused.log ||
  failures+=("a refusing display ends with $status and:"$'\n'"$(cat refused.log)")

if [ ${#failures[@]} -gt 0 ]; then
  printf '%s\n' "${failures[@]}" >&2
  exit 1
fi
echo "Window on X11 as expected"
