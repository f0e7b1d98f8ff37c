// Helpers the screen tests share: scripted key runs of one screen and checks
// of what stands on the surface.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "flow/state.h"
#include "gfx/headless/headless.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "headless_fixture.h"
#include "shell/screen_loop.h"

namespace qb::testing {

using Script = std::vector<HeadlessPlatform::ScriptedKey>;

// Keys `gap` ms apart from `start` on.
inline Script KeysFrom(std::int64_t start, std::int64_t gap, const std::vector<std::uint32_t>& codes) {
  Script s;
  for (std::size_t i = 0; i < codes.size(); ++i) s.push_back({start + gap * static_cast<std::int64_t>(i), codes[i]});
  return s;
}

// Whether every pixel of the named picture stands at (x, y).
inline bool Shows(std::string_view picture, int x, int y) {
  const PictureData* data = PicturePixels(picture);
  EXPECT_NE(data, nullptr) << picture;
  if (!data) return false;
  for (const auto& p : data->pixels)
    if (GetPixel(x + p.dx, y + p.dy) != p.colour) return false;
  return true;
}

using PixelSet = std::set<std::pair<int, int>>;

// The pixels of one colour in a rectangle.
inline PixelSet Lit(Colour c, int x1, int y1, int x2, int y2) {
  PixelSet px;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x)
      if (GetPixel(x, y) == c) px.insert({x, y});
  return px;
}

// Whether the rectangle, in `ground` but for text in `ink`, holds exactly
// what drawing `text` at (x, y) with `draw` gives. Repaints the rectangle.
inline bool ShowsText(void (*draw)(float, float, Colour, std::string_view), int x, int y, Colour ink, Colour ground,
                      std::string_view text, int x1, int y1, int x2, int y2) {
  const PixelSet shown = Lit(ink, x1, y1, x2, y2);
  FillBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), ground);
  draw(static_cast<float>(x), static_cast<float>(y), ink, text);
  return !shown.empty() && shown == Lit(ink, x1, y1, x2, y2);
}

// Runs single screens with fresh game state.
class ScreenTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    State() = GameState{};
  }
  // Enters `screen` with these keys; returns the screen it hands on to, or
  // nothing when the keys ran out or the stop time came.
  std::optional<Screen> Enter(Screen screen, Script keys, std::optional<std::int64_t> stop_at = {}) {
    Install(std::move(keys), stop_at);
    try {
      return RunScreen(screen);
    } catch (const RunStopped&) {
      return std::nullopt;
    }
  }
};

}  // namespace qb::testing
