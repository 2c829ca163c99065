// Title-bar buttons (their mouse states, layout, drawing and actions) and the
// skinned system menu.
#include <windowsx.h>

#include <algorithm>

#include "framework/dc.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "skin/window/menu_bar.h"
#include "skin/window/skin_surface.h"
#include "skin/window/title_button_rules.h"
#include "skin/window/win_skin_form.h"

namespace skin::win {

namespace {

// The skinned system menu's tag, and its items' tags (an item's tag is also
// the index of its glyph in the skin data's MenuImages: restore, maximize,
// minimize, close).
constexpr int32_t kSystemMenuTag = 33333;
constexpr int32_t kRestoreItem = 0;
constexpr int32_t kMaximizeItem = 1;
constexpr int32_t kMinimizeItem = 2;
constexpr int32_t kCloseItem = 3;
constexpr int32_t kLineItem = 100;

// A scaled copy of an icon, destroyed with its owner.
class TIconCopy {
 public:
  TIconCopy(HICON icon, int size)
      : copy_(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE))) {}
  ~TIconCopy() {
    if (copy_ != nullptr) DestroyIcon(copy_);
  }
  TIconCopy(const TIconCopy&) = delete;
  TIconCopy& operator=(const TIconCopy&) = delete;
  HICON get() const { return copy_; }

 private:
  HICON copy_;
};

// Draws `icon` at `size` x `size` (a scaled copy when the system can make one).
void DrawIconScaled(HDC dc, int x, int y, HICON icon, int size) {
  TIconCopy copy(icon, size);
  DrawIconEx(dc, x, y, copy.get() != nullptr ? copy.get() : icon, size, size, 0, nullptr,
             DI_NORMAL);
}

// A copy with storage of its own (it outlives the framework bitmap).
skin::TBitmap OwnedCopy(fw::TBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  skin::TBitmap copy(bitmap.Width(), bitmap.Height(), skin::PixelFormat::k32Bit);
  const skin::TRect all{0, 0, bitmap.Width(), bitmap.Height()};
  skin::StretchCopy(copy, all, ViewOf(bitmap), all);
  return copy;
}

// Paints frame `frame` of a button's image stretched over `rect` of `dc`;
// magenta pixels leave what `dc` shows.
void PaintButtonFrame(HDC dc, const RECT& rect, const TDataSkinSysButton& element, int frame) {
  PaintPixels(dc, rect, [&](skin::TPixels& surface, const skin::TRect& target) {
    skin::DrawSkinFrameStretched(surface, target, element.Bitmap, /*transparent=*/true,
                                 element.FrameCount, frame);
  });
}

bool Has(uint32_t set, TSkinControlType type) {
  return (set & SkinControlBit(type)) != 0;
}

// Mouse messages look at the title buttons first, then at the items of the
// menu band (the menu bar skinner's).
TNCObject* MenuBandItemAt(const TWinSkinForm& form, POINT p) {
  return form.MenuBarSkinner != nullptr ? form.MenuBarSkinner->HitTest(p) : nullptr;
}

// The title button or menu-band item under `p` (window coordinates).
TNCObject* NCObjectAt(TWinSkinForm& form, POINT p) {
  if (TNCObject* button = form.HitTestButtons(p)) return button;
  return MenuBandItemAt(form, p);
}

POINT MessagePoint(const TWinSkinForm& form, const fw::TMessage& m) {
  return form.ToWindowPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

}  // namespace

// --- The mouse states of a non-client object -------------------------------------------
// At most one object is hot or pressed at a time: the controller's HotObject.

void TNCObject::MouseDown() {
  if (Form.HotObject != nullptr && Form.HotObject != this) Form.HotObject->MouseLeave();
  if (!Visible) return;
  Form.HotObject = this;
  MouseState = 2;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  MouseState = 3;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form.HotObject == this) return;
  if (Form.HotObject != nullptr) Form.HotObject->MouseLeave();
  if (!Visible) return;
  Form.HotObject = this;
  MouseState = 3;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form.HotObject = nullptr;
  MouseState = 1;
  Paint();
}

