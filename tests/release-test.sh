#!/usr/bin/env bash
# The release, without network: two unsigned runs from two copies of the
# sources, in different folders at different times, write the same bytes; a
# signed run signs the launcher, the uninstaller, the installer and the brand
# check so that osslsigncode accepts them against a throwaway CA, and the
# signed launcher and check are the unsigned ones plus their signatures; a wrong password or a missing
# certificate stops the release before it writes anything. Given the
# stand-in companion (where the 32-bit build's programs run), the signed
# installer also installs beside it under Wine and writes the signed files.
# Usage: release-test.sh [companion]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Kestron VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
release=dist/Kestron-$version
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
check() { "$@" || { echo "FAILED: $*" >&2; exit 1; }; }

# The sources as they are, committed or not; from sources that are not a git
# work tree (an unpacked source archive), all but the build and release folders.
copy_sources() {
  mkdir -p "$1"
  if [ ! -e "$root/.git" ]; then
    (cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name build ! -name dist -exec cp -a -t "$1" {} +)
    return
  fi
  (cd "$root" && git ls-files -z --cached --others --exclude-standard \
    | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
    | xargs -0 cp --parents -t "$1")
}
one=$tmp/one/kestron
two=$tmp/a/second/copy
copy_sources "$one"
copy_sources "$two"

# A throwaway CA and a code-signing certificate it issued.
cd "$tmp"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Kestron test CA" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Kestron test signer" 2>/dev/null
printf 'keyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -set_serial 1 -days 2 -extfile signer.ext \
  -out signer.pem 2>/dev/null
echo 'correct horse' >password
echo 'wrong horse' >wrong-password
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password -out signer.p12

for refused in "signer.p12 wrong-password does not open" "missing.p12 password no certificate file"; do
  read -r p12 pass message <<<"$refused"
  status=0
  KESTRON_SIGN_PKCS12=$p12 KESTRON_SIGN_PASSWORD_FILE=$pass "$one/tools/release.sh" >out 2>&1 || status=$?
  check [ "$status" -ne 0 ]
  check grep -q "$message" out
  check [ ! -e "$one/dist" ]
done

"$one/tools/release.sh" >/dev/null
"$two/tools/release.sh" | tail -1
for f in Kestron.exe "Kestron-$version-setup.exe" KestronCheck.exe SHA256SUMS; do
  cmp "$one/$release/$f" "$two/$release/$f" || { cmp -l "$one/$release/$f" "$two/$release/$f" | head; exit 1; }
done

KESTRON_SIGN_PKCS12=signer.p12 KESTRON_SIGN_PASSWORD_FILE=password "$two/tools/release.sh" | tail -1
signed=$two/$release
uninstaller=$two/build/release/Kestron-uninstall.exe
for f in "$signed/Kestron.exe" "$uninstaller" "$signed/Kestron-$version-setup.exe" "$signed/KestronCheck.exe"; do
  osslsigncode verify -CAfile ca.pem -in "$f" >verified 2>&1 || { cat verified; exit 1; }
done
for f in Kestron.exe KestronCheck.exe; do
  osslsigncode remove-signature -in "$signed/$f" -out "unsigned-$f" >/dev/null
  check cmp "unsigned-$f" "$one/$release/$f"
done
(cd "$signed" && sha256sum --quiet -c SHA256SUMS)

if [ -z "${1:-}" ]; then
  echo "no companion given (the 32-bit build's programs do not run here): the signed installer was checked, not run"
  exit 0
fi
wine="$root/tools/wine-run.sh x86"
# This test and the brand test install into the one uninstall entry of
# the build's Wine: one at a time (the lock goes when this script ends).
exec 9>"$root/build/windows/wineprefix/.uninstall-entry.lock"
flock 9
folder=$tmp/programmer
mkdir "$folder"
cp "$1" "$folder/Korvastel"
windows_folder=$($wine winepath -w "$folder" | tr -d '\r')
$wine "$signed/Kestron-$version-setup.exe" /S "/D=$windows_folder"
check cmp "$folder/Kestron.exe" "$signed/Kestron.exe"
check cmp "$folder/Kestron-uninstall.exe" "$uninstaller"
$wine "$folder/Kestron-uninstall.exe" /S "_?=$windows_folder"
echo "the signed installer installed the signed launcher and uninstaller, which uninstalled them"
