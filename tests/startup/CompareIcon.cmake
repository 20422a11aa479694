# Runs the icon generator and compares its output with the checked-in icon.
# To refresh the icon after changing the generator: embrix_make_icon resources/Embrix.ico
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
  message(FATAL_ERROR "the icon generator failed: ${generated}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${CHECKED_IN}
  RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${CHECKED_IN} is not what the generator writes; regenerate it")
endif()