void TWinSysButton::Paint() {
  Form.DrawSysButton(*this, MouseState);
}

// --- Buttons of the skin ---------------------------------------------------------------

void TWinSkinForm::CreateSysButtons() {
  FreeSysButtons();
  skin::TSkinData& data = Data();
  SysButtonCount = static_cast<int32_t>(data.SysButtons.size());
  for (const auto& element : data.SysButtons) {
    if (ShowsWindowIcon(element->Action)) {
      // The icon button takes the window icon's size; the first window
      // skinned also gives the skin its fallback icon.
      if (element->Bitmap.Empty()) element->Bitmap = OwnedCopy(IconBitmap);
      if (data.DefaultIcon.Empty()) data.DefaultIcon = OwnedCopy(IconBitmap);
      element->FrameCount = 1;
    }
    TitleButtons.push_back(std::make_unique<TWinSysButton>(*this, element.get()));
  }
}

void TWinSkinForm::FreeSysButtons() {
  HotObject = nullptr;
  TitleButtons.clear();
  SysButtonCount = 0;
}

void TWinSkinForm::LoadIcon() {
  Icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_SMALL, 0));
  if (Icon == nullptr)
    Icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_BIG, 0));
  // A window that was never given an icon shows its class's, as the native
  // caption does.
  if (Icon == nullptr) Icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICONSM));
  if (Icon == nullptr) Icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICON));
  if (Icon != nullptr) {
    // Magenta where the icon is transparent, as in every skin image.
    IconBitmap.SetSize(IconSize, IconSize);
    fw::TCanvas* canvas = IconBitmap.Canvas();
    canvas->Brush()->SetColor(skin::kSkinTransparent);
    canvas->FillRect(RECT{0, 0, IconSize, IconSize});
    DrawIconScaled(canvas->Handle(), 0, 0, Icon, IconSize);
    GdiFlush();
    return;
  }
  // No icon: the default icon of this skin, or else that of the last main
  // skin data that has one.
  const skin::TBitmap* fallback = &Data().DefaultIcon;
  if (fallback->Empty()) {
    if (TSkinManage* manager = TSkinManage::Instance()) {
      for (const skin::TSkinData* data : manager->SkinDatas()) {
        if (data->SkinFormtype == sfMainform && !data->DefaultIcon.Empty()) {
          fallback = &data->DefaultIcon;
        }
      }
    }
  }
  IconBitmap.SetSize(fallback->Width(), fallback->Height());
  if (!IconBitmap.Empty()) DrawSkinBitmap(IconBitmap.Canvas()->Handle(), 0, 0, *fallback);
  GdiFlush();
}

void TWinSkinForm::DrawIcon(HDC dc, int x, int y) {
  if (Icon != nullptr) {
    DrawIconScaled(dc, x, y, Icon, IconSize);
    return;
  }
  // A window without an icon shows the default icon it was given.
  if (IconBitmap.Empty()) return;
  skin::TBitmapView icon = ViewOf(IconBitmap);
  PaintPixels(dc, RECT{x, y, x + IconBitmap.Width(), y + IconBitmap.Height()},
              [&](skin::TPixels& surface, const skin::TRect& target) {
                skin::DrawTransparentBitmap(surface, target, icon, skin::kSkinTransparent);
              });
}

bool TWinSkinForm::IsButtonVisible(size_t index) {
  if (index >= TitleButtons.size()) return false;
  TWinSysButton& button = *TitleButtons[index];
  TTitleButtonWindow window;
  window.SysMenu = (BorderIcons & biSysMenu) != 0;
  window.MaxBox = (BorderIcons & biMaxBox) != 0;
  window.MinBox = (BorderIcons & biMinBox) != 0;
  window.Maximized = WindowState == wsMaximized;
  window.Active = Active;
  window.Dialog = FrameKind == fkDialog;
  window.DialogClass = IsDialogClass;
  window.MDIMaximized = ActiveChildMaximized();
  window.MenuBarHeight = MenuBarHeight;
  button.Visible = button.Element != nullptr && TitleButtonVisible(*button.Element, window);
  return button.Visible;
}

