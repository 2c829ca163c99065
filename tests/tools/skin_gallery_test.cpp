// The skin gallery's commands: the form with every control comes up skinned,
// switches to the test skin and back, switches skinning off and on, and
// leaves nothing behind; a package it cannot load leaves it unskinned.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "skin/controls/skin_manage.h"
#include "skin/window/win_skin_form.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"
#include "tools/skin-gallery/gallery_form.h"

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
  // A round of every command fills the caches (fonts, the scratch bitmap).
  form->UseSkin(Skin("test.skn"));
  ASSERT_TRUE(PumpUntil([&] { return manager.PendingSkinData() == nullptr; }));
  form->UseSkin(Skin("default.skn"));
  ASSERT_TRUE(PumpUntil([&] { return manager.PendingSkinData() == nullptr; }));
  const test_support::TLiveCounts before = test_support::Live();

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
  EXPECT_EQ(test_support::Live(), before);
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

}  // namespace
}  // namespace gallery
