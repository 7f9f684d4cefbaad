#!/usr/bin/env bash
# Installs what is missing, builds the launcher and its tests for 32-bit and
# 64-bit Windows, and runs every test under Wine in a private 1024 x 768 Xvfb
# screen. Where this host runs 32-bit programs, the 32-bit suite (the shipped
# build) runs and then the 64-bit one; elsewhere, where the 32-bit Wine could
# not be installed, or with KESTRON_ONLY_64BIT=1, the 64-bit suite runs and the
# 32-bit Kestron.exe is built and checked only. The last line says which.
# The soak's long form runs once, in the first suite that runs, in place of
# its short form. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/host.sh
install_deps_and_choose_build
runs_x86=ON
[ "$KESTRON_RUN_ARCH" = x86 ] || runs_x86=OFF
cmake --preset windows -DKESTRON_WINE_TESTS=$runs_x86
cmake --build --preset windows
cmake --preset windows-x64
cmake --build --preset windows-x64
source tools/wine-session.sh
wine_session_start

failed=()
# The soak's long form runs its one case at length: where it runs, the
# short entry is left out.
x64_only=(-E '^Soak$')
suite() {  # suite NAME PRESET [ctest arguments]
  local name=$1 preset=$2 start=$SECONDS
  shift 2
  echo "== $name"
  ctest --preset "$preset" "$@" || failed+=("$name")
  echo "== $name: $((SECONDS - start)) s"
}
if [ "$KESTRON_RUN_ARCH" = x86 ]; then
  wine_prefix_start x86
  suite "the 32-bit suite" windows -E '^Soak$' "$@"
  summary="ran the 32-bit suite (the shipped build) and the 64-bit suite"
  x64_only=(-LE long)  # the soak's long form ran in the 32-bit suite: the short one runs here
else
  # The import and subsystem check executes nothing: it runs on any host.
  suite "the 32-bit Kestron.exe check" windows
  summary="ran the 64-bit suite; the 32-bit Kestron.exe was built and checked, not run ($KESTRON_RUN_REASON)"
fi
wine_prefix_start x64
suite "the 64-bit suite" windows-x64 "${x64_only[@]}" "$@"

echo "$summary"
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: $(IFS=,; echo "${failed[*]}")" >&2
  exit 1
fi
