#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again: it only
# calls apt-get when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libicu-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format clang-tidy
  qt6-base-dev qt6-svg-dev libibus-1.0-dev
  ibus ibus-m17n m17n-db dbus imagemagick fonts-tibetan-machine
  libfcitx5core-dev fcitx5-modules-dev fcitx5 fcitx5-m17n
  tmux xvfb xauth xdotool
  dpkg-dev fakeroot file lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi
