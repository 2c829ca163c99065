// A plain Win32 window with a few standard controls. run.sh starts it while
// the program's main window does not exist yet, to show that the Windows
// build runs under Wine on this machine.
#include <windows.h>

namespace {

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND AddChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
              int w, int h, int id) {
  HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  return child;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpszClassName = L"AtualizaEmailsSmokeWindow";
  if (!RegisterClassW(&wc)) return 1;
  RECT rc{0, 0, 420, 170};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&rc, style, FALSE);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"AtualizaEmails (janela de teste)", style,
                              CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top,
                              nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  AddChild(hwnd, L"STATIC",
           L"O programa Windows roda neste computador. A janela principal ainda n\x00E3o existe.",
           0, 16, 16, 390, 36, 0);
  AddChild(hwnd, L"EDIT", L"Planilha.xlsx", WS_BORDER | ES_AUTOHSCROLL, 16, 64, 280, 22, 0);
  AddChild(hwnd, L"BUTTON", L"&Abrir", BS_PUSHBUTTON, 306, 62, 96, 26, 0);
  AddChild(hwnd, L"BUTTON", L"&Sair", BS_DEFPUSHBUTTON, 306, 124, 96, 26, IDCANCEL);
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
