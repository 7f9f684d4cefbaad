#!/usr/bin/env bash
# Fails when the executable is not a Windows GUI program (with SUBSYSTEM=console,
# a console program) for subsystem 5.01 (Windows XP), when its manifest names another processor than its own
# (Windows then refuses to start it), or when it imports a function that is on none of the lists
# given after it: one "dll function" a line, '#' starts a comment. Each listed
# function was checked to exist on Windows XP SP3, so a new import fails here
# until someone has checked it and listed it.
# Usage: check-imports.sh program.exe list...
set -euo pipefail
exe=$1
shift
format=${PE_FORMAT:-pei-i386}
dump=$(${OBJDUMP:-i686-w64-mingw32-objdump} -p "$exe")
grep -q "file format $format\$" <<<"$dump" || { echo "$exe is not a $format program"; exit 1; }
case ${SUBSYSTEM:-gui} in gui) subsystem="Windows GUI" ;; console) subsystem="Windows CUI" ;; esac
grep -q "Subsystem.*($subsystem)" <<<"$dump" || { echo "$exe is not a $subsystem program"; exit 1; }
grep -Eq 'MajorSubsystemVersion\s+5$' <<<"$dump" && grep -Eq 'MinorSubsystemVersion\s+1$' <<<"$dump" \
  || { echo "$exe does not declare subsystem version 5.01"; exit 1; }
manifest_arch=$(grep -ao 'processorArchitecture="[^"]*"' "$exe" | sort -u)
case $format in pei-i386) arch=x86 ;; pei-x86-64) arch=amd64 ;; esac
[ "$manifest_arch" = "processorArchitecture=\"$arch\"" ] \
  || { echo "$exe is a $format program, but its manifest says: ${manifest_arch:-no processor}"; exit 1; }

# The import table lists each DLL, then its functions as "address hint name".
imported=$(awk '/DLL Name:/ { dll = tolower($3) }
                /^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ { print dll, $3 }' <<<"$dump" | sort -u)
listed=$(sed 's/#.*//' "$@" | awk 'NF { print tolower($1), $2 }' | sort -u)
unlisted=$(comm -23 <(echo "$imported") <(echo "$listed"))
[ -z "$unlisted" ] || { echo "imports not checked against Windows XP SP3:"; echo "$unlisted"; exit 1; }
echo "imports: $(wc -l <<<"$imported") functions, each checked against Windows XP SP3"
