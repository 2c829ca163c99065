// Owner-drawn menu items of skinned windows: framework menus through their
// events, native menus through WM_MEASUREITEM and WM_DRAWITEM.
#include <algorithm>
#include <cwchar>
#include <memory>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/win/skin_text.h"
#include "skin/window/menu_item_layout.h"
#include "skin/window/menu_item_painting.h"
#include "skin/window/popup_menu_window.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

bool Has(uint32_t set, TSkinControlType type) {
  return (set & SkinControlBit(type)) != 0;
}

// Identifiers the native procedure keeps for the entries it draws itself.
bool IsNativeCommand(UINT id) {
  return id >= 1 && id <= 4095;
}

bool HasImages(const fw::TMenuItem& item) {
  const fw::TMenu* menu = item.GetParentMenu();
  return menu != nullptr && menu->Images() != nullptr;
}

// Runs `fn` on every item below `root`, at any depth (not on `root` itself).
template <class Fn>
void ForEachItem(fw::TMenuItem* root, Fn fn) {
  for (int i = 0; i < root->Count(); ++i) {
    fw::TMenuItem* item = root->Items(i);
    fn(item);
    ForEachItem(item, fn);
  }
}

// Takes an item's OnMeasureItem away for the guard's life. The handler may
// be the very call that made the guard: its function object is swapped out
// and back in place, never destroyed.
class TMeasureHandlerAway {
 public:
  explicit TMeasureHandlerAway(fw::TMenuItem& item) : item_(item) {
    saved_.swap(item_.OnMeasureItem);
  }
  ~TMeasureHandlerAway() { saved_.swap(item_.OnMeasureItem); }
  TMeasureHandlerAway(const TMeasureHandlerAway&) = delete;
  TMeasureHandlerAway& operator=(const TMeasureHandlerAway&) = delete;

 private:
  fw::TMenuItem& item_;
  fw::TMenuMeasureItemEvent saved_;
};

// A canvas on a DC that is not its own, for the handlers' signature.
class TBorrowedCanvas {
 public:
  explicit TBorrowedCanvas(HDC dc) { canvas_.SetHandle(dc); }
  ~TBorrowedCanvas() { canvas_.SetHandle(nullptr); }
  TBorrowedCanvas(const TBorrowedCanvas&) = delete;
  TBorrowedCanvas& operator=(const TBorrowedCanvas&) = delete;
  fw::TCanvas* Get() { return &canvas_; }

 private:
  fw::TCanvas canvas_;
};

// The controller's handlers as the items' events: drawing from the skin, and
// measuring as a drop-down entry of the menu bar or of a popup menu. They
// reach the controller only while it lives (an item may keep its handler
// longer: a form whose window is made again gets a new controller), and tell
// which controller set them.
struct TDrawThunk {
  std::weak_ptr<TWinSkinForm*> Owner;
  void operator()(fw::TObject* s, fw::TCanvas* c, RECT r, bool selected) const {
    if (const auto form = Owner.lock()) (*form)->DrawMenuItem(s, c, r, selected);
  }
};
struct TMeasureThunk {
  std::weak_ptr<TWinSkinForm*> Owner;
  bool Popup = false;
  void operator()(fw::TObject* s, fw::TCanvas* c, int& w, int& h) const {
    const auto form = Owner.lock();
    if (!form) return;
    if (Popup) {
      (*form)->MeasurePopupItem(s, c, w, h);
    } else {
      (*form)->MeasureMenuItem(s, c, w, h);
    }
  }
};

fw::TMenuDrawItemEvent DrawHandler(const std::shared_ptr<TWinSkinForm*>& life) {
  return TDrawThunk{life};
}
fw::TMenuMeasureItemEvent MeasureHandler(const std::shared_ptr<TWinSkinForm*>& life, bool popup) {
  return TMeasureThunk{life, popup};
}

// Whether a handler is a controller's (a live one or one that is gone).
bool IsControllerHandler(const fw::TMenuDrawItemEvent& handler) {
  return handler.target<TDrawThunk>() != nullptr;
}

void MarkPopupsFromMenuBar() {
  if (TSkinManage* manager = TSkinManage::Instance()) manager->MarkPopupsFromMenuBar();
}

// The popup skinner waiting for its menu learns it from the first entry drawn.
void TellPendingPopup(HMENU menu) {
  if (PendingPopup() == nullptr || menu == nullptr) return;
  PendingPopup()->Menu = menu;
  PendingPopup() = nullptr;
}

}  // namespace

// --- Owner-draw handlers on framework menus ---------------------------------------------

void TWinSkinForm::SetMenuItemHooks(fw::TMenuItem* item, bool on) {
  auto hook = [this, on](fw::TMenuItem* it) {
    if (on) {
      it->OnDrawItem = DrawHandler(life_);
      it->OnMeasureItem = MeasureHandler(life_, false);
    } else {
      it->OnDrawItem = nullptr;
    }
  };
  hook(item);
  ForEachItem(item, hook);
}

