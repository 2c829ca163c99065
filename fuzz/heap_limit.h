// A bound on the heap one input may take, relative to what the code under
// test was given: while a THeapLimit lives, the bytes allocated and not yet
// freed may not pass its limit. Crossing it traps inside the allocation, so
// libFuzzer reports the input together with the stack that asked for too much.
//
//   fuzz::THeapLimit limit(8 * package.size() + 64 * 1024);
//   reader.LoadPackage(stream);
//
// libFuzzer's -malloc_limit_mb bounds single allocations in absolute terms;
// this catches memory that grows with something other than the input, however
// it is split into allocations, on inputs a few kilobytes long.
#pragma once

#include <sanitizer/allocator_interface.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace fuzz {

class THeapLimit {
 public:
  explicit THeapLimit(size_t limit) {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) > 0;
    if (!installed) __builtin_trap();
    live_ = 0;
    limit_ = static_cast<int64_t>(limit);
    active_ = true;
  }
  ~THeapLimit() { active_ = false; }
  THeapLimit(const THeapLimit&) = delete;
  THeapLimit& operator=(const THeapLimit&) = delete;

 private:
  static void OnMalloc(const volatile void* /*p*/, size_t size) {
    if (!active_) return;
    live_ += static_cast<int64_t>(size);
    if (live_ > limit_) {
      // Off first, so that writing the crash report may allocate; no
      // allocation here: the hook runs inside malloc.
      active_ = false;
      static const char kMessage[] = "heap limit of this input passed\n";
      (void)!write(2, kMessage, sizeof kMessage - 1);
      __builtin_trap();
    }
  }
  // Frees of memory allocated before the limit started count too: what is
  // measured is the growth of the heap.
  static void OnFree(const volatile void* p) {
    if (active_) live_ -= static_cast<int64_t>(__sanitizer_get_allocated_size(p));
  }

  static inline bool active_ = false;
  static inline int64_t live_ = 0;
  static inline int64_t limit_ = 0;
};

}  // namespace fuzz
