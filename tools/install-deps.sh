#!/usr/bin/env bash
# Installs what building and testing Kestron needs on Debian 12: the MinGW-w64
# cross compilers (32-bit for the shipped launcher, 64-bit for hosts that
# cannot run 32-bit programs), Wine, Xvfb, the GoogleTest sources, NSIS
# (makensis builds the installer), osslsigncode and openssl (the release signs
# with them; its test makes a throwaway certificate). The 32-bit Wine is
# installed only where this host can run it.
set -euo pipefail
source "$(dirname "$0")/host.sh"

packages=(cmake ninja-build googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine64 xvfb xauth imagemagick x11-utils bc procps fonts-wqy-microhei nsis
          osslsigncode openssl)
host_runs_32bit && packages+=(wine32:i386)

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
if grep -q ':i386' <<<"$todo"; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $todo
still=$(missing)
if [ -n "$still" ]; then
  echo "These packages are still missing after apt-get: $still" >&2
  exit 1
fi
