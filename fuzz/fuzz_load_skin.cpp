// A whole skin load. The input is an unpacked package (header, names, sizes,
// entries), compressed here so that mutations reach the description and the
// bitmaps rather than only the bit stream.
#include <cstddef>
#include <cstdint>

#include "skin/data/bmp_codec.h"
#include "skin/data/lzh.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  skin::TSkinData d;
  d.SkinStream.Write(skin::CompressSkinPackage(std::span(data, size)));
  try {
    d.LoadSkin();
  } catch (const skin::ESkinPackageError&) {
  } catch (const skin::ElzhException&) {
  } catch (const skin::EBitmapError&) {
  } catch (const std::length_error&) {
  }
  return 0;
}
