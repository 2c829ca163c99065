// The default skin travels inside the program as its SKIN resource: it must
// be there, be the package the build made, and load without an empty slot.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/skin_data.h"
#include "tools/skinpack/contact_sheet.h"

namespace {

std::vector<uint8_t> SkinResource() {
  HRSRC info = FindResourceW(nullptr, L"SKIN", MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL handle = LoadResource(nullptr, info);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(handle));
  return {bytes, bytes + SizeofResource(nullptr, info)};
}

TEST(EmbeddedSkin, IsTheBuiltPackageAndLoadsEverySlot) {
  const std::vector<uint8_t> embedded = SkinResource();
  ASSERT_FALSE(embedded.empty()) << "no SKIN resource";

  std::ifstream file(std::string(PROJECT_BINARY_DIR) + "/skins/default.skn", std::ios::binary);
  const std::vector<uint8_t> built((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(embedded, built);

  skin::TSkinData data;
  data.SkinStream = skin::TMemoryStream(std::vector<uint8_t>(embedded));
  ASSERT_TRUE(data.LoadSkin());
  EXPECT_FALSE(data.NotLoaded);
  EXPECT_FALSE(data.SkinName.empty());
  int slots = 0;
  for (const auto& [slot, element] : skinpack::SkinSlots(data)) {
    ++slots;
    ASSERT_NE(element, nullptr) << slot << " is empty";
    // The system-menu button has no image of its own: it shows the window's icon.
    const auto* button = dynamic_cast<const skin::TDataSkinSysButton*>(element);
    if (button && button->Action == 3) continue;
    EXPECT_FALSE(element->Bitmap.Empty()) << slot;
  }
  EXPECT_GT(slots, 30);
}

}  // namespace
