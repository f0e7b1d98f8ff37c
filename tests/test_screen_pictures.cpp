// The screens that show the same picture every time, pixel for pixel against
// their pictures in tests/data/screens/: the main menu (before its question
// mark first blinks), the instructions, about and credits screens, and level 1
// in play once its gauges are filled (the playfield's frame, the board with
// cells in its last row and column, the status bar, the side bar), each
// entered on a cleared surface. After an intended change of one of them, look
// at the new picture and write it with
//   QB_UPDATE_SCREENS=1 build/test/quizzlebox_tests --gtest_filter='ScreenPictures.*'
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "screen_checks.h"
#include "tools/png_io.h"

namespace qb {
namespace {

using ScreenPictures = testing::PlayTest;  // the level names filled in for play

tools::Image Surface() {
  tools::Image image{kSurfaceWidth, kSurfaceHeight, {}};
  for (int y = 0; y < kSurfaceHeight; ++y)
    for (int x = 0; x < kSurfaceWidth; ++x) image.pixels.push_back(GetPixel(x, y) | 0xFF000000u);
  return image;
}

TEST_F(ScreenPictures, StaticScreensShowTheirPictures) {
  struct Case {
    Screen screen;
    const char* name;
    bool running = false;  // play proper at once, shown when the gauges are filled
  };
  const Case screens[] = {
      {Screen::MainMenu, "main_menu"},
      {Screen::Instructions, "instructions"},
      {Screen::About, "about"},
      {Screen::Credits, "credits"},
      {Screen::Play, "play_level_1", true},
  };
  const bool update = std::getenv("QB_UPDATE_SCREENS") != nullptr;
  for (const auto& [screen, name, running] : screens) {
    SCOPED_TRACE(name);
    State() = GameState{};
    State().level_running = running ? 1 : 0;
    Enter(screen, {}, running ? testing::kGaugeFillMs + 100 : 100);
    const tools::Image shown = Surface();
    const std::string path = std::string(QB_SOURCE_DIR) + "/tests/data/screens/" + name + ".png";
    if (update) {
      tools::WritePng(path, shown);
      continue;
    }
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const tools::Image expected = tools::ReadPng(path);
    ASSERT_EQ(expected.pixels.size(), shown.pixels.size());
    int differ = 0, first = -1;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i)
      if (shown.pixels[i] != expected.pixels[i] && differ++ == 0) first = static_cast<int>(i);
    if (differ > 0) {
      const std::string seen = ::testing::TempDir() + "qb_screen_" + name + ".png";
      tools::WritePng(seen, shown);
      ADD_FAILURE() << differ << " pixels differ, the first at (" << first % kSurfaceWidth << ", "
                    << first / kSurfaceWidth << "); the screen as shown is in " << seen;
    }
  }
}

}  // namespace
}  // namespace qb
