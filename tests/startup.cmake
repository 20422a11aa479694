# Start-up, dialog and resources.

# The pure command-line reading, in every build.
embrix_test(NAME startup_command_line
  SOURCES startup/CommandLineTest.cpp
  LIBS embrix_core)

if(NOT WIN32)
  # The icon comes from a generator of ours; the checked-in file must be what
  # it writes today.
  add_executable(embrix_make_icon ${PROJECT_SOURCE_DIR}/resources/MakeIcon.cpp)
  embrix_warnings(embrix_make_icon)
  add_test(NAME startup_icon_is_generated
    COMMAND ${CMAKE_COMMAND}
      -DGENERATOR=$<TARGET_FILE:embrix_make_icon>
      -DOUTPUT=${CMAKE_BINARY_DIR}/tests/Embrix.ico
      -DCHECKED_IN=${PROJECT_SOURCE_DIR}/resources/Embrix.ico
      -P ${CMAKE_CURRENT_SOURCE_DIR}/startup/CompareIcon.cmake)
endif()
