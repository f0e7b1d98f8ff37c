// The hard half's designer on the command line.
//
//   qb_level_designer slots LEVELS.txt FIRST LAST
//       prints the start flags of each ordinary level in FIRST..LAST (not the
//       fixed shapes nor the levels without walls): b a box starts on a target,
//       t the figure starts on a target, e the figure starts on the edge, c the
//       rim is wall all round ('-' where not).
//   qb_level_designer run PLAN.txt POOL.txt [FIRST_LINE [LAST_LINE]]
//       designs one level per plan line "SEED BOXES SIZE FLAGS" (SIZE one of
//       compact medium large full) and appends it to POOL.txt; the same line
//       gives the same level.
//   qb_level_designer trim LEVELS.txt SOLUTIONS.txt FIRST LAST
//       takes out of the levels FIRST..LAST (but the fixed ones and those
//       without walls) every floor cell their solution never touches.
//   qb_level_designer place LEVELS.txt SOLUTIONS.txt IDEAS.txt POOL.txt FIRST LAST
//       fills the ordinary levels of FIRST..LAST from the pool and the levels
//       in place: for each set of start flags the levels need, those with
//       these flags that have the most counterintuitive pushes (then pushes),
//       then all of them ordered the same way so that the band rises; writes
//       the three files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "tools/levels/designer.h"
#include "tools/levels/level_io.h"
#include "tools/levels/level_plan.h"
#include "tools/levels/tool_main.h"

namespace qb::levels {
namespace {

bool Ordinary(int n) { return n >= 100 && n <= 200 && !WallLess(n) && n != 104; }

bool OnRim(int i) { return i % kW == 0 || i / kW == 0 || i % kW == kW - 1 || i / kW == kH - 1; }

std::string FlagsOf(const Puzzle& p) {
  bool open = false;
  for (int i = 0; i < kCells; ++i) open = open || (OnRim(i) && !p.walls.test(i));
  std::string f = "----";
  if (!(p.boxes & p.targets).none()) f[0] = 'b';
  if (p.targets.test(p.figure)) f[1] = 't';
  if (OnRim(p.figure)) f[2] = 'e';
  if (!open) f[3] = 'c';
  return f;
}

StartFlags ParseFlags(const std::string& f) {
  StartFlags s;
  s.box_on_target = f.find('b') != std::string::npos;
  s.figure_on_target = f.find('t') != std::string::npos;
  s.figure_on_edge = f.find('e') != std::string::npos;
  s.closed = f.find('c') != std::string::npos;
  return s;
}

struct Entry {
  std::string head, flags, idea, solution;
  Puzzle puzzle;
  int ci = 0, pushes = 0;
};

std::vector<Entry> ReadPool(const std::string& path) {
  std::vector<Entry> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("design ", 0) != 0) continue;
    Entry e;
    e.head = line;
    std::istringstream w(line);
    std::string word, seed, boxes, size;
    w >> word >> seed >> boxes >> size >> e.flags;
    while (w >> word) {
      if (word == "pushes") w >> e.pushes;
      if (word == "ci") w >> e.ci;
    }
    std::getline(in, line);
    e.idea = line.substr(std::min<std::size_t>(line.size(), 5));
    std::array<std::string, 11> rows;
    for (auto& r : rows) std::getline(in, r);
    e.puzzle = FromRows(rows);
    std::getline(in, line);
    e.solution = line.substr(std::min<std::size_t>(line.size(), 9));
    out.push_back(e);
  }
  return out;
}

int Run(const std::string& plan, const std::string& pool, int first, int last) {
  std::ifstream in(plan);
  std::string line;
  int no = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    ++no;
    if (no < first || no > last) continue;
    std::istringstream w(line);
    unsigned long long seed = 0;
    std::string size, flags;
    DesignerOptions o;
    w >> seed >> o.boxes >> size >> flags;
    o.size = size == "compact" ? Size::Compact : size == "large" ? Size::Large : size == "full" ? Size::Full : Size::Medium;
    o.flags = ParseFlags(flags);
    const auto t0 = std::chrono::steady_clock::now();
    const Designed d = DesignLevel(seed, o);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (d.solution.empty()) {
      std::printf("%s: none (%.1f s)\n", line.c_str(), s);
      continue;
    }
    std::ofstream out(pool, std::ios::app);
    out << "design " << line << " pushes " << d.pushes << " ci " << d.counterintuitive << " floor " << d.floor
        << " kind " << d.skeleton << "\nidea " << d.idea << "\n";
    for (const auto& r : d.puzzle.Rows()) out << r << "\n";
    out << "solution " << d.solution << "\n";
    std::printf("%s: pushes %d ci %d floor %d (%.1f s)\n", line.c_str(), d.pushes, d.counterintuitive, d.floor, s);
    std::fflush(stdout);
  }
  return 0;
}

std::map<int, std::string> ReadIdeas(const std::string& path, std::vector<std::string>& comments) {
  std::map<int, std::string> ideas;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line[0] == '#') {
      comments.push_back(line);
      continue;
    }
    const auto sp = line.find(' ');
    ideas[std::stoi(line.substr(0, sp))] = line.substr(sp + 1);
  }
  return ideas;
}

