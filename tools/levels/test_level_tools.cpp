// The level tools on small boards whose answers are worked out by hand: the
// solvers' push counts and an unsolvable board, dead squares, the measures of
// a solution and of a board, the designer's measures, trimming and one design,
// and one seeded candidate of the hard half made
// again exactly as it stands in the committed pool.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "tools/levels/candidates.h"
#include "tools/levels/designer.h"
#include "tools/levels/human.h"
#include "tools/levels/level_report.h"
#include "tools/levels/measures.h"
#include "tools/levels/metrics.h"
#include "tools/levels/solver.h"

namespace qb::levels {
namespace {

// A board drawn in the usual signs (# wall, $ box, . target, @ figure, * box on
// target, + figure on target) in the top left corner, walls all round it.
Puzzle Drawn(const std::vector<std::string>& picture) {
  std::array<std::string, 11> rows;
  for (int r = 0; r < kH; ++r) {
    rows[r] = std::string(kW, '1');
    if (r >= static_cast<int>(picture.size())) continue;
    for (std::size_t c = 0; c < picture[r].size(); ++c) {
      const std::string signs = "# $.@*+", codes = "1034257";
      rows[r][c] = codes[signs.find(picture[r][c])];
    }
  }
  return FromRows(rows);
}

int At(int column, int row) { return row * kW + column; }

struct Case {
  const char* what;
  std::vector<std::string> picture;
  int pushes;  // -1: no solution
};

// Each case's push count is argued in its description.
const Case kCases[] = {
    {"the left box goes up and left (2), the right one up and right twice (3)",
     {"#######", "#.   .#", "# $$  #", "#  @  #", "#######"}, 5},
    {"the right box up and over (3) would block the left one: up-left for it (2), two left for the other",
     {"#######", "#.    #", "#.$$  #", "#  @  #", "#######"}, 4},
    {"in a one-cell corridor the figure can only push the near box into the far one",
     {"##########", "#@ $ $ ..#", "##########"}, -1},
};

TEST(LevelTools, FloodReachesWhatAStepByStepSearchReaches) {
  // The word-wise fill against one cell at a time, on random boards dense
  // enough to make winding corridors, rows that end at the board's edge and
  // starting cells walled in.
  std::uint64_t state = 12345;
  auto next = [&] { return state = state * 6364136223846793005ull + 1442695040888963407ull; };
  for (int board = 0; board < 2000; ++board) {
    Bits open;
    const int walls = 20 + board % 60;
    for (int i = 0; i < kCells; ++i)
      if (static_cast<int>(next() >> 33) % 100 >= walls) open.set(i);
    const int start = static_cast<int>((next() >> 33) % kCells);
    Bits expected;
    std::vector<int> queue;
    if (open.test(start)) {
      expected.set(start);
      queue.push_back(start);
    }
    for (std::size_t k = 0; k < queue.size(); ++k)
      for (int d = 0; d < 4; ++d) {
        const int n = Step(queue[k], d);
        if (n < 0 || !open.test(n) || expected.test(n)) continue;
        expected.set(n);
        queue.push_back(n);
      }
    ASSERT_EQ(Flood(open, start), expected) << "board " << board;
  }
}

TEST(LevelTools, SolversFindTheFewestPushesAndProveAnUnsolvableBoard) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const Puzzle p = Drawn(c.picture);
    const SolveResult fewest = Solve(p, 100000);
    const SolveResult shortest = SolveForMoves(p, 100000, true);
    const EffortResult effort = MeasureEffort(p, 100000);
    EXPECT_TRUE(fewest.proven);
    EXPECT_TRUE(shortest.proven);
    EXPECT_TRUE(effort.complete);
    EXPECT_EQ(fewest.found, c.pushes >= 0);
    EXPECT_EQ(shortest.found, c.pushes >= 0);
    EXPECT_EQ(effort.found, c.pushes >= 0);
    if (c.pushes < 0) continue;
    EXPECT_EQ(fewest.pushes, c.pushes);
    EXPECT_EQ(shortest.pushes, c.pushes);
    EXPECT_EQ(effort.pushes, c.pushes);
    EXPECT_LE(shortest.moves.size(), fewest.moves.size()) << "the fewest-moves search walks no further";
    // What the solver keeps and prunes beyond dead squares and frozen boxes changes no answer.
    const SolveResult plain = SolveForMoves(p, 100000, true, SolverOptions{false, false});
    EXPECT_EQ(plain.pushes, shortest.pushes);
    EXPECT_EQ(plain.moves, shortest.moves);
    for (const std::string& moves : {fewest.moves, shortest.moves}) {
      Puzzle replay = p;
      EXPECT_TRUE(Replay(replay, moves) && Solved(replay)) << moves;
    }
  }
}

