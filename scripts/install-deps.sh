#!/usr/bin/env bash
# Installs the Debian packages the build needs; quiet and quick when everything is there.
set -euo pipefail

# qt6-base-dev brings Widgets, PrintSupport and Test; libqcustomplot-dev draws the graphs and
# qt6-svg-dev writes them as SVG; xvfb and xauth run the desktop program without a screen
# (screenshots); fonts-dejavu-core is a fixed-pitch font for the report view and printed
# reports on any machine; libcurl4-openssl-dev is the HTTP client of the lap-time upload.
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpng-dev zlib1g-dev libcurl4-openssl-dev
  qt6-base-dev libqcustomplot-dev qt6-svg-dev libsqlite3-dev xvfb xauth fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
