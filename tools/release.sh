#!/usr/bin/env bash
# Builds what a reseller ships, from a clean build folder of its own
# (build/release), and writes dist/Kestron-<version>/: the 32-bit Kestron.exe,
# its installer, the brand check KestronCheck.exe and SHA256SUMS. Usage: release.sh [BRAND_FOLDER]; given a brand
# folder (see brands/example) it builds that brand, into
# dist/Kestron-<version>-<folder's name>/; else the default brand. With
# KESTRON_SIGN_PKCS12 (a PKCS#12 file) and
# KESTRON_SIGN_PASSWORD_FILE (its password) set it signs, SHA-256, the
# launcher before it is packed, the uninstaller, then the installer, and the
# brand check;
# KESTRON_SIGN_TIMESTAMP_URL adds a time stamp. Executes nothing Windows-made.
# Nothing is written to dist/ unless every step succeeded.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/release
fail() { echo "release: $*; nothing written to dist/" >&2; exit 1; }

bash "$root/tools/install-deps.sh"
version=$(sed -n 's/^project(Kestron VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no version in project() of CMakeLists.txt"

brand=()
dist=$root/dist/Kestron-$version
if [ -n "${1:-}" ]; then
  [ -d "$1" ] || fail "no brand folder '$1'"
  brand=(-DKESTRON_BRAND="$(realpath "$1")")
  dist=$dist-$(basename "$(realpath "$1")")
fi

signing=()
if [ -n "${KESTRON_SIGN_PKCS12:-}${KESTRON_SIGN_PASSWORD_FILE:-}" ]; then
  [ -n "${KESTRON_SIGN_PKCS12:-}" ] && [ -n "${KESTRON_SIGN_PASSWORD_FILE:-}" ] \
    || fail "to sign, set both KESTRON_SIGN_PKCS12 and KESTRON_SIGN_PASSWORD_FILE"
  [ -f "$KESTRON_SIGN_PKCS12" ] || fail "no certificate file '$KESTRON_SIGN_PKCS12' (KESTRON_SIGN_PKCS12)"
  [ -f "$KESTRON_SIGN_PASSWORD_FILE" ] || fail "no password file '$KESTRON_SIGN_PASSWORD_FILE' (KESTRON_SIGN_PASSWORD_FILE)"
  # The build runs the signing command from other folders.
  KESTRON_SIGN_PKCS12=$(realpath "$KESTRON_SIGN_PKCS12")
  KESTRON_SIGN_PASSWORD_FILE=$(realpath "$KESTRON_SIGN_PASSWORD_FILE")
  export KESTRON_SIGN_PKCS12 KESTRON_SIGN_PASSWORD_FILE
  # Older PKCS#12 files need OpenSSL's legacy algorithms.
  open_pkcs12() {
    openssl pkcs12 -in "$KESTRON_SIGN_PKCS12" -passin "file:$KESTRON_SIGN_PASSWORD_FILE" "$@" 2>/dev/null \
      || openssl pkcs12 -legacy -in "$KESTRON_SIGN_PKCS12" -passin "file:$KESTRON_SIGN_PASSWORD_FILE" "$@" 2>/dev/null
  }
  signer=$(open_pkcs12 -nokeys -clcerts | openssl x509 -noout -subject 2>/dev/null) \
    || fail "the password in $KESTRON_SIGN_PASSWORD_FILE does not open $KESTRON_SIGN_PKCS12 (wrong password, or not a PKCS#12 file with a certificate)"
  signing=(-DKESTRON_SIGN="$root/tools/sign.sh")
fi

start=$SECONDS
cd "$root"  # cmake reads the presets from the current folder
rm -rf "$build"
mkdir -p "$build"
log=$build/release.log
{ cmake --preset release "${brand[@]}" "${signing[@]}" && cmake --build --preset release; } >"$log" 2>&1 \
  || { cat "$log" >&2; fail "the build failed (log above, also in $log)"; }

setup=Kestron-$version-setup.exe
staged=$build/Kestron-$version
mkdir "$staged"
cp "$build/bin/Kestron.exe" "$build/$setup" "$build/bin/KestronCheck.exe" "$staged/"
(cd "$staged" && sha256sum Kestron.exe "$setup" KestronCheck.exe >SHA256SUMS)
mkdir -p "$root/dist"
rm -rf "$dist"
mv "$staged" "$dist"

echo "Wrote $dist in $((SECONDS - start)) s:"
sed 's/^/  /' "$dist/SHA256SUMS"
if [ ${#signing[@]} -gt 0 ]; then
  stamp="without a time stamp (KESTRON_SIGN_TIMESTAMP_URL is not set)"
  [ -z "${KESTRON_SIGN_TIMESTAMP_URL:-}" ] || stamp="with a time stamp from $KESTRON_SIGN_TIMESTAMP_URL"
  echo "Signed (SHA-256) by ${signer#subject=}, $stamp: Kestron.exe, the uninstaller (kept as $build/Kestron-uninstall.exe), $setup and KestronCheck.exe."
else
  echo "Unsigned: KESTRON_SIGN_PKCS12 and KESTRON_SIGN_PASSWORD_FILE are not set."
fi
