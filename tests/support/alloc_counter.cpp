// Replaces the global allocation functions of the benchmark program with
// counting ones. operator new goes to malloc; malloc itself is wrapped around
// glibc's own entry points unless a sanitizer owns the heap.
#include "alloc_counter.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define SKITTERBAT_COUNT_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SKITTERBAT_COUNT_MALLOC 0
#endif
#endif
#ifndef SKITTERBAT_COUNT_MALLOC
#define SKITTERBAT_COUNT_MALLOC 1
#endif

namespace {
// Per thread: the driver's and the mixer's own threads do not blur what the
// game thread does. Plain zero-initialised thread_locals need no set-up code,
// so they are safe inside malloc.
thread_local uint64_t newCount = 0;
thread_local uint64_t mallocCount = 0;

void* CountedNew(std::size_t size) {
    ++newCount;
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void* CountedAlignedNew(std::size_t size, std::align_val_t align) {
    ++newCount;
    const std::size_t alignment = static_cast<std::size_t>(align);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    void* p = std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
} // namespace

AllocCount CurrentAllocs() {
    return AllocCount{newCount, mallocCount};
}

bool MallocCounted() {
    return SKITTERBAT_COUNT_MALLOC != 0;
}

void* operator new(std::size_t size) {
    return CountedNew(size);
}
void* operator new[](std::size_t size) {
    return CountedNew(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) {
    return CountedAlignedNew(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return CountedAlignedNew(size, align);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    try {
        return CountedAlignedNew(size, align);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    try {
        return CountedAlignedNew(size, align);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}

#if SKITTERBAT_COUNT_MALLOC
// glibc's own allocator entry points; defining malloc here puts every
// library of the process through these counters.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) {
    ++mallocCount;
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    ++mallocCount;
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
    ++mallocCount;
    return __libc_realloc(p, size);
}
void free(void* p) {
    __libc_free(p);
}
}
#endif
