#!/usr/bin/env bash
# Runs under Xvfb (see demo.sh): starts the program, plays a stand-in video page through the
# universal parsing service as a user would, saves a screenshot and stops the program.
set -uo pipefail
program=$1 shot=$2 port=$3

"$program" > "${shot%.png}.log" 2>&1 &
pid=$!

# Answer the start-up message box (the announcement's), if one is shown, with its default button:
# before the main window shows, any visible window of the program is that box.
window_width() {
  WIDTH=0
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || true
  echo "${WIDTH:-0}"
}
for _ in $(seq 1 60); do
  sleep 0.25
  box=""
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    width=$(window_width "$w")
    [ "$width" -eq 986 ] && break 2  # the main window is up: no box was shown
    [ "$width" -gt 50 ] && box=$w
  done
  if [ -n "$box" ]; then
    sleep 0.5
    xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
    break
  fi
done

# The main window: the program's visible window that is 986 pixels wide (992 with its frame).
main=""
for _ in $(seq 1 40); do
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    if [ "$(window_width "$w")" -eq 986 ]; then main=$w; break; fi
  done
  [ -n "$main" ] && break
  sleep 0.25
done

if [ -n "$main" ]; then
  # Copy a video page address and press "万能解析" (at 640,120 in the window, 84 x 24).
  printf 'http://127.0.0.1:%s/v/1.html?from=demo&t=1' "$port" | xclip -selection clipboard
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove $((X + 682)) $((Y + 132)) click 1
else
  echo "demo: the main window did not appear" >&2
fi
sleep 5
import -window root "$shot"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
