#!/usr/bin/env bash
# Runs under Xvfb (see demo.sh): starts the program, plays a stand-in video page through the
# universal parsing service as a user would, saves a screenshot and stops the program.
set -uo pipefail
program=$1 shot=$2 port=$3

"$program" > "${shot%.png}.log" 2>&1 &
pid=$!

# Answer the start-up message box (the announcement's), if one is shown, with its default button.
for _ in $(seq 1 40); do
  sleep 0.25
  box=$(xdotool search --name '^信息：$' 2>/dev/null | head -n 1)
  if [ -n "$box" ]; then
    sleep 0.5
    xdotool windowactivate --sync "$box" key --clearmodifiers Return 2>/dev/null || true
    break
  fi
done

# The main window: the program's visible window that is 986 pixels wide (992 with its frame).
main=""
for _ in $(seq 1 40); do
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || true
    if [ "${WIDTH:-0}" -eq 986 ]; then main=$w; break; fi
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
