// Hooks on a control's WindowProc: handlers compare as values, stack in
// order, leave in any order without cutting a later hook out, and may leave
// (or be destroyed) inside their own handler.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"

namespace fw {
namespace {

using test_support::TLambdaHook;

constexpr UINT kProbe = WM_APP + 7;

struct TTarget {
  int calls = 0;
  void A(TMessage& /*m*/) { ++calls; }
  void B(TMessage& /*m*/) { calls += 10; }
};

TEST(WndMethod, ComparesByObjectAndMember) {
  TTarget x;
  TTarget y;
  auto xa = TWndMethod::Bind<&TTarget::A>(&x);
  EXPECT_EQ(xa, TWndMethod::Bind<&TTarget::A>(&x));
  EXPECT_NE(xa, TWndMethod::Bind<&TTarget::B>(&x));
  EXPECT_NE(xa, TWndMethod::Bind<&TTarget::A>(&y));
  EXPECT_FALSE(TWndMethod());
  TMessage m;
  xa(m);
  TWndMethod::Bind<&TTarget::B> (&x)(m);
  EXPECT_EQ(x.calls, 11);
}

// Each hook writes its letter and passes on; the control's own WndProc is
// at the bottom and answers kProbe with nothing.
class HookChain : public ::testing::Test {
 protected:
  std::unique_ptr<TLambdaHook> Letter(char c) {
    return std::make_unique<TLambdaHook>(control_, [this, c](TMessage& m, const auto& self) {
      if (m.Msg == kProbe) trail_ += c;
      self.CallPrevious(m);
    });
  }
  std::string Probe() {
    trail_.clear();
    control_.Perform(kProbe);
    return trail_;
  }

  TPanel control_{nullptr};
  std::string trail_;
};

TEST_F(HookChain, LeavingInAnyOrderKeepsTheOthersAndEndsWithTheOriginal) {
  const TWndMethod original = control_.WindowProc;
  // Orders of leaving for hooks a, b, c (installed in that order).
  const std::vector<std::vector<int>> orders = {{2, 1, 0}, {0, 1, 2}, {1, 0, 2},
                                                {1, 2, 0}, {0, 2, 1}, {2, 0, 1}};
  for (const auto& order : orders) {
    std::vector<std::unique_ptr<TLambdaHook>> hooks;
    hooks.push_back(Letter('a'));
    hooks.push_back(Letter('b'));
    hooks.push_back(Letter('c'));
    std::string live = "cba";
    EXPECT_EQ(Probe(), live);
    for (int i : order) {
      hooks[static_cast<size_t>(i)].reset();
      live.erase(live.find(static_cast<char>('a' + i)), 1);
      EXPECT_EQ(Probe(), live) << "after removing " << static_cast<char>('a' + i);
    }
    EXPECT_EQ(control_.WindowProc, original);
  }
}

TEST_F(HookChain, AHookCanTellWhetherItIsStillOnTop) {
  auto a = Letter('a');
  EXPECT_TRUE(a->Hook().OnTop());
  auto b = Letter('b');
  EXPECT_FALSE(a->Hook().OnTop());
  EXPECT_TRUE(b->Hook().OnTop());
  b.reset();
  EXPECT_TRUE(a->Hook().OnTop());
}

TEST_F(HookChain, AHookMayLeaveInsideItsOwnHandlerAndStillPassTheMessageOn) {
  auto below = Letter('x');
  std::unique_ptr<TLambdaHook> leaving;
  leaving = std::make_unique<TLambdaHook>(control_, [&](TMessage& m, const auto& self) {
    if (m.Msg == kProbe) {
      trail_ += 's';
      leaving->Hook().Unhook();
      self.CallPrevious(m);  // the message still goes on
      return;
    }
    self.CallPrevious(m);
  });
  EXPECT_EQ(Probe(), "sx");
  EXPECT_EQ(Probe(), "x");
}

TEST_F(HookChain, AHookMayBeDestroyedInsideItsOwnHandler) {
  auto below = Letter('x');
  std::unique_ptr<TLambdaHook> destroyed;
  destroyed = std::make_unique<TLambdaHook>(control_, [&](TMessage& m, const auto& self) {
    if (m.Msg == kProbe) {
      trail_ += 'd';
      destroyed.reset();  // the hook and its owner are gone: handled here
      return;
    }
    self.CallPrevious(m);
  });
  EXPECT_EQ(Probe(), "d");
  EXPECT_EQ(destroyed, nullptr);
  EXPECT_EQ(Probe(), "x");
  below.reset();
  EXPECT_EQ(Probe(), "");
}

TEST(WindowProcHook, EndsWhenTheControlGoesFirst) {
  auto* control = new TPanel(nullptr);
  TLambdaHook hook(*control, [](TMessage& m, const auto& self) { self.CallPrevious(m); });
  EXPECT_TRUE(hook.Hook().Hooked());
  control->Free();
  EXPECT_FALSE(hook.Hook().Hooked());  // and destroying it later touches nothing
}

}  // namespace
}  // namespace fw
