// Measures every level with its stored solution and writes docs/levels.md (the
// figures per level and per band, the level set's targets with pass or fail,
// how the levels were made), docs/levels-effort.png and docs/levels-human.png
// (the search's and the human model's effort against level
// number on a log scale) and docs/levels.png (every board as a thumbnail).
//
// Usage: qb_level_docs REPO_ROOT [--check] [--levels FIRST LAST] [--explain N]
//   --check   print the band table and the targets, write nothing; the exit
//             status is 0 when every target holds
//   --levels  measure only these levels (a quick look; implies --check)
//   --explain print one level, its solution box by box, and at each step the
//             pushes that would be fatal unseen
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "tools/levels/level_io.h"
#include "tools/levels/level_report.h"
#include "tools/png_io.h"
#include "tools/levels/tool_main.h"

namespace qb::levels {
namespace {

// 3 x 5 digits for the numbers on the pictures.
constexpr const char* kDigits[10] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                     "101101111001001", "111100111001111", "111100111101111", "111001001001001",
                                     "111101111101111", "111101111001111"};

void DrawNumber(tools::Image& img, int x, int y, long long n, std::uint32_t colour) {
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

// A figure against level number, one dot per level, on a log scale from 1 to
// 10^7; hollow where `complete` says the figure is only a lower bound.
using Figure = double (*)(const LevelReport&);
using Complete = bool (*)(const LevelReport&);
void DrawChart(const std::string& path, const std::vector<LevelReport>& reports, double threshold, Figure figure,
               Complete complete) {
  constexpr int kLeft = 44, kTop = 12, kStep = 4, kDecade = 40, kDecades = 7;
  tools::Image img;
  img.width = kLeft + 200 * kStep + 16;
  img.height = kTop + kDecades * kDecade + 28;
  img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0xFFFFFFFF);
  const int bottom = kTop + kDecades * kDecade;
  auto y_of = [&](double v) {
    return bottom - static_cast<int>(std::lround(std::log10(std::max(1.0, v)) * kDecade));
  };
  auto x_of = [&](int level) { return kLeft + (level - 1) * kStep + 2; };
  for (int d = 0; d <= kDecades; ++d) {
    const int y = bottom - d * kDecade;
    for (int x = kLeft; x < img.width - 8; ++x) img.at(x, y) = d == 0 ? 0xFF404040 : 0xFFDDDDDD;
    DrawNumber(img, 4, y - 2, static_cast<long long>(std::pow(10, d)), 0xFF404040);
  }
  for (const Band& band : kBands) {
    const int x = x_of(band.first) - 2;
    for (int y = kTop; y <= bottom; ++y) img.at(x, y) = 0xFFBBBBBB;
    DrawNumber(img, x, bottom + 6, band.first, 0xFF404040);
  }
  DrawNumber(img, x_of(200) - 4, bottom + 6, 200, 0xFF404040);
  // The least effort asked of a hard level.
  const int ty = y_of(threshold);
  for (int x = x_of(100) - 2; x < img.width - 8; x += 2) img.at(x, ty) = 0xFFE04040;
  for (const LevelReport& r : reports) {
    const int x = x_of(r.number), y = y_of(figure(r));
    const std::uint32_t colour = ShapeFixed(r.number) ? 0xFFA0A0A0 : r.number >= 100 ? 0xFFC03020 : 0xFF2050C0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (complete(r) || (dx != 0 || dy != 0)) img.at(x + dx, y + dy) = colour;
  }
  tools::WritePng(path, img);
}

std::string Num(double v, int digits = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

std::string Count(std::uint64_t v, bool complete) {
  std::string s = std::to_string(v);
  for (int at = static_cast<int>(s.size()) - 3; at > 0; at -= 3) s.insert(static_cast<std::size_t>(at), 1, ',');
  if (!complete) s.insert(0, 1, '>');
  return s;
}

std::map<int, std::string> ReadNumbered(const std::string& path) {
  std::map<int, std::string> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    int n = 0;
    if (!(words >> n)) continue;
    std::string rest;
    std::getline(words, rest);
    out[n] = rest.empty() ? rest : rest.substr(1);
  }
  return out;
}

std::string BandTable(const std::vector<LevelReport>& reports, bool targets_only) {
  std::ostringstream md;
  md << "| median per band |";
  for (const Band& b : kBands) md << " " << b.label << " |";
  md << "\n|---|";
  for (std::size_t k = 0; k < std::size(kBands); ++k) md << "---:|";
  md << "\n";
  std::vector<BandFigures> f;
  for (const Band& b : kBands) f.push_back(FiguresOf(reports, b, targets_only));
  auto row = [&](const char* name, auto get) {
    md << "| " << name << " |";
    for (const BandFigures& x : f) md << " " << get(x) << " |";
    md << "\n";
  };
  row("pushes", [](const BandFigures& x) { return Num(x.pushes, 1); });
  row("moves", [](const BandFigures& x) { return Num(x.moves, 1); });
  row("effort", [](const BandFigures& x) { return Count(static_cast<std::uint64_t>(x.effort), true); });
  row("reachable positions", [](const BandFigures& x) { return Count(static_cast<std::uint64_t>(x.reachable), true); });
  row("steps offering a hidden fatal push", [](const BandFigures& x) { return Num(x.fatal_share, 2); });
  row("pushes per box line", [](const BandFigures& x) { return Num(x.per_line, 2); });
  row("ferry share", [](const BandFigures& x) { return Num(x.ferry, 2); });
  row("share of boards with no loop", [](const BandFigures& x) { return Num(x.no_loop, 2); });
  row("levels with 2+ rooms of exactly 3x3 or 3x4", [](const BandFigures& x) { return std::to_string(x.small_room_levels); });
  row("walkable floor cells", [](const BandFigures& x) { return Num(x.floor, 1); });
  row("counterintuitive pushes", [](const BandFigures& x) { return Num(x.counterintuitive, 1); });
  row("parts the boxes split into", [](const BandFigures& x) { return Num(x.parts, 1); });
  row("reveal depth of hidden fatal pushes", [](const BandFigures& x) { return Num(x.reveal, 1); });
  row("untouched floor", [](const BandFigures& x) { return Num(100 * x.dead_floor, 0) + "%"; });
  row("human effort (pushes tried)", [](const BandFigures& x) { return Count(static_cast<std::uint64_t>(x.human), true); });
  return md.str();
}

// A level for a player's eye: the board, then the stored solution as the journeys
// of its boxes (letters in the order they first move), then the tempting pushes
// that would lose the level where no dead square or 2x2 block gives it away,
// with the steps at which they are on offer.
int Explain(const Puzzle& p, const std::string& moves) {
  static const char* const kWay[4] = {"left", "up", "right", "down"};
  const SolutionFacts facts = StudySolution(p, moves);
  const Puzzle q = Core(p, facts.unmoved);
  const std::string signs = " #@$.*?+";
  for (const auto& row : q.Rows()) {
    std::string line;
    for (char ch : row) line += signs[static_cast<std::size_t>(ch - '0')];
    std::cout << "|" << line << "|\n";
  }
  const Exploration explored(q, Budgets{}.explore);
  auto where = [](int i) {
    std::ostringstream s;
    s << "(" << i % kW + 1 << "," << i / kW + 1 << ")";
    return s.str();
  };
  std::array<char, kCells> name;
  name.fill(0);
  char next_name = 'A';
  std::map<std::pair<int, int>, std::vector<int>> fatal;  // (cell, direction) -> steps
  Puzzle at = q;
  int step = 0, line_box = -1, line_dir = -1, line_count = 0, line_from = 0;
  auto finish = [&] {
    if (line_count > 0)
      std::cout << "push " << step - line_count + 1 << ": box " << static_cast<char>(line_box) << " from "
                << where(line_from) << " " << kWay[line_dir] << " x" << line_count << "\n";
  };
  for (char ch : moves) {
    const bool push = ch >= 'A' && ch <= 'Z';
    if (push && explored.complete())
      for (auto [box, d] : FatalPushes(at, [&](const Bits& b, int z) { return explored.Dead(b, z); }))
        fatal[{box, d}].push_back(step + 1);
    Replay(at, std::string(1, ch));
    if (!push) continue;
    const int d = static_cast<int>(std::string("LURD").find(ch));
    const int box_at = at.figure;
    if (!name[box_at]) name[box_at] = next_name++;
    const int box = name[box_at];
    name[Step(box_at, d)] = name[box_at];
    name[box_at] = 0;
    if (box != line_box || d != line_dir) {
      finish();
      line_box = box;
      line_dir = d;
      line_count = 0;
      line_from = box_at;
    }
    ++step;
    ++line_count;
  }
  finish();
  if (!explored.complete()) std::cout << "(too many positions to mark the fatal pushes)\n";
  for (const auto& [push, steps] : fatal)
    std::cout << "fatal: the box on " << where(push.first) << " " << kWay[push.second] << ", on offer before push "
              << steps.front() << (steps.size() > 1 ? " to " + std::to_string(steps.back()) : std::string()) << " ("
              << steps.size() << " steps)\n";
  return 0;
}

// The measures for people of the level set as it stood before the levels were
// designed for them (tools/levels/measures_before.txt, written by
// qb_level_measure), beside today's: band medians, before -> now.
std::string BeforeAfter(const std::string& path, const std::vector<LevelReport>& reports) {
  std::ifstream in(path);
  if (!in) return {};
  struct Row {
    int number;
    double floor, pushes, counter, reveal, dead_floor, human;
  };
  std::vector<Row> before;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    Row r{};
    int boxes = 0, parts = 0;
    std::string reveal, dead;
    if (!(words >> r.number >> boxes >> r.floor >> r.pushes >> r.counter >> parts >> reveal >> dead >> r.human)) continue;
    r.reveal = reveal == "?" ? -1 : std::atof(reveal.c_str());
    r.dead_floor = std::atof(dead.c_str()) / 100;
    before.push_back(r);
  }
  std::ostringstream md;
  md << "| median per band, before -> now |";
  for (const Band& b : kBands) md << " " << b.label << " |";
  md << "\n|---|";
  for (std::size_t k = 0; k < std::size(kBands); ++k) md << "---:|";
  md << "\n";
  auto row = [&](const char* name, double Row::*field, auto now, int digits, double scale, const char* unit) {
    md << "| " << name << " |";
    for (const Band& b : kBands) {
      std::vector<double> v;
      for (const Row& r : before)
        if (r.number >= b.first && r.number <= b.last && !(b.first >= 100 && ShapeFixed(r.number)) && r.*field >= 0)
          v.push_back(r.*field);
      md << " " << (v.empty() ? "?" : Num(scale * Median(v), digits) + unit) << " -> " << Num(scale * now(FiguresOf(reports, b, true)), digits)
         << unit << " |";
    }
    md << "\n";
  };
  row("walkable floor cells", &Row::floor, [](const BandFigures& f) { return f.floor; }, 1, 1, "");
  row("pushes", &Row::pushes, [](const BandFigures& f) { return f.pushes; }, 1, 1, "");
  row("counterintuitive pushes", &Row::counter, [](const BandFigures& f) { return f.counterintuitive; }, 1, 1, "");
  row("untouched floor", &Row::dead_floor, [](const BandFigures& f) { return f.dead_floor; }, 0, 100, "%");
  row("human effort", &Row::human, [](const BandFigures& f) { return f.human; }, 0, 1, "");
  return md.str();
}

