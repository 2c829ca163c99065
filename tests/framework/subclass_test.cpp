// Subclassing raw windows: chains with other code's procedures in between,
// removal in any order, the character set of the window, exceptions and
// objects destroyed at the boundary, the end at WM_NCDESTROY.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "tests/support/win/lambda_hooks.h"

namespace fw {
namespace {

using test_support::TLambdaSubclass;

constexpr UINT kProbe = WM_APP + 3;

// A plain window whose own procedure appends '.' to the trail on kProbe.
std::string* g_trail = nullptr;

LRESULT CALLBACK BaseProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe && g_trail != nullptr) *g_trail += '.';
  return DefWindowProcW(wnd, msg, wp, lp);
}

WNDPROC g_foreign_previous = nullptr;
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe && g_trail != nullptr) *g_trail += 'F';
  return CallWindowProcW(g_foreign_previous, wnd, msg, wp, lp);
}

class SubclassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = BaseProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SubclassTestWindow";
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    wnd_ = CreateWindowExW(0, L"SubclassTestWindow", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd_, nullptr);
    g_trail = &trail_;
    live_before_ = TSubclass::LiveCount();
  }
  void TearDown() override {
    if (IsWindow(wnd_)) DestroyWindow(wnd_);
    g_trail = nullptr;
  }
  std::unique_ptr<TLambdaSubclass> Letter(char c) {
    auto sub = std::make_unique<TLambdaSubclass>(wnd_, [this, c](TMessage& m, const auto& self) {
      if (m.Msg == kProbe) trail_ += c;
      self.CallPrevious(m);
    });
    EXPECT_TRUE(sub->Installed());
    return sub;
  }
  std::string Probe() {
    trail_.clear();
    SendMessageW(wnd_, kProbe, 0, 0);
    return trail_;
  }
  WNDPROC Current() const {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd_, GWLP_WNDPROC));
  }

  HWND wnd_ = nullptr;
  std::string trail_;
  int live_before_ = 0;
};

TEST_F(SubclassTest, RemovalInAnyOrderKeepsTheChainAndRestoresTheWindow) {
  const std::vector<std::vector<int>> orders = {{2, 1, 0}, {0, 1, 2}, {1, 0, 2},
                                                {1, 2, 0}, {0, 2, 1}, {2, 0, 1}};
  for (const auto& order : orders) {
    std::vector<std::unique_ptr<TLambdaSubclass>> subs;
    subs.push_back(Letter('a'));
    subs.push_back(Letter('b'));
    subs.push_back(Letter('c'));
    std::string live = "cba.";
    EXPECT_EQ(Probe(), live);
    for (int i : order) {
      subs[static_cast<size_t>(i)].reset();
      live.erase(live.find(static_cast<char>('a' + i)), 1);
      EXPECT_EQ(Probe(), live);
    }
    // Pass-throughs uncovered by the last removal went with it.
    EXPECT_EQ(Current(), &BaseProc);
    EXPECT_EQ(TSubclass::LiveCount(), live_before_);
  }
}

TEST_F(SubclassTest, ARemovedSubclassUnderForeignCodeStaysAPassThroughUntilTheWindowDies) {
  auto ours = Letter('a');
  g_foreign_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  EXPECT_EQ(Probe(), "Fa.");
  EXPECT_FALSE(ours->Sub().OnTop());
  ours.reset();  // must not cut the foreign procedure out
  EXPECT_EQ(Current(), &ForeignProc);
  EXPECT_EQ(Probe(), "F.");
  EXPECT_EQ(TSubclass::LiveCount(), live_before_ + 1);  // the pass-through
  DestroyWindow(wnd_);
  EXPECT_EQ(TSubclass::LiveCount(), live_before_);
}

TEST_F(SubclassTest, TheWindowsCharacterSetIsKept) {
  // An ANSI window gets ANSI text; a framework window is Unicode.
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = "SubclassTestAnsi";
    return RegisterClassA(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  HWND ansi = CreateWindowExA(0, "SubclassTestAnsi", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_FALSE(IsWindowUnicode(ansi));
  std::string text;
  {
    TLambdaSubclass sub(ansi, [&](TMessage& m, const TSubclass& self) {
      if (m.Msg == WM_SETTEXT) text = reinterpret_cast<const char*>(m.LParam);
      self.CallPrevious(m);
    });
    EXPECT_FALSE(sub.Sub().Unicode());
    SetWindowTextW(ansi, L"a\u00e7\u00e3o");
    EXPECT_EQ(text.size(), 4u);  // one byte per letter: converted once, to ANSI
    char back[16] = {};
    GetWindowTextA(ansi, back, sizeof(back));
    EXPECT_EQ(std::string(back), text);
  }
  EXPECT_FALSE(IsWindowUnicode(ansi));
  DestroyWindow(ansi);

  TApplication app;
  auto* form = new TForm(&app);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  EXPECT_TRUE(IsWindowUnicode(form->Handle()));
  EXPECT_TRUE(IsWindowUnicode(edit->Handle()));
}

TEST_F(SubclassTest, ExceptionsStopAtTheBoundaryAndTheWindowGoesOn) {
  TApplication app;
  std::vector<std::string> reported;
  app.OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
  TLambdaSubclass sub(wnd_, [&](TMessage& m, const TSubclass& self) {
    if (m.Msg == kProbe) throw std::runtime_error("falhou");
    self.CallPrevious(m);
  });
  EXPECT_EQ(SendMessageW(wnd_, kProbe, 0, 0), 0);
  EXPECT_EQ(reported, std::vector<std::string>{"falhou"});
  SetWindowTextW(wnd_, L"ok");
  wchar_t text[8] = {};
  GetWindowTextW(wnd_, text, 8);
  EXPECT_STREQ(text, L"ok");
}

TEST_F(SubclassTest, ASubclassMayLeaveOrBeDestroyedInsideItsHandler) {
  auto below = Letter('b');
  std::unique_ptr<TLambdaSubclass> leaving;
  leaving = std::make_unique<TLambdaSubclass>(wnd_, [&](TMessage& m, const TSubclass& self) {
    if (m.Msg == kProbe) {
      trail_ += 'l';
      leaving->Sub().Remove();
      self.CallPrevious(m);  // still passes the message on
      return;
    }
    self.CallPrevious(m);
  });
  EXPECT_EQ(Probe(), "lb.");
  EXPECT_EQ(Probe(), "b.");
  std::unique_ptr<TLambdaSubclass> destroyed;
  destroyed = std::make_unique<TLambdaSubclass>(wnd_, [&](TMessage& m, const TSubclass& self) {
    if (m.Msg == kProbe) {
      trail_ += 'd';
      destroyed.reset();  // gone: the message ends here
      return;
    }
    self.CallPrevious(m);
  });
  EXPECT_EQ(Probe(), "d");
  EXPECT_EQ(Probe(), "b.");
  leaving.reset();
  below.reset();
  EXPECT_EQ(Current(), &BaseProc);
  EXPECT_EQ(TSubclass::LiveCount(), live_before_);
}

TEST_F(SubclassTest, WindowDestructionEndsTheSubclass) {
  std::vector<UINT> last;
  TLambdaSubclass sub(wnd_, [&](TMessage& m, const TSubclass& self) {
    if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) last.push_back(m.Msg);
    self.CallPrevious(m);
  });
  DestroyWindow(wnd_);
  EXPECT_EQ(last, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(sub.Sub().Installed());
  EXPECT_EQ(TSubclass::LiveCount(), live_before_);
  TSubclass none;
  EXPECT_FALSE(none.Install(wnd_, {}));  // a window that is gone
}

}  // namespace
}  // namespace fw
