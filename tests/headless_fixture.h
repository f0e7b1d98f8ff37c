// A fixture that installs a fresh headless surface for each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "gfx/headless/headless.h"
#include "gfx/surface.h"

namespace qb::testing {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { Install({}, kFarFuture); }
  static constexpr std::int64_t kFarFuture = 1LL << 40;
  void TearDown() override { InstallPlatform(nullptr); }

  // Replaces the platform with one that delivers these keys.
  void Install(std::vector<HeadlessPlatform::ScriptedKey> keys, std::optional<std::int64_t> stop_at = {}) {
    platform_ = std::make_unique<HeadlessPlatform>(std::move(keys), stop_at);
    InstallPlatform(platform_.get());
    SetColour(0, 0);
    ClearScreen();
  }

  HeadlessPlatform& platform() { return *platform_; }

  // Number of surface pixels in the rectangle that hold the colour.
  static int CountColour(Colour c, int x1 = 0, int y1 = 0, int x2 = kSurfaceWidth - 1, int y2 = kSurfaceHeight - 1) {
    int n = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) n += GetPixel(x, y) == c;
    return n;
  }

 private:
  std::unique_ptr<HeadlessPlatform> platform_;
};

}  // namespace qb::testing
