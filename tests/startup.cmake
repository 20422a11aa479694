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

if(WIN32)
  # End to end: each program starts ..\Embrix.scr from its own folder and
  # watches it from outside.
  foreach(part IN ITEMS Resources Modes Dialog)
    string(TOLOWER ${part} name)
    embrix_test(NAME startup_${name} SOURCES startup/${part}Test.cpp LIBS embrix_test_support)
    add_dependencies(startup_${name} Embrix)
  endforeach()
  # Bytes above 0x80 on the command line pass unchanged in a single-byte code page.
  # The password-change double beside a copy of the saver is taken for the
  # platform's library only with this override, which Wine reads at start.
  set_tests_properties(startup_modes PROPERTIES ENVIRONMENT "LC_ALL=C"
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=n,b")
  if(TARGET embrix_mpr_double)
    add_dependencies(startup_modes embrix_mpr_double)
  endif()
endif()
