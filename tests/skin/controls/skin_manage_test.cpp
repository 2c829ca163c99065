// The skin manager: which windows get a controller and when, which skin data
// serves which window, the deferred start and stop, popup menu windows, and
// nothing left behind when skinning is switched off.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "skin/controls/skin_manage.h"
#include "skin/window/win_skin_form.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/message_sequence.h"
#include "tests/support/win/pump.h"

namespace skin::win {
namespace {

using test_support::PumpPending;
using test_support::PumpUntil;

std::vector<uint8_t> SkinFile(const char* name) {
  std::ifstream in(std::filesystem::path(PROJECT_BINARY_DIR) / "skins" / name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

class SkinManageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseSkinManager();
    app_ = std::make_unique<fw::TApplication>();
    app_->Initialize();
  }
  void TearDown() override {
    app_.reset();
    ShutdownSkinManager();
    SetSkinManagerProvider(nullptr);
  }
  // A form with a skin data component of `kind`, read as a description
  // reads it: Active first, then the skin, then Loaded.
  TSkinData* AddSkinData(fw::TComponent* owner, TSkinFormType kind, bool active = true) {
    auto* data = new TSkinData(owner);
    data->SetComponentState(fw::csLoading | fw::csReading);
    data->SetSkinFormtype(kind);
    data->SetActive(active);
    const std::vector<uint8_t> skin = SkinFile("default.skn");
    data->ReadSkinPackage(skin.data(), skin.size());
    data->ClearComponentState(fw::csReading);
    data->Loaded();
    return data;
  }
  fw::TForm* NewForm(const wchar_t* caption) {
    auto* form = new fw::TForm(app_.get());
    form->SetCaption(caption);
    form->SetBounds(50, 50, 0, 0);
    form->SetClientWidth(300);
    form->SetClientHeight(150);
    return form;
  }
  static TSkinManage& Manager() { return *TSkinManage::Instance(); }

  std::unique_ptr<fw::TApplication> app_;
};

TEST_F(SkinManageTest, TheFirstActivationAttachesOneControllerToAShownForm) {
  fw::TForm* form = NewForm(L"Principal");
  AddSkinData(form, sfMainform);
  ASSERT_NE(TSkinManage::Instance(), nullptr);
  EXPECT_TRUE(Manager().Active());  // nothing activated yet: switched on at once
  EXPECT_NE(Manager().HookHandle(), nullptr);
  ASSERT_EQ(Manager().TraceLines().size(), 4u);
  EXPECT_EQ(Manager().TraceLines()[0].rfind("Windows Version ", 0), 0u);
  EXPECT_EQ(Manager().TraceLines()[2].rfind("ThreadId ", 0), 0u);

  form->Show();
  TWinSkinForm* controller = Manager().FindSkinForm(form->Handle());
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(Manager().StartState(), 1);
  EXPECT_EQ(controller->Owner(), form);  // freed with its form
  EXPECT_EQ(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(PumpUntil([&] { return controller->State == ssReady; }));
  EXPECT_FALSE(Manager().SkinWindowHandle(form->Handle()));  // never twice
  EXPECT_EQ(Manager().SkinForms().size(), 1u);
}

TEST_F(SkinManageTest, FormsTaggedNinetyNineAndHiddenFormsAreLeftAlone) {
  fw::TForm* main = NewForm(L"Principal");
  AddSkinData(main, sfMainform);
  fw::TForm* tagged = NewForm(L"Marcada");
  tagged->SetTag(99);
  tagged->Show();
  EXPECT_EQ(Manager().FindSkinForm(tagged->Handle()), nullptr);
  fw::TForm* hidden = NewForm(L"Escondida");
  hidden->HandleNeeded();
  EXPECT_FALSE(Manager().SkinFrameworkForm(hidden));
  hidden->Show();  // activated later: skinned then
  EXPECT_NE(Manager().FindSkinForm(hidden->Handle()), nullptr);
}

TEST_F(SkinManageTest, EachWindowGetsTheSkinDataOfItsKind) {
  fw::TForm* form = NewForm(L"Janela");
  fw::TForm* other = NewForm(L"Outra");
  form->HandleNeeded();
  other->HandleNeeded();
  TSkinData* main1 = AddSkinData(app_.get(), sfMainform);
  TSkinData* main2 = AddSkinData(app_.get(), sfMainform);
  TSkinData* dialog = AddSkinData(app_.get(), sfDialog);
  TSkinData* only1 = AddSkinData(form, sfOnlyThisForm);
  TSkinData* only2 = AddSkinData(form, sfOnlyThisForm);
  HWND box = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                             nullptr);
  struct TCase {
    HWND window;
    TSkinData* expected;
  } cases[] = {
      {form->Handle(), only2},   // the later of two for this form
      {box, dialog},             // dialog boxes take the dialog kind
      {other->Handle(), main2},  // the last main-form kind otherwise
  };
  for (const auto& c : cases)
    EXPECT_EQ(Manager().FindSkinData(c.window), &c.expected->Data());
  EXPECT_EQ(Manager().MainSkinData(), &main1->Data());  // the first main-form component
  (void)only1;
  DestroyWindow(box);
}

TEST_F(SkinManageTest, SwitchingOffBeforeAnyActivationOnlyClearsActive) {
  auto* holder = new fw::TComponent(app_.get());
  TSkinData* data = AddSkinData(holder, sfMainform);
  EXPECT_TRUE(Manager().Active());
  EXPECT_EQ(Manager().StartState(), 0);
  data->SetActive(false);
  EXPECT_FALSE(Manager().Active());
  EXPECT_TRUE(Manager().SkinForms().empty());
}

TEST_F(SkinManageTest, SwitchingOffAndOnAtRunTimeLeavesNothingBehind) {
  fw::TForm* form = NewForm(L"Principal");
  auto* edit = new fw::TEdit(form);
  edit->SetParent(form);
  form->HandleNeeded();  // the edit's own subclass counts from here
  const int subclasses = fw::TSubclass::LiveCount();
  const int timers = fw::TTimerHandle::LiveCount();
  TSkinData* data = AddSkinData(form, sfMainform);
  form->Show();
  const auto framework_proc = reinterpret_cast<WNDPROC>(&fw::TWinControl::StdWndProc);
  TWinSkinForm* controller = Manager().FindSkinForm(form->Handle());
  ASSERT_NE(controller, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return controller->State == ssReady; }));
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC)),
            framework_proc);
  EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, 0);  // the skin draws it

  int changed = 0;
  data->OnSkinChanged = [&](fw::TObject*) { ++changed; };
  data->SetActive(false);  // carried out by the manager's timer
  EXPECT_TRUE(PumpUntil([&] { return Manager().SkinForms().empty(); }));
  EXPECT_EQ(changed, 1);
  EXPECT_FALSE(Manager().Active());
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC)),
            framework_proc);
  EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_EQ(fw::TSubclass::LiveCount(), subclasses);
  EXPECT_EQ(fw::TTimerHandle::LiveCount(), timers);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 0);

  data->SetActive(true);
  EXPECT_TRUE(PumpUntil([&] { return !Manager().SkinForms().empty(); }));
  EXPECT_NE(Manager().FindSkinForm(form->Handle()), nullptr);
  EXPECT_EQ(changed, 2);
}

