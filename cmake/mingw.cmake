# Shared by the MinGW-w64 toolchain files, which set KESTRON_TRIPLET (the
# compilers' prefix) and KESTRON_WINE_ARCH (x86 or x64) first. The posix
# thread model is needed by GoogleTest (std::mutex); the launcher itself uses
# no std threads and links with the win32 runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KESTRON_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRON_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRON_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KESTRON_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under the Wine loader that matches the build.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${KESTRON_WINE_ARCH})
