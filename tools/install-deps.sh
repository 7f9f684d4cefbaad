#!/usr/bin/env bash
# Installs what building and testing Kestron needs on Debian 12: the MinGW-w64
# cross compilers (32-bit for the shipped launcher, 64-bit for hosts that
# cannot run 32-bit programs), Wine, Xvfb, the GoogleTest sources, NSIS
# (makensis builds the installer), osslsigncode and openssl (the release signs
# with them; its test makes a throwaway certificate) and git (the release test
# copies the sources with it). The 32-bit Wine is asked for only where this
# host can run it.
#
# A package archive half synced is no reason to stop: indexes that apt-get
# update cannot fetch are a warning, and when everything but the 32-bit Wine
# installs, apt's reason goes to $wine32_note and the tools take the 64-bit
# path (tools/host.sh). Any other package missing stops this script.
set -euo pipefail
source "$(dirname "$0")/host.sh"

packages=(cmake ninja-build googletest
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine64 fonts-wine xvfb xauth imagemagick x11-utils bc procps fonts-wqy-microhei nsis
          osslsigncode openssl git)
wine32=wine32:i386
wants_32bit_wine && packages+=("$wine32")
rm -f "$wine32_note"

missing() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

mapfile -t todo < <(missing)
[ ${#todo[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null; then
  echo "Kestron needs these Debian packages and cannot install them here (no apt-get):" >&2
  echo "  ${todo[*]}" >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo; missing packages: ${todo[*]}" >&2; exit 1; }
  sudo=sudo
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Runs apt-get, showing its output and keeping it in $log.
run_apt() {
  $sudo apt-get "$@" 2>&1 | tee "$log"
  return "${PIPESTATUS[0]}"
}
# apt's own reason for the last failure: its first error line.
apt_reason() {
  local reason
  reason=$(sed -n 's/^E: \(.*[^.]\)\.*$/\1/p' "$log" | head -n 1)
  echo "${reason:-apt-get exited with status $1}"
}
apt_install() {  # apt_install PACKAGES...: on failure, sets reason
  local status=0
  run_apt install -y -q --no-install-recommends "$@" || status=$?
  [ "$status" -eq 0 ] || reason=$(apt_reason "$status")
  return "$status"
}

echo "Installing: ${todo[*]}"
if [[ " ${todo[*]} " == *":i386 "* ]]; then
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
unfetched=""
if ! run_apt update -q; then
  # Each index that failed shows as "Err:N URL INDEX", its reason below.
  unfetched=$(awk '/^Err:/ { $1 = $2 = ""; sub(/^ +/, ""); printf "%s%s", sep, $0; sep = ", " }' "$log")
  echo "Warning: apt-get update could not fetch ${unfetched:-its indexes ($(apt_reason 100))};" \
    "installing from the indexes it has" >&2
fi
reason=""
if ! apt_install "${todo[@]}"; then
  rest=()
  for p in "${todo[@]}"; do [ "$p" = "$wine32" ] || rest+=("$p"); done
  if [ ${#rest[@]} -gt 0 ] && [ ${#rest[@]} -lt ${#todo[@]} ]; then
    echo "Installing again without $wine32"
    apt_install "${rest[@]}" || true
  fi
fi
mapfile -t still < <(missing)
[ ${#still[@]} -eq 0 ] && exit 0
if [ "${still[*]}" = "$wine32" ]; then
  [ -z "$unfetched" ] || reason="$reason; apt-get update could not fetch $unfetched"
  mkdir -p "$(dirname "$wine32_note")"
  echo "$reason" >"$wine32_note"
  echo "Warning: the 32-bit Wine could not be installed: $reason; the tools run the 64-bit build" >&2
  exit 0
fi
echo "These packages are still missing after apt-get: ${still[*]}" >&2
[ -z "$reason" ] || echo "apt-get: $reason" >&2
exit 1
