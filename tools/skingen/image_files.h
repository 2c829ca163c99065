// Export of generator canvases: the core bitmap type (24 bits, transparent
// pixels as magenta) for the skin folder, PNG for contact sheets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/bitmap.h"
#include "tools/skingen/canvas.h"

namespace skingen {

skin::TBitmap ToBitmap(const Canvas& canvas);
// The canvas as a Windows BMP file (through the core BMP writer).
std::vector<uint8_t> BmpFile(const Canvas& canvas);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WritePng(const std::string& path, const Canvas& canvas);

}  // namespace skingen
