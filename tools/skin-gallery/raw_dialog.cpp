#include "tools/skin-gallery/raw_dialog.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gallery {

namespace {

// Builds a DLGTEMPLATE with its items in a WORD-aligned buffer.
class TTemplate {
 public:
  TTemplate(const wchar_t* title, DWORD style, short cx, short cy) {
    Align(4);
    DLGTEMPLATE t{};
    t.style = style | DS_SETFONT;
    t.cx = cx;
    t.cy = cy;
    Append(&t, sizeof(t));
    count_at_ = offsetof(DLGTEMPLATE, cdit);
    Word(0);  // no menu
    Word(0);  // the default class
    String(title);
    Word(8);  // font size
    String(L"MS Shell Dlg");
  }

  void Item(const wchar_t* cls, const wchar_t* text, WORD id, DWORD style, short x, short y,
            short cx, short cy) {
    Align(4);
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Append(&item, sizeof(item));
    String(cls);
    String(text);
    Word(0);  // no creation data
    ++count_;
    auto* t = reinterpret_cast<DLGTEMPLATE*>(bytes_.data());
    t->cdit = count_;
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Append(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Word(WORD w) { Append(&w, sizeof(w)); }
  void String(const wchar_t* s) { Append(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
  void Align(size_t n) {
    while (bytes_.size() % n != 0)
      bytes_.push_back(0);
  }

  std::vector<uint8_t> bytes_;
  size_t count_at_ = 0;
  WORD count_ = 0;
};

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wparam, LPARAM /*lparam*/) {
  switch (msg) {
    case WM_INITDIALOG: {
      HWND combo = GetDlgItem(dlg, 106);
      for (const wchar_t* s : {L"First", L"Second", L"Third"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      SendMessageW(combo, CB_SETCURSEL, 0, 0);
      CheckRadioButton(dlg, 103, 104, 103);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dlg, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR ShowRawDialog(HWND owner) {
  TTemplate t(L"A plain dialog box", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 200, 130);
  t.Item(L"BUTTON", L"Options", 100, BS_GROUPBOX, 7, 7, 186, 52);
  t.Item(L"BUTTON", L"&Check box", 101, BS_AUTOCHECKBOX | WS_TABSTOP, 14, 18, 80, 10);
  t.Item(L"BUTTON", L"&First choice", 103, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 14, 32, 80,
         10);
  t.Item(L"BUTTON", L"&Second choice", 104, BS_AUTORADIOBUTTON, 14, 44, 80, 10);
  t.Item(L"EDIT", L"Some text", 105, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 66, 90, 12);
  t.Item(L"COMBOBOX", L"", 106, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 103, 66, 90, 60);
  t.Item(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 86, 108, 50, 14);
  t.Item(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 143, 108, 50, 14);
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, &DialogProc, 0);
}

}  // namespace gallery
