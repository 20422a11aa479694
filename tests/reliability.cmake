# Reliability: hand-edited settings, odd preview parents, broken platform
# components and missing resources, all under wine64. The fuzz targets live in
# fuzz/, a project of their own; tools/test runs them.
if(WIN32)
  set(EMBRIX_RELIABILITY_DIR ${CMAKE_BINARY_DIR}/tests/reliability)

  # The probe "PASSWORD.CPL": reports the saver-running state from inside the
  # process that loads it (see reliability/RunningStateProbe.cpp).
  function(embrix_running_state_probe target folder def)
    embrix_double(${target} PASSWORD.CPL ${folder}
      reliability/RunningStateProbe.cpp doubles/DoubleLog.cpp ${def})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  endfunction()
  embrix_running_state_probe(embrix_running_state_probe ${EMBRIX_RELIABILITY_DIR}
    reliability/RunningStateProbe.def)
  target_compile_definitions(embrix_running_state_probe PRIVATE RUNNING_STATE_PROBE_ENTRY)
  embrix_running_state_probe(embrix_entryless_probe ${EMBRIX_RELIABILITY_DIR}/entryless
    reliability/RunningStateProbeEntryless.def)

  # In this process, beside the probe.
  embrix_test(NAME reliability_missing_resources
    SOURCES reliability/MissingResourcesTests.cpp window/WindowTestSupport.cpp
    LIBS embrix_win embrix_test_support)
  set_target_properties(reliability_missing_resources PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${EMBRIX_RELIABILITY_DIR})
  set_tests_properties(reliability_missing_resources PROPERTIES
    WORKING_DIRECTORY ${EMBRIX_RELIABILITY_DIR})
  add_dependencies(reliability_missing_resources embrix_running_state_probe)
endif()
