// The most heap a piece of code held at once, above what was held when the
// measure started: for tests that a reader gives memory to what a file holds,
// not to what it claims. Measured through the address sanitizer's allocation
// hooks, so only in the sanitized native build; elsewhere Available() is
// false and the tests check only their other outcomes.
//
//   test_support::THeapPeak peak;
//   reader.Read(file);
//   if (peak.Available()) EXPECT_LT(peak.Bytes(), 64 << 20);
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define TEST_SUPPORT_HEAP_PEAK 1
// The sanitizer runtime's own entry points (GCC ships no header for them).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             size_t),
                                                         void (*free_hook)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void* p);
#endif

namespace test_support {

class THeapPeak {
 public:
  THeapPeak() {
#ifdef TEST_SUPPORT_HEAP_PEAK
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) > 0;
    available_ = installed;
    live_ = 0;
    peak_ = 0;
    active_ = true;
#endif
  }
  ~THeapPeak() {
    active_ = false;
  }
  THeapPeak(const THeapPeak&) = delete;
  THeapPeak& operator=(const THeapPeak&) = delete;

  bool Available() const {
    return available_;
  }
  // The peak so far, in bytes.
  int64_t Bytes() const {
    return peak_;
  }

 private:
#ifdef TEST_SUPPORT_HEAP_PEAK
  static void OnMalloc(const volatile void* /*p*/, size_t size) {
    if (!active_) return;
    const int64_t live = live_ += static_cast<int64_t>(size);
    int64_t peak = peak_;
    while (live > peak && !peak_.compare_exchange_weak(peak, live)) {
    }
  }
  // Frees of memory allocated before the measure started count too: what is
  // measured is the growth of the heap.
  static void OnFree(const volatile void* p) {
    if (active_) live_ -= static_cast<int64_t>(__sanitizer_get_allocated_size(p));
  }
#endif

  bool available_ = false;
  // The hooks run in every thread (a reader may inflate in a second one).
  static inline std::atomic<bool> active_ = false;
  static inline std::atomic<int64_t> live_ = 0;
  static inline std::atomic<int64_t> peak_ = 0;
};

}  // namespace test_support
