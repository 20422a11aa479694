# Reliability: hand-edited settings, odd preview parents, broken platform
# components and missing resources, all under wine64. The fuzz targets live in
# fuzz/, a project of their own; tools/test runs them.
if(WIN32)
  # The built saver, started from outside.
  embrix_test(NAME reliability_hostile_settings
    SOURCES reliability/HostileSettingsTests.cpp LIBS embrix_test_support)
  embrix_test(NAME reliability_odd_previews
    SOURCES reliability/OddPreviewTests.cpp LIBS embrix_test_support)
  embrix_test(NAME reliability_faults
    SOURCES reliability/FaultTests.cpp LIBS embrix_test_support)
  foreach(test IN ITEMS reliability_hostile_settings reliability_odd_previews reliability_faults)
    add_dependencies(${test} Embrix)
  endforeach()
  add_dependencies(reliability_faults embrix_verifier_double embrix_entryless_verifier)
endif()
