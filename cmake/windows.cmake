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
  include(${PROJECT_SOURCE_DIR}/cmake/googletest-sources.cmake)
  # Tests are listed when ctest runs (inside the test run's Wine prefix), not while building.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  add_subdirectory(tests)
endif()
