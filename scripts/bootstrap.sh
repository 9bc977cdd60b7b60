#!/usr/bin/env bash
# Installs what building and testing VestoryList needs on Debian 12, where it is missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xdotool x11-apps x11-utils openbox dbus-daemon at-spi2-core python3-pyatspi
          gir1.2-atspi-2.0 clang libclang-rt-14-dev dpkg-dev file libicu-dev
          librsvg2-bin desktop-file-utils appstream lintian shared-mime-info xdg-utils
          libglib2.0-bin syncthing sway wtype grim qt6-wayland libwayland-dev pkg-config
          qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
