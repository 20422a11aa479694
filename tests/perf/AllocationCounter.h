// Counts every allocation the program's own code asks for: the C allocator's
// entries, wrapped at link time (see perf.cmake), and the replaced global
// operator new.
#pragma once
#include <cstdint>

struct AllocationCountRecord {
    uint64_t allocations;  // malloc, calloc, realloc, new, new[]
    uint64_t releases;     // free, delete, delete[] of a block
};

extern AllocationCountRecord AllocationCount;
