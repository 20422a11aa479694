# End to end: the built saver, its dialog and its setup, started from outside
# and watched as a user would see them, under Wine. Each program is split by
# --gtest_filter into entries that stay well within their bound inside the
# emulated 32-bit PC, where everything runs several times slower.
if(WIN32)
  # What the Windows tests share: programs started and watched from outside,
  # the platform settings they read, the screen read back.
  add_library(embrix_test_support STATIC
    support/SaverProcess.cpp support/KeptSettings.cpp support/ScreenCheck.cpp)
  target_include_directories(embrix_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(embrix_test_support PUBLIC user32 gdi32 advapi32)
  embrix_warnings(embrix_test_support)

  # embrix_parts(program filter [entry filter]...): the program's own entry
  # runs the first filter, each further entry its own.
  function(embrix_parts program filter)
    set_property(TEST ${program} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=${filter}")
    set(rest ${ARGN})
    while(rest)
      list(POP_FRONT rest entry part)
      add_test(NAME ${entry} COMMAND ${program} --gtest_filter=${part}
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
      set_tests_properties(${entry} PROPERTIES TIMEOUT 300)
    endwhile()
  endfunction()

  # The saver from ..\Embrix.scr on the 1024 x 768 display. The password-change
  # double beside a copy of it is taken for the platform's library only with
  # mpr=n,b in WINEDLLOVERRIDES, and "mpr=" switches the library off; Wine
  # reads both from the environment a process starts with.
  embrix_test(NAME saver_end_to_end
    SOURCES window/SaverEndToEnd.cpp startup/ModesTest.cpp reliability/FaultTests.cpp
    LIBS embrix_test_support)
  add_dependencies(saver_end_to_end Embrix embrix_verifier_double embrix_mpr_double)
  embrix_parts(saver_end_to_end "Settings/*"
    saver_end_to_end_modes "Modes.*:Faults.*"
    saver_end_to_end_no_mpr "WithoutPasswordChangeLibrary.*")
  set_tests_properties(saver_end_to_end_modes PROPERTIES
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=n,b")
  set_tests_properties(saver_end_to_end_no_mpr PROPERTIES
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=")

  embrix_test(NAME dialog_end_to_end SOURCES startup/DialogTest.cpp startup/ResourcesTest.cpp
    LIBS embrix_test_support)
  add_dependencies(dialog_end_to_end Embrix)

  # tools/make-dist puts the setup for each kind of Windows beside that
  # build's saver; Wine shows the Unix root as drive Z:.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(setup ${CMAKE_BINARY_DIR}/Embrix-${PROJECT_VERSION}-setup-x64.exe)
  else()
    set(setup ${CMAKE_BINARY_DIR}/Embrix-${PROJECT_VERSION}-setup.exe)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(setup "Z:${setup}")
  endif()
  embrix_test(NAME install_setup SOURCES install/SetupTests.cpp LIBS embrix_test_support version)
  target_compile_definitions(install_setup PRIVATE EMBRIX_VERSION_TEXT="${PROJECT_VERSION}")
  set_tests_properties(install_setup PROPERTIES ENVIRONMENT "EMBRIX_SETUP=${setup}")
endif()
