// Small pictures written as rows of letters, for tests of pixel routines: a
// failing comparison prints both pictures in letters.
//
//   TBitmap b = Picture({"RGB", "MKW"});          // 3 x 2
//   EXPECT_EQ(Letters(b), (std::vector<std::string>{"RGB", "MKW"}));
//
// R red, G green, B blue, W white, M magenta (the transparent key), Y yellow,
// D dark grey, L light grey; any other letter is black (K). Letters() shows a colour of none of
// these as '?'.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/skin_draw.h"

namespace skin {

inline constexpr uint32_t kR = 0x0000FF, kG = 0x00FF00, kB = 0xFF0000, kW = 0xFFFFFF, kK = 0x000000,
                          kM = kSkinTransparent, kY = 0x00FFFF, kD = 0x555555, kL = 0xAAAAAA;

inline TBitmap Picture(const std::vector<std::string>& rows) {
  TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); y++) {
    for (int x = 0; x < b.Width(); x++) {
      const char c = rows[y][x];
      b.SetPixel(x, y,
                 c == 'R'   ? kR
                 : c == 'G' ? kG
                 : c == 'B' ? kB
                 : c == 'W' ? kW
                 : c == 'M' ? kM
                 : c == 'Y' ? kY
                 : c == 'D' ? kD
                 : c == 'L' ? kL
                            : kK);
    }
  }
  return b;
}

inline std::vector<std::string> Letters(const TPixels& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); y++) {
    std::string row;
    for (int x = 0; x < b.Width(); x++) {
      const uint32_t c = b.Pixel(x, y);
      row += c == kR   ? 'R'
             : c == kG ? 'G'
             : c == kB ? 'B'
             : c == kW ? 'W'
             : c == kM ? 'M'
             : c == kY ? 'Y'
             : c == kK ? 'K'
             : c == kD ? 'D'
             : c == kL ? 'L'
                       : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace skin
