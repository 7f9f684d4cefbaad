#!/usr/bin/env bash
# tools/install-deps.sh and the build the tools then choose, against stand-in
# apt-get, dpkg-query, dpkg and id on a private PATH (no root, no network): an
# index apt-get update cannot fetch is a warning; when only the 32-bit Wine
# cannot be installed, the tools take the 64-bit build and say why; any other
# package missing stops the install and is named.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A copy of the scripts, whose build folder is this test's own.
mkdir -p "$tmp/src/tools" "$tmp/bin" "$tmp/state"
cp "$root/tools/install-deps.sh" "$root/tools/host.sh" "$tmp/src/tools/"
export STATE=$tmp/state

# Installed is every package but those listed in $STATE/missing.
cat >"$tmp/bin/dpkg-query" <<'EOF'
#!/bin/bash
! grep -qx -- "${!#}" "$STATE/missing" && echo 'install ok installed'
EOF
# update fails as a half-synced archive does when $STATE/update is "fails";
# install installs all it is given, or nothing when one is in $STATE/refused.
cat >"$tmp/bin/apt-get" <<'EOF'
#!/bin/bash
if [ "$1" = update ]; then
  [ "$(cat "$STATE/update")" = fails ] || exit 0
  echo 'Err:4 http://archive.invalid/debian-security bookworm-security/main i386 Packages'
  echo '  File has unexpected size (374820 != 376004). Mirror sync in progress?'
  echo 'E: Some index files failed to download. They have been ignored, or old ones used instead.' >&2
  exit 100
fi
shift 4  # install -y -q --no-install-recommends
for p; do
  grep -qx -- "$p" "$STATE/refused" || continue
  echo 'E: Unable to correct problems, you have held broken packages.' >&2
  exit 100
done
for p; do sed -i "/^$p\$/d" "$STATE/missing"; done
EOF
printf '#!/bin/sh\necho i386\n' >"$tmp/bin/dpkg"
printf '#!/bin/sh\necho 0\n' >"$tmp/bin/id"
chmod +x "$tmp/bin/"*

held="Unable to correct problems, you have held broken packages"
unfetched="bookworm-security/main i386 Packages"
# update | missing | refused | exit status | lines the output must hold (;;-separated)
rows=(
  "fails|git wine32:i386|-|0|Warning: apt-get update could not fetch $unfetched; installing from the indexes it has;;the 32-bit build (the one Kestron ships as)"
  "fails|git wine32:i386|wine32:i386|0|the 64-bit build (the 32-bit Wine could not be installed: $held; apt-get update could not fetch $unfetched)"
  "works|nsis wine32:i386|nsis|1|These packages are still missing after apt-get: nsis wine32:i386;;apt-get: $held"
)
failed=0
for row in "${rows[@]}"; do
  IFS='|' read -r update missing refused want_status want <<<"$row"
  echo "$update" >"$STATE/update"
  tr ' ' '\n' <<<"$missing" >"$STATE/missing"
  echo "$refused" >"$STATE/refused"
  status=0
  # shellcheck disable=SC2016  # $build_name is the sourced script's
  out=$(cd "$tmp/src" && env -u KESTRON_ONLY_64BIT -u KESTRON_WINE32_MISSING PATH="$tmp/bin:$PATH" \
    KESTRON_HOST_RUNS_32BIT=yes bash -c 'set -eu; source tools/host.sh; install_deps_and_choose_build; echo "$build_name"' 2>&1) \
    || status=$?
  ok=1
  [ "$status" = "$want_status" ] || ok=0
  while IFS= read -r line; do grep -qxF -- "$line" <<<"$out" || ok=0; done <<<"${want//;;/$'\n'}"
  if [ "$ok" = 0 ]; then
    failed=1
    printf 'FAILED: update %s, missing %s, refused %s: status %s (wanted %s), wanted the lines\n%s\nin\n%s\n' \
      "$update" "$missing" "$refused" "$status" "$want_status" "${want//;;/$'\n'}" "$out" >&2
  fi
done
exit "$failed"
