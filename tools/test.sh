#!/usr/bin/env bash
# Installs what is missing, builds the launcher and its tests, and runs every
# test under Wine in a private 1024 x 768 Xvfb screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset windows
cmake --build --preset windows
source tools/wine-session.sh
wine_session_start
ctest --preset windows "$@"