TEST_F(SkinManageTest, AttachAndDetachInTheirOrder) {
  fw::TForm* form = NewForm(L"Principal");
  TSkinData* data = AddSkinData(form, sfMainform);
  form->HandleNeeded();
  using test_support::kOptional;
  using test_support::kPosted;
  using test_support::kSent;
  test_support::TMessageRecorder rec({form->Handle()});
  rec.KeepOnly({WM_STYLECHANGED, WM_SKINATTACHED, WM_NCCALCSIZE, WM_SIZE, WM_NCPAINT});
  form->Show();
  TWinSkinForm* controller = Manager().FindSkinForm(form->Handle());
  ASSERT_NE(controller, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return controller->State == ssReady; }));
  PumpPending();
  // The native caption goes before the controller is told it is attached;
  // then the frame is measured again for the skin and the size adjusted
  // (the client size kept), and the skinned frame is painted.
  const test_support::TExpectedMessage kAttach[] = {
      {WM_STYLECHANGED, kSent},         // WS_CAPTION off, at attach
      {WM_NCPAINT, kSent | kOptional},  // shown
      {WM_SIZE, kSent | kOptional},
      {WM_SKINATTACHED, kPosted | test_support::kLParam, 0, 1000},
      {WM_STYLECHANGED, kSent | kOptional},  // styles written again as the size changes
      {WM_NCCALCSIZE, kSent},                // the skin's frame, the client size kept
      {WM_SIZE, kSent | kOptional},
      {WM_NCPAINT, kSent},
      {WM_NCCALCSIZE, kSent | kOptional},
      {WM_NCPAINT, kSent | kOptional},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kAttach, "attach"));

  rec.Clear();
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return Manager().SkinForms().empty(); }));
  PumpPending();
  // Detach: the caption style back, then the native frame measured again.
  const test_support::TExpectedMessage kDetach[] = {
      {WM_STYLECHANGED, kSent},           {WM_NCCALCSIZE, kSent},
      {WM_SIZE, kSent | kOptional},       {WM_NCPAINT, kSent | kOptional},
      {WM_NCCALCSIZE, kSent | kOptional}, {WM_SIZE, kSent | kOptional},
      {WM_NCPAINT, kSent | kOptional},
  };
  EXPECT_TRUE(test_support::MatchesSequence(rec.Seen(), kDetach, "detach"));
}

