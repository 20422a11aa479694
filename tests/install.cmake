# The setup program: a silent install, the installed saver and a silent
# uninstall, checked against the files and registry before and after.
# tools/make-dist builds the setup programs into dist/ from build/win32 and
# build/win64; each Windows build tests the one for its own kind of Windows.
if(WIN32)
  set(EMBRIX_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where tools/make-dist puts the setup programs")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(setup ${EMBRIX_DIST_DIR}/Embrix-${PROJECT_VERSION}-setup-x64.exe)
  else()
    set(setup ${EMBRIX_DIST_DIR}/Embrix-${PROJECT_VERSION}-setup.exe)
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
