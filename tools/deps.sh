#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and screenshots need, but only when one is missing.
set -euo pipefail
pkgs=(qt6-base-dev qt6-translations-l10n qt6-svg-dev libsqlcipher-dev sqlcipher libxlsxwriter-dev libzint-dev
      zint cmake ninja-build ccache g++ libbenchmark-dev libgtest-dev xvfb xauth xdotool imagemagick
      poppler-utils fonts-wqy-microhei fonts-noto-cjk zlib1g-dev unzip xlsx2csv)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
