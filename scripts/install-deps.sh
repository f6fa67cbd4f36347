#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the demo need and
# the machine lacks. Sourced by run-demo.sh and test.sh.
set -euo pipefail

STUDIOKIT_PACKAGES=(
  cmake make g++
  qtbase5-dev qtbase5-dev-tools libqt5webkit5-dev
  qttranslations5-l10n
  libjpeg-turbo-progs
  libzint-dev libzxing-dev
  poppler-utils
  fonts-noto-cjk
  xvfb xauth
)

missing=()
for package in "${STUDIOKIT_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages need root: run this script with sudo." >&2
    exit 1
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
