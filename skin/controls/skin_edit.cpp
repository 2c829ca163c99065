#include "skin/controls/skin_edit.h"

#include <cwctype>
#include <string>

#include "framework/stdctrls.h"
#include "skin/controls/edit_rules.h"
#include "skin/controls/skin_up_down.h"

namespace skin::win {

namespace {

// An up-down button by its window class: the common control's, or another
// library's spin or up-down button.
bool IsUpDownClass(HWND wnd) {
  wchar_t name[128] = {};
  GetClassNameW(wnd, name, 128);
  std::wstring cls(name);
  for (wchar_t& c : cls)
    c = static_cast<wchar_t>(std::towlower(c));
  return cls == L"msctls_updown32" || cls.find(L"spin") != std::wstring::npos ||
         cls.find(L"updown") != std::wstring::npos;
}

void FrameWith(HDC dc, const RECT& r, COLORREF colour) {
  const fw::TGdiHandle<HBRUSH> brush(CreateSolidBrush(colour));
  FrameRect(dc, &r, brush.get());
}

}  // namespace

const fw::TClassInfo& TSkinEdit::StaticClassInfo() {
  static const fw::TClassInfo info =
      fw::TClassBuilder<TSkinEdit>("TSkinEdit", TSkinControl::StaticClassInfo()).Build();
  return info;
}

TSkinEdit::~TSkinEdit() {
  if (UpDown != nullptr) UpDown->RemoveFreeNotification(this);
}

void TSkinEdit::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // The border lies outside the client area: drawn through the window
      // DC once the edit has painted itself. A DC handed over with the
      // message holds the client area only.
      if (m.WParam == 0) Paint(nullptr);
      return;
    case WM_NCPAINT:
      // The system's border was drawn again without a client paint.
      Paint(nullptr);
      return;
    case WM_PRINT:
      // The printing form: the same lines into the DC given (or the window
      // DC), for an edit whose border is wider than one pixel.
      printing_ = true;
      Paint(reinterpret_cast<HDC>(m.WParam));
      printing_ = false;
      return;
    default:
      TSkinControl::AfterMessage(m);
      return;
  }
}

void TSkinEdit::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

void TSkinEdit::FindUpDown() {
  if (UpDown != nullptr || Handle == nullptr) return;
  for (HWND child = GetTopWindow(Handle); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(child)) continue;
    // Owned by the edit's owner (the edit itself, or the controller for a
    // raw edit), so it goes with the edit; told to this skinner when freed
    // first.
    auto* up_down = new TSkinUpDown(Owner());
    up_down->Embedded = true;
    up_down->FreeNotification(this);
    UpDown = up_down;
    up_down->AttachHandle(child, SkinData, SkinForm, Canvas);
    return;
  }
}

bool TSkinEdit::FlatFrameworkEdit() const {
  // A framework edit always has a border: a sunken edge, or with Ctl3D off
  // a one-pixel line, which the system may draw inside the client area.
  return dynamic_cast<const fw::TCustomEdit*>(Served()) != nullptr && HasProp("Ctl3D") &&
         !PropTrue("Ctl3D");
}

void TSkinEdit::PaintTo(HDC dc, const RECT& rect) {
  FindUpDown();
  RECT client;
  if (!GetClientRect(Handle, &client)) return;
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  const bool border =
      printing_ ? skin::EditPrintHasBorder(client.right, client.bottom, w, h)
                : skin::EditHasBorder(client.right, client.bottom, w, h, FlatFrameworkEdit());
  if (!border) return;
  const skin::TSkinData& d = Data();
  RECT r = rect;
  FrameWith(dc, r, fw::ColorToRGB(d.ButtonShadowColour));
  InflateRect(&r, -1, -1);
  FrameWith(dc, r, RGB(255, 255, 255));
}

}  // namespace skin::win
