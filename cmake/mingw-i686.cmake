# The product: 32-bit Windows, built with mingw-w64 on Debian.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMO_MINGW_TRIPLE i686-w64-mingw32)
set(VELMO_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Every Windows 8 or later machine has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