void TWinSkinForm::LayoutSysButtons() {
  TTitleButtonPlace place;
  place.WindowWidth = WindowWidth;
  place.CaptionText = ToSkinRect(CaptionTextRect);
  place.BorderLeft = BorderLeft;
  place.BorderTop = BorderTop;
  place.BorderRight = BorderRight;
  place.MenuBarHeight = MenuBarHeight;
  place.RightToLeft = RightToLeft;
  place.MenuBarLeftMargin = Data().MenuBar ? Data().MenuBar->Margins.Left : 0;
  int32_t right_buttons_left = 0;
  for (size_t i = 0; i < TitleButtons.size(); ++i) {
    if (!IsButtonVisible(i)) continue;
    TWinSysButton& button = *TitleButtons[i];
    if (button.Element->Bitmap.Empty()) continue;
    button.Rect = ToRECT(TitleButtonRect(*button.Element, place));
    if (button.Element->Align == 1) {
      right_buttons_left = std::max<int32_t>(right_buttons_left, button.Rect.left);
    }
  }
  if (right_buttons_left > 0) RightButtonsLeft = right_buttons_left;
}

void TWinSkinForm::DrawSysButtons(fw::TCanvas& canvas) {
  for (const auto& button : TitleButtons) {
    const TDataSkinSysButton& element = *button->Element;
    // The MDI child buttons are drawn with the menu band.
    if (!button->Visible || element.Bitmap.Empty() || element.Visibility == 100) continue;
    if (ShowsWindowIcon(element.Action)) {
      DrawIcon(canvas.Handle(), button->Rect.left, button->Rect.top);
    } else {
      PaintButtonFrame(canvas.Handle(), button->Rect, element,
                       CaptionButtonFrame(Active, element.FrameCount));
    }
  }
}

void TWinSkinForm::DrawSysButton(TWinSysButton& button, int32_t state) {
  const TDataSkinSysButton& element = *button.Element;
  if (element.Bitmap.Empty()) return;
  // Straight on the window, over the button's previous state.
  fw::TWindowDC dc(Handle);
  if (ShowsWindowIcon(element.Action)) {
    DrawIcon(dc.Get(), button.Rect.left, button.Rect.top);
  } else {
    PaintButtonFrame(dc.Get(), button.Rect, element, MouseStateFrame(element, state));
  }
}

TNCObject* TWinSkinForm::HitTestButtons(POINT p) {
  for (const auto& button : TitleButtons) {
    if (button->Visible && button->Element->Action >= 0 && PtInRect(&button->Rect, p)) {
      return button.get();
    }
  }
  return nullptr;
}

// --- Non-client mouse messages ---------------------------------------------------------

bool TWinSkinForm::NCMouseMove(fw::TMessage& m) {
  m.Result = 0;
  // An inactive window's buttons do not light up (nor does Windows see the move).
  if (!Active) return true;
  if (TNCObject* hit = NCObjectAt(*this, MessagePoint(*this, m))) {
    hit->MouseEnter();
    return true;
  }
  if (HotObject != nullptr) HotObject->MouseLeave();
  return false;
}

bool TWinSkinForm::NCLButtonDown(fw::TMessage& m) {
  if (TNCObject* hit = NCObjectAt(*this, MessagePoint(*this, m))) {
    if (!Active) SetForegroundWindow(Handle);
    hit->MouseDown();
    // A menu-band item opens its drop-down on the press.
    if (auto* item = dynamic_cast<TMenuBtn*>(hit); item != nullptr && MenuBarSkinner != nullptr) {
      MenuBarSkinner->OpenMenu(*item);
    }
    m.Result = 0;
    return true;
  }
  // A maximized window cannot be dragged by its caption.
  if (WindowState == wsMaximized && Active && m.WParam == HTCAPTION) m.WParam = HTMENU;
  return false;
}

