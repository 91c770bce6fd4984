# Cross compiling for 64-bit Windows with MinGW-w64 (posix threads, so std::thread and
# std::mutex work). The runtime is linked statically: the .exe files need no DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SUITE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SUITE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SUITE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SUITE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUITE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests registered with CTest run under Wine (scripts/windows-wine.sh keeps a private prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-wine.sh)
