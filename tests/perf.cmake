# The frame step's speed work: the vector kernels against the plain reference,
# also under wine64.
embrix_test(NAME perf_fire_rows
  SOURCES perf/FireRowsExactTest.cpp perf/FencedBytes.cpp ${EMBRIX_REFERENCE_SOURCES}
  LIBS embrix_core)

