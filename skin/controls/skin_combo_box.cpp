#include "skin/controls/skin_combo_box.h"

#include <algorithm>

#include "skin/controls/button_rules.h"
#include "skin/controls/edit_rules.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/data/skin_draw.h"
#include "skin/window/skin_surface.h"

namespace skin::win {

namespace {

constexpr DWORD kComboTypeMask = 0x3;  // CBS_SIMPLE 1, CBS_DROPDOWN 2, CBS_DROPDOWNLIST 3
constexpr int kClassicForm = 1;        // "Style" of a plain button image
constexpr int kCompositeForm = 2;      // "Style" of the composite the skin data builds

bool Drawable(const skin::TDataSkinObject* e) {
  return e != nullptr && !e->Bitmap.Empty();
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, brush.get());
}

}  // namespace

const fw::TClassInfo& TSkinComBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinComBox>("TSkinComBox", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinComBox::~TSkinComBox() {
  UnhookParts();
  FreeListScrollbar();
}

void TSkinComBox::Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour,
                         fw::TCanvas* canvas) {
  const bool first = !Attached;
  TSkinControl::Attach(form, data, use_skin_colour, canvas);
  if (first && Attached) HookParts();
}

void TSkinComBox::Detach() {
  TSkinControl::Detach();
  UnhookParts();
}

void TSkinComBox::HookParts() {
  if (Handle == nullptr) return;
  ComboStyle = static_cast<uint32_t>(GetWindowLongW(Handle, GWL_STYLE));
  ListHandle = nullptr;
  EditHandle = nullptr;
  if ((ComboStyle & 1) == 1) {
    // A simple or drop-down-list combo box: its list's scroll bar is skinned.
    Info = COMBOBOXINFO{};
    Info.cbSize = sizeof(Info);
    if (GetComboBoxInfo(Handle, &Info) && Info.hwndList != nullptr) {
      ListHandle = Info.hwndList;
      auto* list = new TSkinScrollbarH(this);
      list->FreeNotification(this);
      ListScrollbar = list;
      list->AttachHandle(ListHandle, SkinData, SkinForm, nullptr);
    }
  } else if (HWND edit = GetTopWindow(Handle); edit != nullptr) {
    // A drop-down combo box: its edit part shows the pressed button too.
    if (edit_subclass_.Install(edit, fw::TWndMethod::Bind<&TSkinComBox::EditWndProc>(this))) {
      EditHandle = edit;
    }
  }
}

void TSkinComBox::UnhookParts() {
  edit_subclass_.Remove();
  EditHandle = nullptr;
}

void TSkinComBox::FreeListScrollbar() {
  if (ListScrollbar == nullptr) return;
  TSkinScrollbarH* list = ListScrollbar;
  ListScrollbar = nullptr;
  list->RemoveFreeNotification(this);
  list->Free();
}

void TSkinComBox::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == ListScrollbar) {
    ListScrollbar = nullptr;
  }
}

void TSkinComBox::WindowRecreated() {
  // The edit part and the list went with the old window.
  UnhookParts();
  FreeListScrollbar();
  HookParts();
}

void TSkinComBox::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseState |= kMousePressed;
      Repaint();
      return;
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Repaint();
      return;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      Repaint();
      return;
    case CM_MOUSEENTER:
      if (Enabled) MouseState |= kMouseInside;
      return;
    case CM_MOUSELEAVE:
      if (Enabled) MouseState &= static_cast<uint8_t>(~kMouseInside);
      return;
    default:
      TSkinControl::AfterMessage(m);
      return;
  }
}

void TSkinComBox::EditWndProc(fw::TMessage& m) {
  edit_subclass_.CallPrevious(m);
  switch (m.Msg) {
    case WM_PAINT:
      Paint(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      MouseState |= kMousePressed;
      Repaint();
      break;
    case WM_LBUTTONUP:
      MouseState &= static_cast<uint8_t>(~kMousePressed);
      Repaint();
      break;
    case WM_NCDESTROY:
      EditHandle = nullptr;
      break;
    default:
      break;
  }
}

void TSkinComBox::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  const skin::TDataSkinBorder* e = d.ComboButton.get();
  if (!Drawable(e)) return;
  ComboStyle = static_cast<uint32_t>(GetWindowLongW(Handle, GWL_STYLE));
  ComboExStyle = static_cast<uint32_t>(GetWindowLongW(Handle, GWL_EXSTYLE));
  Info = COMBOBOXINFO{};
  Info.cbSize = sizeof(Info);
  GetComboBoxInfo(Handle, &Info);
  if ((Info.stateButton & STATE_SYSTEM_INVISIBLE) != 0) return;  // a simple combo box
  if ((ComboStyle & kComboTypeMask) == CBS_SIMPLE) return;

  RECT r = rect;
  OffsetRect(&r, -r.left, -r.top);
  Focused = GetFocus() == Handle;
  Enabled = (ComboStyle & WS_DISABLED) == 0;
  const int frame = skin::ComboFrame(
      skin::TComboLook{.Enabled = Enabled, .Focused = Focused, .MouseState = MouseState});
  if (e->Style == kClassicForm) {
    PaintClassic(dc, r, frame);
  } else if (e->Style == kCompositeForm) {
    // Border and button from the composite; its magenta inside leaves the
    // text area as the control painted it.
    PaintPixels(dc, r, [&](skin::TPixels& surface, const skin::TRect& target) {
      skin::DrawSkinElement(surface, target, e->Bitmap, /*vertical=*/false, /*tile=*/false,
                            /*transparent=*/true, std::max(e->FrameCount, 1), frame, e->Margins);
    });
  }
}

void TSkinComBox::PaintClassic(HDC dc, const RECT& r, int frame) {
  // The DC's own brush frames and fills the inside; the button image goes
  // in the right-most thumb width; the outer line in the shadow colour.
  auto* const brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, brush);
  InflateRect(&inner, -1, -1);
  inner.left = std::max(inner.left, inner.right - GetSystemMetrics(SM_CYVTHUMB));
  FillRect(dc, &inner, brush);
  const skin::TDataSkinBorder& e = *Data().ComboButton;
  DrawStripFrame(dc, inner, std::max(e.FrameCount, 1), frame, e.Bitmap);
  FrameWith(dc, r, fw::ColorToRGB(Data().ButtonShadowColour));
}

}  // namespace skin::win
