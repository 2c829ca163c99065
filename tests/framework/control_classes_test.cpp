// Every control class the skinners serve: read from a stored description,
// reporting its own class and the class levels it belongs to, with the
// window class and styles the skinners expect; their behaviour in short; and
// a form with all of them created, shown and freed without leaving anything
// behind.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/hooks.h"
#include "framework/listviews.h"
#include "framework/menus.h"
#include "framework/panels.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "framework/scrolling.h"
#include "framework/stdctrls.h"
#include "framework/subclass.h"
#include "framework/tabs.h"
#include "framework/timers.h"
#include "framework/toolbar.h"
#include "tests/support/win/live_counts.h"
#include "tests/support/win/pump.h"

namespace fw {
namespace {

constexpr char kEveryControl[] = R"(object Janela: TForm
  ClientWidth = 640
  ClientHeight = 480
  Caption = 'Todos os controles'
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Sair: TMenuItem
        Caption = '&Sair'
      end
    end
  end
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
  end
  object BitBtn1: TBitBtn
    Left = 90
    Top = 8
    Width = 75
    Height = 25
    Caption = 'Glifo'
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 40
    Width = 97
    Height = 17
    Caption = 'Marcar'
  end
  object RadioButton1: TRadioButton
    Left = 8
    Top = 60
    Width = 97
    Height = 17
    Caption = 'Um'
  end
  object RadioButton2: TRadioButton
    Left = 8
    Top = 80
    Width = 97
    Height = 17
    Caption = 'Dois'
  end
  object RadioGroup1: TRadioGroup
    Left = 120
    Top = 40
    Width = 150
    Height = 80
    Caption = 'Grupo'
    Items.Text = ('A' 'B' 'C')
    ItemIndex = 1
  end
  object GroupBox1: TGroupBox
    Left = 280
    Top = 40
    Width = 150
    Height = 80
    Caption = 'Caixa'
  end
  object Panel1: TPanel
    Left = 440
    Top = 40
    Width = 150
    Height = 80
    Caption = 'Painel'
  end
  object Memo1: TMemo
    Left = 8
    Top = 130
    Width = 150
    Height = 60
    ScrollBars = ssVertical
  end
  object ListBox1: TListBox
    Left = 170
    Top = 130
    Width = 100
    Height = 60
    Items.Text = ('um' 'dois')
  end
  object Edit1: TEdit
    Left = 280
    Top = 130
    Width = 100
    Height = 21
  end
  object ComboBox1: TComboBox
    Left = 390
    Top = 130
    Width = 100
    Height = 21
  end
  object ListView1: TListView
    Left = 8
    Top = 200
    Width = 200
    Height = 80
    ViewStyle = vsReport
  end
  object TreeView1: TTreeView
    Left = 220
    Top = 200
    Width = 120
    Height = 80
  end
  object PageControl1: TPageControl
    Left = 350
    Top = 200
    Width = 200
    Height = 100
    object TabSheet1: TTabSheet
      Caption = 'Geral'
    end
    object TabSheet2: TTabSheet
      Caption = 'Outros'
    end
  end
  object TabControl1: TTabControl
    Left = 8
    Top = 290
    Width = 200
    Height = 60
    Tabs.Text = ('Primeira' 'Segunda')
  end
  object TrackBar1: TTrackBar
    Left = 220
    Top = 300
    Width = 150
    Height = 30
  end
  object UpDown1: TUpDown
    Left = 380
    Top = 300
    Width = 17
    Height = 25
  end
  object ProgressBar1: TProgressBar
    Left = 400
    Top = 300
    Width = 150
    Height = 16
    Position = 40
  end
  object ScrollBar1: TScrollBar
    Left = 8
    Top = 360
    Width = 150
    Height = 17
  end
  object ScrollBox1: TScrollBox
    Left = 170
    Top = 360
    Width = 150
    Height = 60
    object Edit2: TEdit
      Left = 10
      Top = 100
      Width = 50
      Height = 21
    end
  end
  object SpeedButton1: TSpeedButton
    Left = 330
    Top = 360
    Width = 23
    Height = 22
    GroupIndex = 1
  end
  object SpeedButton2: TSpeedButton
    Left = 360
    Top = 360
    Width = 23
    Height = 22
    GroupIndex = 1
  end
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 640
    Height = 29
    Align = alNone
    object ToolButton1: TToolButton
      Caption = 'Abrir'
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 461
    Width = 640
    Height = 19
    Align = alBottom
  end
  object Timer1: TTimer
    Interval = 1000
  end
end
)";

class ControlClassesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFrameworkClasses();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
  }
  TForm* MakeForm() {
    auto* form = new TForm(app_.get());
    ReadComponent(*form, kEveryControl);
    return form;
  }
  std::unique_ptr<TApplication> app_;
};

