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
//       gives the same level. SIZE rooms makes a big board of rooms
//       (DesignBig); the pool line adds the person model's effort.
//   qb_level_designer choose LEVELS.txt SOLUTIONS.txt IDEAS.txt FIRST LAST POOL.txt [POOL.txt...]
//       the second round: the levels in place and the designs compete judged by
//       the person model as well (see Choose); writes the three files.
//   qb_level_designer rate POOL.txt
//       writes the person model's effort into the pool's design lines that lack it.
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
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "tools/levels/designer.h"
#include "tools/levels/human.h"
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
  double human = -1;  // the person model's effort, -1 until measured
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
      if (word == "human") w >> e.human;
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
    Designed d;
    if (size == "rooms") {
      BigOptions b;
      b.boxes = o.boxes;
      b.flags = o.flags;
      d = DesignBig(seed, b);
    } else {
      d = DesignLevel(seed, o);
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (d.solution.empty()) {
      std::printf("%s: none (%.1f s)\n", line.c_str(), s);
      continue;
    }
    std::ofstream out(pool, std::ios::app);
    const double human = HumanEffort(d.puzzle).median;
    out << "design " << line << " pushes " << d.pushes << " ci " << d.counterintuitive << " floor " << d.floor
        << " human " << human << " kind " << d.skeleton << "\nidea " << d.idea << "\n";
    for (const auto& r : d.puzzle.Rows()) out << r << "\n";
    out << "solution " << d.solution << "\n";
    std::printf("%s: pushes %d ci %d floor %d human %.0f (%.1f s)\n", line.c_str(), d.pushes, d.counterintuitive,
                d.floor, human, s);
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

// Rank of each value among `v` (0 the smallest; ties share their mean rank).
std::vector<double> Ranks(const std::vector<double>& v) {
  std::vector<std::size_t> idx(v.size());
  for (std::size_t k = 0; k < idx.size(); ++k) idx[k] = k;
  std::sort(idx.begin(), idx.end(), [&](std::size_t a, std::size_t b) { return v[a] < v[b]; });
  std::vector<double> r(v.size());
  for (std::size_t a = 0; a < idx.size();) {
    std::size_t b = a;
    while (b + 1 < idx.size() && v[idx[b + 1]] == v[idx[a]]) ++b;
    for (std::size_t k = a; k <= b; ++k) r[idx[k]] = (static_cast<double>(a) + static_cast<double>(b)) / 2;
    a = b + 1;
  }
  return r;
}

// The second round of the hard half: the levels in place and the designs of
// the pools compete, judged as a person would find them. Every candidate with
// at least two counterintuitive pushes (a big board: one) gets the person model's effort
// (HumanEffort, as the level docs measure it). The big boards (80 floor cells
// and more) are taken first; then, slot by slot from easy to hard, the
// candidate whose ranks of the person's effort and of counterintuitive pushes
// lie nearest the slot's place, so that both rise together; each set of start
// flags only as often as the level set needs it, no box count in more than a
// third of the levels. The chosen levels rise by their ranks: person's effort
// 0.55, counterintuitive pushes 0.45.
int Choose(const std::string& levels_path, const std::string& sol_path, const std::string& ideas_path, int first,
           int last, const std::vector<std::string>& pool_paths) {
  std::map<int, Puzzle> levels;
  for (const auto& [rec, p] : ReadPuzzles(levels_path)) levels[rec.number] = p;
  auto solutions = ReadSolutions(sol_path);
  std::vector<std::string> comments;
  auto ideas = ReadIdeas(ideas_path, comments);
  std::vector<Entry> pool;
  for (const auto& path : pool_paths) {
    const std::vector<Entry> more = ReadPool(path);
    pool.insert(pool.end(), more.begin(), more.end());
  }
  std::vector<int> slots;
  std::map<std::string, int> need;
  for (int n = first; n <= last; ++n)
    if (Ordinary(n)) {
      slots.push_back(n);
      ++need[FlagsOf(levels[n])];
      Entry e;
      e.head = "kept level " + std::to_string(n);
      e.idea = ideas.count(n) ? ideas[n] : DescribeSolution(levels[n], solutions[n], "one crowded hall");
      e.solution = solutions[n];
      e.puzzle = levels[n];
      pool.push_back(e);
    }
  // one entry per board (a design placed last round is also a level in place)
  std::vector<Entry> all;
  for (auto& e : pool) {
    const bool twice = std::any_of(all.begin(), all.end(), [&](const Entry& a) {
      return a.puzzle.walls == e.puzzle.walls && a.puzzle.boxes == e.puzzle.boxes &&
             a.puzzle.targets == e.puzzle.targets && a.puzzle.figure == e.puzzle.figure;
    });
    if (twice) continue;
    Puzzle check = e.puzzle;
    if (!Replay(check, e.solution) || !Solved(check)) continue;
    e.flags = FlagsOf(e.puzzle);
    e.ci = CountCounterintuitive(e.puzzle, e.solution);
    e.pushes = static_cast<int>(std::count_if(e.solution.begin(), e.solution.end(), [](char c) { return c < 'a'; }));
    if (e.human < 0) e.human = HumanEffort(e.puzzle).median;
    all.push_back(e);
  }
  auto floor_of = [](const Entry& e) { return Flood(~e.puzzle.walls, e.puzzle.figure).count(); };
  // a hard level has at least two counterintuitive pushes (a big board one)
  all.erase(std::remove_if(all.begin(), all.end(),
                           [&](const Entry& e) { return e.ci < (floor_of(e) >= 80 ? 1 : 2); }),
            all.end());
  std::vector<double> human_all, ci_all;
  for (const auto& e : all) {
    human_all.push_back(e.human);
    ci_all.push_back(e.ci);
  }
  const auto ph = Ranks(human_all), pc = Ranks(ci_all);
  const double top = static_cast<double>(all.size()) - 1;
  const int n_slots = static_cast<int>(slots.size()), cap = n_slots / 3;
  std::map<int, int> per_count;
  std::map<std::string, int> taken;
  std::vector<bool> used(all.size(), false);
  std::vector<Entry> chosen;
  auto take = [&](std::size_t k) {
    used[k] = true;
    ++taken[all[k].flags];
    ++per_count[all[k].puzzle.boxes.count()];
    chosen.push_back(all[k]);
  };
  auto fits = [&](std::size_t k) {
    return !used[k] && taken[all[k].flags] < need[all[k].flags] && per_count[all[k].puzzle.boxes.count()] < cap;
  };
  for (std::size_t k = 0; k < all.size(); ++k)
    if (floor_of(all[k]) >= 80 && fits(k)) take(k);
  // the rest: slot by slot from easy to hard, the candidate whose ranks of the
  // person's effort and of counterintuitive pushes lie nearest the slot's place
  // (from the 15th percentile up), fewer than 50 pushes counting against it
  for (int slot = static_cast<int>(chosen.size()); slot < n_slots; ++slot) {
    const double q = 0.15 + 0.85 * slot / std::max(1, n_slots - 1);
    std::size_t best = all.size();
    double best_d = 1e9;
    for (std::size_t k = 0; k < all.size(); ++k) {
      if (!fits(k)) continue;
      const double d = std::abs(ph[k] / top - q) + std::abs(pc[k] / top - q) + (all[k].pushes < 50 ? 0.3 : 0);
      if (d < best_d) best_d = d, best = k;
    }
    if (best == all.size()) break;
    take(best);
  }
  for (const auto& [flags, count] : need)
    if (taken[flags] < count) {
      std::fprintf(stderr, "flags %s: %d candidates for %d levels\n", flags.c_str(), taken[flags], count);
      return 1;
    }
  std::vector<double> human, ci;
  for (const auto& e : chosen) {
    human.push_back(e.human);
    ci.push_back(e.ci);
  }
  const auto rh = Ranks(human), rc = Ranks(ci);
  std::vector<double> key(chosen.size());
  for (std::size_t k = 0; k < chosen.size(); ++k) key[k] = 0.55 * rh[k] + 0.45 * rc[k];
  std::vector<std::size_t> rise(chosen.size());
  for (std::size_t k = 0; k < rise.size(); ++k) rise[k] = k;
  std::stable_sort(rise.begin(), rise.end(), [&](std::size_t a, std::size_t b) { return key[a] < key[b]; });
  for (std::size_t k = 0; k < slots.size(); ++k) {
    const int n = slots[k];
    const Entry& e = chosen[rise[k]];
    levels[n] = e.puzzle;
    solutions[n] = e.solution;
    if (e.idea.empty())
      ideas.erase(n);
    else
      ideas[n] = e.idea;
    std::printf("level %d: boxes %d floor %d pushes %d ci %d human %.0f flags %s: %s\n", n, e.puzzle.boxes.count(),
                floor_of(e), e.pushes, e.ci, e.human, e.flags.c_str(), e.head.c_str());
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

// Writes the person model's effort into every design line of the pool that
// lacks it ("human N"), so that choosing from the pool need not measure again.
int Rate(const std::string& pool_path) {
  std::vector<std::string> lines;
  {
    std::ifstream in(pool_path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  for (std::size_t k = 0; k + 12 < lines.size(); ++k) {
    if (lines[k].rfind("design ", 0) != 0 || lines[k].find(" human ") != std::string::npos) continue;
    std::array<std::string, 11> rows;
    for (int r = 0; r < 11; ++r) rows[r] = lines[k + 2 + r];
    const double human = HumanEffort(FromRows(rows)).median;
    const auto kind = lines[k].find(" kind ");
    const std::string add = " human " + std::to_string(static_cast<long long>(human));
    lines[k].insert(kind == std::string::npos ? lines[k].size() : kind, add);
    std::printf("%s\n", lines[k].c_str());
    std::fflush(stdout);
  }
  std::ofstream out(pool_path);
  for (const auto& line : lines) out << line << "\n";
  return out ? 0 : 1;
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
  if (cmd == "rate" && argc == 3) return Rate(argv[2]);
  if (cmd == "choose" && argc >= 8)
    return Choose(argv[2], argv[3], argv[4], std::atoi(argv[5]), std::atoi(argv[6]),
                  std::vector<std::string>(argv + 7, argv + argc));
  if (cmd == "place" && argc == 8)
    return Place(argv[2], argv[3], argv[4], argv[5], std::atoi(argv[6]), std::atoi(argv[7]));
  std::cerr << "usage: qb_level_designer slots LEVELS FIRST LAST | run PLAN POOL [FIRST_LINE [LAST_LINE]] |\n"
               "       place LEVELS SOLUTIONS IDEAS POOL FIRST LAST | trim LEVELS SOLUTIONS FIRST LAST |\n"
               "       choose LEVELS SOLUTIONS IDEAS FIRST LAST POOL [POOL...] | rate POOL\n";
  return 2;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_level_designer", qb::levels::Dispatch, argc, argv); }
