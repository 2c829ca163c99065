#include "tools/skin-gallery/gallery_form.h"

#include "framework/dialogs.h"
#include "framework/strings.h"
#include "tools/skin-gallery/gallery_skin.h"
#include "tools/skin-gallery/raw_dialog.h"

namespace gallery {

const fw::TClassInfo& TGalleryForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TGalleryForm>("TGalleryForm", fw::TForm::StaticClassInfo()).Build();
  return info;
}

TGalleryForm::TGalleryForm(fw::TComponent* owner, const std::wstring& skin_file)
    : fw::TForm(owner) {
  SetName("Gallery");
  SetCaption(L"Skin Gallery");
  SetPosition(fw::poScreenCenter);
  SetClientWidth(640);
  SetClientHeight(470);
  LoadSkin(skin_file);
  BuildMenus();
  BuildControls();
}

void TGalleryForm::LoadSkin(const std::wstring& skin_file) {
  SkinData1 = CreateGallerySkin(this, skin_file);
}

fw::TMenuItem* TGalleryForm::AddItem(fw::TMenuItem* parent, const std::wstring& caption,
                                     fw::TNotifyEvent on_click) {
  auto* item = new fw::TMenuItem(this);
  item->SetCaption(caption);
  item->OnClick = std::move(on_click);
  parent->Add(item);
  return item;
}

void TGalleryForm::BuildMenus() {
  auto* menu = new fw::TMainMenu(this);
  fw::TMenuItem* root = menu->Items();
  fw::TMenuItem* file = AddItem(root, L"&File");
  AddItem(file, L"&Open file...", [this](fw::TObject*) {
    ShowFileDialog();
  })->SetShortCut(fw::scCtrl | 'O');
  AddItem(file, L"&Message box", [this](fw::TObject*) { ShowMessageBox(); });
  AddItem(file, L"&Plain dialog box", [this](fw::TObject*) { ShowPlainDialog(); });
  AddItem(file, L"-");
  AddItem(file, L"E&xit", [this](fw::TObject*) { Close(); });
  fw::TMenuItem* skin = AddItem(root, L"&Skin");
  AddItem(skin, L"&Default skin", [this](fw::TObject*) { UseSkin(L""); });
  AddItem(skin, L"&Test skin", [this](fw::TObject*) { UseSkin(ProgramFolder() + L"\\test.skn"); });
  AddItem(skin, L"-");
  AddItem(skin, L"Skinning &off", [this](fw::TObject*) { SetSkinning(false); });
  AddItem(skin, L"Skinning o&n", [this](fw::TObject*) { SetSkinning(true); });
  fw::TMenuItem* view = AddItem(root, L"&View");
  fw::TMenuItem* checked = AddItem(view, L"&Checked item");
  checked->SetChecked(true);
  fw::TMenuItem* disabled = AddItem(view, L"&Disabled item");
  disabled->SetEnabled(false);
  fw::TMenuItem* more = AddItem(view, L"&More");
  AddItem(more, L"Sub item &1");
  AddItem(more, L"Sub item &2");
  fw::TMenuItem* deeper = AddItem(more, L"D&eeper");
  AddItem(deeper, L"Third level &A")->SetShortCut(fw::scCtrl | fw::scShift | 'A');
  AddItem(deeper, L"Third level &B")->SetEnabled(false);
  AddItem(root, L"&Disabled")->SetEnabled(false);
  // Separators in every awkward place: first, doubled, around a hidden
  // item, last. The drop-down should show only the ones between items.
  fw::TMenuItem* edit = AddItem(root, L"&Edit");
  AddItem(edit, L"-");
  AddItem(edit, L"&Undo")->SetShortCut(fw::scCtrl | 'Z');
  AddItem(edit, L"-");
  AddItem(edit, L"-");
  AddItem(edit, L"Cu&t")->SetShortCut(fw::scCtrl | 'X');
  AddItem(edit, L"-");
  AddItem(edit, L"Hidden item")->SetVisible(false);
  AddItem(edit, L"-");
  AddItem(edit, L"Select &all")->SetShortCut(fw::scCtrl | 'A');
  AddItem(edit, L"&Find again")->SetShortCut(VK_F3);
  AddItem(edit, L"-");
  SetMenu(menu);

  FormPopup = new fw::TPopupMenu(this);
  AddItem(FormPopup->Items(), L"&Copy")->SetShortCut(fw::scCtrl | 'C');
  AddItem(FormPopup->Items(), L"&Paste")->SetShortCut(fw::scCtrl | 'V');
  AddItem(FormPopup->Items(), L"-");
  fw::TMenuItem* radio = AddItem(FormPopup->Items(), L"&Radio item");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  AddItem(FormPopup->Items(), L"&Disabled")->SetEnabled(false);

  NativePopup = new fw::TPopupMenu(this);
  NativePopup->SetTag(99);
  AddItem(NativePopup->Items(), L"A native popup (Tag 99)");
}

