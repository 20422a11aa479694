// Byte blocks that sit flush against pages nothing may touch, so that a read
// or write one byte outside the block faults in every build, not only under
// the sanitizers.
#pragma once
#include <cstddef>
#include <cstdint>

struct FencedBytes {
    uint8_t* bytes;  // size bytes, none when size is 0
    size_t size;
    void* mapping;  // whole mapping, guard pages included
    size_t mappingSize;
};

enum class FenceSide { After, Before };

// A block of size bytes, its last byte just before a guard page (After) or
// its first byte just after one (Before); filled with fill.
FencedBytes MakeFencedBytes(size_t size, FenceSide side, uint8_t fill);
void FreeFencedBytes(FencedBytes& block);
