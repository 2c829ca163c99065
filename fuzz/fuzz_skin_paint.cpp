// The element loader, then every element painted by every drawing routine at
// a few target sizes and frames, into an owned 24-bit bitmap and into a view
// of 32-bit DIB memory. Nothing may overflow (UBSan), throw, or allocate
// beyond what the targets and images need (run with -malloc_limit_mb).
//
// The input is a list of 6-byte records (section, key, 32-bit little-endian
// value), each written as a line at the top of its section of the sample
// skin's description: a number for a number key, or one of the sample images
// for an image key. Binary values let the fuzzer reach the edges of 32 bits
// at once; the description's text syntax is fuzz_quick_ini's and
// fuzz_load_skin's business.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/bmp_codec.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/skin_reader.h"
#include "tests/skin/data/sample_skin.h"

namespace {

using namespace skin;

// The sample skin: its description first, then its images.
const std::vector<TSkinPackageEntry>& Sample() {
  static const std::vector<TSkinPackageEntry> entries = testing::SampleEntries();
  return entries;
}

// The sample skin's images, unpacked once.
const TSkinReader& Images() {
  static const TSkinReader reader = [] {
    // The description is built from the input.
    TMemoryStream package(WriteSkinPackage({Sample().begin() + 1, Sample().end()}));
    TSkinReader r;
    if (!r.LoadPackage(package)) __builtin_trap();
    return r;
  }();
  return reader;
}

constexpr const char* kSections[] = {
    "Personality", "Buttons",     "Progress",        "GroupBoxEdge",    "GroupBox",
    "Toolbars",    "Tabs",        "StatusBarEdges",  "ComboButton",     "SunkEdge",
    "ExtraImages", "Headerbar",   "MenuItem",        "MenuBackground",  "Scrollbar",
    "HorzScroll",  "VertScroll",  "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz",
    "UpDown.Horz", "MDICONTROLS", "ButtonClose",     "Button.Push"};
constexpr const char* kNumberKeys[] = {"LeftWidth",       "RightWidth",    "TopHeight",
                                       "BottomHeight",    "Tile",          "Trans",
                                       "Style",           "FrameCount",    "frame",
                                       "Action",          "Visibility",    "TileMenu",
                                       "TileLeftMenu",    "TileRightMenu", "LeftTopHeight",
                                       "LeftBotHeight",   "LeftFrame",     "LeftStretch",
                                       "TopTopHeight",    "TopBotHeight",  "TopFrame",
                                       "TopStretch",      "BottomFrame",   "RightFrame",
                                       "TextShift",       "TextRightClip", "RadioButtonFrame",
                                       "CheckButtonFrame"};
constexpr const char* kImageKeys[] = {
    "Image",    "Bitmap", "Chunk", "Border", "GlyphImage", "ButtonImage", "menuBar",
    "TextBack", "Left",   "Right", "Top",    "Bottom",     "CheckButton", "RadioButton"};

// The sample description with the input's records at the top of their sections.
std::string Description(const uint8_t* data, size_t size) {
  const auto& entries = Sample();
  std::string text(entries[0].Data.begin(), entries[0].Data.end());
  for (size_t at = 0; at + 6 <= size; at += 6) {
    const std::string section = kSections[data[at] % std::size(kSections)];
    const int32_t value =
        static_cast<int32_t>(data[at + 2] | (data[at + 3] << 8) | (data[at + 4] << 16) |
                             (static_cast<uint32_t>(data[at + 5]) << 24));
    const size_t key = data[at + 1] % (std::size(kNumberKeys) + std::size(kImageKeys));
    std::string line;
    if (key < std::size(kNumberKeys)) {
      line = std::string(kNumberKeys[key]) + "=" + std::to_string(value) + "\n";
    } else {
      const size_t image = static_cast<uint32_t>(value) % (entries.size() - 1) + 1;
      line =
          std::string(kImageKeys[key - std::size(kNumberKeys)]) + "=" + entries[image].Name + "\n";
    }
    testing::AddToSection(text, section, line);
  }
  return text;
}

// Targets inside the surface, overhanging it, a single pixel and an inverted
// one; small, since every paint is a pixel loop.
constexpr TRect kTargets[] = {{2, 1, 9, 7}, {-3, -2, 20, 12}, {0, 0, 1, 1}, {5, 5, 4, 4}};

void Paint(TPixels& surface, const TPixels& image, const TDataSkinObject& e) {
  if (image.Empty()) return;
  const bool trans = e.Trans != 0, tile = e.Tile != 0;
  const int n = e.FrameCount;
  for (const TRect& t : kTargets) {
    for (const int frame : {1, n}) {
      DrawSkinElement(surface, t, image, false, tile, trans, n, frame, e.Margins);
      DrawSkinElement(surface, t, image, true, tile, trans, n, frame, e.Margins);
      DrawSkinBorderOnly(surface, t, image, frame != 1, n, frame, e.Margins);
      DrawSkinThreePart(surface, t, image, frame == 1, trans, n, frame, e.Margins);
      DrawSkinFrameStretched(surface, t, image, trans, n, frame);
      DrawSkinGlyphCentered(surface, t, image, trans, n, frame);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Description(data, size);
  TMemoryStream description(std::vector<uint8_t>(text.begin(), text.end()));
  TQuickIni ini;
  ini.LoadFromStream(&description);
  TSkinData d;
  try {
    d.LoadSkinElements(ini, Images());
  } catch (const EBitmapError&) {
    return 0;  // more image pixels than a skin may hold
  }

  TBitmap owned(16, 10);
  std::vector<uint8_t> dib(static_cast<size_t>(TPixels::DibStride(12, PixelFormat::k32Bit)) * 8);
  TBitmapView view = TBitmapView::WrapDib(dib.data(), 12, 8, true, PixelFormat::k32Bit);
  bool to_view = false;
  for (const auto& [slot, e] : SkinSlots(d)) {
    if (e == nullptr) continue;
    TPixels& surface = to_view ? static_cast<TPixels&>(view) : owned;
    to_view = !to_view;
    Paint(surface, e->Bitmap, *e);
    if (const auto* b = dynamic_cast<const TDataSkinBorder*>(e)) Paint(surface, b->Bitmap2, *b);
  }
  Paint(owned, d.Buttons->CheckBitmap, *d.Buttons);
  Paint(view, d.Buttons->RadioBitmap, *d.Buttons);
  GrayBitmap(view);
  MirrorBitmap(view);
  FlipBitmap(owned);
  const TBitmap turned = RotatedLeft(view);
  Paint(owned, turned, *d.Buttons);
  return 0;
}