std::wstring WindowClass(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

TEST_F(ControlClassesTest, EachClassReportsItselfAndTheLevelsTheSkinnersTest) {
  TForm* form = MakeForm();
  struct TCase {
    const char* name;
    const char* cls;
    std::vector<const TClassInfo*> levels;
  } cases[] = {
      {"Button1", "TButton", {&TButtonControl::StaticClassInfo()}},
      {"BitBtn1", "TBitBtn", {&TButton::StaticClassInfo()}},
      {"CheckBox1", "TCheckBox", {&TCustomCheckBox::StaticClassInfo()}},
      {"RadioButton1", "TRadioButton", {&TButtonControl::StaticClassInfo()}},
      {"RadioGroup1",
       "TRadioGroup",
       {&TCustomRadioGroup::StaticClassInfo(), &TCustomGroupBox::StaticClassInfo()}},
      {"GroupBox1", "TGroupBox", {&TCustomGroupBox::StaticClassInfo()}},
      {"Panel1", "TPanel", {&TCustomPanel::StaticClassInfo(), &TCustomControl::StaticClassInfo()}},
      {"Memo1", "TMemo", {&TCustomMemo::StaticClassInfo(), &TCustomEdit::StaticClassInfo()}},
      {"ListBox1", "TListBox", {&TCustomListBox::StaticClassInfo()}},
      {"Edit1", "TEdit", {&TCustomEdit::StaticClassInfo()}},
      {"ComboBox1", "TComboBox", {&TCustomComboBox::StaticClassInfo()}},
      {"ListView1", "TListView", {&TCustomListView::StaticClassInfo()}},
      {"TreeView1", "TTreeView", {&TCustomTreeView::StaticClassInfo()}},
      {"PageControl1", "TPageControl", {&TCustomTabControl::StaticClassInfo()}},
      {"TabSheet1", "TTabSheet", {&TWinControl::StaticClassInfo()}},
      {"TabControl1", "TTabControl", {&TCustomTabControl::StaticClassInfo()}},
      {"TrackBar1", "TTrackBar", {&TWinControl::StaticClassInfo()}},
      {"UpDown1", "TUpDown", {&TCustomUpDown::StaticClassInfo()}},
      {"ProgressBar1", "TProgressBar", {&TWinControl::StaticClassInfo()}},
      {"ScrollBar1", "TScrollBar", {&TWinControl::StaticClassInfo()}},
      {"ScrollBox1", "TScrollBox", {&TScrollingWinControl::StaticClassInfo()}},
      {"SpeedButton1", "TSpeedButton", {&TGraphicControl::StaticClassInfo()}},
      {"ToolBar1", "TToolBar", {&TWinControl::StaticClassInfo()}},
      {"ToolButton1", "TToolButton", {&TControl::StaticClassInfo()}},
      {"StatusBar1", "TStatusBar", {&TCustomStatusBar::StaticClassInfo()}},
      {"Timer1", "TTimer", {&TComponent::StaticClassInfo()}},
  };
  for (const auto& c : cases) {
    TComponent* component = form->FindComponent(c.name);
    ASSERT_NE(component, nullptr) << c.name;
    EXPECT_EQ(component->ClassName(), c.cls);
    for (const TClassInfo* level : c.levels)
      EXPECT_TRUE(component->InheritsFrom(*level)) << c.name << " " << level->ClassName();
  }
  EXPECT_TRUE(form->InheritsFrom(TCustomForm::StaticClassInfo()));
  // A TBitBtn is a TButton (it never falls through to the plain button
  // rules), and a scroll box is the only scrolling container among them.
  EXPECT_FALSE(
      form->FindComponent("Panel1")->InheritsFrom(TScrollingWinControl::StaticClassInfo()));
}

TEST_F(ControlClassesTest, WindowsOfTheExpectedClassesAndStyles) {
  TForm* form = MakeForm();
  form->Show();
  auto wnd = [&](const char* name) {
    return static_cast<TWinControl*>(form->FindComponent(name))->Handle();
  };
  struct TCase {
    const char* name;
    const wchar_t* window_class;
    LONG style_bits;
  } cases[] = {
      {"Button1", L"Button", BS_DEFPUSHBUTTON},
      {"BitBtn1", L"Button", BS_OWNERDRAW},
      {"CheckBox1", L"Button", BS_3STATE},
      {"RadioButton1", L"Button", BS_RADIOBUTTON},
      {"Memo1", L"Edit", ES_MULTILINE | WS_VSCROLL},
      {"ListBox1", L"ListBox", LBS_NOTIFY},
      {"Edit1", L"Edit", 0},
      {"ComboBox1", L"ComboBox", 0},
      {"ListView1", L"SysListView32", LVS_REPORT},
      {"TreeView1", L"SysTreeView32", TVS_HASLINES},
      {"PageControl1", L"SysTabControl32", 0},
      {"TabControl1", L"SysTabControl32", 0},
      {"TrackBar1", L"msctls_trackbar32", 0},
      {"UpDown1", L"msctls_updown32", 0},
      {"ProgressBar1", L"msctls_progress32", 0},
      {"ScrollBar1", L"ScrollBar", 0},
      {"ToolBar1", L"ToolbarWindow32", 0},
      {"StatusBar1", L"msctls_statusbar32", 0},
  };
  for (const auto& c : cases) {
    HWND h = wnd(c.name);
    ASSERT_TRUE(IsWindow(h)) << c.name;
    EXPECT_EQ(WindowClass(h), c.window_class) << c.name;
    LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_EQ(style & c.style_bits, c.style_bits) << c.name;
    EXPECT_EQ(TWinControl::FindControl(h), form->FindComponent(c.name)) << c.name;
  }
  // The report view has its header.
  auto* list = static_cast<TListView*>(form->FindComponent("ListView1"));
  list->Columns()->Add(L"C\u00f3digo", 80);
  list->AddItem(L"00000001", {L"ana@exemplo.com"});
  ASSERT_NE(list->HeaderHandle(), nullptr);
  EXPECT_EQ(WindowClass(list->HeaderHandle()), L"SysHeader32");
  EXPECT_EQ(SendMessageW(list->HeaderHandle(), HDM_GETITEMCOUNT, 0, 0), 1);
}

TEST_F(ControlClassesTest, BehaviourOfTheNewControls) {
  TForm* form = MakeForm();
  form->Show();
  // A radio group checks the button of its ItemIndex.
  auto* group = static_cast<TRadioGroup*>(form->FindComponent("RadioGroup1"));
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(SendMessageW(group->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(group->Buttons(2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  // Radio buttons with one parent are exclusive; a check box toggles.
  auto* one = static_cast<TRadioButton*>(form->FindComponent("RadioButton1"));
  auto* two = static_cast<TRadioButton*>(form->FindComponent("RadioButton2"));
  SendMessageW(one->Handle(), BM_CLICK, 0, 0);
  SendMessageW(two->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(one->Checked());
  EXPECT_TRUE(two->Checked());
  auto* box = static_cast<TCheckBox*>(form->FindComponent("CheckBox1"));
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  // The page control shows only its active sheet.
  auto* pages = static_cast<TPageControl*>(form->FindComponent("PageControl1"));
  auto* first = static_cast<TTabSheet*>(form->FindComponent("TabSheet1"));
  auto* second = static_cast<TTabSheet*>(form->FindComponent("TabSheet2"));
  EXPECT_EQ(pages->ActivePage(), first);
  EXPECT_TRUE(IsWindowVisible(first->Handle()));
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  pages->SetActivePage(second);
  EXPECT_TRUE(IsWindowVisible(second->Handle()));
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
  EXPECT_EQ(pages->TabIndex(), 1);
  // Status bar panels, and the size grip that needs a new window.
  auto* status = static_cast<TStatusBar*>(form->FindComponent("StatusBar1"));
  status->Panels()->Add()->SetText(L"Pronto");
  status->Panels()->Add()->SetText(L"Linha 1");
  wchar_t text[32] = {};
  SendMessageW(status->Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Linha 1");
  HWND before = status->Handle();
  status->SetSizeGrip(true);
  EXPECT_NE(status->Handle(), before);
  EXPECT_TRUE(GetWindowLongW(status->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(SendMessageW(status->Handle(), SB_GETPARTS, 0, 0), 2);
  // A tool button's click comes through the bar.
  auto* tool = static_cast<TToolButton*>(form->FindComponent("ToolButton1"));
  int tool_clicks = 0;
  tool->OnClick = [&](TObject*) { ++tool_clicks; };
  HWND bar = static_cast<TToolBar*>(form->FindComponent("ToolBar1"))->Handle();
  SendMessageW(GetParent(bar), WM_COMMAND, MAKEWPARAM(tool->Command(), BN_CLICKED),
               reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(tool_clicks, 1);
  // Grouped speed buttons: one down at a time.
  auto* s1 = static_cast<TSpeedButton*>(form->FindComponent("SpeedButton1"));
  auto* s2 = static_cast<TSpeedButton*>(form->FindComponent("SpeedButton2"));
  s1->Click();
  s2->Click();
  EXPECT_FALSE(s1->Down());
  EXPECT_TRUE(s2->Down());
  // The scroll box scrolls to what lies beyond it.
  auto* scroll = static_cast<TScrollBox*>(form->FindComponent("ScrollBox1"));
  EXPECT_TRUE(scroll->VertScrollBar()->IsScrollBarVisible());
  auto* inner = static_cast<TEdit*>(form->FindComponent("Edit2"));
  scroll->ScrollInView(inner);
  RECT client = scroll->ClientRect();
  EXPECT_LE(inner->Top() + inner->Height(), client.bottom);
  EXPECT_GE(inner->Top(), 0);
  // Graphic children count too, in a box filled before its window exists.
  auto* label_box = new TScrollBox(form);
  label_box->SetParent(form);
  label_box->SetBounds(0, 0, 100, 50);
  auto* far_label = new TLabel(form);
  far_label->SetParent(label_box);
  far_label->SetBounds(4, 100, 60, 13);
  label_box->HandleNeeded();
  EXPECT_TRUE(label_box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_TRUE(GetWindowLongW(label_box->Handle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ControlClassesTest, AFormWithEveryControlLeavesNothingBehind) {
  auto round = [&] {
    TForm* form = MakeForm();
    form->Show();
    static_cast<TTimer*>(form->FindComponent("Timer1"))->SetOnTimer([](TObject*) {});
    auto* status = static_cast<TStatusBar*>(form->FindComponent("StatusBar1"));
    status->SetSizeGrip(true);  // a window made again on the way
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    test_support::PumpPending();
    HMENU menu = GetMenu(form->Handle());
    EXPECT_TRUE(IsMenu(menu));
    form->Free();
    test_support::PumpPending();
    EXPECT_FALSE(IsMenu(menu));
  };
  round();  // the first one fills the process's caches (fonts, classes)
  const test_support::TLiveCounts before = test_support::Live();
  round();
  round();
  EXPECT_EQ(test_support::Live(), before);
}

}  // namespace
}  // namespace fw
