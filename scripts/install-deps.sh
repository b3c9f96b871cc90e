#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zedade need.
# Idempotent: packages already present are skipped, and the package lists are
# refreshed at most once per run.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libqt6webenginecore6-bin qt6-l10n-tools
  libcurl4-openssl-dev libboost-regex-dev libcpp-httplib-dev libssl-dev zlib1g-dev libbrotli-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-arphic-ukai fonts-noto-cjk
  xvfb xauth x11-utils xdotool xclip imagemagick
  python3 python3-pyftpdlib
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
