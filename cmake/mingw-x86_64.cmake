# Cross-compiles for 64-bit Windows: the same sources and tests, run under
# 64-bit Wine on hosts that cannot run 32-bit programs. Not shipped.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESTRON_TRIPLET x86_64-w64-mingw32)
set(KESTRON_WINE_ARCH x64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
