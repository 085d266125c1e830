# Cross-builds the 32-bit Windows program with Debian's mingw-w64, its tests
# run by scripts/lib/wine32 (a 32-bit Wine of its own, under qemu-i386 where
# the processor runs no 32-bit code):
#   cmake -S . -B build-windows-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(RATALIA_WINDOWS_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# SSE2 arithmetic, as the 64-bit program has: the x87 unit's wider
# intermediates would round the doubles otherwise, and change the digits.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine32)
