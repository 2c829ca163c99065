#include "tools/skin-gallery/gallery_mdi.h"

#include "framework/std_buttons.h"
#include "framework/stdctrls.h"
#include "tools/skin-gallery/gallery_skin.h"

namespace gallery {

namespace {

// Menu groups: the frame's "File" (0) is kept, a child's "Edit" (1) and
// "Document" (2) come after it, the frame's "Window" (8) and "Skin" (9) last.
constexpr int kFileGroup = 0;
constexpr int kEditGroup = 1;
constexpr int kDocumentGroup = 2;
constexpr int kWindowGroup = 8;
constexpr int kSkinGroup = 9;

fw::TMenuItem* AddMenuItem(fw::TComponent* owner, fw::TMenuItem* parent,
                           const std::wstring& caption, int group, fw::TNotifyEvent on_click) {
  auto* item = new fw::TMenuItem(owner);
  item->SetCaption(caption);
  item->SetGroupIndex(group);
  item->OnClick = std::move(on_click);
  parent->Add(item);
  return item;
}

// A child: a few controls and a menu of its own.
class TGalleryChild : public fw::TForm {
 public:
  TGalleryChild(fw::TComponent* owner, int number) : fw::TForm(owner) {
    SetName("Document" + std::to_string(number));
    SetFormStyle(fw::fsMDIChild);
    SetCaption(L"Document " + std::to_wstring(number));
    SetPosition(fw::poDefault);
    SetClientWidth(260);
    SetClientHeight(140);

    auto* label = new fw::TLabel(this);
    label->SetParent(this);
    label->SetBounds(8, 10, 240, 13);
    label->SetCaption(L"Child window " + std::to_wstring(number));
    auto* edit = new fw::TEdit(this);
    edit->SetParent(this);
    edit->SetBounds(8, 30, 240, 21);
    edit->SetText(L"Text of document " + std::to_wstring(number));
    auto* check = new fw::TCheckBox(this);
    check->SetParent(this);
    check->SetBounds(8, 60, 160, 17);
    check->SetCaption(L"A check box");
    check->SetChecked(number % 2 == 1);
    auto* button = new fw::TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 88, 100, 25);
    button->SetCaption(L"&Close");
    button->OnClick = [this](fw::TObject*) { Close(); };

    auto* menu = new fw::TMainMenu(this);
    fw::TMenuItem* edit_menu = AddMenuItem(this, menu->Items(), L"&Edit", kEditGroup, {});
    AddMenuItem(this, edit_menu, L"&Copy", 0, {})->SetShortCut(fw::scCtrl | 'C');
    AddMenuItem(this, edit_menu, L"&Paste", 0, {})->SetShortCut(fw::scCtrl | 'V');
    fw::TMenuItem* document = AddMenuItem(
        this, menu->Items(), L"&Document " + std::to_wstring(number), kDocumentGroup, {});
    AddMenuItem(this, document, L"Ma&ximize", 0,
                [this](fw::TObject*) { SetWindowState(fw::wsMaximized); });
    AddMenuItem(this, document, L"&Restore", 0,
                [this](fw::TObject*) { SetWindowState(fw::wsNormal); });
    AddMenuItem(this, document, L"Mi&nimize", 0,
                [this](fw::TObject*) { SetWindowState(fw::wsMinimized); });
    AddMenuItem(this, document, L"-", 0, {});
    AddMenuItem(this, document, L"&Close", 0, [this](fw::TObject*) {
      Close();
    })->SetShortCut(fw::scCtrl | VK_F4);
    SetMenu(menu);
  }
};

}  // namespace

const fw::TClassInfo& TGalleryMDIForm::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TGalleryMDIForm>("TGalleryMDIForm", fw::TForm::StaticClassInfo()).Build();
  return info;
}

