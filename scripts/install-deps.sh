#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  nlohmann-json3-dev libsystemd-dev
  clang libclang-rt-dev clang-format git universal-ctags
  desktop-file-utils dpkg-dev
  fonts-dejavu-core poppler-utils
)

# `install-deps.sh a11y`: what scripts/a11y-check.sh needs instead (an X server, the keyboard
# and mouse driver, the desktop's accessibility bus and its Python bindings).
if [ "${1:-}" = "a11y" ]; then
  packages=(xvfb xdotool dbus at-spi2-core python3-pyatspi)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