TEST_F(SkinManageTest, ASkinChangedAtRunTimeReachesTheWindowWithoutLeftovers) {
  fw::TForm* form = NewForm(L"Principal");
  TSkinData* data = AddSkinData(form, sfMainform);
  form->Show();
  TWinSkinForm* controller = Manager().FindSkinForm(form->Handle());
  ASSERT_NE(controller, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return controller->State == ssReady; }));
  const std::filesystem::path skins = std::filesystem::path(PROJECT_BINARY_DIR) / "skins";
  // One switch there and back fills the caches (fonts, the scratch bitmap).
  data->SetSkinFile((skins / "test.skn").wstring());
  ASSERT_TRUE(PumpUntil([&] { return Manager().PendingSkinData() == nullptr; }));
  data->SetSkinFile((skins / "default.skn").wstring());
  ASSERT_TRUE(PumpUntil([&] { return Manager().PendingSkinData() == nullptr; }));
  const test_support::TLiveCounts before = test_support::Live();
  const int32_t default_top = controller->BorderTop;
  int changed = 0;
  data->OnSkinChanged = [&](fw::TObject*) { ++changed; };
  data->SetSkinFile((skins / "test.skn").wstring());
  EXPECT_TRUE(PumpUntil([&] { return changed == 1; }));
  EXPECT_EQ(data->Data().SkinName.empty(), false);
  EXPECT_EQ(controller->BorderTop, data->Data().Borders[3]->Bitmap.Height() /
                                       std::max(1, data->Data().Borders[3]->FrameCount));
  data->SetSkinFile((skins / "default.skn").wstring());
  EXPECT_TRUE(PumpUntil([&] { return changed == 2; }));
  EXPECT_EQ(controller->BorderTop, default_top);
  EXPECT_EQ(test_support::Live(), before);
}

TEST_F(SkinManageTest, PopupMenuWindowsAreSkinnedWhileTheyShow) {
  fw::TForm* form = NewForm(L"Principal");
  AddSkinData(form, sfMainform);
  form->Show();
  auto* popup = new fw::TPopupMenu(form);
  auto* item = new fw::TMenuItem(form);
  item->SetCaption(L"Item");
  popup->Items()->Add(item);
  int skinned_while_open = -1;
  fw::TTimerHandle closer;
  closer.Start(100, [&] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) return;
    skinned_while_open = Manager().IsPopupSkinned(menu) ? 1 : 0;
    EndMenu();
  });
  RECT r;
  GetWindowRect(form->Handle(), &r);
  popup->Popup(r.left + 30, r.top + 30);
  closer.Stop();
  PumpPending();
  EXPECT_EQ(skinned_while_open, 1);
  EXPECT_EQ(Manager().PopupCount(), 0);
  EXPECT_EQ(Manager().MenuSource(), 0);
}

}  // namespace
}  // namespace skin::win
