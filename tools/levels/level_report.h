// Everything the level tools measure of one level with its stored solution,
// the medians per band, and the level set's targets checked against them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/levels/measures.h"
#include "tools/levels/metrics.h"
#include "tools/levels/puzzle.h"

namespace qb::levels {

struct Budgets {
  std::uint64_t effort = 5000000;     // positions the effort search may expand
  std::size_t explore = 4000000;      // reachable positions enumerated
  std::uint64_t solve = 2000000;      // positions the push-optimal solver may expand
  std::uint64_t moves = 1000000;      // positions the fewest-moves search may expand
  std::size_t pulls = 4000000;        // positions of the backwards search that marks dead ends
};

struct LevelReport {
  int number = 0;
  int boxes = 0, targets = 0, walls = 0;
  bool core = false;             // measured with its standing boxes as walls
  int core_boxes = 0;
  bool solution_ok = false;      // the stored solution replays and solves
  int pushes = 0, moves = 0;     // the stored solution's own counts
  int fewest_pushes = -1;        // proven by the solver; -1 when out of budget
  int fewest_moves = -1;         // proven by the fewest-moves search; -1 when out of budget
  int moves_at_fewest_pushes = -1;  // the fewest moves with the fewest pushes; -1 when out of budget
  EffortResult effort;
  std::size_t reachable = 0;
  bool reachable_complete = false;
  int fatal_steps = -1;          // -1: the positions did not fit the budget
  int box_lines = 0;
  double ferry_share = 0;
  int unmoved = 0, unmoved_off_target = 0;
  BoardShape shape;
  double overlap = 0;            // the highest overlap with another level's board
  int overlap_with = 0;
  PeopleMeasures people;         // what slows a person down, and the human model's effort

  double PerLine() const { return box_lines ? static_cast<double>(pushes) / box_lines : 0; }
  double FatalShare() const { return fatal_steps < 0 || pushes == 0 ? -1 : static_cast<double>(fatal_steps) / pushes; }
};

// Levels the game fixes in shape, which the targets for the hard half leave out.
bool ShapeFixed(int number);
// Levels without walls whose standing boxes serve as walls: measured on what the solution moves.
bool MeasuredOnCore(int number);

LevelReport MeasureLevel(int number, const Puzzle& p, const std::string& moves, const Budgets& b);

// The same in parts that do not depend on one another, for a caller that runs
// them on several cores: StartLevel fills what is quick and the board to
// measure (`board`), then each stage fills its own fields of the report.
enum class Stage { kFewestPushes, kFewestMoves, kEffort, kPositions, kHuman };
inline constexpr Stage kStages[] = {Stage::kFewestPushes, Stage::kFewestMoves, Stage::kEffort, Stage::kPositions,
                                    Stage::kHuman};
LevelReport StartLevel(int number, const Puzzle& p, const std::string& moves, Puzzle& board);
void MeasureStage(LevelReport& r, Stage stage, const Puzzle& board, const std::string& moves, const Budgets& b);

// Fills in each level's highest overlap with any other.
void CompareBoards(std::vector<LevelReport>& reports);

struct Band {
  int first, last;
  const char* label;
};
inline constexpr Band kBands[] = {{1, 20, "1-20"}, {21, 60, "21-60"}, {61, 99, "61-99"},
                                  {100, 150, "100-150"}, {151, 200, "151-200"}};

struct BandFigures {
  double pushes = 0, moves = 0, effort = 0, reachable = 0, fatal_share = 0, per_line = 0, ferry = 0,
         no_loop = 0;
  // What slows a person down (medians): see measures.h and human.h.
  double floor = 0, counterintuitive = 0, parts = 0, reveal = 0, dead_floor = 0, human = 0;
  int small_room_levels = 0;
};
// Medians (and shares) over a band; `targets_only` leaves out the levels whose shape is fixed.
BandFigures FiguresOf(const std::vector<LevelReport>& reports, const Band& band, bool targets_only);

struct TargetCheck {
  std::string what;
  bool holds = false;
  std::string detail;
  bool aim = false;  // reported, not required
};
std::vector<TargetCheck> CheckTargets(const std::vector<LevelReport>& reports);

double Median(std::vector<double> v);

double RankCorrelation(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace qb::levels
