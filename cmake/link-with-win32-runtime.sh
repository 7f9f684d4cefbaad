#!/bin/sh
# Links with the win32-thread-model runtime instead of the posix one. The
# posix C++ runtime brings winpthreads, which imports functions Windows XP
# lacks (GetTickCount64); the launcher uses no std threads, so its objects
# link unchanged against the win32 runtime. Called as CMake's link launcher.
cmd=$1
shift
exec "$(echo "$cmd" | sed 's/-posix$/-win32/')" "$@"
