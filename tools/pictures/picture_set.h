// The pictures the generator draws, each as a function that returns the
// finished image (exact to its counts), and the helpers they share.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/pictures/canvas.h"
#include "tools/pictures/counts.h"
#include "tools/png_io.h"

namespace qb::pictures {

inline constexpr std::uint32_t kCyan = 0x00BEBE;    // the board floor
inline constexpr std::uint32_t kPanel = 0xBBBB01;   // the yellow panels (menu box, pause screen)
inline constexpr std::uint32_t kDialog = 0xA7A700;  // the olive dialog fill

struct PictureJob {
  std::string name;
  std::function<qb::tools::Image()> draw;
};

// When set, Finish reports each picture's counts as drawn, before the goal.
bool& Verbose();

// Renders the canvas and brings it to the goal.
qb::tools::Image Finish(const Canvas& canvas, const Goal& goal);

// Shaded by a bevel of the given width along the shape's outline.
Rgb Bevelled(Rgb base, const Field& shape, Vec p, float width, const Material& m = {}, float height = 1.f);

std::vector<PictureJob> TileJobs();        // wall, target, box, box on target, figure, floor
std::vector<PictureJob> KeyJobs();         // key caps, arrow keys, question block
std::vector<PictureJob> SignJobs();        // pointer, arrows, tick, forbidden sign
std::vector<PictureJob> DialogJobs();      // cups, coins, floppy, warning, skip, take back, hearts, devil
std::vector<PictureJob> ScreenshotJobs();  // the two screens of the old game

}  // namespace qb::pictures
