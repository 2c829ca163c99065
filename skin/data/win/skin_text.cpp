#include "skin/data/win/skin_text.h"

#include <climits>
#include <cwchar>

namespace skin::win {

namespace {

struct TPlatform {
  bool nt;
  int32_t version;
};

const TPlatform& Platform() {
  static const TPlatform platform = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const DWORD version = GetVersion();
    const bool known = GetVersionExW(&info) != FALSE;
#pragma GCC diagnostic pop
    return TPlatform{
        known ? info.dwPlatformId == VER_PLATFORM_WIN32_NT : (version & 0x80000000u) == 0,
        static_cast<int32_t>(version)};
  }();
  return platform;
}

int ClampLength(size_t n) {
  return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

bool IsWinNT() {
  return Platform().nt;
}

int32_t WinVersion() {
  return Platform().version;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), ClampLength(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    MultiByteToWideChar(CP_ACP, 0, text.data(), ClampLength(text.size()), out.data(), n);
  }
  return out;
}

std::string WideToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), ClampLength(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), ClampLength(text.size()), out.data(), n, nullptr,
                        nullptr);
  }
  return out;
}

std::wstring WideCopy(const wchar_t* text, int count) {
  if (text == nullptr) return {};
  if (count < 0) return std::wstring(text);
  return std::wstring(text, wcsnlen(text, static_cast<size_t>(count)));
}

int SkinDrawText(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  if (IsWinNT()) return DrawTextW(dc, text.data(), ClampLength(text.size()), &rect, format);
  std::string ansi = WideToAnsi(text);
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

}  // namespace skin::win
