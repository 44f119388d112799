# Cross-builds the Windows program with Debian's MinGW-w64 compilers, the
# -posix flavour (std::thread and friends work). The C and C++ runtimes and
# winpthread are linked in statically, so the program needs no MinGW DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SORAMADO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SORAMADO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SORAMADO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SORAMADO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SORAMADO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static rather than -static-libgcc -static-libstdc++ alone: libstdc++ of
# the -posix flavour pulls in winpthread, which would stay a DLL otherwise.
# The system's own DLLs have import libraries only, so they stay DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and tools built for Windows run under Wine. The 64-bit loader is
# called directly: Debian's wine wrapper looks for a 32-bit Wine first.
find_program(SORAMADO_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
find_program(SORAMADO_WINE64 NAMES wine64 wine)
if(SORAMADO_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SORAMADO_WINE64})
endif()
