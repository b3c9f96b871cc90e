#!/usr/bin/env bash
# CPU use of the main window idling with the marquee (5 ms) and the clock (500 ms) running and a
# static page in the browser, under a real X server (Xvfb, the xcb platform), as percent of one
# core over the measured seconds: utime+stime from /proc/<pid>/stat before and after, summed over
# the driver and all its descendants (the browser's QtWebEngineProcess children). The X server's
# own share is shown beside it. Compares the program's window with the same window without the
# browser and with the naive structure (the browser drawn through OpenGL, composed with the window).
#
# usage: bench/marquee/run.sh [seconds=20] [rounds=3]
#   BUILD_DIR: the build to use (default build/bench; configured Release with ZEDADE_BUILD_BENCH=ON)
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
unset QT_QUICK_BACKEND  # the variants choose the scene graph themselves

once=$(mktemp /tmp/zedade-marquee-once.XXXXXX)
trap 'rm -f "$once"' EXIT
cat > "$once" <<'ONE'
#!/usr/bin/env bash
# One measurement inside xvfb-run; prints "<program tenths of %> <X server tenths of %>".
set -euo pipefail
driver=$1 variant=$2 seconds=$3
ticks_of() {  # utime+stime of one process (fields 14 and 15; the name may hold spaces)
  local s; read -r s <"/proc/$1/stat" 2>/dev/null || { echo 0; return; }
  s=${s##*) }; set -- $s; echo $(( ${12} + ${13} ))
}
tree_ticks() {  # the process and all its descendants, from every process's parent field
  local f s p all=" $1 " grew=1 total=0
  local -A parent=()
  for f in /proc/[0-9]*/stat; do
    read -r s <"$f" 2>/dev/null || continue
    p=${s%% *}; s=${s##*) }; set -- $s; parent[$p]=$2
  done
  while [ $grew -eq 1 ]; do
    grew=0
    for p in "${!parent[@]}"; do
      if [[ $all == *" ${parent[$p]} "* && $all != *" $p "* ]]; then all="$all$p "; grew=1; fi
    done
  done
  for p in $all; do total=$(( total + $(ticks_of "$p") )); done
  echo $total
}
xserver=$(pgrep -f "^Xvfb :${DISPLAY#:}( |$)" | head -1 || true)
fifo=$(mktemp -u); mkfifo "$fifo"
"$driver" "$variant" >"$fifo" 2>/dev/null &
pid=$!
exec 3<"$fifo"; rm "$fifo"
read -r word _ <&3 || { echo "the driver ended before it was ready" >&2; exit 1; }
[ "$word" = ready ]
t0=$(date +%s%N); p0=$(tree_ticks "$pid"); x0=$(ticks_of "${xserver:-0}")
sleep "$seconds"
t1=$(date +%s%N); p1=$(tree_ticks "$pid"); x1=$(ticks_of "${xserver:-0}")
kill "$pid"; wait "$pid" 2>/dev/null || true
hz=$(getconf CLK_TCK)
echo $(( (p1 - p0) * 1000 * 1000000000 / (hz * (t1 - t0)) )) $(( (x1 - x0) * 1000 * 1000000000 / (hz * (t1 - t0)) ))
ONE

declare -A program xserver
for round in $(seq 1 "$rounds"); do
  for variant in program nobrowser naive; do
    read -r p x <<<"$(xvfb-run -a -s "-screen 0 1280x800x24" bash "$once" "$driver" "$variant" "$seconds")"
    program[$variant]="${program[$variant]:-} $p"
    xserver[$variant]="${xserver[$variant]:-} $x"
    printf 'round %d  %-10s %5s.%s %% of one core (X server %s.%s %%)\n' "$round" "$variant" \
      $((p / 10)) $((p % 10)) $((x / 10)) $((x % 10))
  done
done
median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo
echo "median over $rounds rounds of ${seconds} s, percent of one core:   program   X server"
for variant in program nobrowser naive; do
  case $variant in
    program) label="(a) the program's window, static page" ;;
    nobrowser) label="(b) the same window without the browser" ;;
    naive) label="(c) naive: browser composed through OpenGL" ;;
  esac
  p=$(median "${program[$variant]}"); x=$(median "${xserver[$variant]}")
  printf '  %-44s %6s.%s %8s.%s\n' "$label" $((p / 10)) $((p % 10)) $((x / 10)) $((x % 10))
done
a=$(median "${program[program]}"); b=$(median "${program[nobrowser]}")
[ "$b" -gt 0 ] && awk -v a="$a" -v b="$b" 'BEGIN {printf "  (a) / (b) = %.2fx\n", a / b}'
