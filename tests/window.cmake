# The whole saver end to end.
if(WIN32)
  # Starts ..\Embrix.scr from its own folder; needs the 1024 x 768 display.
  embrix_test(NAME saver_end_to_end SOURCES window/SaverEndToEnd.cpp LIBS embrix_test_support)
  add_dependencies(saver_end_to_end Embrix)
  # Needs the two-monitor display that tools/test sets up; fails on one.
  embrix_test(NAME saver_two_monitors SOURCES window/TwoMonitorEndToEnd.cpp LIBS embrix_test_support)
  add_dependencies(saver_two_monitors Embrix)
  set_tests_properties(saver_two_monitors PROPERTIES LABELS two_monitors)
endif()
