# The fire's platform-free core. The settings test also runs in the Windows
# builds, against the platform's own profile functions.
embrix_test(NAME fire_settings_test SOURCES fire/FireSettingsTest.cpp LIBS embrix_core)
embrix_test(NAME fire_simulation_test SOURCES fire/FireSimulationTest.cpp LIBS embrix_core)
embrix_test(NAME fire_colors_test SOURCES fire/FireColorsTest.cpp LIBS embrix_core)
embrix_test(NAME screen_layout_test SOURCES fire/ScreenLayoutTest.cpp LIBS embrix_core)
