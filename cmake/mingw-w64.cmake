# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (POSIX threads flavour, for std::thread).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLE}-windres)

# Libraries and packages come from the target's root and from the prefixes given in CMAKE_PREFIX_PATH
# (where scripts/test-windows.sh installs GoogleTest built with this compiler); programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry their C and C++ runtimes: they run on a Windows machine without any other install.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine on the build machine.
find_program(VEXTOOLS_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT VEXTOOLS_WINE)
  find_program(VEXTOOLS_WINE NAMES wine64 wine)
endif()
if(VEXTOOLS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXTOOLS_WINE})
endif()
