// The move rule: the twelve rows of the move table in all four directions,
// with the codes each leaves and the cells it redraws in order, and the moves
// that walls, boxes and the edges of the board block.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "game/board.h"
#include "game/board_view.h"
#include "game/moves.h"
#include "screen_checks.h"

namespace qb {
namespace {

struct Way {
  const char* name;
  Direction direction;
  int dc, dr;
  int edge_column, edge_row;  // the cell on the edge the move runs into, in line with (8, 6)
};
constexpr Way kWays[] = {
    {"right", Direction::Right, 1, 0, 16, 6},
    {"left", Direction::Left, -1, 0, 1, 6},
    {"up", Direction::Up, 0, -1, 8, 1},
    {"down", Direction::Down, 0, 1, 8, 11},
};

void (*PictureOf(Tile t))() {
  switch (t) {
    case Tile::Floor: return PicFloor;
    case Tile::Target: return PicTarget;
    case Tile::Figure: return PicFigure;
    case Tile::Box: return PicBox;
    case Tile::BoxOnTarget: return PicBoxOnTarget;
  }
  return nullptr;
}

constexpr Colour kBefore = 0xFF102030;  // the screen before the move

using MoveTest = testing::HeadlessTest;

TEST_F(MoveTest, EveryRowOfTheMoveTableInEveryDirection) {
  enum Cell3 { F, N, B };
  struct Draw {
    Tile tile;
    Cell3 at;
  };
  struct Row {
    int number;
    std::uint8_t f, n, b;        // before; B holds a wall where the row does not read it
    std::uint8_t f2, n2, b2;     // after
    std::vector<Draw> pictures;  // drawn in this order
  };
  using enum Tile;
  const std::vector<Row> table = {
      {1, 2, 0, 1, 0, 2, 1, {{Floor, F}, {Figure, N}}},
      {2, 7, 0, 1, 4, 2, 1, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}}},
      {3, 2, 4, 1, 0, 7, 1, {{Floor, F}, {Floor, N}, {Figure, N}}},
      {4, 7, 4, 1, 4, 7, 1, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}}},
      {5, 2, 3, 0, 0, 2, 3, {{Floor, F}, {Floor, N}, {Figure, N}, {Box, B}}},
      {6, 7, 3, 0, 4, 2, 3, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}, {Box, B}}},
      {7, 2, 3, 4, 0, 2, 5, {{Floor, F}, {Floor, N}, {Figure, N}, {BoxOnTarget, B}}},
      {8, 7, 3, 4, 4, 2, 5, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}, {BoxOnTarget, B}}},
      {9, 2, 5, 0, 0, 7, 3, {{Floor, F}, {Floor, N}, {Figure, N}, {Box, B}}},
      {10, 7, 5, 0, 4, 7, 3, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}, {Box, B}}},
      {11, 2, 5, 4, 0, 7, 5, {{Floor, F}, {Floor, N}, {Figure, N}, {BoxOnTarget, B}}},
      {12, 7, 5, 4, 4, 7, 5, {{Floor, F}, {Target, F}, {Floor, N}, {Figure, N}, {BoxOnTarget, B}}},
  };
  for (const Way& way : kWays)
    for (const Row& row : table) {
      SCOPED_TRACE(std::string(way.name) + ", row " + std::to_string(row.number));
      const int col[3] = {8, 8 + way.dc, 8 + 2 * way.dc}, rw[3] = {6, 6 + way.dr, 6 + 2 * way.dr};
      Board b;
      b.board.at(1, 1) = CellWall;  // the rest of the board stays as it is
      b.board.at(col[F], rw[F]) = row.f;
      b.board.at(col[N], rw[N]) = row.n;
      b.board.at(col[B], rw[B]) = row.b;
      b.take_back.at(2, 2) = CellBox;
      b.figure_column = 8;
      b.figure_row = 6;
      const Grid before = b.board;
      float steps = 41;

      const MoveResult move = TryMove(b, way.direction, steps);
      ASSERT_TRUE(move.moved);
      Grid after = before;
      after.at(col[F], rw[F]) = row.f2;
      after.at(col[N], rw[N]) = row.n2;
      after.at(col[B], rw[B]) = row.b2;
      EXPECT_EQ(b.board, after);
      EXPECT_EQ(b.take_back, before);
      EXPECT_EQ(b.figure_column, col[N]);
      EXPECT_EQ(b.figure_row, rw[N]);
      EXPECT_EQ(steps, 42);

      std::vector<std::string> drawn, expected;
      auto name = [](Tile t, int c, int r) {
        return std::to_string(static_cast<int>(t)) + "@" + std::to_string(c) + "," + std::to_string(r);
      };
      for (int i = 0; i < move.draw_count; ++i)
        drawn.push_back(name(move.draws[i].tile, move.draws[i].column, move.draws[i].row));
      for (const Draw& d : row.pictures) expected.push_back(name(d.tile, col[d.at], rw[d.at]));
      EXPECT_EQ(drawn, expected);

      // On screen: the pictures in the table's order over what the cells showed.
      const int x1 = 40 * std::min(col[F], col[B]) - 35, y1 = 40 * std::min(rw[F], rw[B]) - 35;
      const int x2 = 40 * std::max(col[F], col[B]) + 4, y2 = 40 * std::max(rw[F], rw[B]) + 4;
      FillBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), kBefore);
      DrawMove(move);
      EXPECT_TRUE(testing::ShowsExactly(x1, y1, x2, y2, [&] {
        FillBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), kBefore);
        for (const Draw& d : row.pictures) DrawPictureAt(PictureOf(d.tile), 40.f * col[d.at] - 35, 40.f * rw[d.at] - 35);
      }));
    }
}

