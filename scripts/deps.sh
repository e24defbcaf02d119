#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need, when any is missing.
# Needs root, or sudo for apt-get.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev zlib1g-dev
  libfluidsynth-dev libasound2-dev timgm6mb-soundfont
  libbenchmark-dev
  libsqlite3-dev libstemmer-dev
  fonts-urw-base35 fonts-liberation2 fonts-comic-neue fonts-dejavu-core
  qt6-translations-l10n
  qt6-qpa-plugins libxcb-cursor0 xvfb openbox xdotool procps
  dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  libreoffice-writer-nogui poppler-utils
  dpkg-dev desktop-file-utils appstream lintian file man-db groff-base
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
