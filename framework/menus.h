// Menus: trees of TMenuItem under a TMainMenu (a form's menu bar) or a
// TPopupMenu. Owner-drawn items ask OnMeasureItem and OnDrawItem (with a
// canvas on the menu's DC); items carry an image index into the menu's
// image list.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/imglist.h"

namespace fw {

class TMenu;

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void SetParentComponent(TComponent* parent) override;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  int32_t ImageIndex() const { return image_index_; }
  void SetImageIndex(int32_t v);
  bool IsLine() const { return caption_ == L"-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  int MenuIndex() const;
  TMenuItem* Parent() const { return parent_; }
  // Adds an item (owned by its owner; the tree only links it).
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  // The menu that holds this tree; nullptr when none.
  TMenu* GetParentMenu() const;
  // The command identifier sent in WM_COMMAND for this item.
  UINT Command() const { return command_; }
  // The popup menu of this item's children (created with the menu).
  HMENU Handle() const { return handle_; }

  virtual void Click();
  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Owner-drawn items: called by the window that received the messages.
  void DoMeasureItem(MEASUREITEMSTRUCT& mis);
  void DoDrawItem(const DRAWITEMSTRUCT& dis);

 private:
  friend class TMenu;
  void Changed();
  void BuildInto(HMENU menu, bool owner_draw);
  void DestroyHandles();

  std::wstring caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  int32_t image_index_ = -1;
  UINT command_ = 0;
  HMENU handle_ = nullptr;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TMenuItem* Items() { return &items_; }
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TObject* ImagesObject() const { return images_; }
  void SetImagesObject(TObject* v) { SetImages(dynamic_cast<TImageList*>(v)); }

  // The menu handle, built from the items on first use.
  HMENU Handle();
  // Rebuilds the handle after the items changed.
  virtual void RebuildHandle();
  TMenuItem* FindItem(UINT command);
  // Runs the item's Click; false when no item has that command.
  bool DispatchCommand(UINT command);

 protected:
  virtual HMENU CreateMenuHandle() = 0;
  void Notification(TComponent* component, TOperation operation) override;
  void DestroyHandle();

  TMenuItem items_{nullptr};
  HMENU handle_ = nullptr;
  bool owner_draw_ = false;
  TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner);
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void RebuildHandle() override;
  // The window whose menu bar shows this menu (set by the form).
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND wnd) { window_ = wnd; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }

 private:
  HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  // Shows the menu at the screen point and runs the chosen item's Click.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

// Routes the owner-draw messages of menus (itemData is the TMenuItem); true
// when the message was a menu's.
bool HandleMenuDrawMessage(UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace fw
