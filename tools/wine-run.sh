#!/usr/bin/env bash
# Runs a Windows program of one build under the Wine that matches it, with
# the project's settings: the build's own prefix, no debug output, no Mono or
# Gecko installers. Usage: wine-run.sh x86|x64 program [arguments]
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_use "$1" || exit 2
shift
exec "$WINE" "$@"
