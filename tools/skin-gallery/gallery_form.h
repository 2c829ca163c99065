// The skin gallery's window: a framework form with a main menu, popup menus
// and every kind of control the skin engine skins, and commands that open a
// message box, a file dialog and a plain dialog box, switch between the
// default and the test skin, and switch skinning off and on.
#pragma once

#include <string>

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/listviews.h"
#include "framework/menus.h"
#include "framework/panels.h"
#include "framework/scrolling.h"
#include "framework/stdctrls.h"
#include "framework/tabs.h"
#include "framework/toolbar.h"
#include "skin/data/win/skin_data_component.h"

namespace gallery {

class TGalleryForm : public fw::TForm {
  FW_CLASS_INFO(TGalleryForm)

 public:
  // `skin_file`: a package to start with instead of the embedded default
  // skin (empty: the default).
  TGalleryForm(fw::TComponent* owner, const std::wstring& skin_file);

  skin::win::TSkinData* SkinData1 = nullptr;
  fw::TPopupMenu* FormPopup = nullptr;
  fw::TPopupMenu* NativePopup = nullptr;  // Tag 99: never skinned
  fw::TStatusBar* StatusBar = nullptr;

  // The commands (menu items and buttons).
  void ShowMessageBox();
  void ShowFileDialog();
  void ShowPlainDialog();
  void UseSkin(const std::wstring& file_name);  // empty: the default skin
  void SetSkinning(bool on);

 private:
  void BuildMenus();
  void BuildControls();
  void LoadSkin(const std::wstring& skin_file);

  fw::TMenuItem* AddItem(fw::TMenuItem* parent, const std::wstring& caption,
                         fw::TNotifyEvent on_click = {});
};

}  // namespace gallery
