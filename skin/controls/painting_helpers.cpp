#include "skin/controls/painting_helpers.h"

namespace skin::win {

HFONT ControlFont(const TSkinControl& skinner) {
  if (auto* font = dynamic_cast<fw::TFont*>(skinner.GetObjectProp("Font"))) return font->Handle();
  if (skinner.Handle != nullptr) {
    return reinterpret_cast<HFONT>(SendMessageW(skinner.Handle, WM_GETFONT, 0, 0));
  }
  return nullptr;
}

std::string LowerEnumName(const fw::TObject* object, std::string_view name) {
  std::string value = fw::GetEnumName(object, name);
  for (char& c : value) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return value;
}

void CopyPixels(const skin::TPixels& source, fw::TBitmap& target) {
  SizeBuffer(target, source.Width(), source.Height());
  if (target.Empty()) return;
  GdiFlush();
  for (int y = 0; y < source.Height(); ++y) {
    uint32_t* row = target.ScanLine(y);
    for (int x = 0; x < source.Width(); ++x) {
      // 0x00BBGGRR to the DIB's 0xAARRGGBB.
      const uint32_t c = source.Pixel(x, y);
      row[x] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
}

}  // namespace skin::win
