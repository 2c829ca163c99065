// A small complete skin package for tests: a description that exercises every
// reader and solid-colour bitmaps of the sizes the painters expect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/bitmap.h"
#include "skin/data/skin_package_writer.h"

namespace skin::testing {

// A w x h 24-bit BMP file whose frames (side by side) get distinct colours.
std::vector<uint8_t> FramedBmp(int w, int h, int frames);
// The description of the sample skin.
std::string SampleIni();
// Puts `lines` at the top of `section` in a description (first occurrences
// win, so they override the section's own keys), or adds the section.
void AddToSection(std::string& ini, const std::string& section, const std::string& lines);
// Entries of the sample skin (description first), ready for WriteSkinPackage.
std::vector<TSkinPackageEntry> SampleEntries();
// The compressed sample package.
std::vector<uint8_t> SamplePackage();

}  // namespace skin::testing
