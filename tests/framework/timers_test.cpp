// Timers and hooks owned by objects: they tick and see what they should,
// stop when switched off, and are gone when their owner is.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/hooks.h"
#include "framework/timers.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

using test_support::PumpPending;
using test_support::PumpUntil;

TEST(Timers, TheComponentTicksStopsAndGoesWithItsOwner) {
  TApplication app;
  const int live = TTimerHandle::LiveCount();
  auto* timer = new TTimer(&app);
  timer->SetInterval(20);
  int ticks = 0;
  timer->SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    ++ticks;
  });
  EXPECT_EQ(TTimerHandle::LiveCount(), live + 1);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer->SetEnabled(false);
  EXPECT_EQ(TTimerHandle::LiveCount(), live);
  int stopped_at = ticks;
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(ticks, stopped_at);
  timer->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks > stopped_at; }));
  timer->Free();
  EXPECT_EQ(TTimerHandle::LiveCount(), live);
}

TEST(Timers, ATickMayDestroyItsOwnTimerAndErrorsGoToTheApplication) {
  TApplication app;
  std::vector<std::string> errors;
  app.OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
  const int live = TTimerHandle::LiveCount();
  auto self_ending = std::make_unique<TTimerHandle>();
  int ticks = 0;
  self_ending->Start(10, [&] {
    ++ticks;
    self_ending.reset();
  });
  TTimerHandle failing;
  failing.Start(10, [&] { throw std::runtime_error("tique falhou"); });
  EXPECT_TRUE(PumpUntil([&] { return self_ending == nullptr && !errors.empty(); }));
  failing.Stop();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(errors.front(), "tique falhou");
  EXPECT_EQ(TTimerHandle::LiveCount(), live);
}

std::vector<std::wstring>* g_created = nullptr;
TWindowsHook* g_hook = nullptr;

LRESULT CALLBACK SeeCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && g_created != nullptr) {
    wchar_t name[64] = {};
    GetClassNameW(reinterpret_cast<HWND>(wparam), name, 64);
    g_created->push_back(name);
  }
  return g_hook->CallNext(code, wparam, lparam);
}

TEST(Hooks, AHookSeesItsThreadUntilItsOwnerGoes) {
  const int live = TWindowsHook::LiveCount();
  std::vector<std::wstring> created;
  g_created = &created;
  {
    TWindowsHook hook(WH_CBT, &SeeCreation);
    g_hook = &hook;
    EXPECT_EQ(TWindowsHook::LiveCount(), live + 1);
    DestroyWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr));
  }
  EXPECT_EQ(TWindowsHook::LiveCount(), live);
  DestroyWindow(
      CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  g_created = nullptr;
  // (The system may create windows of its own, an IME window say.)
  auto seen = [&](const wchar_t* name) {
    return std::find(created.begin(), created.end(), name) != created.end();
  };
  EXPECT_TRUE(seen(L"Static"));
  EXPECT_FALSE(seen(L"Button"));
}

}  // namespace
}  // namespace fw
