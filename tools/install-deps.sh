#!/usr/bin/env bash
# Installs what building and testing Kestron needs on Debian 12: the MinGW-w64
# i686 cross compiler, Wine (32-bit), Xvfb and the GoogleTest sources.
set -euo pipefail

packages=(cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64-i686 googletest
          wine wine32:i386 xvfb xauth imagemagick x11-utils bc procps fonts-wqy-microhei)

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

todo=$(missing)
[ -z "$todo" ] && exit 0

if ! command -v apt-get >/dev/null; then
  echo "Kestron needs these Debian packages and cannot install them here (no apt-get):" >&2
  echo "  $todo" >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo; missing packages: $todo" >&2; exit 1; }
  sudo=sudo
fi

echo "Installing: $(echo $todo | tr '\n' ' ')"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $todo
still=$(missing)
if [ -n "$still" ]; then
  echo "These packages are still missing after apt-get: $still" >&2
  exit 1
fi
