// Writes docs/levels.md (per level: name, boxes, targets, walls, the best
// solution's moves and pushes, whether that push count is proven the fewest,
// the solver's effort) and docs/levels.png (every board as a thumbnail).
//
// Usage: qb_level_docs REPO_ROOT [--budget N]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "tools/levels/level_io.h"
#include "tools/levels/solver.h"
#include "tools/png_io.h"

namespace qb::levels {
namespace {

struct Row {
  int number = 0;
  std::string name;
  int boxes = 0, targets = 0, walls = 0;
  int pushes = -1;
  std::size_t moves = 0;
  bool proven = false;
  std::uint64_t nodes = 0;
};

int Pushes(const std::string& moves) {
  return static_cast<int>(std::count_if(moves.begin(), moves.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

template <typename T>
double Median(std::vector<T> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 ? static_cast<double>(v[m]) : (static_cast<double>(v[m - 1]) + static_cast<double>(v[m])) / 2;
}

// 3 x 5 digits for the level numbers on the thumbnail sheet.
constexpr const char* kDigits[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                     "101101111001001", "111100111001111", "111100111101111", "111001001001001",
                                     "111101111101111", "111101111001111"};

void DrawNumber(tools::Image& img, int x, int y, int n, std::uint32_t colour) {
  const std::string s = std::to_string(n);
  for (std::size_t k = 0; k < s.size(); ++k)
    for (int py = 0; py < 5; ++py)
      for (int px = 0; px < 3; ++px)
        if (kDigits[s[k] - '0'][py * 3 + px] == '1') img.at(x + static_cast<int>(k) * 4 + px, y + py) = colour;
}

void DrawSheet(const std::string& path, const std::map<int, Puzzle>& levels) {
  constexpr int kCell = 5, kPerRow = 10, kPadX = 8, kPadY = 14;
  constexpr int kBoardW = kW * kCell, kBoardH = kH * kCell;
  tools::Image img;
  img.width = kPerRow * (kBoardW + kPadX) + kPadX;
  img.height = 20 * (kBoardH + kPadY) + kPadX;
  img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0xFF202428);
  for (const auto& [n, p] : levels) {
    const int x0 = kPadX + ((n - 1) % kPerRow) * (kBoardW + kPadX);
    const int y0 = kPadY + ((n - 1) / kPerRow) * (kBoardH + kPadY);
    DrawNumber(img, x0, y0 - 7, n, 0xFFC8C8C8);
    const Bits play = Flood(~p.walls, p.figure);
    for (int i = 0; i < kCells; ++i) {
      std::uint32_t base = play.test(i) ? 0xFFD8CFB8 : 0xFF3A4048;
      if (p.walls.test(i)) base = 0xFF8A5A3C;
      for (int py = 0; py < kCell; ++py)
        for (int px = 0; px < kCell; ++px) {
          std::uint32_t c = base;
          const bool inner = px > 0 && py > 0 && px < kCell - 1 && py < kCell - 1;
          const bool centre = px >= 1 && px <= 3 && py >= 1 && py <= 3;
          const int code = p.Code(i);
          if (code == 3 && inner) c = 0xFFE09020;
          if (code == 5 && inner) c = 0xFF40B040;
          if (code == 4 && px == 2 && py == 2) c = 0xFFD02020;
          if ((code == 2 || code == 7) && centre) c = code == 7 ? 0xFF9040E0 : 0xFF2060E0;
          if (p.walls.test(i) && (px == kCell - 1 || py == kCell - 1)) c = 0xFF5C3A26;
          img.at(x0 + (i % kW) * kCell + px, y0 + (i / kW) * kCell + py) = c;
        }
    }
  }
  tools::WritePng(path, img);
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: qb_level_docs REPO_ROOT [--budget N]\n";
    return 2;
  }
  const std::string root = argv[1];
  std::uint64_t budget = 100000;  // the boards with a hundred boxes and more cost the solver dearly per node
  if (argc > 3 && std::strcmp(argv[2], "--budget") == 0) budget = std::strtoull(argv[3], nullptr, 10);

  std::map<int, std::string> names;
  {
    std::ifstream in(root + "/data/level_names.txt");
    std::string line;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::istringstream words(line);
      int n = 0;
      words >> n;
      std::string rest;
      std::getline(words, rest);
      names[n] = rest.empty() ? rest : rest.substr(1);
    }
  }
  const auto stored = ReadSolutions(root + "/tests/data/solutions.txt");
  std::map<int, Puzzle> levels;
  std::vector<Row> rows;
  for (const auto& [rec, p] : ReadPuzzles(root + "/data/levels.txt")) {
    levels[rec.number] = p;
    Row row;
    row.number = rec.number;
    row.name = names[rec.number];
    row.boxes = p.boxes.count();
    row.targets = p.targets.count();
    row.walls = p.walls.count();
    const SolveResult r = Solve(p, budget);
    row.nodes = r.nodes;
    if (r.found) {
      row.pushes = r.pushes;
      row.moves = r.moves.size();
      row.proven = r.proven;
    }
    // The stored solution counts when the solver, out of budget, found a longer one or none.
    const auto it = stored.find(rec.number);
    if (it != stored.end() && !row.proven) {
      Puzzle check = p;
      if (Replay(check, it->second) && Solved(check) && (row.pushes < 0 || Pushes(it->second) < row.pushes)) {
        row.pushes = Pushes(it->second);
        row.moves = it->second.size();
      }
    }
    std::fprintf(stderr, "level %3d: pushes %3d %s nodes %llu\n", row.number, row.pushes,
                 row.proven ? "proven" : "unproven", static_cast<unsigned long long>(row.nodes));
    rows.push_back(row);
  }

  auto range = [&](int lo, int hi, bool pushes) {
    std::vector<double> v;
    for (const Row& r : rows)
      if (r.number >= lo && r.number <= hi) v.push_back(pushes ? r.pushes : static_cast<double>(r.nodes));
    return Median(v);
  };
  int proven = 0;
  for (const Row& r : rows) proven += r.proven;

  std::ofstream md(root + "/docs/levels.md");
  md << "# The levels\n\n"
        "Generated by `qb_level_docs` (tools/levels) from data/levels.txt and data/level_names.txt; do not edit.\n"
        "Regenerate with `build/tools/levels/qb_level_docs .` from the repository root.\n\n"
        "*Pushes* and *moves* are those of the best solution known (the solver's, or the stored one in\n"
        "tests/data/solutions.txt when the solver ran out of budget). *Proven* means the solver's search\n"
        "finished: no solution with fewer pushes exists. *Nodes* is the number of positions the solver\n"
        "expanded (budget "
     << budget << " per pass), its measure of effort.\n\n";
  char buf[256];
  std::snprintf(buf, sizeof buf,
                "Medians: levels 2-20: %.0f pushes, %.0f nodes; levels 21-99: %.0f pushes, %.0f nodes; "
                "levels 100-200: %.0f pushes, %.0f nodes. Proven push-optimal: %d of %zu.\n\n",
                range(2, 20, true), range(2, 20, false), range(21, 99, true), range(21, 99, false),
                range(100, 200, true), range(100, 200, false), proven, rows.size());
  md << buf;
  md << "![All 200 boards](levels.png)\n\n";
  md << "| Level | Name | Boxes | Targets | Walls | Moves | Pushes | Proven | Nodes |\n";
  md << "|---:|---|---:|---:|---:|---:|---:|---|---:|\n";
  for (const Row& r : rows) {
    md << "| " << r.number << " | " << r.name << " | " << r.boxes << " | " << r.targets << " | " << r.walls
       << " | " << r.moves << " | " << r.pushes << " | " << (r.proven ? "yes" : "no") << " | " << r.nodes
       << " |\n";
  }
  DrawSheet(root + "/docs/levels.png", levels);
  return 0;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) {
  try {
    return qb::levels::Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "qb_level_docs: " << e.what() << "\n";
    return 1;
  }
}
