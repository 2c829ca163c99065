// The skin gallery's MDI mode: a frame whose children are created,
// maximized, restored, minimized, tiled, cascaded and closed from its menu,
// each child with a menu of its own that is merged into the frame's while
// the child is active.
//
//   auto* frame = new TGalleryMDIForm(&application, skin_file);
//   application.SetMainForm(frame);   // children live in the main MDI form
//   frame->Show();
//   frame->NewChild(); frame->NewChild(); frame->NewChild(); frame->Cascade();
#pragma once

#include <string>

#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/data/win/skin_data_component.h"

namespace gallery {

class TGalleryMDIForm : public fw::TForm {
  FW_CLASS_INFO(TGalleryMDIForm)

 public:
  // `skin_file`: a package to start with instead of the embedded default
  // skin (empty: the default).
  TGalleryMDIForm(fw::TComponent* owner, const std::wstring& skin_file);

  // A new child, "Document N", shown and active.
  fw::TForm* NewChild();

  skin::win::TSkinData* SkinData1 = nullptr;
  fw::TStatusBar* StatusBar = nullptr;

 private:
  void BuildMenus();
  fw::TMenuItem* AddItem(fw::TMenuItem* parent, const std::wstring& caption, int group,
                         fw::TNotifyEvent on_click = {});
  // Runs `command` on the active child, if there is one.
  void WithActiveChild(void (*command)(fw::TForm&));

  int children_made_ = 0;
};

}  // namespace gallery