void TWinSkinForm::SetPopupMenusOwnerDraw(fw::TForm* form, bool on) {
  if (form == nullptr || form->ClassName() == "TwwRichEditForm") return;
  const skin::TSkinData& data = Data();
  if (!Has(data.SkinControls, xcPopupMenu)) return;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* popup = dynamic_cast<fw::TPopupMenu*>(form->Components(i));
    // A popup menu tagged with the exemption tag keeps its native look.
    if (popup == nullptr || popup->Tag() % 100 == data.DisableTag) continue;
    popup->SetOwnerDraw(on);
    ForEachItem(popup->Items(), [this, on](fw::TMenuItem* item) {
      if (on) {
        item->OnDrawItem = DrawHandler(life_);
        item->OnMeasureItem = MeasureHandler(life_, true);
      } else {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
      }
    });
  }
}

void TWinSkinForm::SetMainMenusOwnerDraw(fw::TForm* form, bool on) {
  if (form == nullptr) return;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<fw::TMainMenu*>(form->Components(i));
    if (menu == nullptr) continue;
    menu->SetOwnerDraw(on);
    fw::TMenuItem* root = menu->Items();
    for (int j = 0; j < root->Count(); ++j) {
      fw::TMenuItem* top = root->Items(j);
      if (!on) {
        top->OnDrawItem = nullptr;
        top->OnMeasureItem = nullptr;
      }
      // The menu bar's own items stay as they are; the drop-downs' items
      // are drawn from the skin unless they draw themselves (a handler an
      // earlier controller of the form left is not the item's own).
      ForEachItem(top, [this, on](fw::TMenuItem* item) {
        if (!on) {
          item->OnDrawItem = nullptr;
          item->OnMeasureItem = nullptr;
        } else if (!item->OnDrawItem || IsControllerHandler(item->OnDrawItem)) {
          item->OnDrawItem = DrawHandler(life_);
          item->OnMeasureItem = MeasureHandler(life_, false);
        }
      });
    }
  }
}

TWinSkinForm* MenuHandlerOwner(const fw::TMenuDrawItemEvent& handler) {
  const auto* thunk = handler.target<TDrawThunk>();
  const auto form = thunk != nullptr ? thunk->Owner.lock() : nullptr;
  return form ? *form : nullptr;
}

TWinSkinForm* MenuHandlerOwner(const fw::TMenuMeasureItemEvent& handler) {
  const auto* thunk = handler.target<TMeasureThunk>();
  const auto form = thunk != nullptr ? thunk->Owner.lock() : nullptr;
  return form ? *form : nullptr;
}

void TWinSkinForm::ReleaseMenuHandlers() {
  if (Form == nullptr) return;
  // Every item of the form's menus, the top level included, loses the
  // handlers that lead to this controller (or to one that is gone).
  auto release = [this](fw::TMenuItem* item) {
    if (const auto* draw = item->OnDrawItem.target<TDrawThunk>()) {
      const auto owner = draw->Owner.lock();
      if (!owner || *owner == this) item->OnDrawItem = nullptr;
    }
    if (const auto* measure = item->OnMeasureItem.target<TMeasureThunk>()) {
      const auto owner = measure->Owner.lock();
      if (!owner || *owner == this) item->OnMeasureItem = nullptr;
    }
  };
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* menu = dynamic_cast<fw::TMenu*>(Form->Components(i))) {
      ForEachItem(menu->Items(), release);
    }
  }
}

void TWinSkinForm::MeasureMenuItem(fw::TObject* sender, fw::TCanvas* /*canvas*/, int& width,
                                   int& height) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (item == nullptr) return;
  // The item's own measure, without this handler.
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_MENU;
  mis.itemID = item->Command();
  mis.itemData = reinterpret_cast<ULONG_PTR>(item);
  {
    TMeasureHandlerAway away(*item);
    item->DoMeasureItem(mis);
  }
  const int margin = Data().MenuItem ? Data().MenuItem->Margins.Left : 0;
  width = static_cast<int>(mis.itemWidth) + skin::MenuBarItemExtraWidth(margin, HasImages(*item));
  height = static_cast<int>(mis.itemHeight);
}

void TWinSkinForm::MeasurePopupItem(fw::TObject* sender, fw::TCanvas* /*canvas*/, int& width,
                                    int& /*height*/) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (item == nullptr) return;
  const int margin = Data().MenuItem ? Data().MenuItem->Margins.Left : 0;
  width += skin::PopupItemExtraWidth(margin, HasImages(*item));
}

