#!/usr/bin/env bash
# Start-up time of the real program to its shown main window, under Xvfb, against the stand-in site
# announcing an older version (so that no message box waits for an answer). Prints each run and
# the median.
#
# usage: bench/startup_time.sh [runs=7]     (builds the demo preset first)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-7}
port=18080  # where the demo build finds the stand-in site

cmake --preset demo -S "$repo" >/dev/null
cmake --build "$repo/build/demo" -j2 >/dev/null
"$repo/build/demo/tools/standin-site/zedade-standin" --port "$port" --announce-version 1.0 >/dev/null &
site=$!
trap 'kill $site 2>/dev/null || true' EXIT
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

cat > /tmp/zedade-startup-once.sh <<'ONE'
#!/usr/bin/env bash
program=$1
start=$(date +%s%N)
"$program" >/dev/null 2>&1 &
pid=$!
while :; do
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || true
    if [ "${WIDTH:-0}" -eq 986 ]; then
      end=$(date +%s%N)
      echo $(( (end - start) / 1000000 ))
      kill "$pid"; wait "$pid" 2>/dev/null
      exit 0
    fi
  done
  sleep 0.01
done
ONE
times=()
for i in $(seq 1 "$runs"); do
  ms=$(xvfb-run -a -s "-screen 0 1280x800x24" bash /tmp/zedade-startup-once.sh "$repo/build/demo/src/app/zedade")
  echo "run $i: ${ms} ms"
  times+=("$ms")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "median: " a[int((NR+1)/2)] " ms over " NR " runs"}'