TEST(LevelTools, ShortestSolutionWalksTheLeastAmongTheFewestPushes) {
  // Three pushes: one box down onto (3,3), the other right onto (4,2); whichever goes first,
  // the figure walks at least three steps to get above a box and four to get round one.
  const Puzzle p = Drawn({"#######", "#     #", "# $$. #", "#  .@ #", "#######"});
  const SolveResult r = SolveForMoves(p, 100000, true);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.pushes, 3);
  EXPECT_EQ(r.moves.size(), 10u);
}

TEST(LevelTools, DeadSquaresAreTheCellsNoPushLeadsFromToATarget) {
  const Puzzle p = Drawn({"#######", "#    .#", "#     #", "#     #", "#######"});
  const Bits dead = ComputePushDistances(p).dead;
  const struct {
    int column, row;
    bool dead;
  } cells[] = {{1, 1, true},  {1, 3, true},  {5, 3, true},  {3, 3, true},  // corners, and the bottom wall has no target
               {3, 1, false}, {5, 1, false}, {2, 2, false}, {1, 2, true}};  // the top wall leads to the target
  for (const auto& c : cells) EXPECT_EQ(dead.test(At(c.column, c.row)), c.dead) << c.column << "," << c.row;
}

TEST(LevelTools, SolutionFactsCountBoxLinesFerriedPushesAndStandingBoxes) {
  // Three boxes go up into the top row and left along it to the targets; each
  // passes (4,1) going left, so those three pushes are ferried. The box on the
  // target at (8,3) never moves.
  const Puzzle p = Drawn({"##########", "#...     #", "#   $$$  #", "#  @    *#", "##########"});
  const std::string moves = "rUdrrruullLLLddrrrUdrruulLLLddrrrUruLLL";
  const SolutionFacts f = StudySolution(p, moves);
  EXPECT_TRUE(f.replays);
  EXPECT_EQ(f.pushes, 12);
  EXPECT_EQ(f.moves, 39);
  EXPECT_EQ(f.box_lines, 6);
  EXPECT_DOUBLE_EQ(f.ferry_share, 0.25);
  Bits standing;
  standing.set(At(8, 3));
  EXPECT_EQ(f.unmoved, standing);
  const Puzzle core = Core(p, f.unmoved);
  EXPECT_TRUE(core.walls.test(At(8, 3)));
  EXPECT_EQ(core.boxes.count(), 3);
  EXPECT_EQ(core.targets.count(), 3);
}

TEST(LevelTools, AHiddenFatalPushIsOneNoSimplePruningShows) {
  // "ULrruLL": after the second push the lower box sits on (1,2) and the other on
  // the top row. Pushing the lower box up into the corner target is then fatal
  // (the top-row box can never come down to (1,2)), and neither a dead square nor
  // a 2x2 block shows it. One push later the same push makes a 2x2 block.
  const Puzzle p = Drawn({"#######", "#.    #", "#.$$  #", "#  @  #", "#######"});
  const Exploration explored(p, 100000);
  ASSERT_TRUE(explored.complete());
  EXPECT_EQ(explored.HiddenFatalSteps("ULrruLL"), 1);
  EXPECT_EQ(explored.HiddenFatalSteps("ULrru"), -1) << "moves that do not solve are refused";
  const Exploration cut(p, 3);
  EXPECT_FALSE(cut.complete());
  EXPECT_EQ(cut.HiddenFatalSteps("ULrruLL"), -1);
}

TEST(LevelTools, BoardShapesTheirLoopsAndOverlap) {
  const Puzzle ring = Drawn({"#####", "#@  #", "# # #", "#   #", "#####"});
  const Puzzle hall = Drawn({"#####", "#@  #", "#   #", "#   #", "#####"});
  EXPECT_EQ(ShapeOf(ring).loops, 1);
  EXPECT_EQ(ShapeOf(hall).loops, 0);
  EXPECT_EQ(ShapeOf(hall).rooms.size(), 1u);
  EXPECT_EQ(ShapeOf(hall).arrangement, "3x3");

  // An L-shaped walk turned a quarter and moved overlaps its first place fully; the ring covers 8 of the hall's 9 cells.
  const Puzzle l1 = Drawn({"######", "#@   #", "#  ###", "#  #", "####"});
  const Bits a = ShapeOf(l1).walk;
  Bits b;
  a.each([&](int i) { b.set(At(10 - i / kW, 3 + i % kW)); });
  EXPECT_DOUBLE_EQ(Overlap(a, b), 1.0);
  EXPECT_DOUBLE_EQ(Overlap(ShapeOf(ring).walk, ShapeOf(hall).walk), 8.0 / 9.0);
}

