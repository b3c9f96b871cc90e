#!/usr/bin/env bash
# Installs what is missing, builds everything with the tests, and runs them all (headless).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset tests
cmake --build --preset tests -j2
export QT_QPA_PLATFORM=offscreen
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
ctest --preset tests -j2
