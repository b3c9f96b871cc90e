#!/usr/bin/env bash
# Builds Zedade against the bundled stand-in site and runs it there.
#
# With a display the program runs interactively until you close it. Without one it runs under Xvfb
# for a few seconds: a video page address is copied, "万能解析" is pressed, and a screenshot of the
# screen is saved; its path is printed.
#
#   scripts/demo.sh                       the announcement says the program is up to date
#   ZEDADE_DEMO_VERSION=1.3 scripts/demo.sh   a newer version is announced (try the update)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake --preset demo > build-demo-configure.log 2>&1 || { cat build-demo-configure.log; exit 1; }
rm -f build-demo-configure.log
cmake --build --preset demo -j2

port=18080
version=${ZEDADE_DEMO_VERSION:-1.2}
"$root/build/demo/tools/standin-site/zedade-standin" --port "$port" --announce-version "$version" &
site=$!
trap 'kill $site 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  curl -s -o /dev/null "http://127.0.0.1:$port/" && break
  sleep 0.1
done

# Chromium's sandbox cannot run as root; an ordinary user keeps it.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$root/build/demo/src/app/zedade"
else
  shot="$root/build/demo/demo-screenshot.png"
  xvfb-run -a -s "-screen 0 1280x800x24" bash "$root/scripts/demo-headless.sh" "$root/build/demo/src/app/zedade" "$shot" "$port"
  echo "Screenshot of the demo: $shot"
fi
