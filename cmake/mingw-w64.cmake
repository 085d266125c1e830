# Cross-builds the 64-bit Windows program with Debian's mingw-w64 (POSIX
# threads, GCC 12), its tests run under Wine:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(RATALIA_WINDOWS_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
find_program(RATALIA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(RATALIA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${RATALIA_WINE})
endif()
