# The saver window: host and effect procedures in a real window, under wine64.

if(WIN32)
  set(EMBRIX_WINDOW_SUPPORT window/WindowTestSupport.cpp)
  embrix_test(NAME window_fire SOURCES window/FireWindowTests.cpp ${EMBRIX_WINDOW_SUPPORT}
    LIBS embrix_win imm32)
  embrix_test(NAME window_host SOURCES window/HostWindowTests.cpp ${EMBRIX_WINDOW_SUPPORT}
    LIBS embrix_win imm32)
endif()

