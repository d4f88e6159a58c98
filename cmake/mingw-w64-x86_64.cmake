# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The posix threading variant is the one with std::thread and std::mutex, which GoogleTest
# needs. Everything is linked statically, so the .exe files run on a bare Windows (or wine)
# without the compiler's DLLs beside them.
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLEX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run through wine on the build machine.
find_program(QUILLEX_WINE NAMES wine wine64)
if(QUILLEX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLEX_WINE})
endif()

# GoogleTest is compiled from Debian's source package with this compiler.
set(QUILLEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build with the project")
