# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the engine for 64-bit Windows with Debian's mingw-w64 (the
# windows preset). The posix thread model: with g++ 12 the win32 model has no
# std::thread, and Debian's default alternative is the win32 one, so the
# compilers are named explicitly.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_STRIP x86_64-w64-mingw32-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is linked fully static, so that it imports only Windows'
# own DLLs and runs when copied alone onto a machine: no libstdc++-6,
# libgcc_s_seh-1 or libwinpthread-1 beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The unit tests run under Wine (scripts/wine-run.sh sets Wine up).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
