// PutPixel over the whole surface against a raw array store of the same
// pixels: the cost of rounding, clipping and the changed-row mark.
#include <benchmark/benchmark.h>

#include <vector>

#include "gfx/headless/headless.h"
#include "gfx/surface.h"

namespace {

void BM_RawArrayStore(benchmark::State& state) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(qb::kSurfaceWidth) * qb::kSurfaceHeight);
  std::uint32_t c = 0xFF000000;
  for (auto _ : state) {
    for (int y = 0; y < qb::kSurfaceHeight; ++y)
      for (int x = 0; x < qb::kSurfaceWidth; ++x) pixels[static_cast<std::size_t>(y) * qb::kSurfaceWidth + x] = c;
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
    ++c;
  }
  state.SetItemsProcessed(state.iterations() * qb::kSurfaceWidth * qb::kSurfaceHeight);
}
BENCHMARK(BM_RawArrayStore);

void BM_PutPixel(benchmark::State& state) {
  qb::HeadlessPlatform platform;
  qb::InstallPlatform(&platform);
  std::uint32_t c = 0xFF000000;
  for (auto _ : state) {
    for (int y = 0; y < qb::kSurfaceHeight; ++y)
      for (int x = 0; x < qb::kSurfaceWidth; ++x) qb::PutPixel(static_cast<float>(x), static_cast<float>(y), c);
    benchmark::ClobberMemory();
    ++c;
  }
  state.SetItemsProcessed(state.iterations() * qb::kSurfaceWidth * qb::kSurfaceHeight);
  qb::InstallPlatform(nullptr);
}
BENCHMARK(BM_PutPixel);

}  // namespace