TEST(LevelTools, CounterintuitivePushesAndDeadFloorOfASolution) {
  // The box goes down first (one push farther from its end cell, (4,2)), then
  // back up and right twice. The second board's solution is one push right:
  // the two cells right of the target are never touched.
  const Puzzle room = Drawn({"#######", "#     #", "# $ . #", "#     #", "#  @  #", "#######"});
  const Puzzle lane = Drawn({"#######", "#@$.  #", "#######"});
  const struct {
    const char* what;
    const Puzzle& p;
    std::string moves;
    int counter;
    double dead_floor;
  } cases[] = {
      {"down first, then back", room, "uuulDlddrUluRR", 1, 8.0 / 20},
      {"straight to the target", room, "uuulldRR", 0, 11.0 / 20},
      {"one push in a lane", lane, "R", 0, 2.0 / 5},
      {"moves that do not solve", lane, "l", -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CounterintuitivePushes(c.p, c.moves), c.counter);
    EXPECT_DOUBLE_EQ(DeadFloor(c.p, c.moves), c.dead_floor);
  }
}

TEST(LevelTools, PartsSplitWhereNoBoxCanReachAnotherBoxsWay) {
  // Two rooms joined only through a passage below, which a box can enter but
  // never leave towards the other room; opening the wall between them joins them.
  const Puzzle apart = Drawn({"#########", "#.  #  .#", "# $ # $ #", "## ### ##", "#   @   #", "#########"});
  const Puzzle joined = Drawn({"#########", "#.  #  .#", "# $   $ #", "## ### ##", "#   @   #", "#########"});
  EXPECT_EQ(Parts(apart), 2);
  EXPECT_EQ(Parts(joined), 1);
}

TEST(LevelTools, RevealDepthCountsThePushesLeftBeforeASimpleDeadEndShows) {
  // A lane with the figure left of both boxes: no box can ever reach the target
  // on the left. The near box can still go right until it meets the far one,
  // which makes a 2x2 block of boxes and walls.
  const struct {
    std::vector<std::string> picture;
    int depth;
  } cases[] = {
      {{"########", "#.@$ $.#", "########"}, 0},
      {{"#########", "#.@$  $.#", "#########"}, 1},
      {{"##########", "#.@$   $.#", "##########"}, 2},
  };
  for (const auto& c : cases) EXPECT_EQ(RevealDepthAfter(Drawn(c.picture)), c.depth) << c.picture[1];

  // Along a solution: the fixture of the hidden fatal push above offers one.
  const Puzzle p = Drawn({"#######", "#.    #", "#.$$  #", "#  @  #", "#######"});
  const Exploration explored(p, 100000);
  const DeadTest dead = [&](const Bits& boxes, int zone) { return explored.Dead(boxes, zone); };
  EXPECT_GE(RevealDepth(p, "ULrruLL", dead), 0);
  EXPECT_EQ(RevealDepth(p, "ULrru", dead), -1) << "moves that do not solve are refused";
}

TEST(LevelTools, StagesRunInAnyOrderOnTwoThreadsMeasureALevelAsOneRunDoes) {
  // qb_level_docs runs a level's stages on different cores in any order: none
  // may read what another fills in. The fixture has a hidden fatal push, so
  // the positions stage has dead ends to mark and a reveal depth to find.
  const Puzzle p = Drawn({"#######", "#.    #", "#.$$  #", "#  @  #", "#######"});
  const std::string moves = "ULrruLL";
  const Budgets budgets;
  const LevelReport one = MeasureLevel(150, p, moves, budgets);
  Puzzle board;
  LevelReport staged = StartLevel(150, p, moves, board);
  std::thread other([&] {
    for (Stage s : {Stage::kHuman, Stage::kEffort}) MeasureStage(staged, s, board, moves, budgets);
  });
  for (Stage s : {Stage::kPositions, Stage::kFewestMoves, Stage::kFewestPushes})
    MeasureStage(staged, s, board, moves, budgets);
  other.join();
  EXPECT_EQ(staged.fewest_pushes, one.fewest_pushes);
  EXPECT_EQ(staged.moves_at_fewest_pushes, one.moves_at_fewest_pushes);
  EXPECT_EQ(staged.fewest_moves, one.fewest_moves);
  EXPECT_EQ(staged.effort.expanded, one.effort.expanded);
  EXPECT_EQ(staged.reachable, one.reachable);
  EXPECT_EQ(staged.fatal_steps, one.fatal_steps);
  EXPECT_EQ(staged.people.floor, one.people.floor);
  EXPECT_EQ(staged.people.counterintuitive, one.people.counterintuitive);
  EXPECT_EQ(staged.people.parts, one.people.parts);
  EXPECT_EQ(staged.people.reveal, one.people.reveal);
  EXPECT_EQ(staged.people.dead_floor, one.people.dead_floor);
  EXPECT_EQ(staged.people.human.pushes, one.people.human.pushes);
  EXPECT_GT(one.fatal_steps, 0);
  EXPECT_GE(one.people.reveal, 0);
}