TEST_F(MoveTest, WallsBoxesAndTheEdgesBlock) {
  // Cells in the direction of the move, the figure's first. At the edge ("|")
  // the last cell lies on the board's edge; otherwise the figure stands at
  // (8, 6). `after` is empty for a blocked move.
  struct Case {
    std::string_view line, after;
  };
  const Case cases[] = {
      {"2|", ""},     {"7|", ""},       {"23|", ""},   {"25|", ""},   {"73|", ""},
      {"230|", "023|"}, {"734|", "425|"}, {"21", ""},    {"71", ""},    {"231", ""},
      {"233", ""},    {"235", ""},      {"253", ""},   {"755", ""},
  };
  for (const Way& way : kWays)
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(way.name) + " " + std::string(c.line));
      const bool at_edge = c.line.back() == '|';
      const std::string_view cells = at_edge ? c.line.substr(0, c.line.size() - 1) : c.line;
      const int n = static_cast<int>(cells.size());
      const int c0 = at_edge ? way.edge_column - (n - 1) * way.dc : 8;
      const int r0 = at_edge ? way.edge_row - (n - 1) * way.dr : 6;
      Board b;
      for (int i = 0; i < n; ++i) b.board.at(c0 + i * way.dc, r0 + i * way.dr) = static_cast<std::uint8_t>(cells[i] - '0');
      b.take_back.at(2, 2) = CellBox;
      b.figure_column = static_cast<std::uint8_t>(c0);
      b.figure_row = static_cast<std::uint8_t>(r0);
      const Board before = b;
      float steps = 7;
      FillBox(0, 0, kSurfaceWidth - 1, kSurfaceHeight - 1, kBefore);

      const MoveResult move = TryMove(b, way.direction, steps);
      DrawMove(move);
      if (c.after.empty()) {
        EXPECT_FALSE(move.moved);
        EXPECT_EQ(b.board, before.board);
        EXPECT_EQ(b.take_back, before.take_back);
        EXPECT_EQ(b.figure_column, before.figure_column);
        EXPECT_EQ(b.figure_row, before.figure_row);
        EXPECT_EQ(steps, 7);
        EXPECT_EQ(CountColour(kBefore), kSurfaceWidth * kSurfaceHeight) << "a blocked move draws nothing";
      } else {
        EXPECT_TRUE(move.moved);
        Grid after = before.board;
        for (int i = 0; i < n; ++i) after.at(c0 + i * way.dc, r0 + i * way.dr) = static_cast<std::uint8_t>(c.after[i] - '0');
        EXPECT_EQ(b.board, after);
        EXPECT_EQ(steps, 8);
      }
    }
}

}  // namespace
}  // namespace qb
