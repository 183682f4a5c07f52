# The browser edition (configured with Emscripten's toolchain file, see tools/build-web.sh): the engine, the window
# layer and the browser front-end compiled to WebAssembly with Debian's emscripten, and the
# static site around them. The browser's code sits in the rooms' web/ subfolders.
set(LUMERA_BUILD_GUI OFF)  # the rooms' Qt parts stay out
set(LUMERA_WEB_SITE_DIR ${PROJECT_BINARY_DIR}/site CACHE PATH "Where the static site is put together")
# The engine reports failures with exceptions, which have to be caught in WebAssembly too.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

foreach(room src/engine src/util src/donate src/window src/startup)
  add_subdirectory(${room})
endforeach()

# The static site: the page, the program, the puzzle collection, the help, sounds, pictures,
# icons and the glyph atlases. The service worker's cache is named after the site's contents.
# The page script's modules (web/page/) are joined into one script by a small Node program, so
# that the page can carry it.
find_program(LUMERA_NODE NAMES node nodejs REQUIRED NO_CMAKE_FIND_ROOT_PATH)
file(GLOB LUMERA_WEB_PAGE_MODULES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/page/*.js)
set(LUMERA_WEB_PAGE_SCRIPT ${PROJECT_BINARY_DIR}/page.js)
add_custom_command(OUTPUT ${LUMERA_WEB_PAGE_SCRIPT}
  COMMAND ${LUMERA_NODE} ${PROJECT_SOURCE_DIR}/tools/web/join_page_modules.js
          ${PROJECT_SOURCE_DIR}/web/page/start.js ${LUMERA_WEB_PAGE_SCRIPT}
  DEPENDS ${LUMERA_WEB_PAGE_MODULES} ${PROJECT_SOURCE_DIR}/tools/web/join_page_modules.js
  COMMENT "Joining the page script's modules"
  VERBATIM)
set(LUMERA_WEB_PAGE ${PROJECT_SOURCE_DIR}/web/index.html ${PROJECT_SOURCE_DIR}/web/page.css ${LUMERA_WEB_PAGE_SCRIPT})
set(LUMERA_WEB_FILES
  ${PROJECT_SOURCE_DIR}/web/manifest.webmanifest
  ${PROJECT_SOURCE_DIR}/web/atlas/atlas-1.json ${PROJECT_SOURCE_DIR}/web/atlas/atlas-2.json
  ${PROJECT_SOURCE_DIR}/data/Lumera8.dat ${PROJECT_SOURCE_DIR}/data/lumera8.html
  ${PROJECT_SOURCE_DIR}/resources/splash.png ${PROJECT_SOURCE_DIR}/resources/donate.png
  ${PROJECT_SOURCE_DIR}/resources/door.png ${PROJECT_SOURCE_DIR}/resources/door_disabled.png
  ${PROJECT_SOURCE_DIR}/resources/icon-16.png ${PROJECT_SOURCE_DIR}/resources/icon-32.png
  ${PROJECT_SOURCE_DIR}/resources/icon-48.png ${PROJECT_SOURCE_DIR}/resources/icon-64.png
  ${PROJECT_SOURCE_DIR}/resources/icon-128.png ${PROJECT_SOURCE_DIR}/resources/icon.png)
foreach(n 1 2 3 4)
  list(APPEND LUMERA_WEB_FILES ${PROJECT_SOURCE_DIR}/resources/wave${n}.wav)
endforeach()
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${LUMERA_WEB_SITE_DIR} -DWORKER=${PROJECT_SOURCE_DIR}/web/sw.js
          -DPAGE=${PROJECT_SOURCE_DIR}/web/index.html -DSTYLE=${PROJECT_SOURCE_DIR}/web/page.css
          -DSCRIPT=${LUMERA_WEB_PAGE_SCRIPT} -DPROGRAM_DIR=$<TARGET_FILE_DIR:lumera8>
          "-DFILES=${LUMERA_WEB_FILES}" -P ${PROJECT_SOURCE_DIR}/cmake/web_site.cmake
  DEPENDS lumera8 ${LUMERA_WEB_PAGE} ${LUMERA_WEB_FILES} ${PROJECT_SOURCE_DIR}/web/sw.js
          ${PROJECT_SOURCE_DIR}/cmake/web_site.cmake
  COMMENT "Putting the static site together in ${LUMERA_WEB_SITE_DIR}"
  VERBATIM)

if(LUMERA_BUILD_TESTS)
  enable_testing()
  # GoogleTest built with em++; no threads in Node.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  include(${PROJECT_SOURCE_DIR}/cmake/googletest-sources.cmake)
  # The suites run under Node (the toolchain's emulator): compiled at once, with the real file
  # system beneath them, and their exit code as the process's.
  add_link_options(-sWASM_ASYNC_COMPILATION=0 -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1)
  include(GoogleTest)
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  foreach(room engine window web)
    if(EXISTS ${PROJECT_SOURCE_DIR}/tests/${room}/CMakeLists.txt)
      add_subdirectory(tests/${room})
    endif()
  endforeach()
endif()
