// The measures of how a level plays for a person, per level, quickly: for the
// loop of making levels. Prints one line per level: boxes, walkable floor,
// the stored solution's pushes, its counterintuitive pushes, the parts the
// boxes split into, the median reveal depth of the hidden fatal pushes ("?"
// where the lost positions are too many to mark), the share of floor the
// solution never touches, and the human model's effort (median pushes tried,
// runs solved of runs).
//
// Usage: qb_level_measure LEVELS.txt SOLUTIONS.txt [FIRST [LAST]] [--no-reveal]
#include <cstdio>
#include <cstring>
#include <iostream>

#include "tools/levels/level_io.h"
#include "tools/levels/level_plan.h"
#include "tools/levels/measures.h"
#include "tools/levels/tool_main.h"

namespace qb::levels {
namespace {

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: qb_level_measure LEVELS.txt SOLUTIONS.txt [FIRST [LAST]] [--no-reveal]\n";
    return 2;
  }
  int first = 1, last = 200, positional = 0;
  bool reveal = true;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-reveal") == 0) {
      reveal = false;
    } else if (positional++ == 0) {
      first = last = std::atoi(argv[i]);
    } else {
      last = std::atoi(argv[i]);
    }
  }
  const auto solutions = ReadSolutions(argv[2]);
  std::printf("level boxes floor pushes counter parts reveal dead_floor human solved\n");
  for (const auto& [rec, p] : ReadPuzzles(argv[1])) {
    if (rec.number < first || rec.number > last) continue;
    const auto it = solutions.find(rec.number);
    const std::string moves = it == solutions.end() ? "" : it->second;
    const SolutionFacts facts = StudySolution(p, moves);
    const Puzzle q = WallLess(rec.number) && facts.replays ? Core(p, facts.unmoved) : p;
    const DeadTest dead = reveal ? LostPositions(q, 1000000, 2000000) : DeadTest{};
    const PeopleMeasures m = MeasureForPeople(q, moves, &dead);
    char reveal_text[16] = "?";
    if (m.reveal >= 0) std::snprintf(reveal_text, sizeof reveal_text, "%.1f", m.reveal);
    std::printf("%5d %5d %5d %6d %7d %5d %6s %9.0f%% %6.0f %4d/%d%s\n", rec.number, q.boxes.count(), m.floor,
                facts.pushes, m.counterintuitive, m.parts, reveal_text, 100 * m.dead_floor, m.human.median,
                m.human.solved, static_cast<int>(m.human.pushes.size()), facts.replays ? "" : "  (solution does not replay)");
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace
}  // namespace qb::levels

int main(int argc, char** argv) { return qb::levels::ToolMain("qb_level_measure", qb::levels::Run, argc, argv); }
