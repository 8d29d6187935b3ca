# Cross-compiles the Windows x86-64 deliverables with Debian's posix-threads
# mingw-w64. Everything from the toolchain is linked statically so that a
# module or test needs nothing but Windows system DLLs at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORVA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${TORVA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TORVA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORVA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
