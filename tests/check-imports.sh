#!/usr/bin/env bash
# Fails when the executable imports a DLL outside the system's own, or a
# function Windows XP SP3 lacks.
set -euo pipefail
exe=$1
format=${PE_FORMAT:-pei-i386}
dump=$(${OBJDUMP:-i686-w64-mingw32-objdump} -p "$exe")
grep -q "file format $format\$" <<<"$dump" || { echo "$exe is not a $format program"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$dump" || { echo "$exe is not a GUI program"; exit 1; }
grep -Eq 'MajorSubsystemVersion\s+5$' <<<"$dump" && grep -Eq 'MinorSubsystemVersion\s+1$' <<<"$dump" \
  || { echo "$exe does not declare subsystem version 5.01"; exit 1; }

dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u)
allowed='^(kernel32|user32|gdi32|shell32|advapi32|comctl32|msvcrt|ole32)\.dll$'
bad_dlls=$(echo "$dlls" | grep -Ev "$allowed" || true)
[ -z "$bad_dlls" ] || { echo "unexpected DLLs: $bad_dlls"; exit 1; }

# Functions added after XP that runtimes are known to pull in.
post_xp='GetTickCount64|ConditionVariable|SRWLock|InitOnce|GetFinalPathNameByHandle|CreateSymbolicLink|GetSystemTimePreciseAsFileTime|SetThreadDescription|FlsAlloc|LocaleNameToLCID|GetLocaleInfoEx|CompareStringEx|CreateEventEx|CreateMutexEx|CreateSemaphoreEx|InitializeCriticalSectionEx|GetCurrentProcessorNumber|QueryFullProcessImageName'
bad_funcs=$(grep -E '^\s+[0-9a-f]+\s+[0-9]+\s+\w+' <<<"$dump" | awk '{print $3}' | grep -E "$post_xp" || true)
[ -z "$bad_funcs" ] || { echo "functions Windows XP lacks: $bad_funcs"; exit 1; }
echo "imports: $(echo $dlls)"
