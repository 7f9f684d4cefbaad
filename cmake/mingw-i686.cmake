# Cross-compiles for 32-bit Windows: the build Kestron ships as.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KESTRON_TRIPLET i686-w64-mingw32)
set(KESTRON_WINE_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
