#include <gtest/gtest.h>

#include <string>

#include "data/stream.h"
#include "game/board.h"

namespace qb {
namespace {

Grid GridOf(const char* const (&rows)[11]) {
  Grid g;
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kColumns; ++c) g.at(c, r) = static_cast<std::uint8_t>(rows[r - 1][c - 1] - '0');
  return g;
}

TEST(LoadLevel, LevelOneIsTheGivenRecord) {
  const char* const rows[11] = {
      "1111111111110011", "1000041100010000", "1010111101010100", "1010103000010101",
      "1013101101010101", "1002001001010101", "1013111001410101", "1010001111114101",
      "1010101111111101", "1000000000000001", "1111111111111001",
  };
  Board b;
  LoadLevel(b, 1);
  EXPECT_EQ(b.board, GridOf(rows));
  FindFigure(b);
  EXPECT_EQ(b.figure_column, 4);
  EXPECT_EQ(b.figure_row, 6);
}

TEST(LoadLevel, FindsTheFigureOfTheGivenLevels) {
  struct Case {
    int level, column, row;
  };
  for (auto [level, column, row] : {Case{1, 4, 6}, Case{11, 8, 5}, Case{69, 9, 8}, Case{104, 8, 6}}) {
    Board b;
    LoadLevel(b, level);
    FindFigure(b);
    EXPECT_EQ(b.figure_column, column) << "level " << level;
    EXPECT_EQ(b.figure_row, row) << "level " << level;
  }
}

TEST(LoadLevel, ResetsTheCopiesAndKeepsTheFigurePosition) {
  Board b;
  b.saved.at(3, 3) = CellBox;
  b.figure_column = 9;
  b.figure_row = 9;
  LoadLevel(b, 104);
  const Grid first = b.board;
  EXPECT_EQ(b.take_back, b.board);
  EXPECT_EQ(b.saved, Grid{});
  EXPECT_EQ(b.figure_column, 9);
  LoadLevel(b, 104);
  EXPECT_EQ(b.board, first);
  // Level 104: targets in the four corners, a box beside each.
  for (auto [c, r] : {std::pair{1, 1}, {16, 1}, {1, 11}, {16, 11}}) EXPECT_EQ(b.board.at(c, r), CellTarget);
  for (auto [c, r] : {std::pair{2, 1}, {15, 1}, {2, 11}, {15, 11}}) EXPECT_EQ(b.board.at(c, r), CellBox);
}

TEST(FindFigure, ScansColumnsAndLeavesThePositionWithoutAFigure) {
  Board b;
  b.figure_column = 5;
  b.figure_row = 5;
  FindFigure(b);  // empty board
  EXPECT_EQ(b.figure_column, 5);
  b.board.at(16, 11) = CellFigureOnTarget;
  FindFigure(b);
  EXPECT_EQ(b.figure_column, 16);
  EXPECT_EQ(b.figure_row, 11);
}

TEST(ClearBoard, SetsEveryCellToFloor) {
  Board b;
  LoadLevel(b, 1);
  ClearBoard(b);
  EXPECT_EQ(b.board, Grid{});
}

TEST(DataStream, ReadingPastTheEndYieldsZero) {
  data::Restore(static_cast<std::size_t>(-2));
  EXPECT_EQ(data::Read(), 0);
  EXPECT_EQ(data::Read(), 0);
  data::Restore(data::LevelEntry(1));
  EXPECT_EQ(data::Read(), 1);
}

}  // namespace
}  // namespace qb
