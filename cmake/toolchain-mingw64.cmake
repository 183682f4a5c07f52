# Toolchain for a 64-bit build of the Windows program and its tests (x86_64-w64-mingw32, POSIX
# threads, run by wine64). The program we ship is the 32-bit one; this build lets the tests run
# under Wine on machines whose kernel cannot execute 32-bit Linux programs, and so wine32.
set(LUMERA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMERA_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw32.cmake)
