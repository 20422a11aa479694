# Cross build for 32-bit Windows (the primary artifact).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(EMBRIX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Every processor that runs this saver has SSE2. Floating point goes there too,
# so no value changes precision between x87 and SSE registers; the platform
# only promises 4-byte stack alignment on entry, so functions that keep vector
# values on the stack realign it themselves.
set(CMAKE_C_FLAGS_INIT   "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
