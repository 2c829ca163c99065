// Every panel skinner on one form, on both built skins: they paint side by
// side, and freeing them all leaves nothing behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/gauges.h"
#include "framework/panels.h"
#include "framework/tabs.h"
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_progress.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_tab.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/panel_test_fixture.h"

namespace skin_test {
namespace {

using namespace skin::win;  // NOLINT(google-build-using-namespace): the skinner classes

constexpr const char* kForm = R"(  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 420
    Height = 40
    Align = alTop
    Color = clBtnHighlight
    Caption = 'Atualiza E-mails'
  end
  object Group1: TGroupBox
    Left = 8
    Top = 48
    Width = 190
    Height = 90
    Caption = 'Progresso'
    object Bar1: TProgressBar
      Left = 10
      Top = 24
      Width = 170
      Height = 16
      Position = 40
    end
    object Track1: TTrackBar
      Left = 10
      Top = 48
      Width = 170
      Height = 32
      Position = 6
    end
  end
  object Tabs1: TTabControl
    Left = 210
    Top = 48
    Width = 200
    Height = 120
  end
  object Panel3: TPanel
    Left = 0
    Top = 200
    Width = 420
    Height = 50
    Align = alBottom
    BevelOuter = bvNone
    Color = clBtnHighlight
    object Barra: TGauge
      Left = 8
      Top = 20
      Width = 404
      Height = 17
      Progress = 57
    end
  end
  object stbStatus: TStatusBar
    Left = 0
    Top = 281
    Width = 420
    Height = 19
    Align = alBottom
    Color = clActiveBorder
    SimpleText = 'Processando Registro 57 de 100'
  end
)";

class PanelsTogetherTest : public PanelSkinnerTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(PanelsTogetherTest, EveryPanelSkinnerPaintsBesideTheOthers) {
  UseSkin(GetParam());
  fw::TForm* form = CreateForm(kForm);
  auto find = [&](const char* name) {
    return dynamic_cast<fw::TWinControl*>(form->FindComponent(name));
  };
  auto* tabs = dynamic_cast<fw::TTabControl*>(find("Tabs1"));
  tabs->Tabs()->SetText(L"Geral\nBanco\nPlanilha");
  tabs->SetTabIndex(1);
  Settle(form->Handle());
  const test_support::TLiveCounts before = test_support::Live();

  std::vector<TSkinControl*> skinners;
  for (const char* name : {"Panel1", "Panel3"}) {
    auto* s = new TSkinBox(find(name));
    s->Attach(&Controller(), &Data(), true, nullptr);
    skinners.push_back(s);
  }
  auto* group = new TSkinGroupBox(find("Group1"));
  group->Attach(&Controller(), &Data(), true, nullptr);
  auto* bar = new TSkinProgress(find("Bar1"));
  bar->Attach(&Controller(), &Data(), false, nullptr);
  auto* track = new TSkinTrackBar(find("Track1"));
  track->Attach(&Controller(), &Data(), false, nullptr);
  auto* tab = new TSkinTab(tabs);
  tab->AttachHandle(tabs->Handle(), &Data(), &Controller(), nullptr);
  auto* gauge = new TSkinProgress(form->FindComponent("Barra"));
  gauge->AttachGraphic(&Controller(), &Data(), nullptr);
  auto* status = new TSkinStatusBar(find("stbStatus"));
  status->Attach(&Controller(), &Data(), false, nullptr);
  skinners.insert(skinners.end(), {group, bar, track, tab, gauge, status});
  EXPECT_EQ(Controller().Skinners().size(), skinners.size());

  // The panels' and the group box's background is the skin's; the status
  // bar shows its text over the skin's frame.
  EXPECT_EQ(ClientShot(find("Panel1")->Handle()).Pixel(400, 30), Face());
  EXPECT_EQ(ClientShot(find("Group1")->Handle()).Pixel(100, 20), Face());
  const skin::TDataSkinObject& edges = *Elements().StatusBarEdges;
  const skin::TBitmap frame = skin::BuildSkinImage({0, 0, 420, 19}, edges.Bitmap, edges.Margins,
                                                   false, edges.Tile != 0, 3, 1);
  const skin::TBitmap status_shot = Shot(find("stbStatus")->Handle());
  EXPECT_EQ(status_shot.Pixel(400, 9), frame.Pixel(400, 9));
  int ink = 0;
  for (int x = 0; x < 200; ++x)
    ink += status_shot.Pixel(x, 9) != frame.Pixel(x, 9) ? 1 : 0;
  EXPECT_GT(ink, 0) << "the simple text";

  for (TSkinControl* s : skinners) {
    s->Detach();
    s->Free();
  }
  Settle(form->Handle());
  EXPECT_EQ(test_support::Live(), before);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, PanelsTogetherTest,
                         ::testing::Values("test.skn", "default.skn"));

}  // namespace
}  // namespace skin_test