int Place(const std::string& levels_path, const std::string& sol_path, const std::string& ideas_path,
          const std::string& pool_path, int first, int last) {
  std::map<int, Puzzle> levels;
  for (const auto& [rec, p] : ReadPuzzles(levels_path)) levels[rec.number] = p;
  auto solutions = ReadSolutions(sol_path);
  std::vector<std::string> comments;
  auto ideas = ReadIdeas(ideas_path, comments);
  std::vector<Entry> pool = ReadPool(pool_path);
  std::vector<int> slots;
  std::map<std::string, int> need;
  for (int n = first; n <= last; ++n)
    if (Ordinary(n)) {
      slots.push_back(n);
      ++need[FlagsOf(levels[n])];
      // the level in place competes with the designs
      Entry e;
      e.head = "kept level " + std::to_string(n);
      e.flags = FlagsOf(levels[n]);
      e.idea = ideas.count(n) ? ideas[n] : DescribeSolution(levels[n], solutions[n], "one crowded hall");
      e.solution = solutions[n];
      e.puzzle = levels[n];
      e.ci = CountCounterintuitive(e.puzzle, e.solution);
      e.pushes = static_cast<int>(std::count_if(e.solution.begin(), e.solution.end(), [](char c) { return c < 'a'; }));
      pool.push_back(e);
    }
  auto harder = [](const Entry& a, const Entry& b) {
    return a.ci != b.ci ? a.ci > b.ci : a.pushes > b.pushes;
  };
  std::vector<Entry> chosen;
  for (const auto& [flags, count] : need) {
    std::vector<Entry> fit;
    for (const auto& e : pool)
      if (e.flags == flags) fit.push_back(e);
    std::stable_sort(fit.begin(), fit.end(), harder);
    if (static_cast<int>(fit.size()) < count) {
      std::fprintf(stderr, "flags %s: %zu designs for %d levels\n", flags.c_str(), fit.size(), count);
      return 1;
    }
    chosen.insert(chosen.end(), fit.begin(), fit.begin() + count);
  }
  std::stable_sort(chosen.begin(), chosen.end(), [&](const Entry& a, const Entry& b) { return harder(b, a); });
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const int n = slots[k];
    levels[n] = chosen[k].puzzle;
    solutions[n] = chosen[k].solution;
    if (chosen[k].idea.empty())
      ideas.erase(n);
    else
      ideas[n] = chosen[k].idea;
    std::printf("level %d: %s\n", n, chosen[k].head.c_str());
  }
  WriteLevelFile(levels_path, levels);
  WriteSolutions(sol_path, solutions);
  std::ofstream out(ideas_path);
  for (const auto& c : comments) out << c << "\n";
  for (const auto& [n, idea] : ideas) out << n << " " << idea << "\n";
  return out ? 0 : 1;
}

// Takes out of levels FIRST..LAST (but the fixed ones and those without walls)
// the floor their solutions never touch, where the level keeps its rim open or closed.
int TrimLevels(const std::string& levels_path, const std::string& sol_path, int first, int last) {
  std::map<int, Puzzle> levels;
  for (const auto& [rec, p] : ReadPuzzles(levels_path)) levels[rec.number] = p;
  const auto solutions = ReadSolutions(sol_path);
  for (int n = first; n <= last; ++n) {
    if (FixedLevel(n) || WallLess(n) || !levels.count(n) || !solutions.count(n)) continue;
    const Puzzle& p = levels[n];
    const bool closed = FlagsOf(p)[3] == 'c';
    const Puzzle t = Trim(p, solutions.at(n), closed, 0.10);
    Puzzle check = t;
    if (FlagsOf(t) != FlagsOf(p) || !Replay(check, solutions.at(n)) || !Solved(check)) {
      std::printf("level %d: kept\n", n);
      continue;
    }
    const int before = Flood(~p.walls, p.figure).count(), after = Flood(~t.walls, t.figure).count();
    std::printf("level %d: floor %d -> %d\n", n, before, after);
    levels[n] = t;
  }
  WriteLevelFile(levels_path, levels);
  return 0;
}

// The designer's commands; anything else shows the usage.
int Dispatch(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "slots" && argc == 5) {
    for (const auto& [rec, p] : ReadPuzzles(argv[2]))
      if (rec.number >= std::atoi(argv[3]) && rec.number <= std::atoi(argv[4]) && Ordinary(rec.number))
        std::printf("%d %s %d\n", rec.number, FlagsOf(p).c_str(), p.boxes.count());
    return 0;
  }
  if (cmd == "run" && argc >= 4)
    return Run(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 1, argc > 5 ? std::atoi(argv[5]) : 1 << 30);
  if (cmd == "trim" && argc == 6) return TrimLevels(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
  if (cmd == "place" && argc == 8)
    return Place(argv[2], argv[3], argv[4], argv[5], std::atoi(argv[6]), std::atoi(argv[7]));
  std::cerr << "usage: qb_level_designer slots LEVELS FIRST LAST | run PLAN POOL [FIRST_LINE [LAST_LINE]] |\n"
               "       place LEVELS SOLUTIONS IDEAS POOL FIRST LAST | trim LEVELS SOLUTIONS FIRST LAST\n";
  return 2;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_level_designer", qb::levels::Dispatch, argc, argv); }
