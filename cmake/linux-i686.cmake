# Builds the core, its tests and loan_results as 32-bit x86 Linux programs
# with g++-multilib, run under qemu-i386 (qemu-user): the 64-bit kernels this
# is built on may run no 32-bit code of their own.
#   cmake -S . -B build-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/linux-i686.cmake -DRATALIA_BUILD_WINDOW=OFF
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
# SSE2 arithmetic, as every 64-bit build has: the x87 unit's wider
# intermediates would round the doubles otherwise, and change the digits.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
find_program(RATALIA_QEMU qemu-i386 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${RATALIA_QEMU})
