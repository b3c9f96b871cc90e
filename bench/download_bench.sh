#!/usr/bin/env bash
# Downloads a 1 GiB file from a loopback nginx with curl (one connection), aria2c -x3 -s3 and the
# program's downloader (three connections), round by round, and prints the median MB/s of each,
# the ratios, and the downloader's peak memory for the 1 GiB file and for a 64 MiB one.
#
# usage: bench/download_bench.sh [rounds=3]
# env:   BUILD_DIR  build directory for the benchmark program (default build/bench)
#        WORK_DIR   where the served file and the downloads go (default /tmp)
#        SIZE_MIB   size of the big file (default 1024)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
build=${BUILD_DIR:-$repo/build/bench}
size_mib=${SIZE_MIB:-1024}

missing=()
command -v curl >/dev/null || missing+=(curl)
command -v aria2c >/dev/null || missing+=(aria2)
command -v nginx >/dev/null || missing+=(nginx-light)
if ((${#missing[@]})); then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEDADE_BUILD_TESTS=OFF \
  -DZEDADE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target zedade_download_bench >/dev/null
ours=$build/bench/zedade_download_bench

work=$(mktemp -d "${WORK_DIR:-/tmp}/zedade-download-bench-XXXXXX")
chmod 755 "$work"  # nginx's workers may run as another user
cleanup() {
  if [[ -s $work/nginx.pid ]]; then kill "$(cat "$work/nginx.pid")" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/out" "$work/tmp"
head -c $((size_mib * 1024 * 1024)) /dev/urandom >"$work/www/big.bin"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/www/small.bin"
chmod 644 "$work/www/"*.bin

# nginx on a free loopback port: try a few until one binds.
port=
for candidate in $(shuf -i 20000-60000 -n 20); do
  cat >"$work/nginx.conf" <<EOF
worker_processes 2;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  tcp_nopush on;
  client_body_temp_path $work/tmp;
  proxy_temp_path $work/tmp;
  fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp;
  scgi_temp_path $work/tmp;
  server { listen 127.0.0.1:$candidate; root $work/www; }
}
EOF
  if nginx -e "$work/error.log" -c "$work/nginx.conf" -p "$work" 2>/dev/null; then
    port=$candidate
    break
  fi
done
[[ -n $port ]] || { echo "nginx did not start" >&2; exit 1; }
for _ in $(seq 50); do [[ -s $work/nginx.pid ]] && break; sleep 0.1; done
url=http://127.0.0.1:$port/big.bin
bytes=$((size_mib * 1024 * 1024))
curl -s -o /dev/null "$url"  # the served file into the page cache, for every tool alike

now() { date +%s%N; }
mbps() { awk -v b="$bytes" -v ns="$1" 'BEGIN { printf "%.0f", b / 1e6 / (ns / 1e9) }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

declare -A results
ours_rss=
for round in $(seq "$rounds"); do
  start=$(now); curl -s -o "$work/out/curl.bin" "$url"; stop=$(now)
  results[curl]+="$(mbps $((stop - start))) "; rm -f "$work/out/curl.bin"

  start=$(now)
  aria2c -q -x3 -s3 --allow-overwrite=true --auto-file-renaming=false -d "$work/out" -o aria2c.bin "$url"
  stop=$(now)
  results[aria2c]+="$(mbps $((stop - start))) "; rm -f "$work/out/aria2c.bin"

  # The update task's values: three connections, 10240-byte reads.
  start=$(now); line=$("$ours" "$url" "$work/out/" 3 10240); stop=$(now)
  results[ours]+="$(mbps $((stop - start))) "; rm -f "$work/out/big.bin"
  ours_rss+="$(sed -n 's/.*peak_rss_kib=\([0-9]*\).*/\1/p' <<<"$line") "

  start=$(now); "$ours" "$url" "$work/out/" 3 102400 >/dev/null; stop=$(now)
  results[ours100k]+="$(mbps $((stop - start))) "; rm -f "$work/out/big.bin"
done
small_line=$("$ours" "http://127.0.0.1:$port/small.bin" "$work/out/" 3 10240)
rm -f "$work/out/small.bin"

curl_mbps=$(tr ' ' '\n' <<<"${results[curl]}" | grep . | median)
aria_mbps=$(tr ' ' '\n' <<<"${results[aria2c]}" | grep . | median)
ours_mbps=$(tr ' ' '\n' <<<"${results[ours]}" | grep . | median)
ours100k_mbps=$(tr ' ' '\n' <<<"${results[ours100k]}" | grep . | median)

echo "Download of ${size_mib} MiB from nginx on 127.0.0.1, median of $rounds rounds (MB/s = 10^6 bytes/s)"
printf '%-44s %8s   %s\n' tool "MB/s" "rounds"
printf '%-44s %8s   %s\n' "curl (1 connection)" "$curl_mbps" "${results[curl]}"
printf '%-44s %8s   %s\n' "aria2c -x3 -s3" "$aria_mbps" "${results[aria2c]}"
printf '%-44s %8s   %s\n' "zedade downloader (3 conn., 10240-byte reads)" "$ours_mbps" "${results[ours]}"
printf '%-44s %8s   %s\n' "zedade downloader (3 conn., 102400-byte reads)" "$ours100k_mbps" "${results[ours100k]}"
awk -v o="$ours_mbps" -v c="$curl_mbps" -v a="$aria_mbps" \
  'BEGIN { printf "ratios (10240-byte reads): %.2fx curl, %.2fx aria2c -x3\n", o / c, o / a }'
echo "zedade peak RSS, ${size_mib} MiB file: $(tr ' ' '\n' <<<"$ours_rss" | grep . | sort -n | tail -1) KiB;" \
  "64 MiB file: $(sed -n 's/.*peak_rss_kib=\([0-9]*\).*/\1/p' <<<"$small_line") KiB"
