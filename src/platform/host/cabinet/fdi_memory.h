// Memory and error plumbing of the host FDI library. Like cabinet.dll, the library allocates
// only through the client's allocate/free callbacks; its containers use this allocator.
// Failures travel inside the library as FdiError and become the error record at the API edge.
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <vector>

#include "platform/fdi.h"

namespace host::fdi {

struct FdiError {
  FDIERROR code;
};

struct FdiMemory {
  PFNALLOC alloc = nullptr;
  PFNFREE free = nullptr;
};

template <typename T>
class FdiAllocator {
 public:
  using value_type = T;

  explicit FdiAllocator(const FdiMemory* memory) : memory_(memory) {}
  template <typename U>
  FdiAllocator(const FdiAllocator<U>& other) : memory_(other.memory()) {}

  T* allocate(size_t count) {
    if (count > static_cast<size_t>(-1) / sizeof(T) / 2) throw std::bad_alloc();
    void* block = memory_->alloc(static_cast<unsigned long>(count * sizeof(T)));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t) { memory_->free(block); }

  const FdiMemory* memory() const { return memory_; }
  template <typename U>
  bool operator==(const FdiAllocator<U>& other) const {
    return memory_ == other.memory();
  }

 private:
  const FdiMemory* memory_;
};

using FdiBytes = std::vector<unsigned char, FdiAllocator<unsigned char>>;
using FdiString = std::basic_string<char, std::char_traits<char>, FdiAllocator<char>>;
template <typename T>
using FdiVector = std::vector<T, FdiAllocator<T>>;

}  // namespace host::fdi
