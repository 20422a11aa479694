# The frame step's speed work: the vector kernels against the plain reference,
# and no allocation per frame. Both also run under wine64.
embrix_test(NAME perf_fire_rows
  SOURCES perf/FireRowsExactTest.cpp perf/FencedBytes.cpp ${EMBRIX_REFERENCE_SOURCES}
  LIBS embrix_core)
embrix_test(NAME perf_fire_band SOURCES perf/FireBandExactTest.cpp ${EMBRIX_REFERENCE_SOURCES}
  LIBS embrix_core)

# The C allocator's entries are wrapped at link time so that every call from
# the program's own objects is counted.
set(EMBRIX_ALLOCATION_WRAPS
  -Wl,--wrap=malloc -Wl,--wrap=calloc -Wl,--wrap=realloc -Wl,--wrap=free)
if(WIN32)
  embrix_test(NAME perf_frame_allocations
    SOURCES perf/FrameAllocationTest.cpp perf/AllocationCounter.cpp
            window/WindowTestSupport.cpp
    LIBS embrix_win imm32)
  target_compile_definitions(perf_frame_allocations PRIVATE EMBRIX_WINDOW_FRAMES)
else()
  embrix_test(NAME perf_frame_allocations
    SOURCES perf/FrameAllocationTest.cpp perf/AllocationCounter.cpp
    LIBS embrix_core)
endif()
target_link_options(perf_frame_allocations PRIVATE ${EMBRIX_ALLOCATION_WRAPS})
