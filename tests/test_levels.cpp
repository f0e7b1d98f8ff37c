// The 200 levels as built into the game: the counts the level set promises,
// and a replay of every level's solution through the game's own move rule.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "game/board.h"
#include "game/moves.h"
#include "solutions.h"

namespace qb {
namespace {

struct Counts {
  int figures = 0, boxes = 0, boxes_on_targets = 0, targets = 0, walls = 0, uncovered = 0;
  bool figure_on_target = false, figure_on_edge = false, open_edge = false, high_codes = false;
  int figure_column = 0, figure_row = 0;
};

bool OnEdge(int c, int r) { return c == 1 || c == kColumns || r == 1 || r == kRows; }

Counts Count(const Grid& g) {
  Counts k;
  for (int c = 1; c <= kColumns; ++c)
    for (int r = 1; r <= kRows; ++r) {
      const int v = g.at(c, r);
      if (v == CellFigure || v == CellFigureOnTarget) {
        ++k.figures;
        k.figure_on_target = v == CellFigureOnTarget;
        k.figure_on_edge = OnEdge(c, r);
        k.figure_column = c;
        k.figure_row = r;
      }
      k.boxes += v == CellBox || v == CellBoxOnTarget;
      k.boxes_on_targets += v == CellBoxOnTarget;
      k.targets += v == CellTarget || v == CellBoxOnTarget || v == CellFigureOnTarget;
      k.uncovered += v == CellTarget || v == CellFigureOnTarget;
      k.walls += v == CellWall;
      k.high_codes = k.high_codes || v == CellBoxOnTarget || v == CellFigureOnTarget;
      if (v != CellWall && OnEdge(c, r)) k.open_edge = true;
    }
  return k;
}

Grid Loaded(int level) {
  Board b;
  ClearBoard(b);
  LoadLevel(b, level);
  return b.board;
}

TEST(Levels, EveryRecordKeepsTheLevelSetsCounts) {
  int open_edge = 0, figure_on_edge = 0, box_on_target_starts = 0, figure_on_target_starts = 0;
  std::set<int> wall_less;
  for (int level = 1; level <= kLevelCount; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    const Grid g = Loaded(level);
    const Counts k = Count(g);
    for (int c = 1; c <= kColumns; ++c)
      for (int r = 1; r <= kRows; ++r) {
        const int v = g.at(c, r);
        ASSERT_TRUE(v <= 5 || v == 7) << "code " << v << " at " << c << "," << r;
      }
    EXPECT_EQ(k.figures, 1);
    if (level == 111) {
      EXPECT_EQ(k.boxes, 63);
      EXPECT_EQ(k.targets, 25);
    } else if (level == 114) {
      EXPECT_EQ(k.boxes, 87);
      EXPECT_EQ(k.targets, 1);
    } else {
      EXPECT_EQ(k.boxes, k.targets);
    }
    if (level == 69) {
      EXPECT_EQ(k.boxes + k.targets, 0);
      EXPECT_EQ(k.figure_column * 100 + k.figure_row, 908);
    } else {
      EXPECT_GT(k.uncovered, 0) << "only level 69 starts solved";
    }
    if (level <= 99) {
      EXPECT_FALSE(k.high_codes) << "levels 1 to 99 use codes 0 to 4 only";
      EXPECT_LE(k.boxes, 14);
    } else {
      box_on_target_starts += k.boxes_on_targets > 0;
      figure_on_target_starts += k.figure_on_target;
    }
    EXPECT_LE(k.boxes, 147);
    open_edge += k.open_edge;
    figure_on_edge += k.figure_on_edge;
    if (k.walls == 0) wall_less.insert(level);
  }
  EXPECT_EQ(box_on_target_starts, 73);
  EXPECT_EQ(figure_on_target_starts, 22);
  EXPECT_EQ(open_edge, 194);
  EXPECT_EQ(wall_less, (std::set<int>{11, 17, 104, 105, 111, 114, 135, 164, 181, 196}));
  EXPECT_EQ(figure_on_edge, 25);

  const Counts k24 = Count(Loaded(24));
  EXPECT_EQ(k24.figure_column * 100 + k24.figure_row, 1611) << "level 24's figure stands in the bottom right corner";
  const Counts k196 = Count(Loaded(196));
  EXPECT_EQ(k196.boxes, 147);
  EXPECT_EQ(k196.boxes_on_targets, 138);
}

TEST(Levels, TheLevelsTheGameDescribesStandAsGiven) {
  // Level 1 is checked cell by cell with the board model.
  // Level 11: one box between the figure and one target; level 104: a box beside each corner target.
  std::map<std::pair<int, int>, int> special11 = {{{8, 5}, CellFigure}, {{9, 5}, CellBox}, {{10, 5}, CellTarget}};
  std::map<std::pair<int, int>, int> special104 = {
      {{8, 6}, CellFigure},  {{1, 1}, CellTarget},  {{2, 1}, CellBox},  {{16, 1}, CellTarget}, {{15, 1}, CellBox},
      {{1, 11}, CellTarget}, {{2, 11}, CellBox}, {{16, 11}, CellTarget}, {{15, 11}, CellBox}};
  for (const auto& [level, cells] : {std::pair{11, special11}, std::pair{104, special104}}) {
    const Grid g = Loaded(level);
    for (int r = 1; r <= kRows; ++r)
      for (int c = 1; c <= kColumns; ++c) {
        const auto it = cells.find({c, r});
        EXPECT_EQ(g.at(c, r), it == cells.end() ? CellFloor : it->second)
            << "level " << level << " at " << c << "," << r;
      }
  }
}

TEST(Levels, EverySolutionSolvesItsLevelThroughTheMoveRule) {
  const auto& solutions = testing::Solutions();
  ASSERT_EQ(solutions.size(), 200u);
  for (const auto& [level, moves] : solutions) {
    SCOPED_TRACE("level " + std::to_string(level));
    ASSERT_GE(level, 1);
    ASSERT_LE(level, kLevelCount);
    Board b;
    ClearBoard(b);
    LoadLevel(b, level);
    FindFigure(b);
    float steps = 0;
    if (level == 69) {
      EXPECT_TRUE(moves.empty());
      EXPECT_TRUE(IsLevelSolved(b.board));
      continue;
    }
    ASSERT_FALSE(moves.empty());
    for (std::size_t i = 0; i < moves.size(); ++i) {
      const char ch = moves[i];
      const char lower = static_cast<char>(ch | 0x20);
      const Direction d = testing::DirectionOfMove(ch);
      ASSERT_NE(std::string("lurd").find(lower), std::string::npos) << "letter " << ch;
      ASSERT_FALSE(IsLevelSolved(b.board)) << "solved before move " << i + 1;
      const int dc = d == Direction::Right ? 1 : d == Direction::Left ? -1 : 0;
      const int dr = d == Direction::Down ? 1 : d == Direction::Up ? -1 : 0;
      const int nc = b.figure_column + dc, nr = b.figure_row + dr;
      const bool on_board = nc >= 1 && nc <= kColumns && nr >= 1 && nr <= kRows;
      const int next = on_board ? b.board.at(nc, nr) : static_cast<int>(CellWall);
      const bool pushes = next == CellBox || next == CellBoxOnTarget;
      ASSERT_TRUE(TryMove(b, d, steps).moved) << "move " << i + 1 << " (" << ch << ") is blocked";
      ASSERT_EQ(pushes, ch != lower) << "move " << i + 1 << " (" << ch << "): the letter's case says "
                                     << (ch != lower ? "push" : "walk");
    }
    EXPECT_TRUE(IsLevelSolved(b.board));
    EXPECT_EQ(steps, static_cast<float>(moves.size()));
  }
}

}  // namespace
}  // namespace qb
