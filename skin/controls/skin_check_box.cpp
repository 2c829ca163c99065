#include "skin/controls/skin_check_box.h"

#include <algorithm>

#include "skin/controls/check_rules.h"

namespace skin::win {

const fw::TClassInfo& TSkinCheckBox::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinCheckBox>("TSkinCheckBox", TSkinControl::StaticClassInfo()).Build();
  return info;
}

const fw::TClassInfo& TSkinRadioButton::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinRadioButton>("TSkinRadioButton", TSkinCheckBox::StaticClassInfo())
          .Build();
  return info;
}

void TSkinCheckBox::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_STATECHANGED:
      Repaint();
      return;
    default:
      TSkinControl::AfterMessage(m);
      return;
  }
}

bool TSkinCheckBox::BoxOnTheRight() const {
  return (GetWindowLongW(Handle, GWL_STYLE) & BS_LEFTTEXT) != 0 ||
         (GetWindowLongW(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
}

RECT TSkinCheckBox::ClearedCell(HDC dc, const skin::TBoxPlace& p, const RECT& rect) const {
  RECT cell{p.CellLeft, p.CellTop, p.CellRight, p.CellBottom};
  // Laid out right to left, the caption is right-aligned up to the button's
  // own box: only that box and the skin's are cleared, not the caption's end.
  if ((GetWindowLongW(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0) {
    const int native_box = MulDiv(13, GetDeviceCaps(dc, LOGPIXELSX), 96);
    cell.left = std::min<LONG>(p.BoxLeft, rect.right - native_box);
  }
  return cell;
}

void TSkinCheckBox::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  if (d.Buttons == nullptr || d.Buttons->CheckBitmap.Empty()) return;
  const skin::TBitmap& strip = d.Buttons->CheckBitmap;
  const int f = std::max(d.Buttons->CheckFrameCount, 1);
  const int w = strip.Width() / f;
  const int h = strip.Height();

  const auto state = static_cast<UINT>(SendMessageW(Handle, BM_GETSTATE, 0, 0));
  skin::TCheckLook look;
  look.Check = (state & BST_CHECKED) != 0 ? 2 : 1;
  if (Served() != nullptr) {
    if (HasProp("State")) {
      const std::string name = GetEnumName("State");
      if (const int c = skin::CheckValueOfStateName(name.c_str()); c != 0) look.Check = c;
    } else if (HasProp("Checked")) {
      look.Check = PropTrue("Checked") ? 2 : 1;
    }
  }
  const LONG style = GetWindowLongW(Handle, GWL_STYLE);
  look.Indeterminate = (state & BST_INDETERMINATE) != 0;
  look.Disabled = (style & WS_DISABLED) != 0;
  const int frame = skin::CheckBoxFrame(look, f);
  const skin::TBoxPlace p =
      skin::CheckBoxPlace(rect.left, rect.top, rect.right, rect.bottom, w, h, BoxOnTheRight());
  FillParentColour(dc, ClearedCell(dc, p, rect));
  DrawStripFrame(dc, RECT{p.BoxLeft, p.BoxTop, p.BoxRight, p.BoxBottom}, f, frame, strip);
}

void TSkinRadioButton::PaintTo(HDC dc, const RECT& rect) {
  const skin::TSkinData& d = Data();
  if (d.Buttons == nullptr || d.Buttons->RadioBitmap.Empty()) return;
  const skin::TBitmap& strip = d.Buttons->RadioBitmap;
  const int f = std::max(d.Buttons->RadioFrameCount, 1);
  const int w = strip.Width() / f;
  const int h = strip.Height();

  skin::TCheckLook look;
  look.Check = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0 ? 2 : 1;
  if (Served() != nullptr && HasProp("Checked")) look.Check = PropTrue("Checked") ? 2 : 1;
  const LONG style = GetWindowLongW(Handle, GWL_STYLE);
  look.Disabled = (style & WS_DISABLED) != 0;
  const int frame = skin::RadioButtonFrame(look, f);
  const skin::TBoxPlace p =
      skin::RadioButtonPlace(rect.left, rect.top, rect.right, rect.bottom, w, h, BoxOnTheRight());
  FillParentColour(dc, ClearedCell(dc, p, rect));
  DrawStripFrame(dc, RECT{p.BoxLeft, p.BoxTop, p.BoxRight, p.BoxBottom}, f, frame, strip);
}

}  // namespace skin::win
