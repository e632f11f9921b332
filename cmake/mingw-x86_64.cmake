# The same sources for 64-bit Windows. Not shipped: it runs the Wine test
# layers on hosts whose kernel cannot execute 32-bit Linux programs, where
# the 32-bit Wine loader cannot start.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELMO_MINGW_TRIPLE x86_64-w64-mingw32)
set(VELMO_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