void TGalleryForm::BuildControls() {
  auto place = [this](fw::TControl* c, fw::TWinControl* parent, int x, int y, int w, int h) {
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
  };
  auto* tools = new fw::TToolBar(this);
  tools->SetParent(this);
  tools->SetShowCaptions(true);
  tools->SetFlat(true);
  for (const wchar_t* caption : {L"Message box", L"File dialog", L"Plain dialog"}) {
    auto* b = new fw::TToolButton(this);
    b->SetCaption(caption);
    b->SetToolBar(tools);
  }
  tools->Buttons(0)->OnClick = [this](fw::TObject*) { ShowMessageBox(); };
  tools->Buttons(1)->OnClick = [this](fw::TObject*) { ShowFileDialog(); };
  tools->Buttons(2)->OnClick = [this](fw::TObject*) { ShowPlainDialog(); };

  StatusBar = new fw::TStatusBar(this);
  StatusBar->SetParent(this);
  StatusBar->SetAlign(fw::alBottom);
  StatusBar->Panels()->Add()->SetText(L"Skin Gallery");
  StatusBar->Panels()->Items(0)->SetWidth(200);
  StatusBar->Panels()->Add()->SetText(L"Right-click for a popup menu");

  auto* buttons = new fw::TPanel(this);
  place(buttons, this, 8, 36, 624, 40);
  buttons->SetCaption(L"");
  auto* message = new fw::TButton(this);
  place(message, buttons, 8, 8, 100, 25);
  message->SetCaption(L"&Message box");
  message->OnClick = [this](fw::TObject*) { ShowMessageBox(); };
  message->SetDefault(true);
  auto* open = new fw::TBitBtn(this);
  place(open, buttons, 116, 8, 100, 25);
  open->SetCaption(L"&File dialog");
  open->OnClick = [this](fw::TObject*) { ShowFileDialog(); };
  auto* plain = new fw::TButton(this);
  place(plain, buttons, 224, 8, 100, 25);
  plain->SetCaption(L"&Plain dialog");
  plain->OnClick = [this](fw::TObject*) { ShowPlainDialog(); };
  auto* test_skin = new fw::TButton(this);
  place(test_skin, buttons, 332, 8, 90, 25);
  test_skin->SetCaption(L"&Test skin");
  test_skin->OnClick = [this](fw::TObject*) { UseSkin(ProgramFolder() + L"\\test.skn"); };
  auto* default_skin = new fw::TButton(this);
  place(default_skin, buttons, 426, 8, 90, 25);
  default_skin->SetCaption(L"&Default skin");
  default_skin->OnClick = [this](fw::TObject*) { UseSkin(L""); };
  auto* toggle = new fw::TCheckBox(this);
  place(toggle, buttons, 524, 12, 95, 17);
  toggle->SetCaption(L"&Skinning");
  toggle->SetChecked(SkinData1->Active());
  toggle->OnClick = [this, toggle](fw::TObject*) { SetSkinning(toggle->Checked()); };

  auto* group = new fw::TGroupBox(this);
  place(group, this, 8, 84, 200, 110);
  group->SetCaption(L"Group box");
  auto* check = new fw::TCheckBox(this);
  place(check, group, 10, 22, 170, 17);
  check->SetCaption(L"Check box");
  check->SetChecked(true);
  auto* radio1 = new fw::TRadioButton(this);
  place(radio1, group, 10, 44, 170, 17);
  radio1->SetCaption(L"Radio button one");
  radio1->SetChecked(true);
  auto* radio2 = new fw::TRadioButton(this);
  place(radio2, group, 10, 66, 170, 17);
  radio2->SetCaption(L"Radio button two");

  auto* radio_group = new fw::TRadioGroup(this);
  place(radio_group, this, 216, 84, 140, 110);
  radio_group->SetCaption(L"Radio group");
  radio_group->Items()->SetText(L"Alpha\r\nBeta\r\nGamma");
  radio_group->SetItemIndex(0);

  auto* edit = new fw::TEdit(this);
  place(edit, this, 364, 84, 130, 21);
  edit->SetText(L"Edit box");
  auto* combo = new fw::TComboBox(this);
  place(combo, this, 502, 84, 130, 21);
  for (const wchar_t* s : {L"First", L"Second", L"Third"})
    combo->Items()->Add(s);
  combo->SetItemIndex(0);
  auto* memo = new fw::TMemo(this);
  place(memo, this, 364, 112, 130, 82);
  memo->SetScrollBars(fw::ssVertical);
  memo->SetText(L"A memo\r\nwith several\r\nlines of text\r\nand a vertical\r\nscroll bar.");
  auto* list = new fw::TListBox(this);
  place(list, this, 502, 112, 130, 82);
  for (int i = 1; i <= 12; ++i)
    list->Items()->Add(L"List item " + std::to_wstring(i));

  auto* pages = new fw::TPageControl(this);
  place(pages, this, 8, 202, 300, 150);
  auto* sheet1 = new fw::TTabSheet(this);
  sheet1->SetPageControl(pages);
  sheet1->SetCaption(L"List view");
  auto* sheet2 = new fw::TTabSheet(this);
  sheet2->SetPageControl(pages);
  sheet2->SetCaption(L"Tree view");
  auto* view = new fw::TListView(this);
  view->SetParent(sheet1);
  view->SetAlign(fw::alClient);
  view->SetViewStyle(fw::vsReport);
  view->Columns()->Add(L"Code", 80);
  view->Columns()->Add(L"E-mail", 160);
  view->AddItem(L"00000001", {L"ana@example.com"});
  view->AddItem(L"00000002", {L"bruno@example.com"});
  auto* tree = new fw::TTreeView(this);
  tree->SetParent(sheet2);
  tree->SetAlign(fw::alClient);
  HTREEITEM root = tree->AddNode(nullptr, L"Clients");
  tree->AddNode(root, L"Ana");
  tree->AddNode(root, L"Bruno");

  auto* tabs = new fw::TTabControl(this);
  place(tabs, this, 316, 202, 316, 60);
  tabs->Tabs()->SetText(L"First tab\r\nSecond tab\r\nThird tab");
  auto* track = new fw::TTrackBar(this);
  place(track, this, 316, 268, 200, 30);
  auto* spin_edit = new fw::TEdit(this);
  place(spin_edit, this, 524, 270, 60, 21);
  spin_edit->SetText(L"5");
  auto* spin = new fw::TUpDown(this);
  place(spin, this, 584, 270, 17, 21);
  spin->SetPosition(5);
  spin->SetAssociate(spin_edit);
  auto* progress = new fw::TProgressBar(this);
  place(progress, this, 316, 304, 316, 16);
  progress->SetPosition(60);
  auto* scroll = new fw::TScrollBar(this);
  place(scroll, this, 316, 328, 316, 17);

  auto* box = new fw::TScrollBox(this);
  place(box, this, 8, 360, 300, 70);
  auto* far_label = new fw::TLabel(this);
  place(far_label, box, 8, 100, 200, 13);
  far_label->SetCaption(L"Scrolled into a scroll box");
  auto* native = new fw::TPanel(this);
  place(native, this, 316, 352, 316, 40);
  native->SetCaption(L"Right-click here: a native popup (Tag 99)");
  auto* speed1 = new fw::TSpeedButton(this);
  place(speed1, this, 316, 400, 60, 25);
  speed1->SetCaption(L"Speed");
  speed1->SetGroupIndex(1);
  speed1->SetDown(true);
  auto* speed2 = new fw::TSpeedButton(this);
  place(speed2, this, 380, 400, 60, 25);
  speed2->SetCaption(L"Flat");
  speed2->SetFlat(true);
  speed2->SetGroupIndex(1);

  auto* list_combo = new fw::TComboBox(this);
  list_combo->SetStyle(fw::csDropDownList);
  place(list_combo, this, 452, 402, 180, 21);
  for (const wchar_t* s : {L"Drop-down list", L"Second", L"Third", L"Fourth", L"Fifth", L"Sixth",
                           L"Seventh", L"Eighth", L"Ninth", L"Tenth"})
    list_combo->Items()->Add(s);
  list_combo->SetItemIndex(0);

  // Right clicks open the popups (the panel's is the native one).
  OnContextPopup = [this](fw::TObject*, POINT at) { FormPopup->Popup(at.x, at.y); };
  native->OnContextPopup = [this](fw::TObject*, POINT at) { NativePopup->Popup(at.x, at.y); };
}

