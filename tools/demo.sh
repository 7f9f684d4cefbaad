#!/usr/bin/env bash
# Builds Kestron and shows it at work: the stand-in companion alone, then the
# same companion started through Kestron, in English and in Chinese. Runs on
# your display when there is one, else in a private Xvfb screen, and saves
# screenshots as PNG files in build/<build>/demo/screens. Uses the 32-bit
# build where this host runs 32-bit programs, else the 64-bit one.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/host.sh
start_runnable_session Demo use-own-display

demo=$PWD/build/$preset/demo
rm -rf "$demo"
mkdir -p "$demo/app" "$demo/screens"
cp "build/$preset/bin/Kestron.exe" "build/$preset/bin/Korvastel" "$demo/app/"
report=$demo/report.txt
export KORVASTEL_REPORT="Z:${report//\//\\}"

wait_report() { wait_for_line "$report" "$1"; }
# Waits (at most 20 s) until a window whose title matches $1 is on the screen.
wait_title() {
  for _ in $(seq 200); do xwininfo -root -tree | grep -qE "$1" && return 0; sleep 0.1; done
  echo "no window titled like '$1' appeared" >&2
  return 1
}
shot() {
  sleep 0.5
  import -window root "$demo/screens/$1.png"
  echo "  $demo/screens/$1.png"
}
end_companion() {
  stop_companion "$1"
  rm -f "$report"
}

for lang in en cn; do
  export KORVASTEL_LANG=$lang
  # Chinese titles are GBK bytes: Wine's ANSI code page must be 936 for them.
  codepage=()
  [ "$lang" = cn ] && codepage=(LC_ALL=zh_CN.UTF-8)
  echo "Companion alone ($lang):"
  env "${codepage[@]}" KORVASTEL_ABOUT_AFTER_MS=2000 "$WINE" "$demo/app/Korvastel" &
  run=$!
  wait_report shown && shot "$lang-1-companion-main"
  wait_report about && shot "$lang-2-companion-about"
  end_companion "$run"

  echo "The same companion started through Kestron ($lang):"
  env "${codepage[@]}" KORVASTEL_START_DELAY_MS=1500 KORVASTEL_ABOUT_AFTER_MS=3000 \
    "$WINE" "$demo/app/Kestron.exe" &
  run=$!
  wait_report started && shot "$lang-3-kestron-splash"
  wait_title '"KESTRON V1\.0 ?":' && shot "$lang-4-kestron-main"
  wait_report about && wait_title 'KESTRON V1\.0":' && shot "$lang-5-kestron-about"
  end_companion "$run"
done
# Side by side: the companion alone (left) and through Kestron (right).
for lang in en cn; do
  for pair in "1-companion-main 4-kestron-main main" "2-companion-about 5-kestron-about about"; do
    set -- $pair
    convert "$demo/screens/$lang-$1.png" "$demo/screens/$lang-$2.png" -crop 760x420+0+50 +repage \
      -bordercolor white -border 4 +append "$demo/screens/$lang-$3-before-after.png"
  done
done
convert "$demo/screens/en-3-kestron-splash.png" -crop 560x400+232+156 +repage "$demo/screens/splash.png"
echo "Screenshots are in $demo/screens"
