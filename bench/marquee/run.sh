#!/usr/bin/env bash
# CPU use of the main window idling with the marquee (5 ms) and the clock (500 ms) running and a
# static page in the browser, under a real X server (Xvfb, the xcb platform), as percent of one
# core over the measured seconds, every process of the program included (the browser's helper
# processes too). Compares the program's window with the same window without the browser and
# with the naive structure.
#
# usage: bench/marquee/run.sh [seconds=20] [rounds=3]
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-20}
rounds=${2:-3}
build=${BUILD_DIR:-$repo/build/bench}

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEDADE_BUILD_TESTS=OFF \
  -DZEDADE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target zedade_marquee_driver >/dev/null
driver=$build/bench/zedade_marquee_driver
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QPA_PLATFORM=xcb

cat > /tmp/zedade-marquee-once.sh <<'ONE'
#!/usr/bin/env bash
driver=$1 variant=$2 seconds=$3
"$driver" "$variant" >/dev/null 2>&1 &
pid=$!
sleep 5  # start-up and the page's first paint are not idling
ticks() {  # user + system ticks of the program and all its descendants
  local all=$pid frontier=$pid next total=0
  while [ -n "$frontier" ]; do
    next=""
    for p in $frontier; do next="$next $(pgrep -P "$p" | tr '\n' ' ')"; done
    frontier=$(echo $next)
    all="$all $frontier"
  done
  for p in $all; do
    [ -r "/proc/$p/stat" ] && total=$((total + $(awk '{print $14 + $15}' "/proc/$p/stat")))
  done
  echo "$total"
}
before=$(ticks); sleep "$seconds"; after=$(ticks)
echo $(( (after - before) * 1000 / ($(getconf CLK_TCK) * seconds) ))  # tenths of a percent
kill "$pid"; wait "$pid" 2>/dev/null || true
ONE

declare -A results
for round in $(seq 1 "$rounds"); do
  for variant in program nobrowser naive; do
    tenths=$(xvfb-run -a -s "-screen 0 1280x800x24" bash /tmp/zedade-marquee-once.sh "$driver" "$variant" "$seconds" 2>/dev/null)
    results[$variant]="${results[$variant]:-} $tenths"
    printf 'round %d  %-10s %5s.%s %% of one core\n' "$round" "$variant" $((tenths / 10)) $((tenths % 10))
  done
done
median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
p=$(median "${results[program]}"); n=$(median "${results[nobrowser]}"); v=$(median "${results[naive]}")
echo
echo "median over $rounds rounds of ${seconds} s (percent of one core):"
printf '  program window      %5s.%s\n' $((p / 10)) $((p % 10))
printf '  without the browser %5s.%s\n' $((n / 10)) $((n % 10))
printf '  naive structure     %5s.%s\n' $((v / 10)) $((v % 10))
[ "$n" -gt 0 ] && awk -v p="$p" -v n="$n" 'BEGIN {printf "  program / without the browser: %.2fx\n", p / n}'
