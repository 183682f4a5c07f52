# The Windows build (configured with cmake/toolchain-mingw32.cmake): the Win32 front-end over the
# same engine, no Qt. The Win32 code sits in the rooms' win32/ subfolders, each taken when present.
enable_language(RC)
set(LUMERA_BUILD_GUI OFF)  # the rooms' Qt parts stay out

# The rooms in dependency order; each takes its win32/ subfolder when that is present.
foreach(room src/engine src/util src/donate src/window src/startup)
  add_subdirectory(${room})
endforeach()
# The floor program of the Windows start-up measurement.
add_subdirectory(bench/win32)
# The program lands at the top of the build folder: build-windows/lumera8.exe.
if(TARGET lumera8)
  set_target_properties(lumera8 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endif()

if(LUMERA_BUILD_TESTS)
  enable_testing()
  # GoogleTest built from Debian's sources (package googletest) with the cross compiler.
  set(LUMERA_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  if(NOT EXISTS ${LUMERA_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${LUMERA_GOOGLETEST_SOURCE_DIR} (apt-get install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${LUMERA_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(TARGET ${lib} AND NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
  # Tests are listed when ctest runs (inside the test run's Wine prefix), not while building.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  add_subdirectory(tests)
endif()
