#!/usr/bin/env bash
# A reseller's brand. The example brand (brands/example) configures and
# builds (the launcher and the installer alone), and both carry its texts and
# pictures and none of the default brand's; the texts are the generated
# headers' (KestronBrand.h) of both brands. Each bad brand folder, one fault
# each, ends the configure step with a message naming the file, the field and
# the reason, before anything is built. Given the stand-in companion (where
# the 32-bit build's programs run), the example's installer also installs
# beside it under Wine, with the example's title and publisher, and uninstalls.
# Usage: brand-test.sh TOOLCHAIN_FILE [companion]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$1
companion=${2:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

configure() {  # configure BUILD_FOLDER BRAND_FOLDER
  cmake -S "$root" -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF -DKESTRON_BRAND="$2"
}

# ---- the example brand, against the default one
configure "$tmp/default" "$root/brands/kestron" >/dev/null
configure "$tmp/example" "$root/brands/example" >/dev/null
cmake --build "$tmp/example" -j 2 --target Kestron installer >"$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; fail "the example brand's build"; }
launcher=$tmp/example/bin/Kestron.exe
setup=$(ls "$tmp"/example/Kestron-*-setup.exe)

# The bytes of each constant of a generated header, one file each in $2.
texts_of() {  # texts_of HEADER FOLDER
  mkdir -p "$2"
  sed -n 's/^inline constexpr char \([A-Za-z]*\)\[\] = "\(.*\)";.*/\1|\2/p' "$1" |
    while IFS='|' read -r name literal; do  # blanks at either end stay
      printf '%b' "${literal//\" \"/}" >"$2/$name"
    done
}
texts_of "$tmp/default/generated/KestronBrand.h" "$tmp/kestron-texts"
texts_of "$tmp/example/generated/KestronBrand.h" "$tmp/example-texts"
hex() { od -An -v -tx1 "$@" | tr -d '\n'; }  # " 4b 45 ...": bytes stay aligned
number() { od -An -tu4 -j "$2" -N 4 "$1" | tr -d ' '; }  # number FILE OFFSET
# The bytes of an icon file's first image, as its directory's first entry places them.
first_icon_image() { hex -j "$(number "$1" 18)" -N "$(number "$1" 14)" "$1"; }
hex "$launcher" >"$tmp/launcher.hex"
hex "$setup" >"$tmp/setup.hex"
found() { grep -qF -- "$2" "$tmp/$1.hex"; }  # found launcher|setup HEX
# The compiler stores a text whole or writes it as 4-byte immediate values:
# each of its whole 4-byte pieces is looked for.
found_in_pieces() {
  local i
  for ((i = 0; i + 12 <= ${#2}; i += 12)); do found "$1" "${2:i:12}" || return 1; done
}
shown() {  # shown FIND PROGRAM HEX: whether the program holds the bytes, as $want says
  if "$1" "$2" "$3"; then [ "$want" = yes ]; else [ "$want" = no ]; fi
}

# What each program shows of a brand: the launcher its texts as it writes
# them (ANSI; GBK for the Chinese ones), both programs their version details
# (UTF-16) and icon (its image, after the icon's directory), the launcher its
# two pictures (after the bitmap file's header).
expect() {  # expect yes|no BRAND
  want=$1
  local brand=$2 texts=$tmp/$2-texts pictures=$root/brands/$2
  for name in BrandMainEn BrandMainCn BrandAboutEn BrandAboutCn BrandProduct BrandCompany \
              OwnWebAddress BrandSplashCaption; do
    shown found_in_pieces launcher "$(hex "$texts/$name")" || fail "$brand's $name in the launcher: expected $want"
  done
  for name in BrandProductName BrandPublisher; do
    iconv -f ASCII -t UTF-16LE "$texts/$name" >"$tmp/utf16"
    for program in launcher setup; do
      shown found $program "$(hex "$tmp/utf16")" || fail "$brand's $name in the $program's version details: expected $want"
    done
  done
  for program in launcher setup; do
    shown found $program "$(first_icon_image "$pictures/icon.ico")" || fail "$brand's icon in the $program: expected $want"
  done
  for picture in splash.bmp overlay.bmp; do
    shown found launcher "$(hex -j 14 -N 4096 "$pictures/$picture")" || fail "$brand's $picture in the launcher: expected $want"
  done
}
expect yes example
expect no kestron
echo "the example brand's launcher and installer carry its texts and pictures, none of the default's"

if [ -n "$companion" ]; then
  wine="$root/tools/wine-run.sh x86"
  # This test and the release test install into the one uninstall entry of
  # the build's Wine: one at a time (the lock goes when this script ends).
  exec 9>"$root/build/windows/wineprefix/.uninstall-entry.lock"
  flock 9
  entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestron'
  value() { $wine reg query "$entry" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
  folder=$tmp/programmer
  mkdir "$folder"
  cp "$companion" "$folder/Korvastel"
  windows_folder=$($wine winepath -w "$folder" | tr -d '\r')
  $wine "$setup" /S "/D=$windows_folder"
  trap '$wine "$folder/Kestron-uninstall.exe" /S "_?=$windows_folder"; rm -rf "$tmp"' EXIT
  [ "$(value DisplayName)" = "$(cat "$tmp/example-texts/BrandInstallerTitle")" ] || fail "the entry's DisplayName: $(value DisplayName)"
  [ "$(value Publisher)" = "$(cat "$tmp/example-texts/BrandPublisher")" ] || fail "the entry's Publisher: $(value Publisher)"
  echo "the example's installer installed its launcher under its own title and publisher"
fi

# ---- bad brands: each row changes one thing in a copy of the example
table_text() {  # the C literal (escapes as written) of a constant of text/TextTable.h
  awk -v name="$1" '$0 ~ "char " name "\\[\\] =" { on = 1 } on { sub("//.*", ""); print } on && /;/ { exit }' \
    "$root/text/TextTable.h" | grep -o '"[^"]*"' | tr -d '"\n'
}
table_text_utf8() { printf '%b' "$(table_text "$1")" | iconv -f CP936 -t UTF-8; }
gbk_199="关于 $(printf '编%.0s' $(seq 97))"  # 5 + 97 x 2 = 199 GBK bytes (298 in UTF-8)
field() { sed -i "s/^$1 = .*/$1 = \"$2\"/" "$brand/brand.txt"; }
rows=(
  "ok|field about_title_cn '$gbk_199'|"
  "bad|field about_title_cn '$gbk_199 '|brand.txt: field about_title_cn: 200 bytes, longer than the 199 bytes"
  "bad|field main_title_en '$(printf 'A%.0s' $(seq 200))'|brand.txt: field main_title_en: 200 bytes, longer than the 199 bytes"
  "bad|field about_title_cn '关于 한국'|brand.txt: field about_title_cn: \"关于 한국\" has a character that code page 936 (GBK) cannot encode"
  "bad|field company 'Merivax Ärzte'|brand.txt: field company: \"Merivax Ärzte\" must be plain ASCII"
  "bad|sed -i /^web_address/d \"\$brand/brand.txt\"|brand.txt: field web_address: missing"
  "bad|cp \"\$brand/overlay.bmp\" \"\$brand/splash.bmp\"|splash.bmp: 140 x 378 pixels, 24 bits per pixel; the launcher draws it at 452 x 308"
  "bad|rm \"\$brand/icon.ico\"|icon.ico: missing"
  "bad|printf '\\x89PNG\\r\\n\\x1a\\n' >\"\$tmp/png\"; dd if=\"\$tmp/png\" of=\"\$brand/icon.ico\" bs=1 seek=\$(number \"\$brand/icon.ico\" 18) conv=notrunc status=none|icon.ico: image 0 (16 x 16) is not stored as a bitmap"
  "bad|field app_id 'Halden.Orvelin Pro'|brand.txt: field app_id: \"Halden.Orvelin Pro\" must be Company.Product"
  "bad|field app_id 'Halden.$(printf 'x%.0s' $(seq 122))'|brand.txt: field app_id: 129 characters; Windows takes an application ID of at most 128"
  "bad|field main_title_en '$(table_text TitleConnFailEn)'|brand.txt: field main_title_en: \"$(table_text TitleConnFailEn)\" is the companion's own title TitleConnFailEn"
  "bad|field about_title_cn '$(table_text_utf8 TitleAboutCn)'|brand.txt: field about_title_cn: \"$(table_text_utf8 TitleAboutCn)\" is the companion's own title TitleAboutCn"
  "bad|field company '$(table_text PrefixEmail | tr a-z A-Z) TOOLS'|brand.txt: field company: \"EMAIL TOOLS\" is matched by the About box's rule PrefixEmail (TextStartsWith, Hide)"
  "bad|field main_title_cn 'ORVELIN PRO 2 '|brand.txt: field main_title_en: the same bytes as main_title_cn"
  "bad|field vendor_words 'Pelta; halden'|brand.txt: field vendor_words: \"halden\" occurs in company (\"HALDEN TOOLS LTD.\")"
  "bad|field vendor_words 'Pelta; 한국'|brand.txt: field vendor_words: \"한국\" has a character that code page 936 (GBK) cannot encode"
)
for row in "${rows[@]}"; do
  IFS='|' read -r want change message <<<"$row"
  brand=$tmp/brand
  build=$tmp/build
  rm -rf "$brand" "$build"
  cp -r "$root/brands/example" "$brand"
  eval "$change"
  status=0
  configure "$build" "$brand" >"$tmp/out" 2>&1 || status=$?
  said=$(tr -s ' \n' ' ' <"$tmp/out")  # CMake wraps its messages
  if [ "$want" = ok ]; then
    [ "$status" -eq 0 ] || { cat "$tmp/out"; fail "$change: refused"; }
    continue
  fi
  [ "$status" -ne 0 ] || fail "$change: configured"
  [[ "$said" == *"$message"* ]] || { cat "$tmp/out"; fail "$change: no message \"$message\""; }
  [ ! -e "$build/build.ninja" ] || fail "$change: a build was written"
done
echo "the ${#rows[@]} brand rows: each bad one ends the configure step with its message"
