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

// A keyboard shortcut: the virtual key in the low byte, scShift, scCtrl and
// scAlt above it (0: none).
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
// "Ctrl+S", "Shift+F5", "Alt+Enter" ...; empty for 0.
std::wstring ShortCutToText(TShortCut shortcut);

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
  FW_CLASS_INFO(TMenuItem)

 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
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
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut v);
  // Checked items of a group show a radio mark (items of one GroupIndex).
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool v);
  int32_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(int32_t v);
  bool IsLine() const { return caption_ == L"-"; }
  // The text the menu shows: the caption, a tab and the shortcut's text.
  std::wstring MenuText() const;

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
  // The menu of this item's children: the popup menu of an item with
  // children, the whole menu's handle for the root item (Items of a menu);
  // nullptr for an item without children or before the menu was built.
  HMENU Handle();

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
  TShortCut shortcut_ = 0;
  bool radio_item_ = false;
  int32_t group_index_ = 0;
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
  FW_CLASS_INFO(TMenu)

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
  FW_CLASS_INFO(TMainMenu)
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
  FW_CLASS_INFO(TPopupMenu)
  // Shows the menu at the screen point and runs the chosen item's Click.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
};

// Whether a menu item's data value is one of our items (every item built
// by a TMenu carries its TMenuItem as item data).
bool IsMenuItem(ULONG_PTR item_data);

// Routes the owner-draw messages of menus (itemData is the TMenuItem); true
// when the message was a menu's.
bool HandleMenuDrawMessage(UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace fw
