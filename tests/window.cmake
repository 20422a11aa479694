# The whole saver end to end.
if(WIN32)
  # Starts ..\Embrix.scr from its own folder; needs the 1024 x 768 display.
  embrix_test(NAME saver_end_to_end SOURCES window/SaverEndToEnd.cpp LIBS embrix_test_support)
  add_dependencies(saver_end_to_end Embrix)
endif()
