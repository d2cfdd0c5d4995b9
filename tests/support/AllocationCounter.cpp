#include "support/AllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(_WIN32)
#include <malloc.h>  // _aligned_malloc, _aligned_free
#endif

namespace {

// Constant-initialised, so they are usable before any dynamic initialisation runs.
thread_local std::uint64_t tAllocations = 0;
thread_local std::uint64_t tDeallocations = 0;

void* AllocateAligned(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
#if defined(_WIN32)
  return _aligned_malloc(size, alignment);
#else
  // aligned_alloc wants a size that is a multiple of the alignment.
  const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
  return rounded < size ? nullptr : std::aligned_alloc(alignment, rounded);
#endif
}

void FreeAligned(void* pointer) {
#if defined(_WIN32)
  _aligned_free(pointer);
#else
  std::free(pointer);
#endif
}

// The throwing forms: retry through the new-handler, as the standard allocation functions do.
void* Allocate(std::size_t size) {
  for (;;) {
    if (void* pointer = std::malloc(size == 0 ? 1 : size)) {
      ++tAllocations;
      return pointer;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void* Allocate(std::size_t size, std::align_val_t alignment) {
  for (;;) {
    if (void* pointer = AllocateAligned(size, static_cast<std::size_t>(alignment))) {
      ++tAllocations;
      return pointer;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void Free(void* pointer) {
  if (pointer == nullptr) return;
  ++tDeallocations;
  std::free(pointer);
}

void Free(void* pointer, std::align_val_t) {
  if (pointer == nullptr) return;
  ++tDeallocations;
  FreeAligned(pointer);
}

}  // namespace

AllocationCounter::AllocationCounter()
    : allocationsAtStart_(tAllocations), deallocationsAtStart_(tDeallocations) {}

std::uint64_t AllocationCounter::Allocations() const { return tAllocations - allocationsAtStart_; }
std::uint64_t AllocationCounter::Deallocations() const {
  return tDeallocations - deallocationsAtStart_;
}
std::uint64_t AllocationCounter::TotalAllocations() { return tAllocations; }
std::uint64_t AllocationCounter::TotalDeallocations() { return tDeallocations; }

// The replaceable global allocation functions.

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return Allocate(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return Allocate(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size, alignment);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size, alignment);
  } catch (...) {
    return nullptr;
  }
}

void operator delete(void* pointer) noexcept { Free(pointer); }
void operator delete[](void* pointer) noexcept { Free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Free(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Free(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Free(pointer); }
void operator delete(void* pointer, std::align_val_t alignment) noexcept {
  Free(pointer, alignment);
}
void operator delete[](void* pointer, std::align_val_t alignment) noexcept {
  Free(pointer, alignment);
}
void operator delete(void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  Free(pointer, alignment);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t alignment) noexcept {
  Free(pointer, alignment);
}
void operator delete(void* pointer, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  Free(pointer, alignment);
}
void operator delete[](void* pointer, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  Free(pointer, alignment);
}
