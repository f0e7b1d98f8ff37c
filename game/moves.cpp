#include "game/moves.h"

namespace qb {

std::optional<Direction> DirectionOfKey(Key key) {
  if (key == key::kRight) return Direction::Right;
  if (key == key::kLeft) return Direction::Left;
  if (key == key::kUp) return Direction::Up;
  if (key == key::kDown) return Direction::Down;
  return std::nullopt;
}

namespace {

struct Step {
  int dc, dr;
};

constexpr Step StepOf(Direction d) {
  switch (d) {
    case Direction::Right: return {1, 0};
    case Direction::Left: return {-1, 0};
    case Direction::Up: return {0, -1};
    case Direction::Down: return {0, 1};
  }
  return {0, 0};
}

constexpr bool OnBoard(int c, int r) { return c >= 1 && c <= kColumns && r >= 1 && r <= kRows; }

}  // namespace

MoveResult TryMove(Board& b, Direction d, float& steps) {
  MoveResult result;
  const auto [dc, dr] = StepOf(d);
  const int fc = b.figure_column, fr = b.figure_row;
  const int nc = fc + dc, nr = fr + dr;
  const int bc = nc + dc, br = nr + dr;
  Grid& g = b.board;

  const std::uint8_t f = g.at(fc, fr);
  if (f != CellFigure && f != CellFigureOnTarget) return result;
  if (!OnBoard(nc, nr)) return result;  // the bound before any cell is read
  const std::uint8_t n = g.at(nc, nr);

  const bool walk = n == CellFloor || n == CellTarget;
  const bool push = n == CellBox || n == CellBoxOnTarget;
  std::uint8_t beyond = 0;
  if (push) {
    if (!OnBoard(bc, br)) return result;
    beyond = g.at(bc, br);
    if (beyond != CellFloor && beyond != CellTarget) return result;
  } else if (!walk) {
    return result;
  }

  b.take_back = g;

  const bool from_target = f == CellFigureOnTarget;
  const bool onto_target = n == CellTarget || n == CellBoxOnTarget;
  g.at(fc, fr) = from_target ? CellTarget : CellFloor;
  g.at(nc, nr) = onto_target ? CellFigureOnTarget : CellFigure;
  if (push) g.at(bc, br) = beyond == CellTarget ? CellBoxOnTarget : CellBox;

  auto draw = [&](Tile t, int c, int r) {
    result.draws[result.draw_count++] = {t, static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r)};
  };
  draw(Tile::Floor, fc, fr);
  if (from_target) draw(Tile::Target, fc, fr);
  // Stepping from floor onto floor draws the figure straight over the floor.
  if (from_target || n != CellFloor) draw(Tile::Floor, nc, nr);
  draw(Tile::Figure, nc, nr);
  if (push) draw(beyond == CellTarget ? Tile::BoxOnTarget : Tile::Box, bc, br);

  b.figure_column = static_cast<std::uint8_t>(nc);
  b.figure_row = static_cast<std::uint8_t>(nr);
  steps += 1;
  result.moved = true;
  return result;
}

bool IsLevelSolved(const Grid& g) {
  for (int c = 1; c <= kColumns; ++c)
    for (int r = 1; r <= kRows; ++r)
      if (g.at(c, r) == CellTarget || g.at(c, r) == CellFigureOnTarget) return false;
  return true;
}

}  // namespace qb
