#include "tests/support/win/live_counts.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace test_support {

namespace {

// --- Windows of this thread --------------------------------------------------

bool IsInputMethodWindow(HWND wnd) {
  wchar_t cls[32] = {};
  GetClassNameW(wnd, cls, 32);
  return lstrcmpiW(cls, L"IME") == 0 || lstrcmpiW(cls, L"MSCTFIME UI") == 0;
}

BOOL CALLBACK CountChild(HWND /*wnd*/, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND wnd, LPARAM count) {
  if (IsInputMethodWindow(wnd)) return TRUE;
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(wnd, CountChild, count);  // every level below
  return TRUE;
}

// --- Handles made through the program's import table -------------------------

std::set<HMENU>& Menus() {
  static std::set<HMENU> s;
  return s;
}
std::set<HRGN>& Regions() {
  static std::set<HRGN> s;
  return s;
}
std::set<HIMAGELIST>& ImageLists() {
  static std::set<HIMAGELIST> s;
  return s;
}

template <class H>
H Track(std::set<H>& set, H handle) {
  if (handle != nullptr) set.insert(handle);
  return handle;
}

// One watched function: its module and name, our replacement and, once
// installed, the original. Each replacement calls the original through it.
struct TWatched {
  const wchar_t* module;
  const char* name;
  void* replacement;
  void* original;
};

TWatched* Find(std::string_view name);

template <class F>
F Original(std::string_view name) {
  return reinterpret_cast<F>(Find(name)->original);
}

HMENU WINAPI MyCreateMenu() {
  return Track(Menus(), Original<decltype(&CreateMenu)>("CreateMenu")());
}
HMENU WINAPI MyCreatePopupMenu() {
  return Track(Menus(), Original<decltype(&CreatePopupMenu)>("CreatePopupMenu")());
}
HMENU WINAPI MyLoadMenuW(HINSTANCE i, LPCWSTR n) {
  return Track(Menus(), Original<decltype(&LoadMenuW)>("LoadMenuW")(i, n));
}
HMENU WINAPI MyLoadMenuIndirectW(const MENUTEMPLATEW* t) {
  return Track(Menus(), Original<decltype(&LoadMenuIndirectW)>("LoadMenuIndirectW")(t));
}
HRGN WINAPI MyCreateRectRgn(int l, int t, int r, int b) {
  return Track(Regions(), Original<decltype(&CreateRectRgn)>("CreateRectRgn")(l, t, r, b));
}
HRGN WINAPI MyCreateRectRgnIndirect(const RECT* r) {
  return Track(Regions(), Original<decltype(&CreateRectRgnIndirect)>("CreateRectRgnIndirect")(r));
}
HRGN WINAPI MyCreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
  return Track(Regions(),
               Original<decltype(&CreateRoundRectRgn)>("CreateRoundRectRgn")(l, t, r, b, w, h));
}
HRGN WINAPI MyCreateEllipticRgn(int l, int t, int r, int b) {
  return Track(Regions(), Original<decltype(&CreateEllipticRgn)>("CreateEllipticRgn")(l, t, r, b));
}
HRGN WINAPI MyCreateEllipticRgnIndirect(const RECT* r) {
  return Track(Regions(),
               Original<decltype(&CreateEllipticRgnIndirect)>("CreateEllipticRgnIndirect")(r));
}
HRGN WINAPI MyCreatePolygonRgn(const POINT* p, int n, int mode) {
  return Track(Regions(), Original<decltype(&CreatePolygonRgn)>("CreatePolygonRgn")(p, n, mode));
}
HRGN WINAPI MyCreatePolyPolygonRgn(const POINT* p, const INT* c, int n, int mode) {
  return Track(Regions(),
               Original<decltype(&CreatePolyPolygonRgn)>("CreatePolyPolygonRgn")(p, c, n, mode));
}
HRGN WINAPI MyExtCreateRegion(const XFORM* x, DWORD n, const RGNDATA* d) {
  return Track(Regions(), Original<decltype(&ExtCreateRegion)>("ExtCreateRegion")(x, n, d));
}
HRGN WINAPI MyPathToRegion(HDC dc) {
  return Track(Regions(), Original<decltype(&PathToRegion)>("PathToRegion")(dc));
}
// A region deleted, or given to a window (the window owns it from then on,
// and a window left behind is counted as a window), is no longer the
// program's: forgetting it keeps a later region that reuses the handle
// (the system's own, made outside the import table) out of the count.
BOOL WINAPI MyDeleteObject(HGDIOBJ h) {
  Regions().erase(static_cast<HRGN>(h));
  return Original<decltype(&DeleteObject)>("DeleteObject")(h);
}
int WINAPI MySetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw) {
  const int done = Original<decltype(&SetWindowRgn)>("SetWindowRgn")(wnd, rgn, redraw);
  if (done != 0) Regions().erase(rgn);
  return done;
}
BOOL WINAPI MyDestroyMenu(HMENU h) {
  Menus().erase(h);
  return Original<decltype(&DestroyMenu)>("DestroyMenu")(h);
}
HIMAGELIST WINAPI MyImageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
  return Track(ImageLists(), Original<decltype(&ImageList_Create)>("ImageList_Create")(
                                 cx, cy, flags, initial, grow));
}
HIMAGELIST WINAPI MyImageListDuplicate(HIMAGELIST h) {
  return Track(ImageLists(), Original<decltype(&ImageList_Duplicate)>("ImageList_Duplicate")(h));
}
HIMAGELIST WINAPI MyImageListMerge(HIMAGELIST a, int i, HIMAGELIST b, int j, int dx, int dy) {
  return Track(ImageLists(),
               Original<decltype(&ImageList_Merge)>("ImageList_Merge")(a, i, b, j, dx, dy));
}
HIMAGELIST WINAPI MyImageListLoadImageW(HINSTANCE i, LPCWSTR n, int cx, int grow, COLORREF mask,
                                        UINT type, UINT flags) {
  return Track(ImageLists(), Original<decltype(&ImageList_LoadImageW)>("ImageList_LoadImageW")(
                                 i, n, cx, grow, mask, type, flags));
}
BOOL WINAPI MyImageListDestroy(HIMAGELIST h) {
  ImageLists().erase(h);
  return Original<decltype(&ImageList_Destroy)>("ImageList_Destroy")(h);
}