TGalleryMDIForm::TGalleryMDIForm(fw::TComponent* owner, const std::wstring& skin_file)
    : fw::TForm(owner) {
  SetName("GalleryMDI");
  SetCaption(L"Skin Gallery - MDI");
  SetFormStyle(fw::fsMDIForm);
  SetPosition(fw::poScreenCenter);
  SetClientWidth(640);
  SetClientHeight(470);
  SkinData1 = CreateGallerySkin(this, skin_file);
  StatusBar = new fw::TStatusBar(this);
  StatusBar->SetParent(this);
  StatusBar->SetAlign(fw::alBottom);
  StatusBar->Panels()->Add()->SetText(L"Skin Gallery - MDI");
  BuildMenus();
}

fw::TMenuItem* TGalleryMDIForm::AddItem(fw::TMenuItem* parent, const std::wstring& caption,
                                        int group, fw::TNotifyEvent on_click) {
  return AddMenuItem(this, parent, caption, group, std::move(on_click));
}

void TGalleryMDIForm::WithActiveChild(void (*command)(fw::TForm&)) {
  if (fw::TForm* child = ActiveMDIChild()) command(*child);
}

void TGalleryMDIForm::BuildMenus() {
  auto* menu = new fw::TMainMenu(this);
  fw::TMenuItem* root = menu->Items();
  fw::TMenuItem* file = AddItem(root, L"&File", kFileGroup);
  AddItem(file, L"&New child", 0, [this](fw::TObject*) {
    NewChild();
  })->SetShortCut(fw::scCtrl | 'N');
  AddItem(file, L"-", 0);
  AddItem(file, L"E&xit", 0, [this](fw::TObject*) { Close(); });
  fw::TMenuItem* window = AddItem(root, L"&Window", kWindowGroup);
  AddItem(window, L"&Tile", 0, [this](fw::TObject*) { Tile(); });
  AddItem(window, L"&Cascade", 0, [this](fw::TObject*) { Cascade(); });
  AddItem(window, L"&Arrange icons", 0, [this](fw::TObject*) { ArrangeIcons(); });
  AddItem(window, L"-", 0);
  AddItem(window, L"&Next", 0, [this](fw::TObject*) { Next(); })->SetShortCut(fw::scCtrl | VK_F6);
  AddItem(window, L"&Previous", 0, [this](fw::TObject*) { Previous(); });
  AddItem(window, L"-", 0);
  AddItem(window, L"Ma&ximize the active child", 0, [this](fw::TObject*) {
    WithActiveChild([](fw::TForm& c) { c.SetWindowState(fw::wsMaximized); });
  });
  AddItem(window, L"&Restore the active child", 0, [this](fw::TObject*) {
    WithActiveChild([](fw::TForm& c) { c.SetWindowState(fw::wsNormal); });
  });
  AddItem(window, L"Mi&nimize the active child", 0, [this](fw::TObject*) {
    WithActiveChild([](fw::TForm& c) { c.SetWindowState(fw::wsMinimized); });
  });
  AddItem(window, L"C&lose the active child", 0,
          [this](fw::TObject*) { WithActiveChild([](fw::TForm& c) { c.Close(); }); });
  fw::TMenuItem* skin = AddItem(root, L"&Skin", kSkinGroup);
  AddItem(skin, L"&Default skin", 0,
          [this](fw::TObject*) { SkinData1->SetSkinFile(ProgramFolder() + L"\\default.skn"); });
  AddItem(skin, L"&Test skin", 0,
          [this](fw::TObject*) { SkinData1->SetSkinFile(ProgramFolder() + L"\\test.skn"); });
  AddItem(skin, L"-", 0);
  AddItem(skin, L"Skinning &off", 0, [this](fw::TObject*) { SkinData1->SetActive(false); });
  AddItem(skin, L"Skinning o&n", 0, [this](fw::TObject*) { SkinData1->SetActive(true); });
  SetMenu(menu);
  SetWindowMenu(window);
}

fw::TForm* TGalleryMDIForm::NewChild() {
  auto* child = new TGalleryChild(Owner() != nullptr ? Owner() : this, ++children_made_);
  child->Show();
  return child;
}

}  // namespace gallery
