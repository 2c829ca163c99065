#include "tests/skin/window/skinned_window_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/dc.h"
#include "framework/reader.h"
#include "framework/registry.h"
#include "skin/controls/skin_manage.h"
#include "skin/data/skin_draw.h"
#include "tests/support/win/pump.h"

namespace skin_test {

namespace {

const std::filesystem::path kBinary = PROJECT_BINARY_DIR;

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

const wchar_t* RawWindowClass() {
  static const wchar_t* name = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"SkinTestWindow";
    RegisterClassW(&wc);
    return L"SkinTestWindow";
  }();
  return name;
}

}  // namespace

void SkinnedWindowTest::SetUp() {
  fw::RegisterFrameworkClasses();
  skin::win::UseSkinManager();
  app_ = std::make_unique<fw::TApplication>();
  app_->Initialize();
  const std::vector<uint8_t> package = ReadFile(kBinary / "skins" / skin_file_);
  ASSERT_FALSE(package.empty()) << skin_file_;
  // As a stored description makes it: active, its skin read, then Loaded.
  data_.reset(new skin::win::TSkinData(nullptr));
  data_->SetComponentState(fw::csLoading | fw::csReading);
  data_->SetActive(true);
  data_->ReadSkinPackage(package.data(), package.size());
  data_->ClearComponentState(fw::csReading);
  data_->Loaded();
  ASSERT_FALSE(data_->Data().NotLoaded);
  ASSERT_NE(skin::win::TSkinManage::Instance(), nullptr);
  ASSERT_TRUE(skin::win::TSkinManage::Instance()->Active());
}

void SkinnedWindowTest::TearDown() {
  for (HWND wnd : windows_) {
    if (IsWindow(wnd)) DestroyWindow(wnd);
  }
  windows_.clear();
  test_support::PumpPending();
  app_.reset();
  skin::win::ShutdownSkinManager();
  data_.reset();
}

HWND SkinnedWindowTest::CreateRawWindow(DWORD style, DWORD ex_style, int width, int height) {
  HWND wnd = CreateWindowExW(ex_style, RawWindowClass(), L"Janela de teste", style, 60, 60, width,
                             height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  windows_.push_back(wnd);
  ShowWindow(wnd, SW_SHOWNA);
  return wnd;
}

fw::TForm* SkinnedWindowTest::CreateForm(const std::string& description) {
  auto* form = new fw::TForm(app_.get());
  if (app_->MainForm() == nullptr) app_->SetMainForm(form);
  fw::ReadComponent(*form, description);
  form->Show();
  return form;
}

skin::win::TWinSkinForm* SkinnedWindowTest::Skin(HWND wnd) {
  SetForegroundWindow(wnd);
  skin::win::TWinSkinForm* controller = nullptr;
  test_support::PumpUntil([&] {
    controller = skin::win::TSkinManage::Instance()->FindSkinForm(wnd);
    return controller != nullptr && controller->State == skin::win::ssReady && controller->Active;
  });
  return controller;
}

skin::TBitmap Crop(const skin::TPixels& picture, const RECT& rect) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  skin::TBitmap copy(w, h, skin::PixelFormat::k32Bit);
  skin::StretchCopy(copy, skin::TRect{0, 0, w, h}, picture,
                    skin::TRect{rect.left, rect.top, rect.right, rect.bottom});
  return copy;
}

POINT ScreenPoint(const skin::win::TWinSkinForm& c, POINT p) {
  POINT screen{p.x - c.BorderLeft, p.y - c.BorderTop - c.MenuBarHeight};
  ClientToScreen(c.Handle, &screen);
  return screen;
}

LRESULT SendNCMouse(const skin::win::TWinSkinForm& c, UINT msg, WPARAM hit, POINT p) {
  const POINT screen = ScreenPoint(c, p);
  return SendMessageW(c.Handle, msg, hit, MAKELPARAM(screen.x, screen.y));
}

POINT Centre(const RECT& r) {
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool TakePosted(HWND wnd, UINT msg, MSG* out) {
  MSG m{};
  if (!PeekMessageW(&m, wnd, msg, msg, PM_REMOVE)) return false;
  if (out != nullptr) *out = m;
  return true;
}

TMenuCloser::TMenuCloser() {
  timer_.Start(100, [this] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) return;
    ++seen_;
    if (OnOpen) OnOpen(menu);
    EndMenu();
  });
}

}  // namespace skin_test
