#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and benchmarking need.
# Idempotent: asks apt only for what is missing, and runs `apt-get update` only then.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libmpg123-dev mpg123 libfluidsynth-dev fluidsynth libsdl2-dev libmp3lame-dev
  fluid-soundfont-gm timgm6mb-soundfont
  fonts-comic-neue fonts-liberation2
  xvfb xauth imagemagick x11-utils poppler-utils groff-base
  qt6-translations-l10n
  dbus dbus-bin dbus-daemon libglib2.0-bin at-spi2-core python3-pyatspi
  playerctl desktop-file-utils appstream
  libx11-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
