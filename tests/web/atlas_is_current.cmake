# Makes the glyph atlases anew with the Qt board's font and compares them with web/atlas/: a
# change of the font, its hinting or the face on the system shows here, before the browser's
# board drifts from the desktop's.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_glyph_atlas failed (${result})")
endif()
foreach(name atlas-1.json atlas-2.json)
  file(SHA256 ${OUT}/${name} made)
  file(SHA256 ${COMMITTED}/${name} committed)
  if(NOT made STREQUAL committed)
    message(FATAL_ERROR "web/atlas/${name} differs from what the Qt board's font gives now; run "
                        "make_glyph_atlas web/atlas and look at the board again")
  endif()
endforeach()
