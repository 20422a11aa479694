#include "FencedBytes.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

size_t PageSize() {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

}  // namespace

FencedBytes MakeFencedBytes(size_t size, FenceSide side, uint8_t fill) {
    const size_t page = PageSize();
    const size_t body = (size + page - 1) / page * page;
    const size_t total = body + 2 * page;
    FencedBytes block{nullptr, size, nullptr, total};
#if defined(_WIN32)
    block.mapping = VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    if (block.mapping == nullptr) return block;
    DWORD old;
    VirtualProtect(static_cast<uint8_t*>(block.mapping) + page, body, PAGE_READWRITE, &old);
#else
    void* mapping = mmap(nullptr, total, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return block;
    block.mapping = mapping;
    mprotect(static_cast<uint8_t*>(mapping) + page, body, PROT_READ | PROT_WRITE);
#endif
    uint8_t* first = static_cast<uint8_t*>(block.mapping) + page;
    if (size == 0) return block;
    block.bytes = side == FenceSide::Before ? first : first + body - size;
    std::memset(block.bytes, fill, size);
    return block;
}

void FreeFencedBytes(FencedBytes& block) {
    if (block.mapping == nullptr) return;
#if defined(_WIN32)
    VirtualFree(block.mapping, 0, MEM_RELEASE);
#else
    munmap(block.mapping, block.mappingSize);
#endif
    block.mapping = nullptr;
    block.bytes = nullptr;
}
