#!/usr/bin/env bash
# Installs the Debian packages the game needs to build, run and be tested, and the Russian
# locale the tests play the game under.
set -euo pipefail
pkgs=(cmake g++ make pkgconf qt6-base-dev libfluidsynth-dev libssl-dev libgtest-dev
      libbenchmark-dev zlib1g-dev libqt6widgets6 qt6-qpa-plugins libfluidsynth3
      timgm6mb-soundfont libssl3 fonts-dejavu-core locales)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# A desktop with a decimal comma: the tests check that saves and scripts do not care.
if ! locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8'; then
  $SUDO localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
