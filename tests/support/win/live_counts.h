// Live counts of what a test may leave behind, for tests that check nothing
// is: the framework's own (GDI objects in its wrappers, subclasses, hooks,
// timers), and handles whoever made them:
// - windows of this thread (with their child windows; the input method's
//   window, which the system keeps per thread, aside);
// - menus, image lists and regions made by the program's own code, through
//   its import table (watched from the first call of Live() on), that still
//   exist (a region given to a window is the window's from then on);
// - the process's GDI and USER object counts, where the platform gives them
//   (Windows does; Wine answers 0, so there they add nothing).
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

int LiveWindows();
int LiveMenus();
int LiveImageLists();
int LiveRegions();
// GetGuiResources(GR_GDIOBJECTS) and (GR_USEROBJECTS) for this process.
int ProcessGdiObjects();
int ProcessUserObjects();

struct TLiveCounts {
  int gdi;
  int subclasses;
  int hooks;
  int timers;
  int windows;
  int menus;
  int image_lists;
  int regions;
  int process_gdi;
  int process_user;
  bool operator==(const TLiveCounts&) const = default;
};

inline TLiveCounts Live() {
  return {fw::LiveGdiHandles(),
          fw::TSubclass::LiveCount(),
          fw::TWindowsHook::LiveCount(),
          fw::TTimerHandle::LiveCount(),
          LiveWindows(),
          LiveMenus(),
          LiveImageLists(),
          LiveRegions(),
          ProcessGdiObjects(),
          ProcessUserObjects()};
}

inline void PrintTo(const TLiveCounts& c, std::ostream* os) {
  *os << "gdi " << c.gdi << ", subclasses " << c.subclasses << ", hooks " << c.hooks << ", timers "
      << c.timers << ", windows " << c.windows << ", menus " << c.menus << ", image lists "
      << c.image_lists << ", regions " << c.regions << ", process gdi " << c.process_gdi
      << ", process user " << c.process_user;
}

}  // namespace test_support
