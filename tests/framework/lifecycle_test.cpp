// Lifecycle of controls and forms: owned components go while their control
// is whole, OnDestroy sees the whole form, a window created during another's
// creation leaves both bound, and a paint that fails ends its paint cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/panels.h"
#include "framework/std_buttons.h"
#include "framework/stdctrls.h"
#include "tests/support/win/lambda_hooks.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

// What a skinner owned by its control sees when it is freed.
struct TFreedView {
  bool window_alive = false;
  bool hook_on_top = false;
  bool control_destroying = false;
  bool freed = false;
};

class TOwnedSkinner : public TComponent {
 public:
  TOwnedSkinner(TWinControl* control, TFreedView& view) : TComponent(control), view_(view) {
    hook_.Hook(*control, TWndMethod::Bind<&TOwnedSkinner::WndProc>(this));
  }
  ~TOwnedSkinner() override {
    auto* control = static_cast<TWinControl*>(hook_.Control());
    view_.freed = true;
    view_.hook_on_top = hook_.OnTop();
    view_.control_destroying = control != nullptr && control->IsDestroying();
    view_.window_alive =
        control != nullptr && control->HandleAllocated() && IsWindow(control->Handle());
  }

 private:
  void WndProc(TMessage& m) { hook_.CallPrevious(m); }
  TFreedView& view_;
  TWindowProcHook hook_;
};

class TDerivedForm : public TForm {
  FW_CLASS_INFO(TDerivedForm)

 public:
  using TForm::TForm;
  std::vector<int> Data{1, 2, 3};
};

const TClassInfo& TDerivedForm::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TDerivedForm>("TDerivedForm", TForm::StaticClassInfo()).Build();
  return info;
}

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<TApplication>();
    app_->OnException = [this](const std::exception& e) { errors_.push_back(e.what()); };
  }
  std::unique_ptr<TApplication> app_;
  std::vector<std::string> errors_;
};

TEST_F(LifecycleTest, AnOwnedSkinnerLeavesWhileItsControlAndWindowAreWhole) {
  for (bool through_owner : {false, true}) {
    auto* form = new TForm(app_.get());
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->HandleNeeded();
    TFreedView view;
    new TOwnedSkinner(edit, view);
    if (through_owner) {
      form->Free();  // the form frees the edit, which frees its skinner
    } else {
      edit->Free();
      form->Free();
    }
    EXPECT_TRUE(view.freed);
    EXPECT_TRUE(view.window_alive) << through_owner;
    EXPECT_TRUE(view.hook_on_top) << through_owner;
    EXPECT_TRUE(view.control_destroying) << through_owner;
  }
}

TEST_F(LifecycleTest, OnDestroySeesTheWholeForm) {
  auto* form = new TDerivedForm(app_.get());
  std::string class_name;
  size_t data = 0;
  form->OnDestroy = [&](TObject* sender) {
    class_name = sender->ClassName();
    data = static_cast<TDerivedForm*>(sender)->Data.size();
  };
  form->Free();
  EXPECT_EQ(class_name, "TDerivedForm");
  EXPECT_EQ(data, 3u);
}

// Reads, when it is freed, a property of its owner by name, as a skinner's
// Detach reads the control it served.
class TPropertyReader : public TComponent {
 public:
  TPropertyReader(TComponent* owner, std::string property, std::string& read)
      : TComponent(owner), property_(std::move(property)), read_(read) {}
  ~TPropertyReader() override {
    const TObject* owner = Owner();
    read_ = owner == nullptr ? "(no owner)" : owner->ClassName() + "." + property_ + "=";
    if (!IsPublishedProp(owner, property_)) {
      read_ += "(missing)";
    } else if (std::string e = GetEnumName(owner, property_); !e.empty()) {
      read_ += e;
    } else {
      std::wstring t = GetTextProp(owner, property_);
      read_ += std::string(t.begin(), t.end());
    }
  }

 private:
  std::string property_;
  std::string& read_;
};

class TModeForm : public TForm {
  FW_CLASS_INFO(TModeForm)

 public:
  using TForm::TForm;
  std::wstring Mode() const { return L"edicao"; }
};

const TClassInfo& TModeForm::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TModeForm>("TModeForm", TForm::StaticClassInfo())
                                     .Str("Mode", &TModeForm::Mode)
                                     .Build();
  return info;
}

