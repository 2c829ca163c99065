// The framework's live counts of what it owns (GDI objects, subclasses,
// hooks, timers), for tests that check nothing is left behind.
//
//   const test_support::TLiveCounts before = test_support::Live();
//   ... create, use and free windows ...
//   EXPECT_EQ(test_support::Live(), before);
#pragma once

#include <ostream>

#include "framework/graphics.h"
#include "framework/hooks.h"
#include "framework/subclass.h"
#include "framework/timers.h"

namespace test_support {

struct TLiveCounts {
  int gdi;
  int subclasses;
  int hooks;
  int timers;
  bool operator==(const TLiveCounts&) const = default;
};

inline TLiveCounts Live() {
  return {fw::LiveGdiHandles(), fw::TSubclass::LiveCount(), fw::TWindowsHook::LiveCount(),
          fw::TTimerHandle::LiveCount()};
}

inline void PrintTo(const TLiveCounts& c, std::ostream* os) {
  *os << "gdi " << c.gdi << ", subclasses " << c.subclasses << ", hooks " << c.hooks << ", timers "
      << c.timers;
}

}  // namespace test_support