void TWinSkinForm::DrawMenuItem(fw::TObject* sender, fw::TCanvas* canvas, RECT rect,
                                bool selected) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (item == nullptr || canvas == nullptr) return;
  MarkPopupsFromMenuBar();
  TMenuItemPainter painter(Data());
  const TMenuEntry entry =
      EntryOfItem(*item, Form != nullptr ? Form->Menu() : nullptr, RightToLeft);
  if (!Data().MenuItem) {
    painter.DrawPlain(entry, canvas->Handle(), rect, selected);
    return;
  }
  HMENU menu = item->Parent() != nullptr ? item->Parent()->Handle() : nullptr;
  TellPendingPopup(menu);
  painter.DrawSkinned(entry, menu, canvas->Handle(), rect, selected, /*line_image=*/true);
}

// --- WM_MEASUREITEM and WM_DRAWITEM ------------------------------------------------------

bool TWinSkinForm::MeasureItem(fw::TMessage& m) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (mis->CtlType != ODT_MENU || MainMenuHandle == nullptr) return false;
  if (Form != nullptr) {
    MarkPopupsFromMenuBar();
    fw::TMenuItem* item = Form->Menu() != nullptr ? Form->Menu()->FindItem(mis->itemID) : nullptr;
    if (item != nullptr) {
      fw::TWindowDC dc(Handle);
      TBorrowedCanvas canvas(dc.Get());
      int width = static_cast<int>(mis->itemWidth);
      int height = static_cast<int>(mis->itemHeight);
      MeasureMenuItem(item, canvas.Get(), width, height);
      mis->itemWidth = static_cast<UINT>(std::max(width, 0));
      mis->itemHeight = static_cast<UINT>(std::max(height, 0));
      m.Result = TRUE;
      return true;
    }
    // Entries of the native procedure, and framework items of other menus
    // (they measure themselves), are not ours.
    if (IsNativeCommand(mis->itemID) || fw::IsMenuItem(mis->itemData)) return false;
  }
  // A native entry, measured by its text in the menu font.
  wchar_t text[81] = {};
  GetMenuStringW(OpenSubmenu, mis->itemID, text, 80, MF_BYCOMMAND);
  SIZE extent{};
  {
    fw::TWindowDC dc(Handle);
    fw::TGdiHandle<HFONT> font = CreateMenuFont(false);
    fw::TSelectObject selected(dc.Get(), font.get());
    GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &extent);
  }
  const int margin = Data().MenuItem ? Data().MenuItem->Margins.Left : 0;
  const skin::TTextEntrySize size = skin::MeasureTextEntry(
      extent.cx, text[0] == 0, margin, static_cast<int>(mis->itemHeight), WinVersion() < 0);
  mis->itemWidth = static_cast<UINT>(size.Width);
  mis->itemHeight = static_cast<UINT>(size.Height);
  m.Result = TRUE;
  return true;
}

bool TWinSkinForm::DrawItem(fw::TMessage& m) {
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (dis->CtlType != ODT_MENU || MainMenuHandle == nullptr) return false;
  // Windows NT 4.0 draws the entries of an MDI frame's menus itself.
  const bool nt4 = IsWinNT() && (WinVersion() & 0xFF) == 4;
  if (MDIKind == mkFrame && nt4) return false;
  auto* menu = reinterpret_cast<HMENU>(dis->hwndItem);
  TellPendingPopup(menu);
  MarkPopupsFromMenuBar();
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  bool own_arrow = false;
  {
    fw::TSavedDC saved(dis->hDC);
    fw::TMenuItem* item =
        Form != nullptr && Form->Menu() != nullptr ? Form->Menu()->FindItem(dis->itemID) : nullptr;
    if (item != nullptr) {
      TBorrowedCanvas canvas(dis->hDC);
      DrawMenuItem(item, canvas.Get(), dis->rcItem, selected);
      own_arrow = EntryOfItem(*item, Form->Menu(), RightToLeft).OwnArrow();
    } else {
      if (Form != nullptr && (IsNativeCommand(dis->itemID) || fw::IsMenuItem(dis->itemData))) {
        return false;
      }
      // A native entry: what it shows is read from its menu (a popup
      // skinner may hold its right-to-left mark while it shows).
      TSkinManage* manager = TSkinManage::Instance();
      const bool rtl = RightToLeft || (manager != nullptr && manager->PopupTookRightOrder(menu));
      TMenuItemPainter painter(Data());
      const TMenuEntry entry = EntryOfHandle(menu, dis->itemID, rtl);
      if (Data().MenuItem) {
        painter.DrawSkinned(entry, menu, dis->hDC, dis->rcItem, selected, /*line_image=*/false);
      } else {
        painter.DrawPlain(entry, dis->hDC, dis->rcItem, selected);
      }
      own_arrow = entry.OwnArrow();
    }
  }
  // The system draws a sub-menu's arrow after this message, on the same DC
  // and on the side it reads from the entry; a right-to-left entry has the
  // skin's arrow on its left already, so the entry is kept from it.
  if (own_arrow) {
    ExcludeClipRect(dis->hDC, dis->rcItem.left, dis->rcItem.top, dis->rcItem.right,
                    dis->rcItem.bottom);
  }
  m.Result = TRUE;
  return true;
}

}  // namespace skin::win
