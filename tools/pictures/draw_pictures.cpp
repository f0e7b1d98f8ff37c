// Draws the game's pictures and writes them as data/pictures/<Name>.png.
//
//   qb_draw_pictures [OUT_DIR] [--only NAME]... [--board PREVIEW.png] [--verbose]
//
// Every picture is drawn from shapes, lit from the top left, then brought to
// its exact number of colours. The output is the same on every run. With
// --board it also writes a few cells of a board built from the new tiles.
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>

#include "tools/pictures/picture_set.h"

namespace {

using qb::tools::Image;

// A small room to judge the tiles side by side.
const char* const kBoard[] = {
    "11111111111",
    "10000100041",
    "10340103001",
    "10050002001",
    "11003330111",
    "10004400001",
    "11111111111",
};

Image Board(const std::map<std::string, Image>& pics) {
  const int rows = static_cast<int>(std::size(kBoard));
  const int cols = static_cast<int>(std::string(kBoard[0]).size());
  Image out;
  out.width = cols * 40 + 1;
  out.height = rows * 40 + 1;
  out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0xFF00BEBE);
  const char* names[] = {"PicFloor", "PicWall", "PicFigure", "PicBox", "PicTarget", "PicBoxOnTarget"};
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const int code = kBoard[r][c] - '0';
      if (code == 0) continue;
      const auto it = pics.find(names[code]);
      if (it == pics.end()) continue;
      const Image& p = it->second;
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
          if (p.at(x, y) >> 24) out.at(c * 40 + x, r * 40 + y) = p.at(x, y);
    }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  namespace pics = qb::pictures;
  std::string out_dir = QB_SOURCE_DIR "/data/pictures";
  std::set<std::string> only;
  std::string board;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--only" && i + 1 < argc) only.insert(argv[++i]);
    else if (a == "--board" && i + 1 < argc) board = argv[++i];
    else if (a == "--verbose") pics::Verbose() = true;
    else out_dir = a;
  }
  std::vector<pics::PictureJob> jobs;
  for (auto list : {pics::TileJobs, pics::KeyJobs, pics::SignJobs, pics::DialogJobs, pics::ScreenshotJobs})
    for (auto& j : list()) jobs.push_back(std::move(j));
  std::map<std::string, Image> done;
  try {
    std::filesystem::create_directories(out_dir);
    for (const auto& job : jobs) {
      if (!only.empty() && !only.count(job.name)) continue;
      const Image img = job.draw();
      const auto counts = pics::Measure(img, img.pixels.empty() ? std::nullopt : std::optional(img.pixels.back()));
      std::cout << job.name << ": " << img.width << " x " << img.height << ", " << counts.pixels << " pixels, "
                << counts.colours << " colours\n";
      qb::tools::WritePng(out_dir + "/" + job.name + ".png", img);
      done[job.name] = img;
    }
    if (!board.empty()) qb::tools::WritePng(board, Board(done));
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
