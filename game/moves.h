// The move rules: how one arrow key changes the board, which cells are then
// redrawn with which pictures, and the solved test. Drawing is left to the
// caller, so the play screen, the tools and the tests share this one rule.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "game/board.h"
#include "gfx/key.h"

namespace qb {

enum class Direction : std::uint8_t { Right, Left, Up, Down };

// The direction an arrow key string names, if it is one.
std::optional<Direction> DirectionOfKey(Key key);

enum class Tile : std::uint8_t { Floor, Target, Figure, Box, BoxOnTarget };

struct CellDraw {
  Tile tile;
  std::uint8_t column;
  std::uint8_t row;
};

struct MoveResult {
  bool moved = false;
  std::uint8_t draw_count = 0;
  std::array<CellDraw, 5> draws{};  // in the order they are drawn
};

// Applies one move: copies the board into the take-back board, writes the new
// codes, moves the figure position and adds 1 to steps. A blocked move changes
// nothing and returns moved == false.
MoveResult TryMove(Board& b, Direction d, float& steps);

// True when no cell holds CellTarget or CellFigureOnTarget.
bool IsLevelSolved(const Grid& g);

}  // namespace qb