bool TWinSkinForm::NCLButtonUp(fw::TMessage& m) {
  TNCObject* hit = NCObjectAt(*this, MessagePoint(*this, m));
  if (hit == nullptr) return false;
  m.Result = 0;
  // A click is a press and a release on the same button; menu-band items
  // opened their drop-down on the press.
  if (auto* button = dynamic_cast<TWinSysButton*>(hit); button != nullptr && HotObject == button) {
    button->MouseUp();
    ButtonClick(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  }
  return true;
}

bool TWinSkinForm::NCLButtonDblClk(fw::TMessage& m) {
  if (WindowState != wsNormal) {
    Restore();
  } else if ((BorderIcons & biMaxBox) != 0) {
    ToggleMaximize();
  }
  m.Result = 0;
  return true;
}

bool TWinSkinForm::NCRButtonDown(fw::TMessage& m) {
  if (m.WParam != HTCAPTION || MDIKind == mkChild) return false;
  ShowSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  m.Result = 0;
  return true;
}

void TWinSkinForm::HoverCheck() {
  // A drop-down of the menu band is open: its loop owns the mouse.
  if (MenuLoopActive) return;
  if (HotObject != nullptr) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT p = ToWindowPoint(cursor.x, cursor.y);
    if (!PtInRect(&HotObject->Rect, p)) HotObject->MouseLeave();
  }
  // A raw window's buttons hear of no mouse leaving: the hot one is reset
  // once the cursor is off it.
  if (Form == nullptr && HotButton != nullptr && HotButton->Handle != nullptr) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT r;
    if (GetWindowRect(HotButton->Handle, &r) && !PtInRect(&r, cursor)) ResetHotButton();
  }
}

// --- Actions ---------------------------------------------------------------------------

void TWinSkinForm::ButtonClick(int x, int y) {
  auto* button = dynamic_cast<TWinSysButton*>(HotObject);
  if (button == nullptr || button->Element == nullptr) return;
  const int32_t action = button->Element->Action;
  switch (TitleActionOf(action)) {
    case TTitleAction::kClose:
      if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
      PostMessageW(Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case TTitleAction::kMaximize:
      ToggleMaximize();
      break;
    case TTitleAction::kMinimize:
      ToggleMinimize();
      break;
    case TTitleAction::kSystemMenu:
      ShowSystemMenu(x + 1, y + 1);
      break;
    case TTitleAction::kMDIMinimize:
      MDIChildCommand(SC_MINIMIZE);
      break;
    case TTitleAction::kMDIRestore:
      MDIChildCommand(SC_RESTORE);
      break;
    case TTitleAction::kMDIClose:
      MDIChildCommand(SC_CLOSE);
      break;
    case TTitleAction::kUser:
      PostMessageW(Handle, WM_SKINBUTTONACTION, static_cast<WPARAM>(action), 0);
      break;
    case TTitleAction::kDecoration:
      break;
  }
}

void TWinSkinForm::ToggleMaximize() {
  if (WindowState == wsMaximized) {
    Restore();
    return;
  }
  if (MDIKind == mkChild) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMDIMaximized(true);
  }
  WindowState = wsMaximized;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  HotObject = nullptr;
}

