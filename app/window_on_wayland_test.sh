#!/usr/bin/env bash
# Starts the program natively on Wayland, under a headless Weston, and looks
# at its window: the title, the fixed client size 796 x 537, the app id of
# the desktop entry (so that a desktop finds the icon), and the controls in
# a screenshot, told by their colours.
#   window_on_wayland_test.sh PROGRAM DESKTOP_ENTRY WORK_FOLDER
set -euo pipefail
program=$(realpath "$1")
entry=$2
work=$3
rm -rf "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
unset DISPLAY
cd "$work"

# Weston 10 (Debian 12) and 14 (Debian 13) name the software renderer apart.
renderer=--use-pixman
if weston --help 2>&1 | grep -q -- '--renderer='; then
  renderer=--renderer=pixman
fi
weston --backend=headless-backend.so "$renderer" --socket=partitionen-test --width=1024 \
  --height=768 --idle-time=0 --debug >weston.log 2>&1 &
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/partitionen-test" ] && break
  sleep 0.1
done
export WAYLAND_DISPLAY=partitionen-test

QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$program" >program.log 2>&1 &
title='Anzahl der Partitionen einer Zahl n mit Summanden von 1 bis k'
for _ in $(seq 100); do
  grep -q 'set_window_geometry' program.log && break
  sleep 0.1
done
sleep 1
failures=()
expect() {
  grep -qF "$1" program.log || failures+=("the program did not send $1")
}
expect "set_title(\"$title\")"
expect "set_app_id(\"$(basename "$entry" .desktop)\")"
expect 'set_min_size(796, 537)'
expect 'set_max_size(796, 537)'

weston-screenshooter >/dev/null 2>&1 || failures+=("weston-screenshooter took no screenshot")
shot=$(ls wayland-screenshot-*.png 2>/dev/null | head -1)
if [ -n "$shot" ]; then
  mv "$shot" window.png
  # ImageMagick 7 (Debian 13) calls itself magick, 6 (Debian 12) convert.
  colours=$("$(command -v magick || command -v convert)" window.png -format %c histogram:info:- 2>/dev/null)
  # The two calculation buttons, the red of k, the blue of n, the grey face,
  # each with the fewest pixels it covers.
  for wanted in FFE0C0:10000 C0FFFF:10000 C00000:200 0000FF:200 F0F0F0:100000; do
    colour=${wanted%:*}
    pixels=$(awk -v c="#$colour" 'toupper(substr($3, 1, 7)) == c { sub(":", "", $1); print $1 }' \
      <<<"$colours")
    [ "${pixels:-0}" -ge "${wanted#*:}" ] ||
      failures+=("the screenshot shows ${pixels:-no} pixels of #$colour")
  done
fi

if [ ${#failures[@]} -gt 0 ]; then
  printf '%s\n' "${failures[@]}" >&2
  grep -v '^\[' program.log | tail -20 >&2 || true
  exit 1
fi
echo "Window on Wayland as expected; screenshot: $work/window.png"
