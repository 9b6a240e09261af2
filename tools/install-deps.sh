#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and its tools need.
# As root it installs what is missing; otherwise it prints the apt-get line.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qtbase5-dev libqt5serialport5-dev libqt5serialbus5-dev qtdeclarative5-dev
  qttools5-dev qttools5-dev-tools
  libqcustomplot-dev libxlsxwriter-dev
  libmodbus-dev mbpoll socat python3 python3-openpyxl python3-pil
  libbenchmark-dev
  fonts-dejavu-core
  zip unzip
)
[ "${1:-}" = "--run" ] && packages+=(xvkbd)
[ "${1:-}" = "--screenshots" ] && packages+=(xvfb xauth xvkbd)
[ "${1:-}" = "--profile" ] && packages+=(valgrind)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
