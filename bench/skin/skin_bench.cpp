// Figures of the skin data core: package decoding, a whole skin load,
// nine-slice images and the colour-keyed copy. Run on demand:
//   build/native-release/bench/skin/skin_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/bmp_codec.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_package_writer.h"
#include "skin/data/skin_reader.h"
#include "tests/skin/data/sample_skin.h"

namespace {

using namespace skin;

// A package of about 260 KB unpacked: the sample skin plus bitmaps of the
// sizes a real skin carries.
const std::vector<uint8_t>& Package260K() {
  static const std::vector<uint8_t> package = [] {
    auto entries = testing::SampleEntries();
    size_t total = 0;
    for (const auto& e : entries)
      total += e.Data.size();
    for (int i = 0; total < 260000; i++) {
      auto bmp = testing::FramedBmp(120, 40, 4);
      total += bmp.size();
      entries.push_back({"extra" + std::to_string(i) + ".bmp", std::move(bmp)});
    }
    return WriteSkinPackage(entries);
  }();
  return package;
}

void PixelRate(benchmark::State& state, int64_t pixels) {
  state.counters["Mpixel/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DecodePackage(benchmark::State& state) {
  const auto& package = Package260K();
  int64_t unpacked = 0;
  for (auto _ : state) {
    TMemoryStream stream(package);
    TSkinReader reader;
    reader.LoadPackage(stream);
    unpacked = static_cast<int64_t>(16 + reader.DataArea().Size());
    benchmark::DoNotOptimize(reader.Count());
  }
  state.SetBytesProcessed(state.iterations() * unpacked);
  state.SetLabel(std::to_string(unpacked) + " bytes unpacked from " +
                 std::to_string(package.size()));
}
BENCHMARK(BM_DecodePackage)->Unit(benchmark::kMillisecond);

void BM_LoadSkin(benchmark::State& state) {
  std::vector<uint8_t> package;
  std::ifstream f(SKIN_BENCH_DEFAULT_SKIN, std::ios::binary);
  if (f) {
    package.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    state.SetLabel("default skin");
  } else {
    package = Package260K();
    state.SetLabel("260 KB sample (default skin not built)");
  }
  for (auto _ : state) {
    TSkinData d;
    d.SkinStream.Write(package);
    benchmark::DoNotOptimize(d.LoadSkin());
  }
}
BENCHMARK(BM_LoadSkin)->Unit(benchmark::kMillisecond);

void BM_BuildSkinImage(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  const TBitmap frames = DecodeBmp(testing::FramedBmp(5 * 47, 22, 5));
  for (auto _ : state) {
    TBitmap img = BuildSkinImage({0, 0, w, h}, frames, {10, 9, 10, 10}, false, false, 5, 2);
    benchmark::DoNotOptimize(img.Row(0));
  }
  PixelRate(state, int64_t{w} * h);
}
BENCHMARK(BM_BuildSkinImage)->Args({600, 30})->Args({142, 30});

void BM_BuildSkinImageTiled(benchmark::State& state) {
  const TBitmap frames = DecodeBmp(testing::FramedBmp(5 * 47, 22, 5));
  for (auto _ : state) {
    TBitmap img = BuildSkinImage({0, 0, 600, 30}, frames, {10, 9, 10, 10}, false, true, 5, 2);
    benchmark::DoNotOptimize(img.Row(0));
  }
  PixelRate(state, 600 * 30);
}
BENCHMARK(BM_BuildSkinImageTiled);

void BM_DrawTransparentBitmap(benchmark::State& state) {
  TBitmap source(600, 300);
  for (int y = 0; y < 300; y++) {
    for (int x = 0; x < 600; x++)
      source.SetPixel(x, y, (x + y) % 3 ? MakeColour(x, y, 7) : kSkinTransparent);
  }
  TBitmap surface(600, 300, PixelFormat::k32Bit);
  for (auto _ : state) {
    DrawTransparentBitmap(surface, {0, 0, 600, 300}, source, kSkinTransparent);
    benchmark::DoNotOptimize(surface.Row(0));
  }
  PixelRate(state, 600 * 300);
}
BENCHMARK(BM_DrawTransparentBitmap);

}  // namespace

BENCHMARK_MAIN();