void TWinSkinForm::Restore() {
  WindowState = wsNormal;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMinimize() {
  if (WindowState == wsMinimized) {
    Restore();
    return;
  }
  WindowState = wsMinimized;
  PostMessageW(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MDIChildCommand(UINT command) {
  if (MDIKind != mkFrame || MDIClient == nullptr) return;
  const auto child = reinterpret_cast<HWND>(SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, 0));
  if (child == nullptr) return;
  SendMessageW(child, WM_SYSCOMMAND, command, 0);
  TSkinManage* manager = TSkinManage::Instance();
  if (manager != nullptr && manager->MDIMaximized() && !ActiveChildMaximized()) {
    manager->SetMDIMaximized(false);
  }
}

// --- The system menu -------------------------------------------------------------------

void TWinSkinForm::BuildSystemMenu() {
  if (SystemMenu != nullptr) {
    SystemMenu->Free();
    SystemMenu = nullptr;
  }
  SystemMenu = new fw::TPopupMenu(this);
  SystemMenu->SetTag(kSystemMenuTag);
  SystemMenu->SetOwnerDraw(true);
  SystemMenu->SetImages(SkinData->MenuImages());
  auto add = [this](const wchar_t* caption, int32_t tag, fw::TShortCut shortcut) {
    auto* item = new fw::TMenuItem(SystemMenu);
    item->SetCaption(caption);
    item->SetTag(tag);
    item->SetImageIndex(tag);
    item->SetShortCut(shortcut);
    item->OnClick = [this](fw::TObject* sender) { SystemMenuClick(sender); };
    item->OnDrawItem = [this](fw::TObject* sender, fw::TCanvas* canvas, RECT rect, bool selected) {
      DrawMenuItem(sender, canvas, rect, selected);
    };
    item->OnMeasureItem = [this](fw::TObject* sender, fw::TCanvas* canvas, int& width,
                                 int& height) { MeasurePopupItem(sender, canvas, width, height); };
    SystemMenu->Items()->Add(item);
  };
  add(L" Restore ", kRestoreItem, 0);
  if ((BorderIcons & biMaxBox) != 0) add(L" Maximize ", kMaximizeItem, 0);
  if ((BorderIcons & biMinBox) != 0) add(L" Minimize ", kMinimizeItem, 0);
  add(L"-", kLineItem, 0);
  add(L" Close ", kCloseItem, fw::scShift | VK_F4);
}

void TWinSkinForm::SystemMenuClick(fw::TObject* sender) {
  auto* item = dynamic_cast<fw::TMenuItem*>(sender);
  if (item == nullptr) return;
  switch (item->Tag()) {
    case kRestoreItem:
      Restore();
      break;
    case kMaximizeItem:
      ToggleMaximize();
      break;
    case kMinimizeItem:
      ToggleMinimize();
      break;
    case kCloseItem:
      if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
      PostMessageW(Handle, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  if (SystemMenu != nullptr) {
    fw::TMenuItem* items = SystemMenu->Items();
    for (int i = 0; i < items->Count(); ++i) {
      fw::TMenuItem* item = items->Items(i);
      switch (item->Tag()) {
        case kRestoreItem:
          item->SetEnabled(WindowState != wsNormal);
          break;
        case kMaximizeItem:
          item->SetEnabled(WindowState != wsMaximized);
          break;
        case kMinimizeItem:
          item->SetEnabled(WindowState != wsMinimized);
          break;
        default:
          break;
      }
    }
  }
  const DWORD now = GetTickCount();
  if (now - LastSysMenuTick > DoubleClickTime) {
    if (TSkinManage* manager = TSkinManage::Instance()) manager->SetMenuSource(2);
    LastSysMenuTick = now;
    if (Has(Data().SkinControls, xcSystemMenu) && MDIKind != mkChild && SystemMenu != nullptr) {
      SystemMenu->Popup(x, y);
    } else {
      TrackPopupMenu(NativeSystemMenu, TPM_RIGHTBUTTON, x, y, 0, Handle, nullptr);
    }
  } else if (HotObject != nullptr) {
    // The second click of a double click on the icon button closes the window.
    if (HoverTimer != nullptr) HoverTimer->SetEnabled(false);
    PostMessageW(Handle, WM_CLOSE, 0, 0);
  }
}

}  // namespace skin::win
