// The skin gallery's commands: the form with every control comes up skinned,
// switches to the test skin and back, switches skinning off and on, and
// leaves nothing behind; a package it cannot load leaves it unskinned.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/forms.h"
#include "framework/timers.h"
#include "skin/controls/skin_manage.h"
#include "skin/window/menu_bar.h"
#include "skin/window/win_skin_form.h"
#include "tests/support/win/keys.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"
#include "tests/support/win/thread_windows.h"
#include "tools/skin-gallery/coverage_run.h"
#include "tools/skin-gallery/gallery_form.h"
#include "tools/skin-gallery/gallery_mdi.h"

namespace gallery {
namespace {

using skin::win::TSkinManage;
using test_support::PumpUntil;

class SkinGalleryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::win::UseSkinManager();
    app_ = std::make_unique<fw::TApplication>();
    app_->Initialize();
    // An error box would wait for a click: errors are collected instead.
    app_->OnException = [this](const std::exception& e) { errors_.push_back(e.what()); };
  }
  void TearDown() override {
    app_.reset();
    // A main form freed posts the quit of its application; the next test's
    // application must not find it in the thread's queue.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    skin::win::ShutdownSkinManager();
    skin::win::SetSkinManagerProvider(nullptr);
  }
  static std::wstring Skin(const char* name) {
    return (std::filesystem::path(PROJECT_BINARY_DIR) / "skins" / name).wstring();
  }
  std::unique_ptr<fw::TApplication> app_;
  std::vector<std::string> errors_;
};

TEST_F(SkinGalleryTest, SwitchesSkinsAndSkinningWithoutLeftovers) {
  auto* form = new TGalleryForm(app_.get(), L"");
  app_->SetMainForm(form);
  form->Show();
  ASSERT_TRUE(errors_.empty()) << errors_[0];
  TSkinManage& manager = *TSkinManage::Instance();
  ASSERT_NE(manager.FindSkinForm(form->Handle()), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return manager.FindSkinForm(form->Handle())->State == 1; }));
  // Every command once: the switches, and skinning off and on.
  auto round = [&] {
    form->UseSkin(Skin("test.skn"));
    ASSERT_TRUE(PumpUntil([&] { return manager.PendingSkinData() == nullptr; }));
    EXPECT_FALSE(form->SkinData1->Data().NotLoaded);
    form->SetSkinning(false);
    ASSERT_TRUE(PumpUntil([&] { return manager.SkinForms().empty(); }));
    EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    form->SetSkinning(true);
    ASSERT_TRUE(PumpUntil([&] { return manager.FindSkinForm(form->Handle()) != nullptr; }));
    ASSERT_TRUE(PumpUntil([&] { return manager.FindSkinForm(form->Handle())->State == 1; }));
    form->UseSkin(Skin("default.skn"));
    ASSERT_TRUE(PumpUntil([&] { return manager.PendingSkinData() == nullptr; }));
  };
  // A first round fills the caches the controls keep for their life (fonts,
  // the brushes of their own colours, the scratch bitmap); later rounds
  // leave nothing.
  round();
  const test_support::TLiveCounts before = test_support::Live();
  for (int i = 0; i < 2; ++i) {
    round();
    EXPECT_EQ(test_support::Live(), before) << "round " << i;
  }
  EXPECT_TRUE(errors_.empty());
}

