// Draws every image of a skin from its design and writes the skin
// description (INI text) that names them.
#pragma once

#include <string>
#include <vector>

#include "tools/skingen/canvas.h"
#include "tools/skingen/skin_design.h"

namespace skingen {

struct SkinImage {
  std::string file;  // entry name, lower case, ".bmp"
  Canvas image;
  int frames = 1;         // frames in the image
  bool vertical = false;  // frames stacked instead of side by side
  std::string label;      // section and key, for contact sheets
};

struct GeneratedSkin {
  std::string ini_file;  // entry name of the description
  std::string ini;
  std::vector<SkinImage> images;

  const SkinImage* Find(const std::string& file) const;
};

GeneratedSkin BuildSkin(const SkinDesign& design);

}  // namespace skingen