std::string TargetList(const std::vector<TargetCheck>& checks) {
  std::ostringstream out;
  for (const TargetCheck& c : checks)
    out << "- " << (c.holds ? "PASS" : c.aim ? "MISS" : "FAIL") << " " << c.what << ": " << c.detail << "\n";
  return out.str();
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: qb_level_docs REPO_ROOT [--check] [--levels FIRST LAST]\n";
    return 2;
  }
  const std::string root = argv[1];
  bool check_only = false;
  int first = 1, last = 200, explain = 0;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--check") == 0) {
      check_only = true;
    } else if (std::strcmp(argv[i], "--explain") == 0 && i + 1 < argc) {
      explain = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--levels") == 0 && i + 2 < argc) {
      first = std::atoi(argv[++i]);
      last = std::atoi(argv[++i]);
      check_only = true;
    } else {
      std::cerr << "qb_level_docs: unknown option " << argv[i] << "\n";
      return 2;
    }
  }
  const Budgets budgets;
  const auto names = ReadNumbered(root + "/data/level_names.txt");
  const auto ideas = ReadNumbered(root + "/tools/levels/ideas.txt");
  const auto stored = ReadSolutions(root + "/tests/data/solutions.txt");
  if (explain > 0) {
    for (const auto& [rec, p] : ReadPuzzles(root + "/data/levels.txt"))
      if (rec.number == explain) return Explain(p, stored.count(explain) ? stored.at(explain) : "");
    return 1;
  }
  std::map<int, Puzzle> levels;
  std::vector<std::pair<int, const Puzzle*>> work;
  const auto puzzles = ReadPuzzles(root + "/data/levels.txt");
  for (const auto& [rec, p] : puzzles) {
    levels[rec.number] = p;
    if (rec.number >= first && rec.number <= last) work.emplace_back(rec.number, &p);
  }
  // Each level is measured in stages that do not depend on one another, and
  // the stages of all levels are shared out over the cores; each report keeps
  // its slot so that the output does not depend on which thread finished
  // first. The long stages (the fewest-moves search, the human model) go
  // first, hardest half first, so that no long one is left for the end.
  std::vector<LevelReport> reports(work.size());
  std::vector<Puzzle> boards(work.size());
  std::vector<std::string> solutions(work.size());
  for (std::size_t i = 0; i < work.size(); ++i) {
    const auto it = stored.find(work[i].first);
    if (it != stored.end()) solutions[i] = it->second;
    reports[i] = StartLevel(work[i].first, *work[i].second, solutions[i], boards[i]);
  }
  std::vector<std::pair<Stage, std::size_t>> tasks;
  for (Stage stage : {Stage::kFewestMoves, Stage::kHuman, Stage::kPositions, Stage::kFewestPushes, Stage::kEffort})
    for (std::size_t i = work.size(); i-- > 0;) tasks.emplace_back(stage, i);
  std::vector<std::atomic<int>> left(work.size());
  for (auto& n : left) n = static_cast<int>(std::size(kStages));
  std::atomic<std::size_t> next{0};
  std::mutex log;
  const auto measure = [&] {
    for (std::size_t t; (t = next.fetch_add(1)) < tasks.size();) {
      const auto [stage, i] = tasks[t];
      MeasureStage(reports[i], stage, boards[i], solutions[i], budgets);
      if (--left[i] > 0) continue;
      const LevelReport& r = reports[i];
      const std::lock_guard<std::mutex> hold(log);
      std::fprintf(stderr,
                   "level %3d: pushes %3d/%3d moves %4d/%4d effort %s reachable %s fatal %.2f line %.2f ferry %.2f "
                   "unmoved %d loops %d rooms %s floor %d counter %d parts %d reveal %.1f untouched %.2f human %.0f\n",
                   r.number, r.pushes, r.fewest_pushes, r.moves, r.fewest_moves,
                   Count(r.effort.expanded, r.effort.complete).c_str(),
                   Count(r.reachable, r.reachable_complete).c_str(), r.FatalShare(), r.PerLine(), r.ferry_share,
                   r.unmoved, r.shape.loops, r.shape.arrangement.c_str(), r.people.floor, r.people.counterintuitive,
                   r.people.parts, r.people.reveal, r.people.dead_floor, r.people.human.median);
    }
  };
  std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
  for (std::thread& t : threads) t = std::thread(measure);
  for (std::thread& t : threads) t.join();
  CompareBoards(reports);
  const auto checks = CheckTargets(reports);
  if (check_only) {
    std::cout << BandTable(reports, true) << "\n" << TargetList(checks);
    return std::all_of(checks.begin(), checks.end(), [](const TargetCheck& c) { return c.holds || c.aim; }) ? 0 : 1;
  }

  std::ofstream md(root + "/docs/levels.md");
  md << "# The levels\n\n"
        "Generated by `qb_level_docs` (tools/levels) from data/levels.txt, data/level_names.txt,\n"
        "tests/data/solutions.txt, tools/levels/ideas.txt and tools/levels/making.md; do not edit.\n"
        "Regenerate with `build/tools/levels/qb_level_docs .` from the repository root;\n"
        "`build/tools/levels/qb_level_docs . --check` prints the band table and the targets below.\n\n"
        "## What is measured\n\n"
        "- *Pushes*, *moves*: the stored solution's own counts (tests/data/solutions.txt). *Fewest*: the\n"
        "  fewest pushes the solver proves, and the fewest moves of any solution; \"?\" where the search\n"
        "  ran out of budget.\n"
        "- *Effort*: positions expanded by an A* search over pushes whose estimate is the sum over boxes\n"
        "  of the pushes to the nearest target ignoring the other boxes, pruning only dead squares (cells\n"
        "  from which a box never reaches a target) and 2x2 blocks of walls and boxes holding a box off a\n"
        "  target (budget " << budgets.effort << ").\n"
        "- *Reachable*: positions (box set and the figure's region) reachable from the start by pushes,\n"
        "  less those the same pruning flags (budget " << budgets.explore << "; \">\" where it ran out).\n"
        "- *Fatal*: the share of the solution's steps (positions before a push) that offer a hidden fatal\n"
        "  push, one after which the level can no longer be solved although no dead square or 2x2 block\n"
        "  shows it; found by enumerating the reachable positions and marking those that reach a goal\n"
        "  (where they are too many, by enumerating backwards from the goal every position that reaches it).\n"
        "- *Per line*: pushes per box line, a box line being a maximal run of consecutive pushes of one box\n"
        "  in one direction. *Ferry*: the share of pushes made from a (cell, direction) pair from which at\n"
        "  least three different boxes are pushed in the solution.\n"
        "- *Loops*: islands of wall the walkable area (what the figure could reach were boxes floor)\n"
        "  closes in. *Rooms*: the parts of the walkable area wider than a corridor, as width x height\n"
        "  (\"~n\" when not a full rectangle: n cells); their list is the board's arrangement of rooms.\n"
        "  *Overlap*: the highest intersection over union of the walkable area with another level's,\n"
        "  over the eight mirrorings and rotations and every shift.\n"
        "- *Floor*: walkable cells. *Counter*: counterintuitive pushes of the stored solution, pushes that\n"
        "  take a box farther (in pushes of a lone box) from the cell that box ends on. *Parts*: groups of\n"
        "  boxes whose lone-box ways to a target (and the cells the figure pushes them from) share no cell\n"
        "  with another group's; 1 when the level does not split. *Reveal*: after a hidden fatal push the\n"
        "  solution passes by, how far (in pushes, up to " << kRevealCap << ") a player can still play without a dead\n"
        "  square or a 2x2 block showing; the median over those pushes (\"?\" where the lost positions are\n"
        "  too many to mark). *Untouched*: the share of the walkable floor that neither the figure nor a\n"
        "  box touches in the stored solution.\n"
        "- *Human*: pushes tried by a model of a person until solved, the median over " << HumanOptions{}.runs << " seeded\n"
        "  runs (capped at " << HumanOptions{}.cap << "). The model looks one push ahead, judges a position by the\n"
        "  pushes each box needs to its nearest target, sees only dead squares and 2x2 blocks, plays every\n"
        "  push of the position it believes in most (among equals: the one whose last push brought a box\n"
        "  nearer, then at random) and goes back to an earlier position when a line turns out worse. The\n"
        "  same figures per level: `build/tools/levels/qb_level_measure data/levels.txt\n"
        "  tests/data/solutions.txt FIRST LAST`.\n"
        "- Levels without walls (11, 17, 104, 105, 111, 114, 135, 164, 181, 196) are measured on what\n"
        "  their solution plays: boxes it never moves count as walls. The game fixes the shape of 104,\n"
        "  111, 114 and 196; the targets for the hard half leave them out.\n\n";
  md << "## Per band\n\nMedians over each band (hard bands without the four fixed shapes):\n\n"
     << BandTable(reports, true) << "\n";
  {
    const std::string table = BeforeAfter(root + "/tools/levels/measures_before.txt", reports);
    if (!table.empty())
      md << "Before and now: the medians for people of the level set as it stood before its boards were\n"
            "designed for people (tools/levels/measures_before.txt, written by `qb_level_measure` from\n"
            "commit e35c6eb), beside today's:\n\n"
         << table << "\n";
  }
  md << "![Human effort against level number](levels-human.png)\n\n"
        "Human effort per level on a log scale, as the effort chart below: hollow where most runs of the\n"
        "model hit the cap; the dashed line is the median of 61-99.\n\n";
  md << "![Effort against level number](levels-effort.png)\n\n"
        "Effort per level on a log scale: blue 1-99, red 100-200, grey the fixed shapes, hollow where\n"
        "the search ran out of budget; the dashed line is the median effort of 61-99.\n\n";
  md << "## Targets for the hard half\n\n" << TargetList(checks) << "\n";
  {
    std::ifstream making(root + "/tools/levels/making.md");
    if (making) md << making.rdbuf() << "\n";
  }
  md << "## Per level\n\n![All 200 boards](levels.png)\n\n";
  md << "| Level | Name | Idea | Boxes | Moves | Pushes | Fewest moves | Fewest pushes | Effort | Reachable | "
        "Fatal | Per line | Ferry | Unmoved | Loops | Rooms | Overlap | Floor | Counter | Parts | Reveal | Untouched | "
        "Human |\n";
  md << "|---:|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|---:|---:|---:|---:|---:|---:|\n";
  for (const LevelReport& r : reports) {
    const auto name = names.find(r.number);
    const auto idea = ideas.find(r.number);
    md << "| " << r.number << " | " << (name == names.end() ? "" : name->second) << " | "
       << (idea == ideas.end() ? "" : idea->second) << " | " << r.boxes
       << (r.core ? " (" + std::to_string(r.core_boxes) + " moved)" : "") << " | " << r.moves << " | " << r.pushes
       << " | " << (r.fewest_moves < 0 ? "?" : std::to_string(r.fewest_moves)) << " | "
       << (r.fewest_pushes < 0 ? "?" : std::to_string(r.fewest_pushes)) << " | "
       << Count(r.effort.expanded, r.effort.complete) << " | " << Count(r.reachable, r.reachable_complete) << " | "
       << (r.FatalShare() < 0 ? "over budget" : Num(r.FatalShare(), 2)) << " | " << Num(r.PerLine(), 2) << " | "
       << Num(r.ferry_share, 2) << " | " << r.unmoved << " | " << r.shape.loops << " | "
       << (r.shape.arrangement.empty() ? "-" : r.shape.arrangement) << " | " << Num(r.overlap, 2) << " ("
       << r.overlap_with << ") | " << r.people.floor << " | " << r.people.counterintuitive << " | " << r.people.parts
       << " | " << (r.people.reveal < 0 ? "?" : Num(r.people.reveal, 1)) << " | " << Num(100 * r.people.dead_floor, 0)
       << "% | " << Count(static_cast<std::uint64_t>(r.people.human.median), r.people.human.solved * 2 > static_cast<int>(r.people.human.pushes.size()))
       << " |\n";
  }
  DrawSheet(root + "/docs/levels.png", levels);
  DrawChart(root + "/docs/levels-effort.png", reports, FiguresOf(reports, kBands[2], false).effort,
            [](const LevelReport& r) { return static_cast<double>(r.effort.expanded); },
            [](const LevelReport& r) { return r.effort.complete; });
  DrawChart(root + "/docs/levels-human.png", reports, FiguresOf(reports, kBands[2], false).human,
            [](const LevelReport& r) { return r.people.human.median; },
            [](const LevelReport& r) { return r.people.human.solved * 2 > static_cast<int>(r.people.human.pushes.size()); });
  return 0;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_level_docs", qb::levels::Run, argc, argv); }
