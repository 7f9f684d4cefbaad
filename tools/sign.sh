#!/usr/bin/env bash
# Signs a Windows program in place with the release's certificate, SHA-256:
# KESTRON_SIGN_PKCS12 (a PKCS#12 file), KESTRON_SIGN_PASSWORD_FILE (its
# password), and a time stamp from KESTRON_SIGN_TIMESTAMP_URL where set.
# tools/release.sh checks the certificate first and has the build call this.
# Usage: sign.sh program
set -euo pipefail
program=$1
options=(-pkcs12 "$KESTRON_SIGN_PKCS12" -readpass "$KESTRON_SIGN_PASSWORD_FILE" -h sha256 -n KESTRON)
[ -z "${KESTRON_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$KESTRON_SIGN_TIMESTAMP_URL")
osslsigncode sign "${options[@]}" -in "$program" -out "$program.signed" >/dev/null \
  || { rm -f "$program.signed"; echo "sign.sh: could not sign $program" >&2; exit 1; }
mv "$program.signed" "$program"
