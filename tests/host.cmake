# tests of this area: the saver host's state, password handling and default
# processing, run under wine64 against the real test-double libraries in
# doubles/ (see doubles/CMakeLists.txt for how other tests use them).
if(WIN32)
  add_subdirectory(doubles)

  # Beside the verifier double "PASSWORD.CPL" in <build>/tests.
  embrix_test(NAME host_tests
    SOURCES host/HostTestSupport.cpp host/SaverHostStateTests.cpp
            host/PasswordVerifierTests.cpp host/DefaultSaverProcTests.cpp
    LIBS embrix_win)
  add_dependencies(host_tests embrix_verifier_double)

  # Beside the password-change double "MPR.DLL", which Wine takes only with
  # mpr=n,b; no "PASSWORD.CPL" in reach. Run once more with mpr disabled.
  set(host_mpr_dir ${CMAKE_BINARY_DIR}/tests/mpr)
  embrix_test(NAME host_password_change_tests
    SOURCES host/HostTestSupport.cpp host/PasswordChangeTests.cpp
    LIBS embrix_win)
  set_target_properties(host_password_change_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${host_mpr_dir})
  add_dependencies(host_password_change_tests embrix_mpr_double)
  add_test(NAME host_password_change_without_mpr
    COMMAND host_password_change_tests --gtest_filter=*MprDisabled*)
  set_tests_properties(host_password_change_tests PROPERTIES
    WORKING_DIRECTORY ${host_mpr_dir}
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=n,b"
    ENVIRONMENT "GTEST_FILTER=-*MprDisabled*")
  set_tests_properties(host_password_change_without_mpr PROPERTIES
    WORKING_DIRECTORY ${host_mpr_dir}
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=")

  # Beside a "PASSWORD.CPL" and an "MPR.DLL" that lack their entries.
  set(host_entryless_dir ${CMAKE_BINARY_DIR}/tests/entryless)
  embrix_test(NAME host_entryless_tests
    SOURCES host/HostTestSupport.cpp host/EntrylessLibraryTests.cpp
    LIBS embrix_win)
  set_target_properties(host_entryless_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${host_entryless_dir})
  add_dependencies(host_entryless_tests embrix_entryless_verifier embrix_entryless_mpr)
  set_tests_properties(host_entryless_tests PROPERTIES
    WORKING_DIRECTORY ${host_entryless_dir}
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=n,b")
endif()