TEST(LevelTools, TheHumanModelSolvesRepeatablyAndTriesMoreWhereABoxMustGoAwayFirst) {
  const HumanOptions options;
  const Puzzle straight = Drawn({"#######", "#     #", "# $ . #", "#     #", "#  @  #", "#######"});
  // The box must leave the lane it stands in to reach the target around the corner.
  const Puzzle detour = Drawn({"########", "#.#    #", "#   $  #", "#  ### #", "#   @  #", "########"});
  for (const Puzzle* p : {&straight, &detour}) {
    const HumanResult a = HumanEffort(*p, options), b = HumanEffort(*p, options);
    EXPECT_EQ(a.pushes, b.pushes) << "the same seeds play the same way";
    EXPECT_EQ(a.solved, options.runs);
  }
  EXPECT_LT(HumanEffort(straight, options).median, HumanEffort(detour, options).median);
}

TEST(LevelTools, ASeededCandidateComesOutAsThePoolHoldsIt) {
  constexpr std::uint64_t kSeed = 1054;  // a seed that is quick to make
  std::ifstream in(std::string(QB_SOURCE_DIR) + "/tools/levels/hard_pool.txt");
  ASSERT_TRUE(in);
  const std::string pool((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string header = "candidate " + std::to_string(kSeed) + "\n";
  const auto from = pool.find(header);
  ASSERT_NE(from, std::string::npos);
  const auto to = pool.find("candidate ", from + header.size());
  const auto made = MakeCandidate(kSeed, CandidateBudgets{});
  ASSERT_TRUE(made.has_value());
  std::ostringstream text;
  WriteCandidate(text, *made);
  EXPECT_EQ(text.str(), pool.substr(from, to == std::string::npos ? std::string::npos : to - from));
}

TEST(LevelTools, APushAwayFromTheBoxsLastCellIsCounterintuitive) {
  // pushed onto the target, one past it (away: counterintuitive), walked round and back
  const Puzzle p = Drawn({"########", "#      #", "#@$ .  #", "#      #", "########"});
  EXPECT_EQ(CountCounterintuitive(p, "RRRurrdL"), 1);
  EXPECT_EQ(CountCounterintuitive(p, "RR"), 0);
  EXPECT_EQ(CountCounterintuitive(p, "L"), -1) << "a move that does not play";
}

TEST(LevelTools, TrimTakesOutTheFloorTheSolutionNeverTouches) {
  // a corridor on past the target and a niche below it: neither is touched
  const Puzzle p = Drawn({"########", "#@$ .  #", "### ####", "########"});
  const Puzzle t = Trim(p, "RR", false, 0.0);
  Puzzle q = t;
  ASSERT_TRUE(Replay(q, "RR"));
  EXPECT_TRUE(Solved(q));
  EXPECT_EQ(Flood(~t.walls, t.figure).count(), 4);
  EXPECT_TRUE(t.walls.test(At(3, 2)) && t.walls.test(At(5, 1)));
}

TEST(LevelTools, ADesignedLevelKeepsItsStartFlagsAndItsSolutionSolvesIt) {
  DesignerOptions o;
  o.boxes = 3;
  o.size = Size::Compact;
  o.budget = 4000;
  o.final_budget = 20000;
  o.climbs = 4;
  o.flags.figure_on_target = true;
  const Designed d = DesignLevel(7, o);
  ASSERT_FALSE(d.solution.empty());
  Puzzle q = d.puzzle;
  EXPECT_TRUE((d.puzzle.boxes & d.puzzle.targets).none());
  EXPECT_TRUE(d.puzzle.targets.test(d.puzzle.figure));
  ASSERT_TRUE(Replay(q, d.solution));
  EXPECT_TRUE(Solved(q));
  EXPECT_EQ(d.counterintuitive, CountCounterintuitive(d.puzzle, d.solution));
  EXPECT_FALSE(d.idea.empty());
}

}  // namespace
}  // namespace qb::levels
