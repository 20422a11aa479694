# The saver window: host and effect procedures in a real window, under wine64,
# and the whole saver end to end.
if(WIN32)
  set(EMBRIX_WINDOW_SUPPORT window/WindowTestSupport.cpp)
  embrix_test(NAME window_fire SOURCES window/FireWindowTests.cpp ${EMBRIX_WINDOW_SUPPORT}
    LIBS embrix_win imm32)
  embrix_test(NAME window_host SOURCES window/HostWindowTests.cpp ${EMBRIX_WINDOW_SUPPORT}
    LIBS embrix_win imm32)
  embrix_test(NAME window_fire_screen SOURCES window/FireScreenExactTest.cpp
    ${EMBRIX_WINDOW_SUPPORT} LIBS embrix_win imm32 embrix_test_support)
endif()

if(WIN32)
  # Starts ..\Embrix.scr from its own folder; needs the 1024 x 768 display.
  embrix_test(NAME saver_end_to_end SOURCES window/SaverEndToEnd.cpp LIBS embrix_test_support)
  add_dependencies(saver_end_to_end Embrix)
endif()
