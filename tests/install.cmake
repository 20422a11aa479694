# The setup program: a silent install, the installed saver and a silent
# uninstall, checked against the files and registry before and after.
# tools/make-dist builds the setup programs into dist/ and puts a copy of the
# one for each kind of Windows beside that build's saver, where its tests (and
# the emulated 32-bit PC, which copies that folder) find it.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(setup ${CMAKE_BINARY_DIR}/Embrix-${PROJECT_VERSION}-setup-x64.exe)
  else()
    set(setup ${CMAKE_BINARY_DIR}/Embrix-${PROJECT_VERSION}-setup.exe)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # The tests run under Wine, which shows the Unix root as drive Z:.
    set(setup "Z:${setup}")
  endif()
  embrix_test(NAME install_setup
    SOURCES install/SetupTests.cpp install/ProgramRun.cpp install/SystemSnapshot.cpp
    LIBS advapi32 user32 version)
  target_compile_definitions(install_setup PRIVATE EMBRIX_VERSION_TEXT="${PROJECT_VERSION}")
  set_tests_properties(install_setup PROPERTIES ENVIRONMENT "EMBRIX_SETUP=${setup}")
endif()
