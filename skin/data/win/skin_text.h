// Text helpers every skin painter draws through, and the platform flags they
// consult.
//
//   skin::win::SkinDrawText(dc, caption, rect, DT_SINGLELINE | DT_VCENTER);
//
// IsWinNT: the platform is of the NT family (window text is read and drawn
// with the wide functions). WinVersion: the raw GetVersion value, negative on
// the Windows 95 family. Both are read once and never change afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace skin::win {

bool IsWinNT();
int32_t WinVersion();

// Between the ANSI code page (code page 0) and wide text; the output length
// is asked of the converter first.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// The first `count` characters of `text`, or up to its terminating zero when
// `count` is -1; empty for nullptr.
std::wstring WideCopy(const wchar_t* text, int count);
// Draws like DrawText and returns its result: DrawTextW on the NT family,
// else the text in the ANSI code page through DrawTextA. Format and
// rectangle pass through unchanged (DT_CALCRECT writes the rectangle back).
int SkinDrawText(HDC dc, std::wstring_view text, RECT& rect, UINT format);

}  // namespace skin::win