TEST_F(LifecycleTest, AnOwnedComponentReadsItsOwnersOwnPropertiesWhenFreed) {
  // Each control publishes a property its base classes do not.
  struct TCase {
    std::function<TControl*(TForm*)> make;
    const char* property;
    const char* expected;
  } cases[] = {
      {[](TForm* f) {
         auto* b = new TButton(f);
         b->SetDefault(true);
         return b;
       },
       "Default", "TButton.Default=True"},
      {[](TForm* f) {
         auto* b = new TBitBtn(f);
         b->SetLayout(blGlyphTop);
         return b;
       },
       "Layout", "TBitBtn.Layout=blGlyphTop"},
      {[](TForm* f) {
         auto* b = new TStatusBar(f);
         b->SetSimpleText(L"pronto");
         return b;
       },
       "SimpleText", "TStatusBar.SimpleText=pronto"},
      {[](TForm* f) {
         auto* b = new TCheckBox(f);
         b->SetAllowGrayed(true);
         return b;
       },
       "AllowGrayed", "TCheckBox.AllowGrayed=True"},
      {[](TForm* f) {
         auto* p = new TPanel(f);
         p->SetBevelOuter(bvLowered);
         return p;
       },
       "BevelOuter", "TPanel.BevelOuter=bvLowered"},
      {[](TForm* f) {
         auto* e = new TEdit(f);
         e->SetReadOnly(true);
         return e;
       },
       "ReadOnly", "TEdit.ReadOnly=True"},
  };
  for (bool through_form : {false, true}) {
    for (const auto& c : cases) {
      auto* form = new TForm(app_.get());
      TControl* control = c.make(form);
      control->SetParent(form);
      std::string read;
      new TPropertyReader(control, c.property, read);
      if (!through_form) control->Free();
      form->Free();
      EXPECT_EQ(read, c.expected) << (through_form ? "freed with its form" : "freed alone");
    }
  }
  // A form's own components, after OnDestroy, while the derived form is whole.
  auto* form = new TModeForm(app_.get());
  std::string read;
  bool reader_alive_in_on_destroy = false;
  auto* reader = new TPropertyReader(form, "Mode", read);
  form->OnDestroy = [&](TObject* sender) {
    reader_alive_in_on_destroy = static_cast<TForm*>(sender)->ComponentCount() == 1 &&
                                 static_cast<TForm*>(sender)->Components(0) == reader;
  };
  form->Free();
  EXPECT_TRUE(reader_alive_in_on_destroy);
  EXPECT_EQ(read, "TModeForm.Mode=edicao");
}

// A form created from a hook while another form's window is being created.
TForm* g_inner = nullptr;
TApplication* g_app = nullptr;
HHOOK g_cbt = nullptr;

LRESULT CALLBACK CreateInnerOnCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && g_inner == nullptr) {
    auto* cs = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
    if (cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName) &&
        std::wstring(cs->lpszName) == L"outer") {
      g_inner = new TForm(g_app);
      g_inner->SetCaption(L"inner");
      g_inner->HandleNeeded();
    }
  }
  return CallNextHookEx(g_cbt, code, wparam, lparam);
}

TEST_F(LifecycleTest, AWindowCreatedDuringAnothersCreationLeavesBothBound) {
  g_app = app_.get();
  g_inner = nullptr;
  g_cbt = SetWindowsHookExW(WH_CBT, CreateInnerOnCreation, nullptr, GetCurrentThreadId());
  auto* outer = new TForm(app_.get());
  outer->SetCaption(L"outer");
  std::vector<UINT> creation;
  test_support::TLambdaHook watch(*outer, [&](TMessage& m, const auto& self) {
    if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) creation.push_back(m.Msg);
    self.CallPrevious(m);
  });
  outer->HandleNeeded();
  UnhookWindowsHookEx(g_cbt);
  ASSERT_NE(g_inner, nullptr);
  ASSERT_TRUE(outer->HandleAllocated());
  // The outer form got its own creation messages.
  EXPECT_EQ(creation, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  ASSERT_TRUE(g_inner->HandleAllocated());
  EXPECT_NE(outer->Handle(), g_inner->Handle());
  EXPECT_EQ(TWinControl::FindControl(outer->Handle()), outer);
  EXPECT_EQ(TWinControl::FindControl(g_inner->Handle()), g_inner);
  int seen = 0;
  test_support::TLambdaHook spy(*outer, [&](TMessage& m, const auto& self) {
    if (m.Msg == WM_APP) ++seen;
    self.CallPrevious(m);
  });
  SendMessageW(outer->Handle(), WM_APP, 0, 0);
  EXPECT_EQ(seen, 1);
}

class TFailingPanel : public TPanel {
 public:
  using TPanel::TPanel;
  int paints = 0;

 protected:
  void PaintWindow(HDC /*dc*/) override {
    ++paints;
    throw std::runtime_error("pintura falhou");
  }
};

class TFailingLabel : public TLabel {
 public:
  using TLabel::TLabel;

 protected:
  void Paint() override { throw std::runtime_error("rótulo falhou"); }
};

TEST_F(LifecycleTest, AFailingPaintEndsItsPaintCycleAndReportsOnce) {
  auto* form = new TForm(app_.get());
  form->SetClientWidth(100);
  form->SetClientHeight(60);
  auto* panel = new TFailingPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 100, 40);
  auto* label = new TFailingLabel(form);
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetBounds(0, 45, 10, 10);
  form->Show();
  test_support::PumpPending();
  UpdateWindow(panel->Handle());
  for (int i = 0; i < 5; ++i)
    test_support::PumpPending();
  EXPECT_EQ(panel->paints, 1);
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), &update, FALSE));
  EXPECT_EQ(std::count(errors_.begin(), errors_.end(), "pintura falhou"), 1);
  EXPECT_GE(std::count(errors_.begin(), errors_.end(), "rótulo falhou"), 1);
  // The label's canvas does not keep the parent's DC after its failed paint.
  EXPECT_EQ(label->Canvas()->Handle(), nullptr);
}

}  // namespace
}  // namespace fw
