// skingen: draws a skin from code and writes it as a folder (the description
// and its bitmaps), ready for "skinpack pack".
//
//   skingen [--variant default|test] [--sheet FILE.png] [--preview FILE.png]
//           [--pack FILE.skn] OUTDIR
//
// --pack also writes the compressed package directly (the build uses
// "skinpack pack" when that tool is part of the build).
#include <cstdio>
#include <filesystem>
#include <string>

#include "skin/data/skin_package_writer.h"

#include "tools/skingen/image_files.h"
#include "tools/skingen/preview.h"
#include "tools/skingen/skin_builder.h"
#include "tools/skingen/skin_design.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: skingen [--variant default|test] [--sheet FILE.png] [--preview FILE.png] "
               "[--pack FILE.skn] OUTDIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string variant = "default", sheet, preview, pack, out_dir;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--variant" || arg == "--sheet" || arg == "--preview" || arg == "--pack") &&
        i + 1 < argc) {
      (arg == "--variant" ? variant
       : arg == "--sheet" ? sheet
       : arg == "--pack"  ? pack
                          : preview) = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && out_dir.empty()) {
      out_dir = arg;
    } else {
      return Usage();
    }
  }
  if (out_dir.empty() || (variant != "default" && variant != "test")) return Usage();

  const skingen::SkinDesign design =
      variant == "test" ? skingen::TestDesign() : skingen::DefaultDesign();
  const skingen::GeneratedSkin skin = skingen::BuildSkin(design);

  std::error_code ec;
  std::filesystem::create_directories(out_dir, ec);
  const std::filesystem::path dir(out_dir);
  std::vector<skin::TSkinPackageEntry> entries;
  entries.push_back({skin.ini_file, std::vector<uint8_t>(skin.ini.begin(), skin.ini.end())});
  for (const skingen::SkinImage& image : skin.images)
    entries.push_back({image.file, skingen::BmpFile(image.image)});
  bool ok = true;
  for (const skin::TSkinPackageEntry& entry : entries)
    ok = ok && skingen::WriteFile((dir / entry.Name).string(), entry.Data);
  if (!pack.empty()) ok = ok && skingen::WriteFile(pack, skin::WriteSkinPackage(entries));
  if (!sheet.empty())
    ok = ok && skingen::WritePng(sheet, skingen::ContactSheet(skin, design.name + ": every image"));
  if (!preview.empty()) ok = ok && skingen::WritePng(preview, skingen::MockWindows(skin));
  if (!ok) {
    std::fprintf(stderr, "skingen: cannot write the skin to %s\n", out_dir.c_str());
    return 1;
  }
  return 0;
}