// Alt+F, typed while a button has the focus, opens the "&File" menu; the
// "&File dialog" button, whose accelerator is the same letter, is not
// pressed (its file dialog would open).
TEST_F(SkinGalleryTest, AltFOpensTheFileMenuBeforeTheFileDialogButton) {
  auto* form = new TGalleryForm(app_.get(), L"");
  app_->SetMainForm(form);
  form->Show();
  TSkinManage& manager = *TSkinManage::Instance();
  ASSERT_TRUE(PumpUntil([&] {
    const skin::win::TWinSkinForm* c = manager.FindSkinForm(form->Handle());
    return c != nullptr && c->State == 1;
  }));
  SetForegroundWindow(form->Handle());
  app_->ProcessMessages();
  fw::TMenuItem* file = form->Menu()->Items()->Items(0);
  ASSERT_EQ(file->Caption(), L"&File");

  HMENU shown = nullptr;
  int dialogs = 0;
  fw::TTimerHandle watch;
  watch.Start(30, [&] {
    if (HWND menu = test_support::ShownThreadWindow(L"#32768")) {
      if (shown == nullptr) shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
      EndMenu();
    }
    if (HWND dialog = test_support::ShownThreadWindow(L"#32770")) {
      ++dialogs;
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
  });
  test_support::PressKeys({VK_MENU, 'F'});
  const DWORD start = GetTickCount();
  while (shown == nullptr && dialogs == 0 && GetTickCount() - start < 3000) {
    app_->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  EXPECT_EQ(shown, file->Handle());
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SkinGalleryTest, ASkinFileItCannotLoadIsToldAndLeavesItUnskinned) {
  auto* form = new TGalleryForm(app_.get(), L"C:\\nao\\existe.skn");
  app_->SetMainForm(form);
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_NE(errors_[0].find("Cannot open the skin file"), std::string::npos);
  EXPECT_TRUE(form->SkinData1->Data().NotLoaded);
  EXPECT_FALSE(form->SkinData1->Active());
  form->Show();
  EXPECT_EQ(TSkinManage::Instance()->FindSkinForm(form->Handle()), nullptr);
}

// The coverage run as `SkinGallery --coverage FILE` makes it: the form, its
// plain dialog box and a message box over it are open when the report is
// written, then everything closes. Every window and every graphic control is
// listed, and each is either served by a skinner or left alone for a stated
// reason; none is merely forgotten.
TEST_F(SkinGalleryTest, TheCoverageReportListsEveryWindowWithItsSkinnerOrReason) {
  auto* form = new TGalleryForm(app_.get(), L"");
  app_->SetMainForm(form);
  const std::filesystem::path file = std::filesystem::path(PROJECT_BINARY_DIR) /
                                     ("coverage-" + std::to_string(GetCurrentProcessId()) + ".txt");
  TCoverageRun run(*form, file.wstring());
  run.Start();
  app_->Run();
  ASSERT_TRUE(run.Written());
  ASSERT_TRUE(errors_.empty()) << errors_[0];
  std::stringstream text;
  {
    std::ifstream in(file);
    text << in.rdbuf();
  }
  const std::string report = text.str();
  std::filesystem::remove(file);

  EXPECT_NE(report.find("#32770 \"A plain dialog box\": TWinSkinForm"), std::string::npos);
  EXPECT_NE(report.find("#32770 \"Coverage\": TWinSkinForm"), std::string::npos);
  EXPECT_NE(report.find("FwForm \"Skin Gallery\" (Gallery TGalleryForm): TWinSkinForm"),
            std::string::npos);
  int lines = 0;
  std::istringstream lines_in(report);
  for (std::string line; std::getline(lines_in, line);) {
    ++lines;
    const size_t colon = line.rfind("): ");
    const size_t at = line.find(": ", colon == std::string::npos ? 0 : colon);
    ASSERT_NE(at, std::string::npos) << line;
    const std::string what = line.substr(at + 2);
    EXPECT_FALSE(what.empty()) << line;
    // A control that a skinner should serve and none does is a fault.
    EXPECT_EQ(what.find("not attached"), std::string::npos) << line;
    if (what.rfind("left alone: ", 0) == 0) {
      EXPECT_GT(what.size(), std::string("left alone: ").size()) << line;
    } else {
      EXPECT_TRUE(what.rfind("T", 0) == 0 || what.find("overlay") != std::string::npos ||
                  what.find("part") != std::string::npos)
          << line;
    }
  }
  EXPECT_GT(lines, 40);
  // Every kind of skinner the gallery shows is there.
  for (const char* skinner :
       {": TSkinButton", ": TSkinBitButton", ": TSkinSpeedButton", ": TSkinCheckBox",
        ": TSkinRadioButton", ": TSkinEdit", ": TSkinComBox", ": TSkinUpDown", ": TSkinScrollbar",
        ": TSkinListView", ": TSkinScControl", ": TSkinBox", ": TSkinGroupBox", ": TSkinStatusBar",
        ": TSkinProgress", ": TSkinTrackBar", ": TSkinTab", ": TSkinHeader"}) {
    EXPECT_NE(report.find(skinner), std::string::npos) << skinner;
  }
}

// The captions of the frame's menu band that show.
std::vector<std::wstring> BandCaptions(const skin::win::TWinSkinForm& frame) {
  std::vector<std::wstring> captions;
  for (const auto& item : frame.MenuBarSkinner->Items) {
    if (item->Visible && !item->Caption.empty()) captions.push_back(item->Caption);
  }
  return captions;
}

// The MDI mode as an operator uses it: children made, activated in turn,
// maximized, restored, minimized, tiled, cascaded and closed. The band
// shows the active child's menus merged into the frame's, and the frame's
// own when none is left; a session leaves nothing behind.
TEST_F(SkinGalleryTest, AnMDISessionMergesEachChildsMenuAndLeavesNothingBehind) {
  auto* frame = new TGalleryMDIForm(app_.get(), L"");
  app_->SetMainForm(frame);
  frame->Show();
  TSkinManage& manager = *TSkinManage::Instance();
  skin::win::TWinSkinForm* controller = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    controller = manager.FindSkinForm(frame->Handle());
    return controller != nullptr && controller->State == 1;
  }));
  ASSERT_NE(controller->MenuBarSkinner, nullptr);
  const std::vector<std::wstring> own{L"&File", L"&Window", L"&Skin"};
  auto merged = [](int n) {
    return std::vector<std::wstring>{L"&File", L"&Edit", L"&Document " + std::to_wstring(n),
                                     L"&Window", L"&Skin"};
  };
  EXPECT_EQ(BandCaptions(*controller), own);

  auto session = [&](int first_number) {
    fw::TForm* children[3];
    for (fw::TForm*& child : children)
      child = frame->NewChild();
    frame->Cascade();
    app_->ProcessMessages();
    ASSERT_EQ(frame->MDIChildCount(), 3);
    for (fw::TForm* child : children) {
      ASSERT_TRUE(PumpUntil([&] {
        const skin::win::TWinSkinForm* c = manager.FindSkinForm(child->Handle());
        return c != nullptr && c->State == 1;
      }));
    }
    EXPECT_EQ(BandCaptions(*controller), merged(first_number + 2));
    EXPECT_EQ(GetMenu(frame->Handle()), nullptr);
    // Another child activated: its menu replaces the last one's.
    SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE,
                 reinterpret_cast<WPARAM>(children[0]->Handle()), 0);
    app_->ProcessMessages();
    EXPECT_EQ(frame->ActiveMDIChild(), children[0]);
    EXPECT_EQ(BandCaptions(*controller), merged(first_number));

    children[0]->SetWindowState(fw::wsMaximized);
    ASSERT_TRUE(PumpUntil([&] { return manager.MDIMaximized(); }));
    EXPECT_EQ(BandCaptions(*controller), merged(first_number));
    children[0]->SetWindowState(fw::wsNormal);
    ASSERT_TRUE(PumpUntil([&] { return !manager.MDIMaximized(); }));
    children[1]->SetWindowState(fw::wsMaximized);
    ASSERT_TRUE(PumpUntil([&] { return manager.MDIMaximized(); }));
    frame->Tile();
    app_->ProcessMessages();
    ASSERT_TRUE(PumpUntil([&] { return !manager.MDIMaximized(); }));
    children[2]->SetWindowState(fw::wsMinimized);
    frame->ArrangeIcons();
    frame->Cascade();
    app_->ProcessMessages();

    // Closed one by one: the band follows, then shows the frame's own menu.
    for (fw::TForm* child : children) {
      child->Close();
      app_->ProcessMessages();
    }
    ASSERT_TRUE(PumpUntil([&] { return frame->MDIChildCount() == 0; }));
    EXPECT_EQ(BandCaptions(*controller), own);
    EXPECT_EQ(GetMenu(frame->Handle()), nullptr);
    EXPECT_FALSE(manager.MDIMaximized());
  };
  // A first session fills what lives as long as the frame (fonts, caches).
  session(1);
  const test_support::TLiveCounts before = test_support::Live();
  session(4);
  EXPECT_EQ(test_support::Live(), before);
  EXPECT_TRUE(errors_.empty()) << errors_[0];
}

}  // namespace
}  // namespace gallery
