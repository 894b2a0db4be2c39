# Shared part of the MinGW-w64 toolchain files; QUORREL_MINGW_TRIPLET names
# the target. The posix thread model is preferred: its libstdc++ has
# std::thread and std::mutex, which GoogleTest and the tests may use.
# GoogleTest, built from source in the cross build, needs the C compiler too.
find_program(CMAKE_CXX_COMPILER NAMES ${QUORREL_MINGW_TRIPLET}-g++-posix ${QUORREL_MINGW_TRIPLET}-g++
  REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${QUORREL_MINGW_TRIPLET}-gcc-posix ${QUORREL_MINGW_TRIPLET}-gcc
  REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUORREL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler runtime goes into every module, so quorrel.dll and the
# programs need no DLL beyond those of Windows itself.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine when it is installed: 64-bit programs under the
# 64-bit loader itself, since the `wine` wrapper picks the 32-bit loader
# wherever 32-bit Wine is installed too.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  find_program(QUORREL_WINE NAMES wine64 wine PATHS /usr/lib/wine)
else()
  find_program(QUORREL_WINE NAMES wine)
endif()
if(QUORREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORREL_WINE})
endif()
