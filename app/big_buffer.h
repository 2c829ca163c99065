// TBigAllocator: the allocator of the few large buffers a read fills once
// (a worksheet's cells and text, the staging table's text and offsets). Such
// buffers are fresh memory, and touching it page by page costs a fault per
// 4 KiB, a large share of reading a big sheet. On Linux, buffers of 2 MiB or
// more are aligned to 2 MiB and marked for transparent huge pages, so one
// fault maps 2 MiB; a system that does not give them keeps small pages.
// Elsewhere it is the standard allocator.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace app {

template <class T>
class TBigAllocator {
 public:
  using value_type = T;

  TBigAllocator() noexcept = default;
  template <class U>
  TBigAllocator(const TBigAllocator<U>&) noexcept {}

  T* allocate(size_t n) {
#ifdef __linux__
    if (n >= kHugePage / sizeof(T)) {
      if (n > SIZE_MAX / sizeof(T) - kHugePage) throw std::bad_alloc();
      const size_t bytes = (n * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage;
      void* p = std::aligned_alloc(kHugePage, bytes);
      if (p == nullptr) throw std::bad_alloc();
      madvise(p, bytes, MADV_HUGEPAGE);  // a hint: failing leaves small pages
      return static_cast<T*>(p);
    }
#endif
    return std::allocator<T>().allocate(n);
  }

  void deallocate(T* p, size_t n) noexcept {
#ifdef __linux__
    if (n >= kHugePage / sizeof(T)) {
      std::free(p);
      return;
    }
#endif
    std::allocator<T>().deallocate(p, n);
  }

  template <class U>
  bool operator==(const TBigAllocator<U>&) const noexcept {
    return true;
  }

 private:
  static constexpr size_t kHugePage = size_t{2} << 20;
};

using TBigString = std::basic_string<char, std::char_traits<char>, TBigAllocator<char>>;
template <class T>
using TBigVector = std::vector<T, TBigAllocator<T>>;

}  // namespace app