TWatched g_watched[] = {
    {L"user32.dll", "CreateMenu", reinterpret_cast<void*>(&MyCreateMenu), nullptr},
    {L"user32.dll", "CreatePopupMenu", reinterpret_cast<void*>(&MyCreatePopupMenu), nullptr},
    {L"user32.dll", "LoadMenuW", reinterpret_cast<void*>(&MyLoadMenuW), nullptr},
    {L"user32.dll", "LoadMenuIndirectW", reinterpret_cast<void*>(&MyLoadMenuIndirectW), nullptr},
    {L"user32.dll", "DestroyMenu", reinterpret_cast<void*>(&MyDestroyMenu), nullptr},
    {L"user32.dll", "SetWindowRgn", reinterpret_cast<void*>(&MySetWindowRgn), nullptr},
    {L"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&MyDeleteObject), nullptr},
    {L"gdi32.dll", "CreateRectRgn", reinterpret_cast<void*>(&MyCreateRectRgn), nullptr},
    {L"gdi32.dll", "CreateRectRgnIndirect", reinterpret_cast<void*>(&MyCreateRectRgnIndirect),
     nullptr},
    {L"gdi32.dll", "CreateRoundRectRgn", reinterpret_cast<void*>(&MyCreateRoundRectRgn), nullptr},
    {L"gdi32.dll", "CreateEllipticRgn", reinterpret_cast<void*>(&MyCreateEllipticRgn), nullptr},
    {L"gdi32.dll", "CreateEllipticRgnIndirect",
     reinterpret_cast<void*>(&MyCreateEllipticRgnIndirect), nullptr},
    {L"gdi32.dll", "CreatePolygonRgn", reinterpret_cast<void*>(&MyCreatePolygonRgn), nullptr},
    {L"gdi32.dll", "CreatePolyPolygonRgn", reinterpret_cast<void*>(&MyCreatePolyPolygonRgn),
     nullptr},
    {L"gdi32.dll", "ExtCreateRegion", reinterpret_cast<void*>(&MyExtCreateRegion), nullptr},
    {L"gdi32.dll", "PathToRegion", reinterpret_cast<void*>(&MyPathToRegion), nullptr},
    {L"comctl32.dll", "ImageList_Create", reinterpret_cast<void*>(&MyImageListCreate), nullptr},
    {L"comctl32.dll", "ImageList_Duplicate", reinterpret_cast<void*>(&MyImageListDuplicate),
     nullptr},
    {L"comctl32.dll", "ImageList_Merge", reinterpret_cast<void*>(&MyImageListMerge), nullptr},
    {L"comctl32.dll", "ImageList_LoadImageW", reinterpret_cast<void*>(&MyImageListLoadImageW),
     nullptr},
    {L"comctl32.dll", "ImageList_Destroy", reinterpret_cast<void*>(&MyImageListDestroy), nullptr},
};

TWatched* Find(std::string_view name) {
  for (TWatched& w : g_watched) {
    if (name == w.name) return &w;
  }
  return nullptr;  // never: every replacement names a watched function
}

// Points the import-table slots of the watched functions at the
// replacements. A slot is recognised by the address it holds, so the table
// needs no names; a module or function the program does not use is skipped.
void WatchImports() {
  static bool done = false;
  if (done) return;
  done = true;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return;
  for (TWatched& w : g_watched) {
    HMODULE module = GetModuleHandleW(w.module);
    if (module == nullptr) continue;
    w.original = reinterpret_cast<void*>(GetProcAddress(module, w.name));
  }
  for (auto* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       imp->Name != 0; ++imp) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
         slot->u1.Function != 0; ++slot) {
      for (const TWatched& w : g_watched) {
        if (w.original == nullptr || reinterpret_cast<void*>(slot->u1.Function) != w.original) {
          continue;
        }
        DWORD old = 0;
        if (VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), PAGE_READWRITE, &old)) {
          slot->u1.Function = reinterpret_cast<ULONG_PTR>(w.replacement);
          VirtualProtect(&slot->u1.Function, sizeof(slot->u1.Function), old, &old);
        }
      }
    }
  }
}

// Drops the handles that no longer exist and counts the rest.
template <class H, class Alive>
int CountAlive(std::set<H>& set, Alive alive) {
  for (auto it = set.begin(); it != set.end();) {
    it = alive(*it) ? std::next(it) : set.erase(it);
  }
  return static_cast<int>(set.size());
}

}  // namespace

int LiveWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count;
}

int LiveMenus() {
  WatchImports();
  return CountAlive(Menus(), [](HMENU h) { return IsMenu(h) != FALSE; });
}

int LiveRegions() {
  WatchImports();
  return CountAlive(Regions(), [](HRGN h) { return GetObjectType(h) == OBJ_REGION; });
}

int LiveImageLists() {
  WatchImports();
  return static_cast<int>(ImageLists().size());
}

int ProcessGdiObjects() {
  return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

int ProcessUserObjects() {
  return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace test_support
