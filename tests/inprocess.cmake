# In-process tests under wine64: the host, its password handling and the fire
# window run by the host's own code in this process, against real doubles of
# the platform's password libraries, which the saver loads by name:
#   embrix_verifier_double     <build>/tests/PASSWORD.CPL with "VerifyScreenSavePwd"
#                              (doubles/VerifierDouble.h says how tests steer it)
#   embrix_entryless_verifier  <build>/tests/entryless/PASSWORD.CPL without it
#   embrix_mpr_double          <build>/tests/mpr/MPR.DLL with "PwdChangePasswordA",
#                              taken by Wine only with mpr=n,b in WINEDLLOVERRIDES
#   embrix_entryless_mpr       <build>/tests/entryless/MPR.DLL without it
if(WIN32)
  set(EMBRIX_TESTS_DIR ${CMAKE_BINARY_DIR}/tests)
  function(embrix_double target file folder source entry)
    add_library(${target} SHARED doubles/${source})
    string(REGEX REPLACE "\\.[^.]*$" "" stem ${file})
    string(REGEX MATCH "\\.[^.]*$" suffix ${file})
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${stem} SUFFIX ${suffix}
      RUNTIME_OUTPUT_DIRECTORY ${folder}
      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE user32)
    if(entry)
      target_compile_definitions(${target} PRIVATE EMBRIX_DOUBLE_ENTRY)
    endif()
    # The 32-bit stdcall names are exported undecorated, as the platform's are.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    embrix_warnings(${target})
  endfunction()
  embrix_double(embrix_verifier_double PASSWORD.CPL ${EMBRIX_TESTS_DIR} VerifierDouble.cpp ON)
  embrix_double(embrix_entryless_verifier PASSWORD.CPL ${EMBRIX_TESTS_DIR}/entryless
    VerifierDouble.cpp OFF)
  embrix_double(embrix_mpr_double MPR.DLL ${EMBRIX_TESTS_DIR}/mpr PasswordChangeDouble.cpp ON)
  embrix_double(embrix_entryless_mpr MPR.DLL ${EMBRIX_TESTS_DIR}/entryless
    PasswordChangeDouble.cpp OFF)

  # The allocator's entries are wrapped at link time, so that every call from
  # the program's own objects is counted (perf/FrameAllocationTest.cpp).
  embrix_test(NAME inprocess_tests
    SOURCES support/WindowHarness.cpp host/DefaultSaverProcTests.cpp
            host/PasswordVerifierTests.cpp host/PasswordChangeTests.cpp
            window/HostWindowTests.cpp window/FireWindowTests.cpp
            window/FireScreenExactTest.cpp perf/FrameAllocationTest.cpp
    LIBS embrix_win embrix_test_support imm32)
  target_link_options(inprocess_tests PRIVATE
    -Wl,--wrap=malloc -Wl,--wrap=calloc -Wl,--wrap=realloc -Wl,--wrap=free)
  add_dependencies(inprocess_tests embrix_verifier_double embrix_entryless_verifier
    embrix_mpr_double embrix_entryless_mpr)
  # Entries: everything else beside the verifier double; the platform
  # libraries' cases where Wine takes a file named MPR.DLL; and where neither
  # library can load.
  add_test(NAME inprocess_platform_libraries
    COMMAND inprocess_tests --gtest_filter=PlatformLibraries.*)
  add_test(NAME host_password_change_without_mpr
    COMMAND inprocess_tests --gtest_filter=WithoutPlatformLibraries.*)
  set_tests_properties(inprocess_tests PROPERTIES ENVIRONMENT "GTEST_FILTER=-*PlatformLibraries.*")
  set_tests_properties(inprocess_platform_libraries PROPERTIES
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=n,b")
  set_tests_properties(host_password_change_without_mpr PROPERTIES
    ENVIRONMENT_MODIFICATION "WINEDLLOVERRIDES=string_append:\\;mpr=\\;password.cpl=")
  set_tests_properties(inprocess_platform_libraries host_password_change_without_mpr PROPERTIES
    TIMEOUT 300 WORKING_DIRECTORY ${EMBRIX_TESTS_DIR})
endif()
