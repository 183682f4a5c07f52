# Toolchain for the Windows program: 32-bit mingw-w64 with POSIX threads (Debian's
# g++-mingw-w64-i686-posix), everything linked statically so that lumera8.exe and the test
# programs need no DLL beyond Windows' own. ctest runs the cross-built programs through Wine.
#   cmake -G Ninja -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
if(NOT LUMERA_MINGW_TRIPLET)
  set(LUMERA_MINGW_TRIPLET i686-w64-mingw32)
  set(CMAKE_SYSTEM_PROCESSOR i686)
endif()
set(CMAKE_C_COMPILER ${LUMERA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMERA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMERA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMERA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libgcc, libstdc++ or winpthread DLLs beside the program. A target whose entry point is
# wWinMain or wmain adds -municode itself; a windowed program sets WIN32_EXECUTABLE (-mwindows).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

if(NOT LUMERA_WINE_LOADER)
  set(LUMERA_WINE_LOADER wine)
endif()
find_program(LUMERA_WINE ${LUMERA_WINE_LOADER} PATHS /usr/lib/wine)
if(LUMERA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMERA_WINE})
endif()
