#include "AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

AllocationCountRecord AllocationCount = {0, 0};

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);

void* __wrap_malloc(size_t size) {
    ++AllocationCount.allocations;
    return __real_malloc(size);
}

void* __wrap_calloc(size_t count, size_t size) {
    ++AllocationCount.allocations;
    return __real_calloc(count, size);
}

void* __wrap_realloc(void* block, size_t size) {
    ++AllocationCount.allocations;
    return __real_realloc(block, size);
}

void __wrap_free(void* block) {
    if (block != nullptr) ++AllocationCount.releases;
    __real_free(block);
}
}

void* operator new(size_t size) {
    ++AllocationCount.allocations;
    if (void* block = __real_malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void* operator new[](size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    if (block != nullptr) ++AllocationCount.releases;
    __real_free(block);
}

void operator delete[](void* block) noexcept {
    operator delete(block);
}

void operator delete(void* block, size_t) noexcept {
    operator delete(block);
}

void operator delete[](void* block, size_t) noexcept {
    operator delete(block);
}
