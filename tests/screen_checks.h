// Helpers the screen tests share: scripted key runs of one screen and checks
// of what stands on the surface.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/catalogue.h"
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

// Whether the rectangle holds, pixel for pixel, what `paint` draws there.
// `paint` starts from the rectangle filled with a colour no screen uses, so it
// has to paint every pixel it expects. The surface is left as it was.
template <typename Paint>
::testing::AssertionResult ShowsExactly(int x1, int y1, int x2, int y2, Paint paint) {
  constexpr Colour kUnpainted = 0xFF5A0B5A;
  std::vector<Colour> shown;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) shown.push_back(GetPixel(x, y));
  FillBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), kUnpainted);
  paint();
  int differ = 0;
  char first[96] = "";
  std::size_t i = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x, ++i) {
      const Colour expected = GetPixel(x, y);
      if (expected != shown[i] && differ++ == 0)
        std::snprintf(first, sizeof first, "first at (%d, %d): shown %08X, expected %08X", x, y, shown[i], expected);
      PutPixel(static_cast<float>(x), static_cast<float>(y), shown[i]);
    }
  if (differ == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differ << " pixels differ, " << first;
}

// The dialog box (x 138..508, y 55..355) without its shadow: yellow fill, the
// olive inner fill unless left out, and two blue outlines, the second one's
// bottom edge one row lower.
inline void PaintDialogBox(bool inner_fill = true) {
  FillBox(138, 55, 508, 355, 0xFFBBBB01);
  if (inner_fill) FillBox(158, 75, 488, 335, 0xFFA7A700);
  DrawBox(143, 60, 503, 350, 0xFF0001BB);
  DrawBox(144, 61, 502, 351, 0xFF0001BB);
}

// A panel as the screens draw it: its fill, two outlines 5 and 6 pixels inside
// (the second one's bottom edge one row lower when `low_second`), and its
// shadow, 19 (large: 23) pixels to the right of it and 21 (24) below, whose
// right strip begins at row `shadow_start`.
inline void PaintPanel(int left, int right, int top, int bottom, Colour fill, Colour outline, int shadow_start,
                       bool large = false, bool low_second = false) {
  const int reach = large ? 23 : 19, depth = large ? 24 : 21;
  auto box = [](int x1, int y1, int x2, int y2, Colour c, bool filled) {
    const auto f = [](int v) { return static_cast<float>(v); };
    filled ? FillBox(f(x1), f(y1), f(x2), f(y2), c) : DrawBox(f(x1), f(y1), f(x2), f(y2), c);
  };
  box(left, top, right, bottom, fill, true);
  box(left + 5, top + 5, right - 5, bottom - 5, outline, false);
  box(left + 6, top + 6, right - 6, bottom - (low_second ? 4 : 6), outline, false);
  box(left + 19, bottom + 1, right + reach, bottom + depth, 0xFF3B3B3B, true);
  box(right + 1, shadow_start, right + reach, bottom + depth, 0xFF3B3B3B, true);
}

// The gauges' bands, from the bottom: the top row of each, the step gauge's
// colour and the time gauge's.
struct GaugeBand {
  int y0;
  Colour step, time;
};
inline constexpr GaugeBand kGaugeBands[] = {
    {468, 0xFF600A0A, 0xFF63630A}, {462, 0xFF670A0A, 0xFF69690A}, {456, 0xFF6E0A0A, 0xFF70700A},
    {450, 0xFF760A0A, 0xFF76760A}, {444, 0xFF7D0A0A, 0xFF7C7C0A}, {438, 0xFF840A0A, 0xFF83830A},
    {432, 0xFF8C0A0A, 0xFF89890A}, {426, 0xFF930A0A, 0xFF90900A}, {420, 0xFF9B0A0A, 0xFF97970A},
    {414, 0xFFA30A0A, 0xFF9E9E0A}, {408, 0xFFAB0A0A, 0xFFA5A50A}, {402, 0xFFB30A0A, 0xFFACAC0A},
    {396, 0xFFBB0A0A, 0xFFB3B30A},
};

// Both gauges filled, the step gauge over x step_left..step_right and the time
// gauge over x time_left..time_right, each band four rows high.
inline void PaintGauges(int step_left, int step_right, int time_left, int time_right) {
  for (const GaugeBand& b : kGaugeBands) {
    const auto top = static_cast<float>(b.y0), bottom = static_cast<float>(b.y0 + 3);
    FillBox(static_cast<float>(step_left), top, static_cast<float>(step_right), bottom, b.step);
    FillBox(static_cast<float>(time_left), top, static_cast<float>(time_right), bottom, b.time);
  }
}

// The status bar's band (x 2..648, y 452..467) with one centred hint line:
// its light outline, its fill, the text.
inline void PaintHintLine(std::string_view text) {
  FillBox(2, 452, 648, 467, 0xFFC8C8C8);
  FillBox(3, 452, 647, 467, 0xFF96969D);
  Text8(static_cast<float>(CentreText8(text.size())), 458, 0xFF000000, text);
}
inline constexpr std::string_view kContinueHint = "For continue press key SPACE or BACKSPACE or ESC";

// Play proper polls its first key once both gauges are filled: 13 bands,
// 35 ms each.
inline constexpr std::int64_t kGaugeFillMs = 13 * 35;

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

// Runs the play screen for one level.
class PlayTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    FillCatalogue();
  }
  // Keys from here on reach play proper (the gauges are filled by then).
  static constexpr std::int64_t kPlayStarts = 500;

  // Enters the play screen for `level` with `score`: in play proper when
  // `running`, else in the level-entry wait with the figure appearing. Keys
  // arrive `gap` ms apart from `start` on. Returns the screen it hands on to,
  // or nothing when the keys ran out or the stop time came.
  std::optional<Screen> Play(int level, float score, bool running, const std::vector<std::uint32_t>& keys,
                             std::int64_t start = kPlayStarts, std::int64_t gap = 200,
                             std::optional<std::int64_t> stop_at = std::nullopt) {
    return PlayScript(level, score, running, KeysFrom(start, gap, keys), stop_at);
  }
  std::optional<Screen> PlayScript(int level, float score, bool running, Script keys,
                             std::optional<std::int64_t> stop_at = std::nullopt) {
    auto& s = State();
    s = GameState{};
    s.level = static_cast<std::uint8_t>(level);
    s.score = s.previous_score = score;
    s.level_running = running ? 1 : 0;
    s.appearance = running ? 0 : 1;
    return Enter(Screen::Play, std::move(keys), stop_at);
  }

  // Which picture the cell at column c, row r shows: the figure, one of the
  // nine frames of its appearance, or none of them.
  static std::string FigureCell(int c, int r) {
    const int x = 40 * c - 35, y = 40 * r - 35;
    if (Shows("PicFigure", x, y)) return "PicFigure";
    for (int k = 1; k <= 9; ++k)
      if (const std::string name = "PicMosaic" + std::to_string(k); Shows(name, x, y)) return name;
    return "no figure";
  }
};

// Key codes as the tests press them.
namespace keys {
// The game's key names as the headless script queues them.
inline constexpr std::uint32_t kRight = key::kRight.code, kLeft = key::kLeft.code, kUp = key::kUp.code,
                               kDown = key::kDown.code, kF1 = key::kF1.code, kF5 = key::kF5.code,
                               kF12 = key::kF12.code, kCtrlF12 = key::kCtrlF12.code, kClose = key::kClose.code,
                               kSpace = key::kSpace.code, kEscape = key::kEscape.code,
                               kBackspace = key::kBackspace.code, kEnter = key::kEnter.code;
}  // namespace keys

}  // namespace qb::testing