void TGalleryForm::ShowMessageBox() {
  MessageBoxW(Handle(), L"A message box of the system, skinned as a raw window.",
              L"A message box with a rather long caption", MB_OK | MB_ICONINFORMATION);
}

void TGalleryForm::ShowFileDialog() {
  fw::TOpenDialog dialog(nullptr);
  dialog.SetFilter(L"Skin packages (*.skn)|*.skn|All files (*.*)|*.*");
  dialog.SetTitle(L"Open a skin package");
  if (dialog.Execute()) UseSkin(dialog.FileName());
}

void TGalleryForm::ShowPlainDialog() {
  ShowRawDialog(Handle());
}

void TGalleryForm::UseSkin(const std::wstring& file_name) {
  // A new package through SkinFile: loaded, then every skinned window takes
  // it (a refresh request to the manager).
  const std::wstring path = file_name.empty() ? ProgramFolder() + L"\\default.skn" : file_name;
  SkinData1->SetSkinFile(path);
  StatusBar->Panels()->Items(1)->SetText(
      SkinData1->Data().NotLoaded ? L"Cannot load " + path
                                  : L"Skin: " + fw::Utf8ToWide(SkinData1->Data().SkinName));
}

void TGalleryForm::SetSkinning(bool on) {
  SkinData1->SetActive(on);
}

}  // namespace gallery
